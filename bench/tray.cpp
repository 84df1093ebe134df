/*
 * qeltraybench: what the tray utility costs while it runs. It starts
 * QelIcon.exe from its own folder as a child process and reads the child's
 * private bytes, working set, GDI and USER objects and processor time:
 * after start-up, after each round of tooltip refreshes, and before and
 * after a spell in which the child is left alone with its own timer.
 *
 * The refreshes are driven from outside: each is the timer message that
 * the window's 5-second timer posts, sent to the window and so handled
 * before the next one goes. The menu is opened as a right click on the
 * icon opens it, and closed with Escape.
 *
 *   qeltraybench [refreshes [rounds [menus [idle seconds]]]]
 *       default: 10 rounds of 720 refreshes (each an hour's worth), then
 *       2 rounds of 100 menus, then 60 seconds idle
 */
/* Calls newer than the shipped programs may use: this one is not shipped. */
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0501
#define _WIN32_WINNT 0x0501

#include "bench.h"
#include "tray.h"

#include <psapi.h>
#include <winternl.h>
#include <stdio.h>
#include <stdlib.h>
#include <tlhelp32.h>
#include <vector>

static const char trayClass[] = "QelIcon";

struct Sample {
    SIZE_T privateBytes;
    SIZE_T workingSet;
    DWORD gdiObjects;
    DWORD userObjects;
    double cpuSeconds;     /* kernel and user time of all its threads */
};

static double Seconds(const FILETIME &time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return value.QuadPart / 1e7;
}

/* Summed over the threads: some platforms report the times of another
 * process only per thread. */
static double ProcessCpuSeconds(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    double seconds = 0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more;
         more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId)
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        FILETIME created, ended, kernel, user;
        if (thread && GetThreadTimes(thread, &created, &ended, &kernel, &user))
            seconds += Seconds(kernel) + Seconds(user);
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return seconds;
}

/* Wine answers GetGuiResources with 0. Its GDI objects live in a handle
 * table of the process's own, named by the process environment block (at
 * 0x94 in a 32-bit one): 65536 entries of 16 bytes, a free one of type 0. */
#define PEB_GDI_TABLE_OFFSET 0x94
#define GDI_TABLE_ENTRIES 0x10000
struct GdiTableEntry {
    BYTE object[8];
    DWORD owner;
    BYTE type;
    BYTE flags;
    WORD unique;
};
static_assert(sizeof(GdiTableEntry) == 16, "an entry of the GDI handle table");

static DWORD CountGdiTableEntries(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic),
                                  NULL) != 0)
        return 0;
    DWORD table = 0;
    const BYTE *peb = reinterpret_cast<const BYTE *>(basic.PebBaseAddress);
    if (!ReadProcessMemory(process, peb + PEB_GDI_TABLE_OFFSET, &table, sizeof(table), NULL)
        || !table)
        return 0;
    std::vector<GdiTableEntry> entries(GDI_TABLE_ENTRIES);
    if (!ReadProcessMemory(process, reinterpret_cast<void *>(table), entries.data(),
                           entries.size() * sizeof(GdiTableEntry), NULL))
        return 0;
    DWORD count = 0;
    for (const GdiTableEntry &entry : entries)
        count += entry.type != 0;
    return count;
}

static Sample TakeSample(const PROCESS_INFORMATION &child)
{
    Sample sample = {};
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(child.hProcess,
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters),
                             sizeof(counters))) {
        sample.privateBytes = counters.PrivateUsage ? counters.PrivateUsage
                                                    : counters.PagefileUsage;
        sample.workingSet = counters.WorkingSetSize;
    }
    sample.gdiObjects = GetGuiResources(child.hProcess, GR_GDIOBJECTS);
    if (!sample.gdiObjects)
        sample.gdiObjects = CountGdiTableEntries(child.hProcess);
    sample.userObjects = GetGuiResources(child.hProcess, GR_USEROBJECTS);
    sample.cpuSeconds = ProcessCpuSeconds(child.dwProcessId);
    return sample;
}

static void PrintHeading()
{
    printf("%-28s %12s %10s %6s %6s %9s\n", "", "private KB", "WS KB", "GDI", "USER",
           "CPU s");
}

