/*
 * Mouse messages of the tray icon and the commands of its menu.
 */
#include "tray.h"

static void ShowTrayMenu(HWND window)
{
    HMENU menu = BuildTrayMenu();
    if (!menu)
        return;
    POINT cursor;
    GetCursorPos(&cursor);
    /* Without the foreground the menu would not close when the user
     * clicks elsewhere. */
    SetForegroundWindow(window);
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y,
                     window, NULL);
    DestroyMenu(menu);
    SetForegroundWindow(window);
}

void OnTrayCallback(HWND window, WPARAM, LPARAM lParam)
{
    switch (lParam) {
    case WM_LBUTTONDBLCLK:
        if (g_helpPath[0])
            WinHelpA(window, g_helpPath, HELP_FINDER, 0);
        break;
    case WM_RBUTTONDOWN:
        ShowTrayMenu(window);
        break;
    }
}

static void ShowHelpTopic(HWND window)
{
    char target[HELP_PATH_SIZE + sizeof(">subcon")];
    wsprintfA(target, "%s>subcon", g_helpPath);
    WinHelpA(window, target, HELP_CONTEXT, HELP_TOPIC_CONTEXT);
}

static void ShowUnknownCommand(HWND window)
{
    char caption[MENU_TEXT_SIZE], text[MENU_TEXT_SIZE];
    LoadModuleString(IDS_WARNING_CAPTION, caption, sizeof(caption));
    LoadModuleString(IDS_WARNING_TEXT, text, sizeof(text));
    MessageBoxA(window, text, caption, MB_OK | MB_ICONWARNING);
}

void DispatchCommand(HWND window, WPARAM wParam, LPARAM)
{
    WORD id = LOWORD(wParam);
    switch (id) {
    case CMD_HELP_CONTENTS:
        WinHelpA(window, g_helpPath, HELP_FINDER, 0);
        return;
    case CMD_HELP_TOPIC:
        ShowHelpTopic(window);
        return;
    case CMD_EXIT:
        DestroyWindow(window);
        return;
    }
    switch (id / 100) {
    case GROUP_SETTINGS:
        ApplyDisplaySetting(id % 100);
        break;
    case GROUP_SCHEMES:
        ApplyColorScheme(id % 100);
        break;
    default:
        ShowUnknownCommand(window);
        break;
    }
}
