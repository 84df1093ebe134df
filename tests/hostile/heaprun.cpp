/*
 * heaprun PROGRAM [ARGS...]: runs PROGRAM with Wine's heap checking on in
 * its process alone and returns its exit code.
 *
 * The debug setting is read by each Wine process when it starts, and the
 * platform's own helper processes (the desktop, the services) start with
 * the first program that needs them and take its setting. This launcher
 * starts them under the normal setting first, by making a window, so that
 * whatever the checker reports comes from PROGRAM.
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

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

int main()
{
    char *command = ArgumentsOf(GetCommandLineA());
    if (!*command) {
        fprintf(stderr, "usage: heaprun PROGRAM [ARGS...]\n");
        return 2;
    }
    StartDesktop();
    SetEnvironmentVariableA("WINEDEBUG", "+heap");

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "heaprun: cannot start %s (error %lu)\n", command, GetLastError());
        return 2;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}
