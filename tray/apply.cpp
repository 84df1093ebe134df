/*
 * Applying a stored display setting or colour scheme chosen in the menu.
 * Each records the chosen name as the unnamed default value of its key.
 */
#include "tray.h"

/* The largest stored display setting. */
#define SETTING_SIZE 24

static void SetDefaultValue(HKEY key, const char *name)
{
    RegSetValueExA(key, NULL, 0, REG_SZ, reinterpret_cast<const BYTE *>(name),
                   lstrlenA(name) + 1);
}

void ApplyDisplaySetting(int index)
{
    HKEY key;
    if (!OpenDriverKey(Settings, &key))
        return;
    char name[VALUE_NAME_SIZE];
    DWORD nameLength = sizeof(name), type, size;
    if (RegEnumValueA(key, index, name, &nameLength, NULL, &type, NULL, &size)
        == ERROR_SUCCESS) {
        /* The hot-key program interprets the data; reading it only makes
         * sure the entry is a readable setting. */
        BYTE data[SETTING_SIZE];
        DWORD dataSize = sizeof(data);
        if (RegQueryValueExA(key, name, NULL, NULL, data, &dataSize) == ERROR_SUCCESS) {
            SendToHotKeyProgram(WM_HOTKEY_APPLY, index, 0);
            SetDefaultValue(key, name);
        }
    }
    CloseDriverKey(key);
}

/* Applies a scheme read from the key and makes it the scheme in force.
 * The default entry always restores the built-in scheme; a scheme too
 * short to hold a whole ramp is left alone. */
static void PutSchemeInForce(HKEY key, char *name, DWORD type, const BYTE *data, DWORD size)
{
    if (lstrcmpA(name, DEFAULT_SCHEME_NAME) == 0) {
        SetGamma(g_defaultScheme.ramp[0]);
        RegSetValueExA(key, DEFAULT_SCHEME_NAME, 0, type,
                       reinterpret_cast<const BYTE *>(&g_defaultScheme), sizeof(g_defaultScheme));
        name[0] = '\0';
    } else {
        if (size < SCHEME_MIN_SIZE)
            return;
        SetGamma(data + SCHEME_RAMP_OFFSET);
        RegSetValueExA(key, DEFAULT_SCHEME_NAME, 0, type, data, size);
    }
    SetDefaultValue(key, name);
}

void ApplyColorScheme(int index)
{
    HKEY key;
    if (!OpenDriverKey(ColorCorrection, &key))
        return;
    char name[VALUE_NAME_SIZE];
    DWORD nameLength = sizeof(name), type, size;
    if (RegEnumValueA(key, index, name, &nameLength, NULL, &type, NULL, &size)
        == ERROR_SUCCESS) {
        BYTE *data = static_cast<BYTE *>(HeapAlloc(GetProcessHeap(), 0, size ? size : 1));
        if (data) {
            if (RegQueryValueExA(key, name, NULL, &type, data, &size) == ERROR_SUCCESS)
                PutSchemeInForce(key, name, type, data, size);
            HeapFree(GetProcessHeap(), 0, data);
        }
    }
    CloseDriverKey(key);
}
