/*
 * The release's stand-ins (QELDCFG.DLL, QELHWA.dll, qelhk32.exe) doing their
 * real work on a virtual screen of 800 x 600 pixels at 16 bits, which this
 * test's CTest entry asks for. Every switch that steers them in the
 * test build is set against them here: the release must not know one.
 */
#include <windows.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "automation.h"
#include "dcfg.h"
#include "desktop.h"
#include "qelhwa.h"

static const char settingsKeyPath[] =
    "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\Settings";

/* The screen the CTest entry gives this test. */
enum { ScreenWidth = 800, ScreenHeight = 600, ScreenBits = 16 };

static std::string ReleaseFile(const char *name)
{
    const char *folder = getenv("QEL_RELEASE");
    return std::string(folder ? folder : ".") + "\\bin\\" + name;
}

static void SetValue(HKEY root, const char *path, const char *name, DWORD type,
                     const void *data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

static void SetSwitch(const char *area, const char *name, DWORD value)
{
    std::string path = std::string("Software\\QelTests\\") + area;
    SetValue(HKEY_CURRENT_USER, path.c_str(), name, REG_DWORD, &value, sizeof(value));
}

/* A release library, loaded from the release folder, and its exports. */
class ReleaseLibrary {
public:
    explicit ReleaseLibrary(const char *name)
        : m_module(LoadLibraryA(ReleaseFile(name).c_str())) {}
    ~ReleaseLibrary()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    bool Loaded() const { return m_module != NULL; }
    template <class Function> Function Export(const char *name) const
    {
        /* Through void *, as a FARPROC cast straight to another function
         * type draws a warning. */
        return reinterpret_cast<Function>(
            reinterpret_cast<void *>(GetProcAddress(m_module, name)));
    }

private:
    HMODULE m_module;
};

class ReleaseStandIns : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char identity[] = "123";
        std::string path = "Software\\QelTests\\DisplayConfig";
        SetValue(HKEY_CURRENT_USER, path.c_str(), "Identity", REG_SZ, identity,
                 sizeof(identity));
        SetSwitch("DisplayConfig", "NoMode", 1);
        SetSwitch("DisplayConfig", "GammaEnabled", 1);
        SetSwitch("HardwareAccess", "InitializeResult", 7);
        SetSwitch("HardwareAccess", "InfoResult", 0);
        SetSwitch("HotKey", "DryRun", 1);
    }
};

TEST_F(ReleaseStandIns, DisplayLibraryReportsTheScreensMode)
{
    typedef int(WINAPI * Identify)(char *);
    typedef int(WINAPI * GetMode)(DisplayMode *);
    ReleaseLibrary library("QELDCFG.DLL");
    ASSERT_TRUE(library.Loaded()) << ReleaseFile("QELDCFG.DLL");

    char identity[QEL_IDENTITY_SIZE] = "";
    library.Export<Identify>("ConfigGetQELConfig")(identity);
    EXPECT_STREQ(identity, QEL_IDENTITY);

    DisplayMode mode = {};
    ASSERT_NE(library.Export<GetMode>("GetDisplayMode")(&mode), 0);
    EXPECT_EQ(mode.Width1, ScreenWidth);
    EXPECT_EQ(mode.Height1, ScreenHeight);
    EXPECT_EQ(mode.Width2, ScreenWidth);
    EXPECT_EQ(mode.Height2, ScreenHeight);
    EXPECT_EQ(mode.PixelFormat, 6) << "the code of 16 bits per pixel";
}

TEST_F(ReleaseStandIns, DisplayLibrarySaysTheScreenTakesNoColourRamp)
{
    typedef int(WINAPI * Ask)(void);
    typedef int(WINAPI * ApplyRamp)(const BYTE *);
    ReleaseLibrary library("QELDCFG.DLL");
    ASSERT_TRUE(library.Loaded());

    BYTE ramp[RAMP_SIZE];
    for (int i = 0; i < RAMP_SIZE; ++i)
        ramp[i] = static_cast<BYTE>(i / 3);
    EXPECT_EQ(library.Export<Ask>("GammaIsEnabled")(), 0);
    EXPECT_EQ(library.Export<ApplyRamp>("SetGamma")(ramp), 0);
    EXPECT_NE(library.Export<Ask>("DisplayModeIsEnabled")(), 0);
}

TEST_F(ReleaseStandIns, HardwareLibraryDescribesTheAdapterItLearned)
{
    typedef LONG(WINAPI * Initialize)(void);
    typedef LONG(WINAPI * Escape)(LONG, const void *, void *);
    typedef LONG(WINAPI * Close)(void);
    ReleaseLibrary library("QELHWA.dll");
    ASSERT_TRUE(library.Loaded());

    ASSERT_EQ(library.Export<Initialize>("HALInitialize")(), 0);
    HALInfoRequest request = { sizeof(HALAdapterInfo) };
    HALAdapterInfo info = {};
    EXPECT_EQ(library.Export<Escape>("HALEsc")(HALESC_ADAPTER_INFO, &request, &info),
              static_cast<LONG>(sizeof(info)));
    /* The least memory that shows the screen's largest listed mode. */
    EXPECT_GE(info.MemorySize, ScreenWidth * ScreenHeight * ScreenBits / 8 / 1024);
    EXPECT_EQ(library.Export<Close>("HALClose")(), 1);
}

TEST_F(ReleaseStandIns, HotKeyProgramPassesOnThePlatformsAnswer)
{
    struct Case {
        const char *name;
        DWORD setting[6];   /* width, height, bits, frequency, flags, reserved */
        LONG expected;
    };
    const Case cases[] = {
        { "640 x 480, not on this screen", { 640, 480, ScreenBits, 0, 0, 0 },
          DISP_CHANGE_BADMODE },
        { "The screen's own mode, tested", { ScreenWidth, ScreenHeight, ScreenBits, 0, CDS_TEST, 0 },
          DISP_CHANGE_SUCCESSFUL },
    };
    for (const Case &c : cases)
        SetValue(HKEY_LOCAL_MACHINE, settingsKeyPath, c.name, REG_BINARY, c.setting,
                 sizeof(c.setting));

    PROCESS_INFORMATION process = StartProgram(ReleaseFile("qelhk32.exe"), "");
    ASSERT_TRUE(process.hProcess) << ReleaseFile("qelhk32.exe");
    HWND window = NULL;
    EXPECT_TRUE(WaitFor([&] { return (window = FindWindowA("QELHkClass", NULL)) != NULL; }))
        << "the hot-key program's window";

    for (const Case &c : cases) {
        int index = ValueIndex(HKEY_LOCAL_MACHINE, settingsKeyPath, c.name);
        ASSERT_GE(index, 0) << c.name;
        EXPECT_EQ(SendMessageA(window, WM_USER + 2, index, 0), c.expected) << c.name;
    }

    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(process, 10000), 0);
    CloseProgram(process);
}
