#include "qelhwa.h"
#include "report.h"
#include "sandbox.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>

/* The hardware-access library's test key: while it exists the library
 * takes its answers from it and counts its calls in it. */
class HardwareAccessHooks {
public:
    HardwareAccessHooks() : m_key(NULL) { Reset(); }
    ~HardwareAccessHooks()
    {
        RegCloseKey(m_key);
        SHDeleteKeyA(HKEY_CURRENT_USER, path);
    }
    HardwareAccessHooks(const HardwareAccessHooks &) = delete;
    HardwareAccessHooks &operator=(const HardwareAccessHooks &) = delete;

    /* Starts again from an empty key. */
    void Reset()
    {
        if (m_key)
            RegCloseKey(m_key);
        SHDeleteKeyA(HKEY_CURRENT_USER, path);
        EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, path, &m_key), ERROR_SUCCESS);
    }
    void SetNumber(const char *name, LONG value) { Set(name, REG_DWORD, &value, sizeof(value)); }
    void Set(const char *name, DWORD type, const void *data, DWORD size)
    {
        EXPECT_EQ(RegSetValueExA(m_key, name, 0, type, static_cast<const BYTE *>(data), size),
                  ERROR_SUCCESS);
    }
    DWORD Count(const char *name) const
    {
        DWORD count = 0, size = sizeof(count);
        RegQueryValueExA(m_key, name, NULL, NULL, reinterpret_cast<BYTE *>(&count), &size);
        return count;
    }

private:
    static constexpr const char *path = "Software\\QelTests\\HardwareAccess";
    HKEY m_key;
};

static std::string WrittenHardwareInfo()
{
    TempFile report;
    WriteAdapterHardwareInfo(report.Create());
    report.Close();
    return report.Bytes();
}

/* Records with every kind of value: negative, the extremes, flags cleared
 * for "Mouse Config" and "VGA Zero WS ROM". */
static HALAdapterConfig GivenConfig()
{
    const LONG values[HAL_CONFIG_ITEMS] = { -1, 1, 786432, 2, 5, 32, 16, 64, 9, 1, 256 };
    HALAdapterConfig config;
    for (int i = 0; i < HAL_CONFIG_ITEMS; ++i) {
        config.Items[i].Present = 1;
        config.Items[i].Value = values[i];
    }
    config.Items[HAL_MOUSE_CONFIG].Present = 0;
    config.Items[HAL_VGA_ZERO_WS_ROM].Present = 0;
    return config;
}

static HALAdapterInfo GivenInfo()
{
    HALAdapterInfo info = { 4096, -7, 1, 3, 2, 3, 17, 258, 5, 1, 960, 1, LONG(0x80000000),
                            { 2147483647, LONG(0x80000000), 0, -1, 12, 123456789, -99, 7 } };
    return info;
}

static const std::string configPart =
    "\r\n"
    "PowerUpMode               = -1\r\n"
    "AT Compatibility          = 1\r\n"
    "ROM Address               = 786432\r\n"
    "VGA ROM Config            = 2\r\n"
    "Coprocessor Bus IO        = 32\r\n"
    "VGA Bus IO                = 16\r\n"
    "Memory Aperture           = 64\r\n"
    "VGA Zero WS RAM           = 1\r\n"
    "VGA Mem Size              = 256\r\n";

/* The "External Device" line is 76 bytes with its CR LF: cut after 70. */
static const std::string infoPart =
    "\r\n"
    "Memory Size               = 4096\r\n"
    "VGA Boundary              = -7\r\n"
    "VGA Type                  = 1\r\n"
    "DAC Type                  = 3\r\n"
    "Memory Type               = 2\r\n"
    "Bus Type                  = 3\r\n"
    "Asic Revision             = 17\r\n"
    "ROM Version               = 258\r\n"
    "Board Type                = 5\r\n"
    "Aperture Type             = 1\r\n"
    "IO Base Address           = 960\r\n"
    "Deep Color Support        = 1\r\n"
    "Foundary ID               = -2147483648\r\n"
    "External Device           = 2147483647 -2147483648 0 -1 12 123456789 -"
    "\r\n"
    "99 7\r\n";

