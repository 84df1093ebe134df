/*
 * End-to-end tests: the real QelIcon.exe under Wine, with our QELDCFG.DLL
 * and qelhk32.exe, steered and observed through their test hooks, the
 * registry of this test's own Wine prefix and WIN.INI. What only another
 * process can see (the open menu, the notification-area tooltips) is read
 * by trayprobe.dll, loaded into that process with a remote thread. Each
 * QelIcon runs in a job object, whose completion port reports every
 * process it starts, also one that ends at once. QelIcon and the hot-key
 * program run as the Windows version that QEL_WINDOWS names.
 */
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop.h"
#include "hooks.h"
#include "sandbox.h"
#include "tray.h"
#include "windows_version.h"

#define MN_GETHMENU 0x01E1

static const char classKeyPath[] = "System\\CurrentControlSet\\Services\\Class\\DISPLAY";
static const char driverKeyPath[] = "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL";

struct WindowQuery {
    const char *className;
    DWORD process;      /* 0: any */
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowQuery *query = reinterpret_cast<WindowQuery *>(param);
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    DWORD process;
    GetWindowThreadProcessId(window, &process);
    if (lstrcmpiA(name, query->className) == 0 && IsWindowVisible(window)
        && (!query->process || process == query->process)) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

/* A visible top-level window of the class, of the process if given. */
static HWND FindVisibleWindow(const char *className, DWORD process)
{
    WindowQuery query = { className, process, NULL };
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

/* Runs the thread routine at address inside process; its exit code. */
static DWORD RunRemoteThread(HANDLE process, void *address, void *argument)
{
    LPTHREAD_START_ROUTINE routine;
    CopyMemory(&routine, &address, sizeof(routine));
    HANDLE thread = CreateRemoteThread(process, NULL, 0, routine, argument, 0, NULL);
    if (!thread)
        return 0;
    DWORD code = 0;
    if (WaitForSingleObject(thread, 20000) == WAIT_OBJECT_0)
        GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code;
}

/* Calls an export of trayprobe.dll inside process; returns the value it
 * leaves in the probe key. */
static std::string Probe(HANDLE process, const char *function, void *argument)
{
    TestHookKey probe("Probe");
    std::string path = ProgramFolder() + "trayprobe.dll";
    void *remotePath = VirtualAllocEx(process, NULL, path.size() + 1, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(process, remotePath, path.c_str(), path.size() + 1, NULL);
    void *loadLibrary = reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA"));
    DWORD remoteBase = RunRemoteThread(process, loadLibrary, remotePath);
    VirtualFreeEx(process, remotePath, 0, MEM_RELEASE);
    EXPECT_NE(remoteBase, 0u) << "trayprobe.dll not loaded";

    HMODULE local = LoadLibraryA(path.c_str());
    FARPROC proc = GetProcAddress(local, function);
    if (!remoteBase || !proc)
        return "(no probe)";
    DWORD offset = reinterpret_cast<DWORD>(proc) - reinterpret_cast<DWORD>(local);
    RunRemoteThread(process, reinterpret_cast<void *>(remoteBase + offset), argument);
    std::string text = probe.Bytes(strcmp(function, "ProbeMenu") == 0 ? "Menu" : "Tips");
    return text.empty() ? text : text.substr(0, text.size() - 1);   /* the zero */
}

/* A running QelIcon.exe from folder, which is also its current folder;
 * closed at the end if it still runs. */
class TrayProgram {
public:
    explicit TrayProgram(const std::string &folder = ProgramFolder()) : m_window(NULL)
    {
        ZeroMemory(&m_info, sizeof(m_info));
        m_job = CreateJobObjectA(NULL, NULL);
        m_port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, NULL, 0, 1);
        JOBOBJECT_ASSOCIATE_COMPLETION_PORT link = { NULL, m_port };
        EXPECT_TRUE(SetInformationJobObject(m_job, JobObjectAssociateCompletionPortInformation,
                                            &link, sizeof(link)));
        std::string command = "\"" + folder + "QelIcon.exe\"";
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof(startup));
        startup.cb = sizeof(startup);
        /* Suspended until it is in the job, so that nothing it starts escapes. */
        if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, CREATE_SUSPENDED, NULL,
                            folder.c_str(), &startup, &m_info)) {
            ADD_FAILURE() << "cannot start " << command;
            return;
        }
        EXPECT_TRUE(AssignProcessToJobObject(m_job, m_info.hProcess));
        ResumeThread(m_info.hThread);
    }
    ~TrayProgram()
    {
        if (m_info.hProcess && Running()) {
            PostMessageA(Window(), WM_CLOSE, 0, 0);
            if (WaitForSingleObject(m_info.hProcess, 15000) != WAIT_OBJECT_0)
                TerminateProcess(m_info.hProcess, 1);
        }
        CloseHandle(m_info.hThread);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_port);
        CloseHandle(m_job);
    }
    TrayProgram(const TrayProgram &) = delete;
    TrayProgram &operator=(const TrayProgram &) = delete;

    bool Running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    HANDLE Process() const { return m_info.hProcess; }
    DWORD Id() const { return m_info.dwProcessId; }

    /* Its hidden window, once it has one; null when it ended first. */
    HWND Window()
    {
        if (!m_window)
            WaitFor([this] {
                HWND window = FindWindowA("QelIcon", NULL);
                DWORD process = 0;
                if (window)
                    GetWindowThreadProcessId(window, &process);
                if (process == Id())
                    m_window = window;
                return m_window != NULL || !Running();
            });
        return m_window;
    }

    /* The exit code, or STILL_ACTIVE if it did not end in time. */
    DWORD ExitCode(DWORD timeout = 15000) const
    {
        WaitForSingleObject(m_info.hProcess, timeout);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

    /* Opens the tray menu as the notification area does, reads it and
     * closes it again. */
    std::string MenuText()
    {
        PostMessageA(Window(), WM_TRAY_CALLBACK, TRAY_ICON_ID, WM_RBUTTONDOWN);
        HWND popup = NULL;
        WaitFor([&] { return (popup = FindVisibleWindow("#32768", Id())) != NULL; });
        if (!popup)
            return "(no menu)";
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        std::string text = Probe(m_info.hProcess, "ProbeMenu", menu);
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitFor([&] { return !FindVisibleWindow("#32768", Id()); });
        return text;
    }

    /* The ids of the processes it has started so far, in order. A process
     * is reported when it is created, so whatever a message sent to the
     * program started is in the list once the send has returned. */
    std::vector<DWORD> StartedProcesses()
    {
        DWORD message;
        ULONG_PTR key;
        LPOVERLAPPED data;
        while (GetQueuedCompletionStatus(m_port, &message, &key, &data, 0)) {
            DWORD process = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
            if (message == JOB_OBJECT_MSG_NEW_PROCESS && process != Id())
                m_started.push_back(process);
        }
        return m_started;
    }

private:
    PROCESS_INFORMATION m_info;
    HWND m_window;
    HANDLE m_job;
    HANDLE m_port;
    std::vector<DWORD> m_started;
};