/* A count of 0 is no count: a process with a window has objects. */
static void PrintSample(const char *label, const Sample &sample)
{
    char user[16] = "n/a";
    if (sample.userObjects)
        sprintf(user, "%lu", sample.userObjects);
    printf("%-28s %12lu %10lu %6lu %6s %9.2f\n", label,
           static_cast<unsigned long>(sample.privateBytes / 1024),
           static_cast<unsigned long>(sample.workingSet / 1024), sample.gdiObjects, user,
           sample.cpuSeconds);
}

static double Ratio(double a, double b)
{
    return b > 0 ? a / b : 0;
}

/* The child's hidden window, once it has one; null if it ends first or
 * has none after 60 s. */
static HWND WaitForTrayWindow(const PROCESS_INFORMATION &child)
{
    for (int tries = 0; tries < 600; tries++) {
        HWND window = NULL;
        while ((window = FindWindowExA(NULL, window, trayClass, NULL))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == child.dwProcessId)
                return window;
        }
        if (WaitForSingleObject(child.hProcess, 100) != WAIT_TIMEOUT)
            return NULL;
    }
    return NULL;
}

/* Returns FALSE when the window stops answering. */
static BOOL Refresh(HWND window, unsigned count)
{
    for (unsigned i = 0; i < count; i++) {
        DWORD_PTR result;
        if (!SendMessageTimeoutA(window, WM_TIMER, TRAY_TIMER_ID, 0, SMTO_NORMAL, 30000,
                                 &result))
            return FALSE;
    }
    return TRUE;
}

struct ShownMenu {
    DWORD processId;
    HWND found;
};

static BOOL CALLBACK FindShownMenu(HWND window, LPARAM param)
{
    ShownMenu *menu = reinterpret_cast<ShownMenu *>(param);
    char name[16] = "";
    GetClassNameA(window, name, sizeof(name));
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == menu->processId && IsWindowVisible(window) && lstrcmpA(name, "#32768") == 0)
        menu->found = window;
    return menu->found == NULL;
}

static HWND ShownMenuOf(DWORD processId)
{
    ShownMenu menu = { processId, NULL };
    EnumWindows(FindShownMenu, reinterpret_cast<LPARAM>(&menu));
    return menu.found;
}

/* Waits up to 10 s for the process's menu to show, or to go; popup is
 * the menu shown at the end. */
static BOOL WaitForMenu(DWORD processId, BOOL shown, HWND *popup)
{
    for (int tries = 0; tries < 1000; tries++) {
        *popup = ShownMenuOf(processId);
        if ((*popup != NULL) == shown)
            return TRUE;
        Sleep(10);
    }
    return FALSE;
}

/* Returns FALSE when a menu does not show, or does not go. */
static BOOL OpenMenus(HWND window, DWORD processId, unsigned count)
{
    for (unsigned i = 0; i < count; i++) {
        PostMessageA(window, WM_TRAY_CALLBACK, TRAY_ICON_ID, WM_RBUTTONDOWN);
        HWND popup;
        if (!WaitForMenu(processId, TRUE, &popup))
            return FALSE;
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        if (!WaitForMenu(processId, FALSE, &popup))
            return FALSE;
    }
    return TRUE;
}

/* QelIcon.exe from this program's folder, which is also its current
 * folder; FALSE when it does not start or shows no window (child then
 * holds what was started, if anything). */
static BOOL StartTrayChild(PROCESS_INFORMATION *child, HWND *window)
{
    std::string program = OwnProgramPath();
    std::string folder = program.substr(0, program.find_last_of('\\') + 1);
    std::string command = "\"" + folder + "QelIcon.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup,
                        child)) {
        printf("cannot start %s\n", command.c_str());
        return FALSE;
    }
    *window = WaitForTrayWindow(*child);
    if (!*window) {
        printf("QelIcon.exe ended or showed no window\n");
        return FALSE;
    }
    WaitForInputIdle(child->hProcess, 10000);
    return TRUE;
}