class AdapterHardwareInfo : public ::testing::Test {
protected:
    void SetUp() override { GiveRecords(); }
    void GiveRecords()
    {
        HALAdapterConfig config = GivenConfig();
        HALAdapterInfo info = GivenInfo();
        hooks.Set("AdapterConfig", REG_BINARY, &config, sizeof(config));
        hooks.Set("AdapterInfo", REG_BINARY, &info, sizeof(info));
    }
    /* Every successful initialisation was closed once, and nothing else. */
    void ExpectOpenedAndClosedOnce()
    {
        EXPECT_EQ(hooks.Count("InitializeCalls"), 1u);
        EXPECT_EQ(hooks.Count("CloseCalls"), 1u);
    }
    HardwareAccessHooks hooks;
};

TEST_F(AdapterHardwareInfo, WritesPresentConfigItemsThenAllInfoValuesInRecordOrder)
{
    for (LONG ready : { 0, 1 }) {
        hooks.Reset();
        GiveRecords();
        hooks.SetNumber("InitializeResult", ready);
        EXPECT_EQ(WrittenHardwareInfo(), configPart + infoPart) << "initialise result " << ready;
        ExpectOpenedAndClosedOnce();
        EXPECT_EQ(hooks.Count("ConfigCalls"), 1u);
        EXPECT_EQ(hooks.Count("InfoCalls"), 1u);
    }
}

TEST_F(AdapterHardwareInfo, LibraryThatIsNotReadyIsNeitherUsedNorClosed)
{
    for (LONG result : { 2, -1, 88 }) {
        hooks.Reset();
        GiveRecords();
        hooks.SetNumber("InitializeResult", result);
        EXPECT_EQ(WrittenHardwareInfo(), "") << "initialise result " << result;
        EXPECT_EQ(hooks.Count("InitializeCalls"), 1u);
        EXPECT_EQ(hooks.Count("ConfigCalls"), 0u);
        EXPECT_EQ(hooks.Count("CloseCalls"), 0u);
    }
}

TEST_F(AdapterHardwareInfo, FailedConfigRequestWritesNothingAndSkipsTheInfo)
{
    for (LONG result : { 0, -1, 84, 87, 89 }) {
        hooks.Reset();
        GiveRecords();
        hooks.SetNumber("ConfigResult", result);
        EXPECT_EQ(WrittenHardwareInfo(), "") << "config result " << result;
        EXPECT_EQ(hooks.Count("InfoCalls"), 0u);
        ExpectOpenedAndClosedOnce();
    }
}

TEST_F(AdapterHardwareInfo, FailedInfoRequestLeavesTheConfigPart)
{
    for (LONG result : { 0, -1, 83, 88 }) {
        hooks.Reset();
        GiveRecords();
        hooks.SetNumber("InfoResult", result);
        EXPECT_EQ(WrittenHardwareInfo(), configPart) << "info result " << result;
        ExpectOpenedAndClosedOnce();
    }
}

TEST_F(AdapterHardwareInfo, ConfigWithEveryFlagClearedLeavesItsEmptyLine)
{
    HALAdapterConfig config = GivenConfig();
    for (HALConfigItem &item : config.Items)
        item.Present = 0;
    hooks.Set("AdapterConfig", REG_BINARY, &config, sizeof(config));
    EXPECT_EQ(WrittenHardwareInfo(), "\r\n" + infoPart);
    ExpectOpenedAndClosedOnce();
}

/* Without given records the library reports what it learns; the memory
 * size comes from the video device map when the platform records one. */
TEST(AdapterHardwareInfoOfTheLibrary, ReportsWhatItLearnsInTheRecordLayout)
{
    HardwareAccessHooks hooks;
    RegistrySandbox machine;
    const char video[] = "System\\CurrentControlSet\\Control\\Video\\{0}\\0000";
    machine.SetString("HARDWARE\\DEVICEMAP\\VIDEO", "\\Device\\Video0",
                      std::string("\\Registry\\Machine\\") + video);
    machine.SetDword(video, "HardwareInformation.MemorySize", 8 * 1024 * 1024);

    const std::string text = WrittenHardwareInfo();
    EXPECT_NE(text.find("\r\nMemory Size               = 8192\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\r\nPowerUpMode "), 0u) << text;
    const char *const order[] = { "\r\nAT Compatibility ", "\r\nROM Address               = 786432\r\n",
        "\r\nVGA Mem Size ", "\r\n\r\nMemory Size ", "\r\nFoundary ID ",
        "\r\nExternal Device           = 0 0 0 0 0 0 0 0\r\n",
    };
    size_t at = 0;
    for (const char *piece : order) {
        size_t found = text.find(piece, at);
        EXPECT_NE(found, std::string::npos) << piece << " in order in\n" << text;
        if (found != std::string::npos)
            at = found;
    }
    EXPECT_EQ(text.compare(text.size() - 2, 2, "\r\n"), 0);
}

