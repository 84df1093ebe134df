/*
 * heaprun PROGRAM [ARGS...]: runs PROGRAM with Wine's heap checking on in
 * its process alone and returns its exit code.
 *
 * The debug setting is read by each Wine process when it starts, and the
 * platform's own helper processes (the desktop, the services) start with
 * the first program that needs them and take its setting. This launcher
 * starts them under the normal setting first, by making a window, so that
 * whatever the checker reports comes from PROGRAM.
 *
 * The debugger that Wine starts when PROGRAM crashes would inherit the
 * setting too, and validating its heap on every call would keep it from
 * ever printing the backtrace. So this launcher stands in as the prefix's
 * debugger (heaprun --debugger PID EVENT): it starts Wine's debugger with
 * the setting taken out.
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

static const char debuggerOption[] = "--debugger";

/* The command line after this program's own name. */
static char *ArgumentsOf(char *commandLine)
{
    char *p = commandLine;
    if (*p == '"') {
        p = strchr(p + 1, '"');
        p = p ? p + 1 : commandLine + strlen(commandLine);
    } else {
        while (*p && *p != ' ' && *p != '\t')
            p++;
    }
    while (*p == ' ' || *p == '\t')
        p++;
    return p;
}

static void StartDesktop()
{
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    if (window)
        DestroyWindow(window);
}

/* Starts command, with inheritable handles, and returns its exit code;
 * -1 when it cannot be started. */
static int RunAndWait(char *command)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "heaprun: cannot start %s (error %lu)\n", command, GetLastError());
        return -1;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

/* Makes this program the debugger that the prefix starts for a crash. */
static void StandInAsDebugger()
{
    char path[MAX_PATH], command[MAX_PATH + 32];
    if (!GetModuleFileNameA(NULL, path, sizeof(path)))
        return;
    snprintf(command, sizeof(command), "\"%s\" %s %%ld %%ld", path, debuggerOption);
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                        "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", 0, NULL,
                        0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE *>(command),
                   strlen(command) + 1);
    RegCloseKey(key);
}

/* Wine's own debugger on the crashed process, without the heap checking.
 * The event handle it signals is inherited from the crashed process. */
static int RunDebugger(const char *processAndEvent)
{
    char command[64];
    snprintf(command, sizeof(command), "winedbg --auto %s", processAndEvent);
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    return RunAndWait(command);
}

int main()
{
    char *command = ArgumentsOf(GetCommandLineA());
    if (strncmp(command, debuggerOption, sizeof(debuggerOption) - 1) == 0)
        return RunDebugger(ArgumentsOf(command));
    if (!*command) {
        fprintf(stderr, "usage: heaprun PROGRAM [ARGS...]\n");
        return 2;
    }
    StartDesktop();
    StandInAsDebugger();
    SetEnvironmentVariableA("WINEDEBUG", "+heap");
    int exitCode = RunAndWait(command);
    return exitCode == -1 ? 2 : exitCode;
}
