/*
 * trayprobe.dll: loaded by the end-to-end tests into another process (with
 * a remote thread calling LoadLibraryA), it reads what only that process
 * can read and leaves it in HKEY_CURRENT_USER\Software\QelTests\Probe:
 *   ProbeMenu(menu): the menu as text (menutext.h), value "Menu";
 *   ProbeTips(): the texts of the process's tooltip controls, one a line,
 *                value "Tips".
 * Each returns the number of items it found, as the thread's exit code.
 */
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "menutext.h"

static void WriteProbe(const char *name, const std::string &text)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QelTests\\Probe", 0, NULL, 0,
                        KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   text.size() + 1);
    RegCloseKey(key);
}

extern "C" __declspec(dllexport) DWORD WINAPI ProbeMenu(LPVOID menu)
{
    HMENU handle = static_cast<HMENU>(menu);
    WriteProbe("Menu", DescribeMenu(handle));
    return GetMenuItemCount(handle);
}

static BOOL CALLBACK CollectTips(HWND window, LPARAM result)
{
    DWORD process;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "";
    GetClassNameA(window, className, sizeof(className));
    if (process != GetCurrentProcessId() || lstrcmpiA(className, TOOLTIPS_CLASSA) != 0)
        return TRUE;
    std::string &tips = *reinterpret_cast<std::string *>(result);
    int count = SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[1024] = "";
        TOOLINFOA tool;
        ZeroMemory(&tool, sizeof(tool));
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        tool.lpszText = text;
        if (SendMessageA(window, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)))
            tips += std::string(text) + "\n";
    }
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI ProbeTips(LPVOID)
{
    std::string tips;
    EnumWindows(CollectTips, reinterpret_cast<LPARAM>(&tips));
    WriteProbe("Tips", tips);
    DWORD lines = 0;
    for (char c : tips)
        lines += c == '\n';
    return lines;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
