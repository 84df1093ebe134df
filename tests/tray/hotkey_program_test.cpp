/*
 * Our hot-key program qelhk32.exe on its own: the stored settings it reads
 * from this Wine prefix's registry, what it makes of them, one copy only.
 */
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "hooks.h"
#include "sandbox.h"

static const char settingsKeyPath[] =
    "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\Settings";

static HANDLE StartHotKeyProgram()
{
    std::string command = "\"" + ProgramFolder() + "qelhk32.exe\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info;
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
        return NULL;
    CloseHandle(info.hThread);
    return info.hProcess;
}

static HWND WaitForHotKeyWindow()
{
    for (int i = 0; i < 300; ++i) {
        HWND window = FindWindowA("QELHkClass", NULL);
        if (window)
            return window;
        Sleep(50);
    }
    return NULL;
}

class HotKeyProgram : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, settingsKeyPath);
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, settingsKeyPath, 0, NULL, 0,
                                  KEY_ALL_ACCESS, NULL, &m_settings, NULL), ERROR_SUCCESS);
        m_process = StartHotKeyProgram();
        ASSERT_TRUE(m_process);
        m_window = WaitForHotKeyWindow();
        ASSERT_TRUE(m_window);
    }
    void TearDown() override
    {
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(m_process, 15000), WAIT_OBJECT_0);
        CloseHandle(m_process);
        RegCloseKey(m_settings);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, settingsKeyPath);
    }
    void Store(const char *name, DWORD type, const std::string &data)
    {
        RegSetValueExA(m_settings, name, 0, type, reinterpret_cast<const BYTE *>(data.data()),
                       data.size());
    }
    LRESULT Apply(WPARAM index) { return SendMessageA(m_window, WM_USER + 2, index, 0); }

    HotKeyHooks m_hooks;    /* made before the program starts, so it counts */
    HKEY m_settings = NULL;
    HANDLE m_process = NULL;
    HWND m_window = NULL;
};

static std::string Fields(std::initializer_list<DWORD> fields)
{
    std::string data;
    for (DWORD field : fields)
        data.append(reinterpret_cast<const char *>(&field), sizeof(field));
    return data;
}

static std::string Sz(const char *text) { return std::string(text, lstrlenA(text) + 1); }

TEST_F(HotKeyProgram, ReadsEachSettingWithinItsTwentyFourBytes)
{
    /* Listed by name, the unnamed value first. */
    Store("", REG_SZ, Sz("b"));
    Store("a full", REG_BINARY, Fields({ 800, 600, 16, 60, 0, 0 }));
    Store("b short", REG_BINARY, Fields({ 640, 480, 8 }));
    Store("c large", REG_BINARY, Fields({ 800, 600, 16, 60, 0, 0, 7 }));

    struct Case { WPARAM index; LRESULT result; const char *name, *outcome; std::string data; };
    const Case cases[] = {
        { 1, DISP_CHANGE_SUCCESSFUL, "a full", "dry run", Fields({ 800, 600, 16, 60, 0, 0 }) },
        { 2, DISP_CHANGE_SUCCESSFUL, "b short", "dry run", Fields({ 640, 480, 8 }) },
        { 3, DISP_CHANGE_BADPARAM, "", "too large", "" },
        { 0, DISP_CHANGE_BADPARAM, "", "not a setting", Sz("b") },
        { 4, DISP_CHANGE_BADPARAM, "", "no such setting", "" },
    };
    DWORD count = 0;
    for (const Case &c : cases) {
        EXPECT_EQ(Apply(c.index), c.result) << c.index;
        EXPECT_EQ(m_hooks.Dword("Count"), ++count);
        EXPECT_EQ(m_hooks.Dword("LastIndex"), c.index);
        EXPECT_EQ(m_hooks.Bytes("LastName"), Sz(c.name)) << c.index;
        EXPECT_EQ(m_hooks.Bytes("LastOutcome"), Sz(c.outcome)) << c.index;
        EXPECT_EQ(m_hooks.Bytes("LastSetting"), c.data) << c.index;
    }
}

TEST_F(HotKeyProgram, RunsOnceAndAnswersWithThePlatformsResultWhenNotADryRun)
{
    HANDLE second = StartHotKeyProgram();
    ASSERT_TRUE(second);
    EXPECT_EQ(WaitForSingleObject(second, 15000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(second, &code);
    CloseHandle(second);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(m_hooks.Dword("Starts"), 1u);

    /* The virtual screen of the tests (1024 x 768) has no other mode: the
     * platform refuses 640 x 480 and passes a test of the current mode. */
    DEVMODEA current;
    ZeroMemory(&current, sizeof(current));
    current.dmSize = sizeof(current);
    ASSERT_TRUE(EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &current));
    m_hooks.SetDword("DryRun", 0);
    Store("a 640x480", REG_BINARY, Fields({ 640, 480, 0, 0, 0, 0 }));
    Store("b current", REG_BINARY,
          Fields({ current.dmPelsWidth, current.dmPelsHeight, current.dmBitsPerPel,
                   current.dmDisplayFrequency, CDS_TEST, 0 }));

    struct Case { WPARAM index; LRESULT result; const char *outcome; };
    for (const Case &c : { Case{ 0, DISP_CHANGE_BADMODE, "failed" },
                           Case{ 1, DISP_CHANGE_SUCCESSFUL, "applied" } }) {
        EXPECT_EQ(Apply(c.index), c.result) << c.index;
        EXPECT_EQ(m_hooks.Bytes("LastOutcome"), Sz(c.outcome)) << c.index;
    }
}