/* QelIcon.exe with the modules it loads, copied to a folder of its own that
 * holds no hot-key program; removed at the end. */
class LoneTrayFolder {
public:
    LoneTrayFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        m_folder = std::string(temp) + "qelicon" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_folder.c_str(), NULL);
        for (const char *file : s_files)
            EXPECT_TRUE(CopyFileA((ProgramFolder() + file).c_str(), (m_folder + file).c_str(),
                                  FALSE)) << file;
    }
    ~LoneTrayFolder()
    {
        for (const char *file : s_files)
            DeleteFileA((m_folder + file).c_str());
        RemoveDirectoryA(m_folder.c_str());
    }
    LoneTrayFolder(const LoneTrayFolder &) = delete;
    LoneTrayFolder &operator=(const LoneTrayFolder &) = delete;

    const std::string &Path() const { return m_folder; }

private:
    static constexpr const char *s_files[] = { "QelIcon.exe", "QELDCFG.DLL", "QELICENU.RSC",
                                               "QELICDEU.RSC", "QELICDEF.RSC" };
    std::string m_folder;
};

/* The tooltips of the notification area, read inside its process. */
static std::string TrayTips()
{
    HWND shell = FindWindowA("Shell_TrayWnd", NULL);
    DWORD id = 0;
    GetWindowThreadProcessId(shell, &id);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
    if (!process)
        return "(no notification area)";
    std::string tips = Probe(process, "ProbeTips", NULL);
    CloseHandle(process);
    return tips;
}

