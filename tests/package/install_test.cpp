/*
 * The release as a user gets it, in this test's own fresh Wine prefix: the
 * setup program installs it silently; the wizard, started from its Start-
 * menu entry, writes a report that lists the installed files with their
 * versions and sizes; the tray utility starts from the logon entry, shows
 * its icon and applies a display setting; the silent uninstall then takes
 * away everything of the package but the report the user saved, and keeps
 * what was there before: the display driver's settings and the other
 * programs of the WIN.INI "load" entry.
 *
 * The steps build on each other, so they are one test.
 */
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "automation.h"
#include "desktop.h"
#include "sandbox.h"

static const char installFolder[] = "C:\\Program Files\\QEL Display Tools\\";
static const char menuFolder[] =
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\QEL Display Tools\\";
static const char uninstallKeyPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QELDisplayTools";
static const char runKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char driverKeyPath[] = "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL";
static const char reportPath[] = "C:\\QELPR.TXT";

/* The display driver's own stored setting: the screen's mode, tested. */
static const char driverSetting[] = "1024 x 768, tested";
static const DWORD driverSettingData[6] = { 1024, 768, 0, 0, CDS_TEST, 0 };

static std::string ReleaseFolder()
{
    const char *folder = getenv("QEL_RELEASE");
    return std::string(folder ? folder : ".") + "\\";
}

static std::string ReadString(HKEY root, const char *path, const char *name)
{
    char text[1024] = "";
    DWORD size = sizeof(text) - 1;
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE *>(text), &size);
    RegCloseKey(key);
    return text;
}

/* The files Windows is to move or delete when it next starts, one a line;
 * the value pairs each name with its new one, empty for a deletion. */
static std::string PendingDeletions()
{
    char names[4096] = "";
    DWORD size = sizeof(names) - 2;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                      0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    RegQueryValueExA(key, "PendingFileRenameOperations", NULL, NULL,
                     reinterpret_cast<BYTE *>(names), &size);
    RegCloseKey(key);
    std::string lines;
    for (const char *name = names; name < names + size; name += strlen(name) + 1)
        if (*name)
            lines += std::string(name) + "\n";
    return lines;
}

static std::string LoadEntry()
{
    char entry[1000] = "";
    GetProfileStringA("windows", "load", "", entry, sizeof(entry));
    return entry;
}

/* Runs a command line; its exit code once it ends, -1 when it cannot be
 * started or still runs after 60 s (it is then stopped). */
static long RunCommand(const std::string &commandLine)
{
    PROCESS_INFORMATION process = StartCommand(commandLine);
    if (!process.hProcess)
        return -1;
    long code = WaitForExit(process, 60000);
    CloseProgram(process);
    return code;
}

static std::set<DWORD> ProcessIds()
{
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry))
        ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

/* Runs a command that hands its work on to other processes (the
 * uninstaller runs from a copy of itself) and waits until every process
 * that was not running before has ended. */
static void RunAndWaitForItsProcesses(const std::string &commandLine)
{
    std::set<DWORD> before = ProcessIds();
    RunCommand(commandLine);
    EXPECT_TRUE(WaitFor([&] {
        std::set<DWORD> now = ProcessIds();
        return std::includes(before.begin(), before.end(), now.begin(), now.end());
    }, 60000)) << commandLine << " still runs";
}

/* What lies in the prefix: every registry key and value name below the
 * two roots a program installs to, and every file and folder of drive C:
 * but the temporary folders. */
static void ListKeys(HKEY root, const std::string &rootName, const std::string &path,
                     std::set<std::string> *found)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    found->insert(rootName + "\\" + path);
    char name[512];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumValueA(key, index, name, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        found->insert(rootName + "\\" + path + " : " + name);
    }
    std::vector<std::string> subkeys;
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, index, name, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        subkeys.push_back(path.empty() ? name : path + "\\" + name);
    }
    RegCloseKey(key);
    for (const std::string &subkey : subkeys)
        ListKeys(root, rootName, subkey, found);
}

static void ListFiles(const std::string &folder, std::set<std::string> *found)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == ".." || lstrcmpiA(name.c_str(), "Temp") == 0)
            continue;
        found->insert(folder + name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder + name + "\\", found);
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

