/*
 * Stands in for the viewer in tests: copied as notepad.exe into the
 * folder of the wizard under test, where the wizard's start of "notepad"
 * finds it first. It appends the command line it was given, as one line,
 * to viewer.log beside itself and ends.
 */
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char log[MAX_PATH + 16];
    DWORD length = GetModuleFileNameA(NULL, log, MAX_PATH);
    while (length && log[length - 1] != '\\')
        length--;
    lstrcpyA(log + length, "viewer.log");

    HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const char *command = GetCommandLineA();
    DWORD written;
    WriteFile(file, command, lstrlenA(command), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
    return 0;
}
