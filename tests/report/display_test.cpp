#include "report.h"
#include "sandbox.h"
#include "windows_version.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string.h>
#include <vector>

/* While it lives, HKEY_DYN_DATA of this process is an empty key of its own
 * (below HKEY_CURRENT_USER); without an explicit CreateEnum() it does not
 * even hold "Config Manager\Enum". */
class DynDataSandbox {
public:
    DynDataSandbox()
    {
        static unsigned counter;
        char name[96];
        wsprintfA(name, "Software\\QelTests\\DynData_%lu_%u", GetCurrentProcessId(), ++counter);
        m_path = name;
        EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, name, &m_root), ERROR_SUCCESS);
        EXPECT_EQ(RegOverridePredefKey(HKEY_DYN_DATA, m_root), ERROR_SUCCESS);
    }
    ~DynDataSandbox()
    {
        RegOverridePredefKey(HKEY_DYN_DATA, NULL);
        RegCloseKey(m_root);
        SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
    }
    DynDataSandbox(const DynDataSandbox &) = delete;
    DynDataSandbox &operator=(const DynDataSandbox &) = delete;

    void CreateEnum() { SetValue("", NULL, REG_NONE, NULL, 0); }

    /* Adds an enumerated device, with a "HardWareKey" value unless it is null. */
    void AddDevice(const std::string &name, const char *hardwareKey)
    {
        if (hardwareKey)
            SetValue(name, "HardWareKey", REG_SZ, hardwareKey, lstrlenA(hardwareKey) + 1);
        else
            SetValue(name, NULL, REG_NONE, NULL, 0);
    }

    void SetValue(const std::string &device, const char *name, DWORD type, const void *data,
                  DWORD size)
    {
        std::string path = "Config Manager\\Enum";
        if (!device.empty())
            path += "\\" + device;
        HKEY key;
        ASSERT_EQ(RegCreateKeyA(m_root, path.c_str(), &key), ERROR_SUCCESS);
        if (name) {
            EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size),
                      ERROR_SUCCESS);
        }
        RegCloseKey(key);
    }

private:
    std::string m_path;
    HKEY m_root;
};

/* The instance as FindDisplayInstance fills it, and whether it kept to
 * its 8 characters (the bytes after them must stay untouched). */
static std::string FoundInstance()
{
    struct {
        char instance[DISPLAY_INSTANCE_SIZE];
        char guard[8];
    } buffer;
    memset(&buffer, 'x', sizeof(buffer));
    FindDisplayInstance(buffer.instance);
    EXPECT_EQ(std::string(buffer.guard, sizeof(buffer.guard)), std::string(8, 'x'));
    EXPECT_TRUE(memchr(buffer.instance, '\0', DISPLAY_INSTANCE_SIZE));
    return buffer.instance;
}

struct Device {
    const char *name;        /* key under Config Manager\Enum */
    const char *hardwareKey; /* its "HardWareKey" value; null: none */
    const char *driver;      /* "Driver" of Enum\<hardwareKey>; null: no such key */
};