static std::set<std::string> Snapshot()
{
    std::set<std::string> found;
    ListKeys(HKEY_LOCAL_MACHINE, "HKLM", "Software", &found);
    ListKeys(HKEY_LOCAL_MACHINE, "HKLM", "System", &found);
    ListKeys(HKEY_CURRENT_USER, "HKCU", "", &found);
    ListFiles("C:\\", &found);
    return found;
}

/* What the platform records of its own while the package is used: Wine's
 * settings, the viewer's settings saved when it closes, and the removal of
 * the uninstaller's temporary copy at the next start of Windows. */
static bool IsPlatformsOwn(const std::string &entry)
{
    static const char *const own[] = {
        "HKCU\\Software\\Wine",
        "HKCU\\Software\\Microsoft\\Notepad",
        "HKLM\\System\\CurrentControlSet\\Control\\Session Manager : PendingFileRenameOperations",
    };
    for (const char *prefix : own)
        if (entry.compare(0, strlen(prefix), prefix) == 0)
            return true;
    return false;
}

/* Entries of one snapshot that the other lacks, one a line. */
static std::string Missing(const std::set<std::string> &from, const std::set<std::string> &in)
{
    std::string lines;
    for (const std::string &entry : from)
        if (!in.count(entry) && !IsPlatformsOwn(entry))
            lines += entry + "\n";
    return lines;
}

/* The file a Start-menu shortcut starts. */
static std::string ShortcutTarget(const std::string &link)
{
    char target[MAX_PATH] = "";
    IShellLinkA *shellLink = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void **>(&shellLink))))
        return target;
    IPersistFile *file = NULL;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile,
                                            reinterpret_cast<void **>(&file)))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ)))
            shellLink->GetPath(target, sizeof(target), NULL, 0);
        file->Release();
    }
    shellLink->Release();
    return target;
}

static DWORD FileSize(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow
                                                                            : 0;
}

/* What the display driver and other programs left before the package came. */
static void ArrangeMachine()
{
    std::string path = std::string(driverKeyPath) + "\\Settings";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS,
                              NULL, &key, NULL),
              ERROR_SUCCESS);
    RegSetValueExA(key, driverSetting, 0, REG_BINARY,
                   reinterpret_cast<const BYTE *>(driverSettingData), sizeof(driverSettingData));
    RegCloseKey(key);
    WriteProfileStringA("windows", "load", "first.exe second.exe");
}

static void ExpectInstalled()
{
    for (const char *file : { "QELPR.EXE", "QelIcon.exe", "QELDCFG.DLL", "QELHWA.dll",
                              "qelhk32.exe", "QELPRENU.RSC", "QELPRDEU.RSC", "QELPRDEF.RSC",
                              "QELICENU.RSC", "QELICDEU.RSC", "QELICDEF.RSC", "QELENU.HLP",
                              "QELDEU.HLP", "QELDEF.HLP", "QELUNINS.EXE" })
        EXPECT_NE(FileSize(std::string(installFolder) + file), 0u) << file;
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, driverKeyPath, "HelpFile"),
              std::string(installFolder) + "QEL%s.HLP");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, uninstallKeyPath, "DisplayName"),
              "QEL Display Driver Support Tools");
}

/* The wizard from its Start-menu entry, answered with the sample answers;
 * the report opens in the viewer at Finish, which is closed again. */
static void WriteReportFromStartMenu()
{
    std::string wizard = ShortcutTarget(std::string(menuFolder) + "Problem Report Wizard.lnk");
    EXPECT_EQ(lstrcmpiA(wizard.c_str(), (std::string(installFolder) + "QELPR.EXE").c_str()), 0)
        << wizard;
    std::string help = ShortcutTarget(std::string(menuFolder) + "Display Tools Help.lnk");
    EXPECT_NE(FileSize(help), 0u) << "help shortcut: " << help;

    const char *answers = getenv("QEL_SAMPLE_ANSWERS");
    ASSERT_TRUE(answers);
    EXPECT_EQ(RunCommand("\"" + ProgramFolder() + "qeldrive.exe\" \"" + wizard + "\" \"" +
                         answers + "\""),
              0);
    HWND viewer = NULL;
    EXPECT_TRUE(WaitFor([&] { return (viewer = FindWindowA("Notepad", NULL)) != NULL; }));
    if (viewer)
        PostMessageA(viewer, WM_CLOSE, 0, 0);
}