static void SetDriverValue(const char *subkey, const char *name, DWORD type,
                           const std::string &data)
{
    std::string path = std::string(driverKeyPath) + "\\" + subkey;
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS,
                              NULL, &key, NULL), ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(data.data()),
                   data.size());
    RegCloseKey(key);
}

/* A value's data as stored, and its type; "" and REG_NONE when missing. */
static std::string DriverValue(const char *subkey, const char *name, DWORD *type = NULL)
{
    std::string path = std::string(driverKeyPath) + "\\" + subkey;
    std::string data(4096, '\0');
    DWORD size = data.size(), kind = REG_NONE;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        if (RegQueryValueExA(key, name, NULL, &kind, reinterpret_cast<BYTE *>(&data[0]), &size)
            != ERROR_SUCCESS)
            size = 0;
        RegCloseKey(key);
    } else {
        size = 0;
    }
    if (type)
        *type = kind;
    return data.substr(0, size);
}

static std::string Sz(const std::string &text) { return std::string(text.c_str(), text.size() + 1); }

static std::string LoadEntry()
{
    char entry[LOAD_ENTRY_SIZE];
    GetProfileStringA("windows", "load", "", entry, sizeof(entry));
    return entry;
}

/* A colour scheme whose ramp is level i -> (i, 255 - i, i / 2). */
static std::string WarmScheme(size_t size = 820)
{
    std::string scheme(size, '\x5A');
    for (int i = 0; i < 256 && 16 + i * 3 + 2 < static_cast<int>(size); ++i) {
        scheme[16 + i * 3] = static_cast<char>(i);
        scheme[16 + i * 3 + 1] = static_cast<char>(255 - i);
        scheme[16 + i * 3 + 2] = static_cast<char>(i / 2);
    }
    return scheme;
}

static std::string Setting(DWORD width, DWORD height, DWORD bits)
{
    DWORD fields[6] = { width, height, bits, 0, 0, 0 };
    return std::string(reinterpret_cast<const char *>(fields), sizeof(fields));
}

class TrayEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, driverKeyPath);
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, classKeyPath, 0, NULL, 0, KEY_ALL_ACCESS,
                                  NULL, &key, NULL), ERROR_SUCCESS);
        RegCloseKey(key);
        WriteProfileStringA("windows", "load", "");
        m_display.SetMode(1024, 768, 6, 800, 600);
        m_display.SetDword("DisplayModeEnabled", 1);
        m_display.SetDword("GammaEnabled", 1);
    }
    void TearDown() override
    {
        HWND hotKey = FindWindowA(HOTKEY_CLASS, NULL);
        if (hotKey) {
            PostMessageA(hotKey, WM_CLOSE, 0, 0);
            WaitFor([] { return !FindWindowA(HOTKEY_CLASS, NULL); });
        }
        DeleteKeyTree(HKEY_LOCAL_MACHINE, driverKeyPath);
        WriteProfileStringA("windows", "load", "");
    }

    DisplayConfigHooks m_display;
    HotKeyHooks m_hotKey;
};

/* GetVersion takes no argument, so it serves as the routine of a thread
 * started in QelIcon: the thread's exit code is the version QelIcon is told. */