TEST(FindDisplayInstance, TakesTheFirstDeviceWhoseDriverIsInTheDisplayClass)
{
    struct Case {
        const char *what;
        std::vector<Device> devices;
        const char *expected;
    };
    const Case cases[] = {
        { "no device", {}, "" },
        { "upper case", { { "D1", "PCI\\VEN_1", "DISPLAY\\0000" } }, "0000" },
        { "lower case", { { "D1", "PCI\\VEN_1", "display\\0001" } }, "0001" },
        { "other classes first",
          { { "D1", "ROOT\\MON", "MONITOR\\0000" }, { "D2", "PCI\\VEN_2", "DISPLAY\\0002" } },
          "0002" },
        { "lower index wins",
          { { "D1", "PCI\\VEN_1", "DISPLAY\\0005" }, { "D2", "PCI\\VEN_2", "DISPLAY\\0002" } },
          "0005" },
        { "hardware key that does not open: judged by HardWareKey",
          { { "D1", "DISPLAY\\0003", NULL } }, "0003" },
        { "hardware key that does not open and is no display",
          { { "D1", "PCI\\VEN_1", NULL }, { "D2", "PCI\\VEN_2", "DISPLAY\\0004" } }, "0004" },
        { "HardWareKey is not the judge once Driver is read",
          { { "D1", "DISPLAY\\0008", "MEDIA\\0000" } }, "" },
        { "no HardWareKey: skipped",
          { { "D1", NULL, NULL }, { "D2", "PCI\\VEN_2", "DISPLAY\\0006" } }, "0006" },
        { "exactly DISPLAY\\ matches with an empty instance",
          { { "D1", "PCI\\VEN_1", "DISPLAY\\" }, { "D2", "PCI\\VEN_2", "DISPLAY\\0009" } }, "" },
        { "seven characters fit",
          { { "D1", "PCI\\VEN_1", "DISPLAY\\1234567" } }, "1234567" },
        { "eight characters do not fit: no match",
          { { "D1", "PCI\\VEN_1", "DISPLAY\\12345678" }, { "D2", "PCI\\VEN_2", "DISPLAY\\0007" } },
          "0007" },
        { "prefix without its backslash",
          { { "D1", "PCI\\VEN_1", "DISPLAY0000" } }, "" },
    };
    for (const Case &c : cases) {
        RegistrySandbox machine;
        DynDataSandbox dynData;
        dynData.CreateEnum();
        for (const Device &d : c.devices) {
            dynData.AddDevice(d.name, d.hardwareKey);
            if (d.driver)
                machine.SetString(std::string("Enum\\") + d.hardwareKey, "Driver", d.driver);
        }
        EXPECT_EQ(FoundInstance(), c.expected) << c.what;
    }
}

TEST(FindDisplayInstance, IsEmptyWithoutTheEnumKey)
{
    RegistrySandbox machine;
    DynDataSandbox dynData;
    EXPECT_EQ(FoundInstance(), "");
}

/* Value bytes that fill the search's value buffer of 260 bytes and end in
 * no terminator: text, a zero byte, and filling. With a terminator put
 * after them they would read as text. */
static std::string FullWithoutTerminator(const std::string &text)
{
    return text + '\0' + std::string(259 - text.size(), 'f');
}

/* Entries that only the search's buffer guards turn away or judge by their
 * "HardWareKey": each names an instance that fits, were its value held or
 * its hardware key followed without the guard. D9 after them is the display
 * device that the search comes to when it goes on. */
TEST(FindDisplayInstance, ValuesAndPathsPastItsBuffersAreNotTaken)
{
    const std::string longest = "PCI\\" + std::string(251, 'p');    /* Enum\ makes 260 */
    const std::string fits = "PCI\\" + std::string(250, 'q');       /* Enum\ makes 259 */
    struct Case {
        const char *what;
        std::string hardwareKey;   /* "HardWareKey" bytes */
        std::string driver;        /* "Driver" bytes of Enum\<hardwareKey>; empty: none */
        const char *expected;
    };
    const Case cases[] = {
        { "HardWareKey filling the buffer without a terminator: skipped",
          FullWithoutTerminator("DISPLAY\\0001"), "", "0009" },
        { "hardware key whose Enum path does not fit: judged by HardWareKey",
          longest + '\0', std::string("DISPLAY\\0002", 13), "0009" },
        { "hardware key whose Enum path just fits: followed",
          fits + '\0', std::string("DISPLAY\\0003", 13), "0003" },
        /* Read into the buffer of the HardWareKey, it would judge instead. */
        { "Driver filling the buffer without a terminator: judged by HardWareKey",
          std::string("DISPLAY\\0004", 13), FullWithoutTerminator("DISPLAY\\0005"), "0004" },
    };
    /* Stored as binary data, which the platform takes byte for byte: a
     * string value may get the terminator its data lacks. The search does
     * not look at the type. */
    for (const Case &c : cases) {
        RegistrySandbox machine;
        DynDataSandbox dynData;
        dynData.SetValue("D1", "HardWareKey", REG_BINARY, c.hardwareKey.data(),
                         c.hardwareKey.size());
        if (!c.driver.empty()) {
            machine.SetValue("Enum\\" + std::string(c.hardwareKey.c_str()), "Driver", REG_BINARY,
                             c.driver.data(), c.driver.size());
        }
        dynData.AddDevice("D9", "PCI\\VEN_9");
        machine.SetString("Enum\\PCI\\VEN_9", "Driver", "DISPLAY\\0009");
        EXPECT_EQ(FoundInstance(), c.expected) << c.what;
    }
}

