/*
 * The package stand-ins' test key, HKEY_CURRENT_USER\Software\QelTests\<area>:
 * built into the test build only (see testkey.h).
 */
#include "testkey.h"

#include <stdio.h>

static HKEY OpenTestKey(const char *area, REGSAM access)
{
    char path[64];
    HKEY key;
    if (snprintf(path, sizeof(path), "Software\\QelTests\\%s", area) >= (int)sizeof(path)
        || RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, access, &key) != ERROR_SUCCESS)
        return NULL;
    return key;
}

int ReadTestValue(const char *area, const char *name, void *data, DWORD size)
{
    HKEY key = OpenTestKey(area, KEY_READ);
    if (!key)
        return 0;
    DWORD got = size;
    LONG rc = RegQueryValueExA(key, name, NULL, NULL, static_cast<BYTE *>(data), &got);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && got == size;
}

DWORD ReadTestNumber(const char *area, const char *name, DWORD fallback)
{
    DWORD value;
    return ReadTestValue(area, name, &value, sizeof(value)) ? value : fallback;
}

TestText ReadTestText(const char *area, const char *name, char *text, DWORD size)
{
    HKEY key = size ? OpenTestKey(area, KEY_READ) : NULL;
    if (!key)
        return TestTextMissing;
    DWORD type, got = size - 1;
    LONG rc = RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE *>(text), &got);
    RegCloseKey(key);
    if (rc == ERROR_MORE_DATA)
        return TestTextTooLong;
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return TestTextMissing;
    text[got] = '\0';
    return TestTextRead;
}

void WriteTestValue(const char *area, const char *name, DWORD type, const void *data,
                    DWORD size)
{
    HKEY key = OpenTestKey(area, KEY_SET_VALUE);
    if (!key)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

void CountTestCall(const char *area, const char *name)
{
    DWORD count = ReadTestNumber(area, name, 0) + 1;
    WriteTestValue(area, name, REG_DWORD, &count, sizeof(count));
}