TEST_F(TrayEndToEnd, RunsAsTheWindowsVersionOfTheRun)
{
    const WindowsVersion *windows = TestedWindowsVersion();
    ASSERT_TRUE(windows) << "QEL_WINDOWS names no Windows version the test knows";
    TrayProgram tray;
    ASSERT_TRUE(tray.Window());
    void *getVersion = reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetVersion"));
    char seen[16];
    wsprintfA(seen, "%08lX", RunRemoteThread(tray.Process(), getVersion, NULL));
    char expected[16];
    wsprintfA(expected, "%08lX", windows->packed);
    EXPECT_STREQ(seen, expected) << windows->name;
}

TEST_F(TrayEndToEnd, RunsOnceAndEndsOnCloseRemovingItsIcon)
{
    TrayProgram first;
    ASSERT_TRUE(first.Window());
    EXPECT_TRUE(WaitFor([] { return TrayIconCount() == 1; })) << TrayIconCount();

    TrayProgram second;
    EXPECT_EQ(second.ExitCode(), 0u) << "the second start must end at once";
    EXPECT_EQ(TrayIconCount(), 1);
    EXPECT_TRUE(first.Running());

    DWORD modeQueries = m_display.Dword("GetDisplayModeCalls");
    PostMessageA(first.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(first.ExitCode(), 0u);
    EXPECT_TRUE(WaitFor([] { return TrayIconCount() == 0; })) << TrayIconCount();
    EXPECT_GT(m_display.Dword("GetDisplayModeCalls"), modeQueries)
        << "removing the icon builds its record with the mode too";
}

TEST_F(TrayEndToEnd, EndsBesideALibraryOfAnotherIdentity)
{
    for (const char *identity : { "12345", "7612955200", "" }) {
        m_display.SetString("Identity", identity);
        TrayProgram tray;
        EXPECT_EQ(tray.ExitCode(), 0u) << identity;
        EXPECT_FALSE(FindWindowA("QelIcon", NULL)) << identity;
    }
    EXPECT_EQ(TrayIconCount(), 0);
}

TEST_F(TrayEndToEnd, TooltipShowsTheModeAndFollowsItEveryFiveSeconds)
{
    TrayProgram tray;
    ASSERT_TRUE(tray.Window());
    char expected[512];
    wsprintfA(expected, "%s: 1024 x 768, %s: 800 x 600, %s: 16 %s", ModuleString(4).c_str(),
              ModuleString(5).c_str(), ModuleString(6).c_str(), ModuleString(7).c_str());
    EXPECT_TRUE(WaitFor([&] { return TrayTips() == std::string(expected).substr(0, 63) + "\n"; }, 5000))
        << TrayTips();

    m_display.SetDword("NoMode", 1);
    EXPECT_TRUE(WaitFor([] { return TrayTips() == ModuleString(3) + "\n"; },
                        TRAY_REFRESH_MS + 1500)) << TrayTips();
}

TEST_F(TrayEndToEnd, MenuListsSettingsAndSchemesAndMessage1025SwitchesThem)
{
    SetDriverValue("Settings", "", REG_SZ, Sz(""));
    SetDriverValue("Settings", "640x480", REG_BINARY, Setting(640, 480, 8));
    SetDriverValue("Settings", "800x600", REG_BINARY, Setting(800, 600, 16));
    SetDriverValue("ColorCorrection", "Warm", REG_BINARY, WarmScheme());
    SetDriverValue("ColorCorrection", DEFAULT_SCHEME_NAME, REG_BINARY, WarmScheme());

    TrayProgram tray;
    ASSERT_TRUE(tray.Window());
    const std::string items = "12 default " + ModuleString(12) + "\n13 " + ModuleString(13)
                              + "\n---\n14 " + ModuleString(14) + "\n";
    const std::string full = "popup " + ModuleString(10) + "\n  1001 640x480\n  1002 800x600\n"
                             "popup " + ModuleString(11) + "\n  1100 Warm\n  1101 "
                             + ModuleString(15) + "\n" + items;
    EXPECT_EQ(tray.MenuText(), full);

    struct Case { WPARAM flag; const std::string &menu; };
    for (const Case &c : { Case{ 2, items }, Case{ 1, full }, Case{ 0, items }, Case{ 1, full } }) {
        PostMessageA(tray.Window(), WM_TRAY_ENABLE_MENUS, c.flag, 0);
        EXPECT_EQ(tray.MenuText(), c.menu) << "after 1025 with " << c.flag;
    }
}

TEST_F(TrayEndToEnd, ExitChosenFromTheOpenMenuByKeyboardEndsTheProgram)
{
    TrayProgram tray;
    ASSERT_TRUE(tray.Window());
    PostMessageA(tray.Window(), WM_TRAY_CALLBACK, TRAY_ICON_ID, WM_RBUTTONDOWN);
    HWND popup = NULL;
    ASSERT_TRUE(WaitFor([&] { return (popup = FindVisibleWindow("#32768", tray.Id())) != NULL; }));
    PostMessageA(popup, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(tray.ExitCode(), 0u);
    EXPECT_TRUE(WaitFor([] { return TrayIconCount() == 0; }));
}

/* NT 4.0 has no gamma ramps: there the library finds no ramp calls at run
 * time and offers no schemes. Wine has the calls whatever version it
 * reports, so every version of the run applies the scheme. */
TEST_F(TrayEndToEnd, ChosenSchemeIsAppliedAndRecordedAndTheDefaultEntryRestoresTheBuiltInOne)
{
    SetDriverValue("ColorCorrection", "", REG_SZ, Sz("Old"));
    SetDriverValue("ColorCorrection", "Warm", REG_BINARY, WarmScheme(900));
    SetDriverValue("ColorCorrection", DEFAULT_SCHEME_NAME, REG_BINARY, WarmScheme(820));
    TrayProgram tray;
    ASSERT_TRUE(tray.Window());

    SendMessageA(tray.Window(), WM_COMMAND, 1101, 0);
    EXPECT_EQ(m_display.Bytes("LastRamp"), WarmScheme(900).substr(16, 768));
    DWORD type;
    EXPECT_EQ(DriverValue("ColorCorrection", DEFAULT_SCHEME_NAME, &type), WarmScheme(900));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(DriverValue("ColorCorrection", ""), Sz("Warm"));

    SendMessageA(tray.Window(), WM_COMMAND, 1102, 0);
    const char *builtIn = reinterpret_cast<const char *>(&g_defaultScheme);
    EXPECT_EQ(m_display.Bytes("LastRamp"), std::string(builtIn + 16, 768));
    EXPECT_EQ(DriverValue("ColorCorrection", DEFAULT_SCHEME_NAME, &type),
              std::string(builtIn, 820));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(DriverValue("ColorCorrection", ""), Sz(""));
    EXPECT_EQ(m_display.Dword("SetGammaCalls"), 2u);
}

TEST_F(TrayEndToEnd, ChosenSettingRegistersStartsAndReachesTheHotKeyProgram)
{
    /* The unnamed value is index 0 (Wine lists values sorted by name), so
     * the last listed setting, Mode98, has index 99. */
    SetDriverValue("Settings", "", REG_SZ, Sz(""));
    for (int i = 0; i < 100; ++i) {
        char name[16];
        wsprintfA(name, "Mode%02d", i);
        SetDriverValue("Settings", name, REG_BINARY, Setting(640 + i, 480, 16));
    }
    WriteProfileStringA("windows", "load", "notepad.exe");
    TrayProgram tray;
    ASSERT_TRUE(tray.Window());

    SendMessageA(tray.Window(), WM_COMMAND, 1099, 0);
    EXPECT_EQ(DriverValue("Settings", ""), Sz("Mode98"));
    EXPECT_EQ(LoadEntry(), "notepad.exe qelhk32.exe");
    HWND hotKey = NULL;
    ASSERT_TRUE(WaitFor([&] { return (hotKey = FindWindowA(HOTKEY_CLASS, NULL)) != NULL; }));
    const std::vector<DWORD> started = tray.StartedProcesses();
    DWORD hotKeyProcess = 0;
    GetWindowThreadProcessId(hotKey, &hotKeyProcess);
    EXPECT_EQ(started, std::vector<DWORD>{ hotKeyProcess })
        << "the one process started is the hot-key program";

    DWORD sent = m_hotKey.Dword("Count");
    SendMessageA(tray.Window(), WM_COMMAND, 1099, 0);
    EXPECT_EQ(m_hotKey.Dword("Count"), sent + 1);
    EXPECT_EQ(m_hotKey.Dword("LastIndex"), 99u);
    EXPECT_EQ(m_hotKey.Bytes("LastName"), Sz("Mode98"));
    EXPECT_EQ(m_hotKey.Bytes("LastSetting"), Setting(738, 480, 16));
    EXPECT_EQ(m_hotKey.Bytes("LastOutcome"), Sz("dry run"));
    EXPECT_EQ(tray.StartedProcesses(), started) << "a running hot-key program is not started again";
    EXPECT_EQ(LoadEntry(), "notepad.exe qelhk32.exe");
}

TEST_F(TrayEndToEnd, ChosenSettingIsRecordedWhenTheHotKeyProgramCannotBeFound)
{
    /* The program search looks in QelIcon's folder, the current folder, the
     * system folders and PATH: the first two are the lone folder. */
    LoneTrayFolder folder;
    char path[4096] = "", found[MAX_PATH] = "";
    GetEnvironmentVariableA("PATH", path, sizeof(path));
    ASSERT_EQ(SearchPathA(path, HOTKEY_PROGRAM, NULL, sizeof(found), found, NULL), 0u) << found;
    SetDriverValue("Settings", "800x600", REG_BINARY, Setting(800, 600, 16));
    TrayProgram tray(folder.Path());
    ASSERT_TRUE(tray.Window());

    SendMessageA(tray.Window(), WM_COMMAND, 1000, 0);
    EXPECT_EQ(DriverValue("Settings", ""), Sz("800x600"));
    EXPECT_EQ(LoadEntry(), "qelhk32.exe");
    EXPECT_EQ(tray.StartedProcesses(), std::vector<DWORD>()) << "nothing to start was found";
    EXPECT_FALSE(FindWindowA(HOTKEY_CLASS, NULL));
}

static BOOL CALLBACK FindChildText(HWND child, LPARAM param)
{
    std::string &wanted = *reinterpret_cast<std::string *>(param);
    char text[300] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (wanted == text) {
        wanted.clear();
        return FALSE;
    }
    return TRUE;
}

TEST_F(TrayEndToEnd, UnknownCommandShowsTheWarningBoxAndChangesNothing)
{
    SetDriverValue("ColorCorrection", "Warm", REG_BINARY, WarmScheme());
    TrayProgram tray;
    ASSERT_TRUE(tray.Window());
    for (WPARAM command : { 1200, 11, 16 }) {
        PostMessageA(tray.Window(), WM_COMMAND, command, 0);
        HWND box = NULL;
        ASSERT_TRUE(WaitFor([&] { return (box = FindVisibleWindow("#32770", tray.Id())) != NULL; }))
            << command;
        char caption[300] = "";
        GetWindowTextA(box, caption, sizeof(caption));
        EXPECT_EQ(caption, ModuleString(20)) << command;
        std::string text = ModuleString(21);
        EnumChildWindows(box, FindChildText, reinterpret_cast<LPARAM>(&text));
        EXPECT_TRUE(text.empty()) << "no text " << text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    }
    EXPECT_TRUE(tray.Running());
    EXPECT_FALSE(m_display.Has("LastRamp"));
    EXPECT_EQ(DriverValue("ColorCorrection", DEFAULT_SCHEME_NAME), "");
}