/* Closed as the exit command closes it; stopped if it does not end. */
static void EndTrayChild(const PROCESS_INFORMATION &child, HWND window)
{
    if (!child.hProcess)
        return;
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(child.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
}

struct TrayFigures {
    Sample started;
    Sample refreshed[2];    /* after the first round, after the last */
    double refreshSeconds;
    Sample menusShown[2];   /* after each of two rounds */
    Sample idle;
};

/* Rounds of refreshes, then two rounds of menus, each measured after it,
 * then the idle spell. The first round of each may load what every later
 * one uses; growth shows between the first round and the last. */
static BOOL MeasureTray(const PROCESS_INFORMATION &child, HWND window, unsigned refreshes,
                        unsigned rounds, unsigned menus, unsigned idleSeconds,
                        TrayFigures *figures)
{
    char label[64];
    PrintHeading();
    figures->started = TakeSample(child);
    PrintSample("after start-up", figures->started);

    DWORD start = GetTickCount();
    for (unsigned round = 1; round <= rounds; round++) {
        if (!Refresh(window, refreshes)) {
            printf("QelIcon.exe stopped answering\n");
            return FALSE;
        }
        Sample sample = TakeSample(child);
        figures->refreshed[round == 1 ? 0 : 1] = sample;
        sprintf(label, "after %u refreshes", round * refreshes);
        PrintSample(label, sample);
    }
    if (rounds == 1)
        figures->refreshed[1] = figures->refreshed[0];
    figures->refreshSeconds = (GetTickCount() - start) / 1000.0;

    for (int round = 0; round < 2; round++) {
        if (!OpenMenus(window, child.dwProcessId, menus)) {
            printf("the menu did not open or close\n");
            return FALSE;
        }
        figures->menusShown[round] = TakeSample(child);
        sprintf(label, "after %u menus", (round + 1) * menus);
        PrintSample(label, figures->menusShown[round]);
    }

    Sleep(idleSeconds * 1000);
    figures->idle = TakeSample(child);
    sprintf(label, "after %u s idle", idleSeconds);
    PrintSample(label, figures->idle);
    return TRUE;
}

static void PrintRatios(const TrayFigures &figures, unsigned refreshes, unsigned rounds,
                        unsigned menus, unsigned idleSeconds)
{
    unsigned total = refreshes * rounds;
    const Sample &first = figures.refreshed[0], &last = figures.refreshed[1];
    printf("\nprivate bytes, after %u refreshes over after start-up: %.3f\n", refreshes,
           Ratio(first.privateBytes, figures.started.privateBytes));
    printf("private bytes, after %u over after %u refreshes: %.3f\n", total, refreshes,
           Ratio(last.privateBytes, first.privateBytes));
    printf("working set, after %u over after %u refreshes: %.3f\n", total, refreshes,
           Ratio(last.workingSet, first.workingSet));
    printf("private bytes, after %u over after %u menus: %.3f\n", 2 * menus, menus,
           Ratio(figures.menusShown[1].privateBytes, figures.menusShown[0].privateBytes));
    printf("refreshes: %.1f s wall for %u, %.2f ms CPU each\n", figures.refreshSeconds, total,
           Ratio((last.cpuSeconds - figures.started.cpuSeconds) * 1000, total));
    double idleCpu = figures.idle.cpuSeconds - figures.menusShown[1].cpuSeconds;
    printf("idle: %.3f CPU s over %u s, %.3f CPU s per minute\n", idleCpu, idleSeconds,
           Ratio(idleCpu * 60, idleSeconds));
}

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    unsigned refreshes = argc > 1 ? strtoul(argv[1], NULL, 10) : 720;
    unsigned rounds = argc > 2 ? strtoul(argv[2], NULL, 10) : 10;
    unsigned menus = argc > 3 ? strtoul(argv[3], NULL, 10) : 100;
    unsigned idleSeconds = argc > 4 ? strtoul(argv[4], NULL, 10) : 60;
    if (refreshes == 0 || rounds == 0) {
        fprintf(stderr, "usage: qeltraybench [refreshes [rounds [menus [idle seconds]]]]\n");
        return 2;
    }
    PROCESS_INFORMATION child = {};
    HWND window = NULL;
    if (!StartTrayChild(&child, &window)) {
        EndTrayChild(child, window);
        return 1;
    }
    printf("%u rounds of %u refreshes, 2 rounds of %u menus, then %u s idle\n\n", rounds,
           refreshes, menus, idleSeconds);
    TrayFigures figures;
    BOOL measured = MeasureTray(child, window, refreshes, rounds, menus, idleSeconds, &figures);
    if (measured)
        PrintRatios(figures, refreshes, rounds, menus, idleSeconds);
    EndTrayChild(child, window);
    return measured ? 0 : 1;
}