/* The driver files section names each installed file of the package list
 * by its path, with its version and its size. */
static void ExpectReportListsInstalledFiles()
{
    std::string report = ReadFileBytes(reportPath);
    ASSERT_FALSE(report.empty()) << reportPath;
    for (const char *file : { "QELDCFG.DLL", "QELHK32.EXE", "QELPR.EXE" }) {
        std::string path = std::string(installFolder) + file;
        size_t at = report.find(path + "\r\n");
        if (at == std::string::npos) {
            /* The search reports the name in the case it was asked for. */
            std::string upper = path;
            CharUpperA(&upper[0]);
            at = report.find(upper + "\r\n");
        }
        ASSERT_NE(at, std::string::npos) << file << " in\n" << report;
        size_t line = report.find("\r\n", at) + 2;
        std::string expected = "Version = 1.0.0.0\tSize = " +
                               std::to_string(FileSize(path)) + " bytes\r\n";
        EXPECT_EQ(report.substr(line, expected.size()), expected) << file;
    }
}

/* The tray utility from the logon entry: its icon, and a display setting
 * chosen from it, which starts the hot-key program and registers it in
 * the "load" entry. */
static void StartTrayAndChooseSetting()
{
    std::string logon = ReadString(HKEY_LOCAL_MACHINE, runKeyPath, "QelIcon");
    EXPECT_EQ(logon, "\"" + std::string(installFolder) + "QelIcon.exe\"");
    /* Left running: the uninstaller is to close it. */
    PROCESS_INFORMATION process = StartCommand(logon);
    ASSERT_TRUE(process.hProcess) << logon;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    HWND tray = NULL;
    ASSERT_TRUE(WaitFor([&] { return (tray = FindWindowA("QelIcon", NULL)) != NULL; }));
    EXPECT_TRUE(WaitFor([] { return TrayIconCount() == 1; })) << TrayIconCount();

    int index = ValueIndex(HKEY_LOCAL_MACHINE, std::string(driverKeyPath) + "\\Settings",
                           driverSetting);
    ASSERT_GE(index, 0);
    PostMessageA(tray, WM_COMMAND, 1000 + index, 0);
    EXPECT_TRUE(WaitFor([] { return FindWindowA("QELHkClass", NULL) != NULL; }));
    EXPECT_TRUE(WaitFor([] { return LoadEntry() == "first.exe second.exe qelhk32.exe"; }))
        << LoadEntry();
}

TEST(Package, InstallsRunsAndUninstallsLeavingOnlyTheUsersReport)
{
    ASSERT_EQ(CoInitialize(NULL), S_OK);
    ArrangeMachine();
    std::set<std::string> before = Snapshot();

    ASSERT_EQ(RunCommand("\"" + ReleaseFolder() + "QELSETUP.EXE\" /S"), 0);
    ExpectInstalled();
    WriteReportFromStartMenu();
    ExpectReportListsInstalledFiles();
    StartTrayAndChooseSetting();

    std::string uninstall = ReadString(HKEY_LOCAL_MACHINE, uninstallKeyPath,
                                       "QuietUninstallString");
    ASSERT_FALSE(uninstall.empty());
    RunAndWaitForItsProcesses(uninstall);

    EXPECT_FALSE(FindWindowA("QelIcon", NULL)) << "the tray utility still runs";
    EXPECT_FALSE(FindWindowA("QELHkClass", NULL)) << "the hot-key program still runs";
    EXPECT_EQ(LoadEntry(), "first.exe second.exe");
    EXPECT_NE(FileSize(reportPath), 0u) << "the user's report";
    std::set<std::string> after = Snapshot();
    EXPECT_EQ(Missing(after, before), std::string(reportPath) + "\n") << "left behind";
    EXPECT_EQ(Missing(before, after), "") << "taken away";
    /* Only the uninstaller's copy of itself in the temporary folder. */
    std::string pending = PendingDeletions();
    for (size_t at = 0; at < pending.size(); at = pending.find('\n', at) + 1)
        EXPECT_NE(pending.substr(at, pending.find('\n', at) - at).find("\\Temp\\~nsu"),
                  std::string::npos)
            << pending;
    CoUninitialize();
}
