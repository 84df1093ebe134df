/*
 * Start-up and the hidden window that owns the tray icon.
 */
#include "tray.h"

HINSTANCE g_instance;
char g_helpPath[HELP_PATH_SIZE];
int g_menuEnabled = 1;

static char className[9];
static char windowTitle[40];

static BOOL IsLibraryOurs(void)
{
    char identity[QEL_IDENTITY_SIZE];
    identity[0] = '\0';
    ConfigGetQELConfig(identity);
    identity[QEL_IDENTITY_SIZE - 1] = '\0';
    return lstrcmpA(identity, QEL_IDENTITY) == 0;
}

static BOOL RegisterTrayClass(HINSTANCE instance)
{
    WNDCLASSEXA wcx;
    ZeroMemory(&wcx, sizeof(wcx));
    wcx.cbSize = sizeof(wcx);
    wcx.style = CS_VREDRAW | CS_HREDRAW;
    wcx.lpfnWndProc = TrayWndProc;
    wcx.hInstance = instance;
    wcx.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CLASS));
    wcx.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wcx.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wcx.lpszClassName = className;
    return RegisterWindowClass(&wcx);
}

BOOL StartTray(HINSTANCE instance)
{
    LoadStringA(instance, IDS_CLASS_NAME, className, sizeof(className));
    LoadStringA(instance, IDS_WINDOW_TITLE, windowTitle, sizeof(windowTitle));

    if (FindWindowA(className, NULL))
        return FALSE;
    if (!IsLibraryOurs())
        return FALSE;
    g_resourceModule = LoadResourceModule("QELIC");
    if (!g_resourceModule)
        return FALSE;

    wsprintfA(g_helpPath, "%s", "QEL64");
    FindHelpFile(g_helpPath);

    g_instance = instance;
    if (!RegisterTrayClass(instance))
        return FALSE;
    return CreateWindowExA(0, className, windowTitle, WS_POPUP, CW_USEDEFAULT, 0, 200, 100,
                           NULL, NULL, instance, NULL) != NULL;
}

LRESULT CALLBACK TrayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        UpdateTrayIcon(window, NIM_ADD);
        SetTimer(window, TRAY_TIMER_ID, TRAY_REFRESH_MS, NULL);
        break;
    case WM_DESTROY:
        UpdateTrayIcon(window, NIM_DELETE);
        KillTimer(window, TRAY_TIMER_ID);
        PostQuitMessage(0);
        break;
    case WM_COMMAND:
        DispatchCommand(window, wParam, lParam);
        break;
    case WM_TIMER:
        UpdateTrayIcon(window, NIM_MODIFY);
        break;
    case WM_TRAY_ENABLE_MENUS:
        g_menuEnabled = wParam == 1;
        break;
    case WM_TRAY_CALLBACK:
        OnTrayCallback(window, wParam, lParam);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