TEST(HardwareAccessLibrary, AnswersOnlyWellFormedRequestsWhileOpen)
{
    HALConfigRequest configRequest = { sizeof(HALAdapterConfig) };
    HALInfoRequest infoRequest = { sizeof(HALAdapterInfo) };
    HALAdapterConfig config;
    HALAdapterInfo info;
    EXPECT_EQ(HALEsc(HALESC_ADAPTER_CONFIG, &configRequest, &config), -1) << "before opening";
    EXPECT_EQ(HALClose(), 0) << "close without open";

    ASSERT_EQ(HALInitialize(), 0);
    EXPECT_EQ(HALInitialize(), 1) << "second open";
    EXPECT_EQ(HALEsc(HALESC_ADAPTER_CONFIG, &configRequest, &config), 88);
    EXPECT_EQ(HALEsc(HALESC_ADAPTER_INFO, &infoRequest, &info), 84);
    HALConfigRequest wrongSize = { 84 };
    EXPECT_EQ(HALEsc(HALESC_ADAPTER_CONFIG, &wrongSize, &config), -1);
    EXPECT_EQ(HALEsc(0x7306, &infoRequest, &info), 0) << "unknown escape";
    EXPECT_EQ(HALClose(), 1);
    EXPECT_EQ(HALClose(), 1);
    EXPECT_EQ(HALEsc(HALESC_ADAPTER_INFO, &infoRequest, &info), -1) << "after closing";
}

static std::string PlatformName(DWORD platformId)
{
    switch (platformId) {
    case 0: return "Win32s on Windows 3.1";
    case 1: return "Win32 on Windows 95";
    case 2: return "Windows NT";
    default: return "Unknown platform";
    }
}

TEST(WriteOsVersionLine, ShowsThePlatformAndVersionThatWindowsReports)
{
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExA(&version));
    TempFile report;
    WriteOsVersionLine(report.Create());
    report.Close();
    EXPECT_EQ(report.Bytes(), PlatformName(version.dwPlatformId) + " -- " +
                                  std::to_string(version.dwMajorVersion) + "." +
                                  std::to_string(version.dwMinorVersion) + "." +
                                  std::to_string(version.dwBuildNumber & 0xFFFF) + "\r\n");
}

/* Runs the probe program as the given Windows version (Wine's per-program
 * version setting) and returns the line it wrote. */
static std::string OsLineAs(const char *windowsVersion)
{
    const char appDefaults[] = "Software\\Wine\\AppDefaults\\report_osline_probe.exe";
    HKEY key;
    EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, appDefaults, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(windowsVersion),
                   lstrlenA(windowsVersion) + 1);
    RegCloseKey(key);

    TempFile line;
    std::string command =
        "\"" + ProgramFolder() + "report_osline_probe.exe\" \"" + line.Path() + "\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    DWORD exitCode = 1;
    if (CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    EXPECT_EQ(exitCode, 0u) << windowsVersion;
    SHDeleteKeyA(HKEY_CURRENT_USER, appDefaults);
    return line.Bytes();
}

TEST(WriteOsVersionLine, NamesOlderPlatformsAndDropsTheBuildNumbersHighWord)
{
    /* Windows 95 reports build 0x040003B6: 4.0 in the high word, 950 low. */
    EXPECT_EQ(OsLineAs("win95"), "Win32 on Windows 95 -- 4.0.950\r\n");
    EXPECT_EQ(OsLineAs("win31"), "Win32s on Windows 3.1 -- 3.10.0\r\n");
}