/* A fresh folder made the current directory, with fixtures copied into it
 * under package file names; the old current directory comes back after. */
class WorkFolder {
public:
    explicit WorkFolder(const std::string &name = "work")
    {
        GetCurrentDirectoryA(sizeof(m_previous), m_previous);
        static unsigned counter;
        char base[MAX_PATH];
        GetTempPathA(sizeof(base), base);
        char folder[MAX_PATH * 2];
        wsprintfA(folder, "%s%s%lu_%u", base, name.c_str(), GetCurrentProcessId(), ++counter);
        EXPECT_TRUE(CreateDirectoryA(folder, NULL)) << folder;
        EXPECT_TRUE(SetCurrentDirectoryA(folder)) << folder;
        char current[MAX_PATH];
        GetCurrentDirectoryA(sizeof(current), current);
        m_folder = std::string(current) + "\\";
    }
    ~WorkFolder()
    {
        SetCurrentDirectoryA(m_previous);
        for (const std::string &file : m_files)
            DeleteFileA((m_folder + file).c_str());
        RemoveDirectoryA(m_folder.c_str());
    }
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

    /* Copies fixtures\<fixture>.dll as fileName; returns its full path. */
    std::string Place(const std::string &fixture, const std::string &fileName)
    {
        std::string from = ProgramFolder() + "fixtures\\" + fixture + ".dll";
        EXPECT_TRUE(CopyFileA(from.c_str(), (m_folder + fileName).c_str(), FALSE)) << from;
        m_files.push_back(fileName);
        return m_folder + fileName;
    }
    std::string PlaceText(const std::string &fileName, const std::string &bytes)
    {
        WriteFileBytes(m_folder + fileName, bytes);
        m_files.push_back(fileName);
        return m_folder + fileName;
    }

private:
    char m_previous[MAX_PATH];
    std::string m_folder;
    std::vector<std::string> m_files;
};

static std::string SizeLine(const std::string &path)
{
    return "Size = " + std::to_string(ReadFileBytes(path).size()) + " bytes\r\n";
}

/* What WriteFileInfo writes for a file that is found, path not cut. */
static std::string FileBlock(const std::string &path, const std::string &version)
{
    return "\r\n" + path + "\r\n" + version + SizeLine(path);
}

template <typename Writer> static std::string Written(Writer write)
{
    TempFile report;
    write(report.Create());
    report.Close();
    return report.Bytes();
}

