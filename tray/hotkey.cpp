/*
 * The driver package's hot-key program, which applies stored display
 * settings: registered in the "load" entry of WIN.INI, started when it is
 * not running, and sent the index of the setting to apply.
 */
#include "tray.h"

#include <string.h>

static const char iniSection[] = "windows";
static const char iniEntry[] = "load";

BOOL IsHotKeyListed(const char *entry)
{
    char lowered[LOAD_ENTRY_SIZE];
    lstrcpynA(lowered, entry, sizeof(lowered));
    CharLowerA(lowered);
    /* A plain substring: a path in front or a longer name around it counts. */
    return strstr(lowered, HOTKEY_PROGRAM) != NULL;
}

/* Appends the program to a blank-separated entry held in size bytes.
 * When it does not fit, the entry is left as it is: an entry that long
 * may already have been cut short by the read, and writing it back would
 * lose its end. */
BOOL AppendHotKeyToLoad(char *entry, int size)
{
    int length = lstrlenA(entry);
    int separator = length > 0 ? 1 : 0;
    if (length + separator + lstrlenA(HOTKEY_PROGRAM) >= size)
        return FALSE;
    if (separator)
        lstrcatA(entry, " ");
    lstrcatA(entry, HOTKEY_PROGRAM);
    return TRUE;
}

void EnsureHotKeyProgram(void)
{
    char entry[LOAD_ENTRY_SIZE];
    GetProfileStringA(iniSection, iniEntry, "", entry, sizeof(entry));
    if (!IsHotKeyListed(entry) && AppendHotKeyToLoad(entry, sizeof(entry)))
        WriteProfileStringA(iniSection, iniEntry, entry);
    StartHotKeyProgram();
}

void StartHotKeyProgram(void)
{
    if (!FindWindowA(HOTKEY_CLASS, NULL))
        WinExec(HOTKEY_PROGRAM, SW_SHOW);
}

/* The program just started may not have its window yet; the message is
 * then not sent and 0 returned. */
LRESULT SendToHotKeyProgram(UINT message, WPARAM wParam, LPARAM lParam)
{
    EnsureHotKeyProgram();
    HWND program = FindWindowA(HOTKEY_CLASS, NULL);
    if (!program)
        return 0;
    return SendMessageA(program, message, wParam, lParam);
}
