/*
 * Registry string helpers shared by the field store and the report.
 */
#include "fields.h"

/* Copies the value into buffer, cut to size - 1 characters and always
 * terminated: a value longer than the caller's buffer (a hand-edited
 * registry, a long registered owner) shows its beginning instead of
 * running past the end, and data stored without a terminator is ended. */
static void CopyValueText(HKEY key, const char *valueName, char *buffer, DWORD size)
{
    DWORD needed = 0;
    if (RegQueryValueExA(key, valueName, NULL, NULL, NULL, &needed) != ERROR_SUCCESS
        || needed == 0)
        return;

    char *data = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, needed + 1));
    if (!data)
        return;
    DWORD got = needed;
    if (RegQueryValueExA(key, valueName, NULL, NULL,
                         reinterpret_cast<BYTE *>(data), &got) == ERROR_SUCCESS) {
        data[got] = '\0';
        lstrcpynA(buffer, data, size);
    }
    HeapFree(GetProcessHeap(), 0, data);
}

void ReadRegString(HKEY root, const char *subKey, const char *valueName,
                   char *buffer, DWORD size)
{
    if (!size)
        return;
    buffer[0] = '\0';

    HKEY key;
    if (RegOpenKeyExA(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    CopyValueText(key, valueName, buffer, size);
    RegCloseKey(key);
}

LONG WriteRegString(HKEY root, const char *subKey, const char *valueName,
                    const char *text)
{
    HKEY key;
    LONG rc = RegCreateKeyExA(root, subKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                              KEY_WRITE, NULL, &key, NULL);
    if (rc != ERROR_SUCCESS)
        return rc;
    RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                   lstrlenA(text) + 1);
    return RegCloseKey(key);
}