TEST(WriteFileInfo, ShowsPathFileVersionAndSize)
{
    WorkFolder folder;
    const std::string v1234 = folder.Place("ver1234", "QELSUP1.DLL");
    const std::string high = folder.Place("verhigh", "QELDISP.DRV");
    const std::string plain = folder.Place("nover", "QELSUP2.DLL");
    const std::string text = folder.PlaceText("QELHELP.HLP", "not a program\r\n");
    struct Case { const char *name; std::string expected; };
    const Case cases[] = {
        /* The file version, never the product version 5.6.7.8. */
        { "QELSUP1.DLL", FileBlock(v1234, "Version = 1.2.3.4\t") },
        { "QELDISP.DRV", FileBlock(high, "Version = 65535.65534.32768.0\t") },
        { "QELSUP2.DLL", FileBlock(plain, "") },
        { "QELHELP.HLP", FileBlock(text, "") },
        { "QELSUP3.DLL", "" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(Written([&](HANDLE r) { WriteFileInfo(r, c.name); }), c.expected) << c.name;
}

TEST(WriteFileInfo, CutsALongPathLikeAnyText)
{
    WorkFolder folder("a_folder_name_long_enough_to_push_the_path_past_seventy_");
    const std::string path = folder.Place("ver1234", "QELSUP4.DLL");
    ASSERT_GT(path.size(), 70u);
    ASSERT_LE(path.size(), 140u);
    const std::string cut = path.substr(0, 70) + "\r\n" + path.substr(70);
    EXPECT_EQ(Written([](HANDLE r) { WriteFileInfo(r, "QELSUP4.DLL"); }),
              "\r\n" + cut + "\r\nVersion = 1.2.3.4\t" + SizeLine(path));
}

static const char displayKey[] = "System\\CurrentControlSet\\Services\\Class\\Display\\0000";

TEST(WriteDisplayDriverSection, DumpsTheDefaultKeyThenThePackageFilesInListOrder)
{
    RegistrySandbox machine;
    DynDataSandbox dynData;
    dynData.CreateEnum();
    dynData.AddDevice("D1", "PCI\\VEN_1");
    machine.SetString("Enum\\PCI\\VEN_1", "Driver", "DISPLAY\\0000");
    machine.SetString(std::string(displayKey) + "\\Default", "drv", "qeldisp.drv");
    machine.SetString(displayKey, "NotDefault", "left out");

    WorkFolder folder;
    /* Placed out of list order; the section keeps the list's. */
    const std::string pr = folder.Place("verhigh", "QELPR.EXE");
    const std::string sup1 = folder.Place("ver1234", "QELSUP1.DLL");
    const std::string drv = folder.Place("nover", "QELDISP.DRV");

    EXPECT_EQ(Written(WriteDisplayDriverSection),
              "\r\n[System\\CurrentControlSet\\Services\\Class\\Display\\0000\\Default\\]\r\n"
              "drv = qeldisp.drv\r\n" +
                  FileBlock(drv, "") + FileBlock(sup1, "Version = 1.2.3.4\t") +
                  FileBlock(pr, "Version = 65535.65534.32768.0\t"));
}

TEST(WriteDisplayDriverSection, WithoutInstanceOrFilesHoldsOnlyTheDump)
{
    RegistrySandbox machine;
    DynDataSandbox dynData;
    WorkFolder folder;
    /* The key path has an empty instance component. */
    EXPECT_EQ(Written(WriteDisplayDriverSection),
              "\r\n[System\\CurrentControlSet\\Services\\Class\\Display\\\\Default\\]\r\n");
}

TEST(WriteMonitorSection, DumpsTheMonitorKeyOfTheDisplayInstance)
{
    RegistrySandbox machine;
    DynDataSandbox dynData;
    dynData.CreateEnum();
    dynData.AddDevice("D1", "PCI\\VEN_1");
    machine.SetString("Enum\\PCI\\VEN_1", "Driver", "DISPLAY\\0002");
    machine.SetString("System\\CurrentControlSet\\Services\\Class\\Monitor\\0002", "Model",
                      "QEL 17");
    EXPECT_EQ(Written(WriteMonitorSection),
              "\r\n[System\\CurrentControlSet\\Services\\Class\\Monitor\\0002\\]\r\n"
              "Model = QEL 17\r\n");
}

/* The run's platform family: Wine's default, Windows 7, unless the run
 * is made as another version. */
static bool IsNtFamilyRun()
{
    const WindowsVersion *version = TestedWindowsVersion();
    return !version || version->ntFamily;
}

/* The device key that Wine names for the first adapter's first monitor. */
static const char monitorKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}\\0000";
static const char monitorKeyHeader[] =
    "\r\n[System\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002\r\n"
    "BE10318}\\0000\\]\r\n";

TEST(WriteMonitorSection, WithoutInstanceEndsThePathInTwoBackslashesThenShowsTheMonitorKeyOnNt)
{
    RegistrySandbox machine;
    DynDataSandbox dynData;
    machine.SetString(monitorKey, "DriverDesc", "QEL Monitor");
    const std::string added =
        IsNtFamilyRun() ? std::string(monitorKeyHeader) + "DriverDesc = QEL Monitor\r\n" : "";
    EXPECT_EQ(Written(WriteMonitorSection),
              "\r\n[System\\CurrentControlSet\\Services\\Class\\Monitor\\\\]\r\n" + added);
}

/* The adapter's key as the tests place it: a value and a subkey. */
static const char adapterKey[] = "System\\Video\\0000";
static const char adapterDump[] = "\r\n[System\\Video\\0000\\]\r\nDriverDesc = QEL Adapter\r\n"
                                  "\r\n[System\\Video\\0000\\Settings\\]\r\nDepth = 8\r\n";

/* Without a display instance, the NT family's section goes on after the
 * package files with the key that "\Device\Video0" of the video device map
 * names; whatever else that value holds adds nothing. */
TEST(WriteDisplayDriverSection, AddsTheAdapterKeyOfTheVideoMapOnNtWithoutInstance)
{
    const std::string atRoot = "\\Registry\\Machine\\";
    /* Names of 259 and 260 characters: the longest that the value buffer
     * holds with its terminator, and one more. */
    const std::string longestKey = "System\\Video\\" + std::string(228, 'k');
    const std::string longest = atRoot + longestKey;
    const std::string tooLong = longest + 'k';
    const std::string header = "[" + longestKey + "\\]";    /* cut at 70 columns */
    struct Case {
        const char *what;
        DWORD type;
        std::string name;     /* the value's text; empty: no value */
        bool instance;        /* a display instance is found */
        std::string added;    /* what the NT family adds */
    };
    const Case cases[] = {
        { "the adapter's key", REG_SZ, atRoot + adapterKey, false, adapterDump },
        { "root in other case", REG_SZ, "\\REGISTRY\\MACHINE\\System\\Video\\0000", false,
          adapterDump },
        { "an instance is found", REG_SZ, atRoot + adapterKey, true, "" },
        { "no value", REG_SZ, "", false, "" },
        { "not a string", REG_BINARY, atRoot + adapterKey, false, "" },
        { "another root", REG_SZ, "\\Registry\\User\\System\\Video\\0000", false, "" },
        { "the root itself", REG_SZ, atRoot, false, "" },
        { "the root without its separator", REG_SZ, "\\Registry\\Machine", false, "" },
        { "a relative name", REG_SZ, adapterKey, false, "" },
        { "longest name", REG_SZ, longest, false,
          "\r\n" + header.substr(0, 70) + "\r\n" + header.substr(70, 70) + "\r\n" +
              header.substr(140, 70) + "\r\n" + header.substr(210) + "\r\n" },
        { "name past the value buffer", REG_SZ, tooLong, false, "" },
    };
    for (const Case &c : cases) {
        RegistrySandbox machine;
        DynDataSandbox dynData;
        std::string unchanged = "\r\n[System\\CurrentControlSet\\Services\\Class\\Display\\\\Default\\]\r\n";
        if (c.instance) {
            dynData.CreateEnum();
            dynData.AddDevice("D1", "PCI\\VEN_1");
            machine.SetString("Enum\\PCI\\VEN_1", "Driver", "DISPLAY\\0000");
            unchanged = "\r\n[System\\CurrentControlSet\\Services\\Class\\Display\\0000\\Default\\]\r\n";
        }
        machine.SetDword("HARDWARE\\DEVICEMAP\\VIDEO", "MaxObjectNumber", 0);
        if (!c.name.empty()) {
            machine.SetValue("HARDWARE\\DEVICEMAP\\VIDEO", "\\Device\\Video0", c.type,
                             c.name.c_str(), c.name.size() + 1);
        }
        machine.SetString(adapterKey, "DriverDesc", "QEL Adapter");
        machine.SetDword(std::string(adapterKey) + "\\Settings", "Depth", 8);
        RegCloseKey(machine.CreateKey(longestKey));
        RegCloseKey(machine.CreateKey(longestKey + 'k'));

        WorkFolder folder;
        const std::string sup1 = folder.Place("ver1234", "QELSUP1.DLL");
        unchanged += FileBlock(sup1, "Version = 1.2.3.4\t");
        EXPECT_EQ(Written(WriteDisplayDriverSection), unchanged + (IsNtFamilyRun() ? c.added : ""))
            << c.what;
    }
}

/* Without the sandbox: what Wine itself names for the adapter and its
 * monitor, on the NT family only. */
TEST(DisplaySections, ShowTheKeysThatWineNamesForAdapterAndMonitorOnNt)
{
    const std::string driver = Written(WriteDisplayDriverSection);
    const std::string monitor = Written(WriteMonitorSection);
    const size_t adapter = driver.find("\r\n[System\\CurrentControlSet\\Control\\Video\\{");
    if (IsNtFamilyRun()) {
        ASSERT_NE(adapter, std::string::npos) << driver;
        EXPECT_NE(driver.find("DriverDesc = Wine Adapter\r\n", adapter), std::string::npos)
            << driver;
        const size_t header = strlen(monitorKeyHeader);
        ASSERT_GE(monitor.size(), header) << monitor;
        EXPECT_EQ(monitor.substr(monitor.size() - header), monitorKeyHeader);
    } else {
        EXPECT_EQ(adapter, std::string::npos) << driver;
        EXPECT_EQ(driver.find("Wine Adapter"), std::string::npos) << driver;
        EXPECT_EQ(monitor.find("Control\\Class"), std::string::npos) << monitor;
    }
}
