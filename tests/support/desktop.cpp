#include "desktop.h"

static BOOL CALLBACK CountTrayIcons(HWND window, LPARAM count)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    if (lstrcmpA(name, "__winex11_tray_icon") == 0 && IsWindowVisible(window))
        ++*reinterpret_cast<int *>(count);
    return TRUE;
}

int TrayIconCount()
{
    int count = 0;
    HWND tray = NULL;
    while ((tray = FindWindowExA(NULL, tray, "__winex11_standalone_tray", NULL)))
        EnumChildWindows(tray, CountTrayIcons, reinterpret_cast<LPARAM>(&count));
    return count;
}

int ValueIndex(HKEY root, const std::string &path, const std::string &name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    int found = -1;
    char seen[256];
    for (DWORD index = 0; found < 0; ++index) {
        DWORD length = sizeof(seen);
        if (RegEnumValueA(key, index, seen, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        if (name == seen)
            found = static_cast<int>(index);
    }
    RegCloseKey(key);
    return found;
}
