/*
 * traypost.exe: works the running QelIcon from outside, for trying the
 * program by hand and for pictures.
 *
 *   traypost <message> [wParam [lParam]]
 *       posts a message to the QelIcon window; e.g. "traypost 32868 1 516"
 *       opens its menu, "traypost 16" closes it. Exit code 1 when no
 *       QelIcon window exists.
 *   traypost point     rests the pointer on the notification icon until
 *                      its tooltip shows
 *   traypost click     clicks the right button on the icon, as a user
 *                      does, and waits for the menu
 *   traypost frame     prints the screen area of the icon with the open
 *                      menus and the icon's tooltip, as ImageMagick's
 *                      geometry WxH+X+Y, for cropping a screen picture
 *
 * The icon is looked for in the taskbar of Wine's desktop with the shell
 * (explorer /desktop=shell), which shows its only icon at its right end.
 */
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

/* The square the taskbar gives the icon: the small icon size with a border
 * of 2 on each side, the last one at its right end. */
static bool FindIcon(RECT *icon)
{
    HWND taskbar = FindWindowA("Shell_TrayWnd", NULL);
    if (!taskbar || !IsWindowVisible(taskbar))
        return false;
    RECT bar;
    GetWindowRect(taskbar, &bar);
    int size = GetSystemMetrics(SM_CXSMICON) + 4;
    int middle = (bar.top + bar.bottom) / 2;
    SetRect(icon, bar.right - size, middle - size / 2, bar.right, middle + size / 2);
    return true;
}

static bool HasClass(HWND window, const char *className)
{
    char name[32];
    GetClassNameA(window, name, sizeof(name));
    return strcmp(name, className) == 0;
}

static bool IsPopup(HWND window)
{
    return HasClass(window, "#32768") || HasClass(window, "tooltips_class32");
}

struct ShownClass {
    const char *name;
    bool shown;
};

static BOOL CALLBACK FindShownClass(HWND window, LPARAM search)
{
    ShownClass *wanted = reinterpret_cast<ShownClass *>(search);
    wanted->shown = IsWindowVisible(window) && HasClass(window, wanted->name);
    return !wanted->shown;
}

/* Waits up to 10 s for a window of the class to show. */
static bool WaitForShown(const char *className)
{
    ShownClass wanted = { className, false };
    for (int tries = 0; tries < 100 && !wanted.shown; tries++) {
        EnumWindows(FindShownClass, reinterpret_cast<LPARAM>(&wanted));
        if (!wanted.shown)
            Sleep(100);
    }
    return wanted.shown;
}

static bool PointAtIcon()
{
    RECT icon;
    if (!FindIcon(&icon))
        return false;
    return SetCursorPos((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
}

static bool RightClickIcon()
{
    if (!PointAtIcon())
        return false;
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    Sleep(100);
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    return WaitForShown("#32768");
}

static BOOL CALLBACK AddShownPopup(HWND window, LPARAM area)
{
    if (IsPopup(window) && IsWindowVisible(window)) {
        RECT rect;
        GetWindowRect(window, &rect);
        UnionRect(reinterpret_cast<RECT *>(area), reinterpret_cast<RECT *>(area), &rect);
    }
    return TRUE;
}

/* The icon, the menus and tooltips shown, and a margin of desktop. */
static bool PrintFrame()
{
    RECT area;
    if (!FindIcon(&area))
        return false;
    EnumWindows(AddShownPopup, reinterpret_cast<LPARAM>(&area));
    RECT screen = { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    InflateRect(&area, 12, 12);
    IntersectRect(&area, &area, &screen);
    printf("%ldx%ld+%ld+%ld\n", area.right - area.left, area.bottom - area.top, area.left,
           area.top);
    return true;
}

static int PostToTray(int argc, char **argv)
{
    HWND tray = FindWindowA("QelIcon", NULL);
    if (!tray)
        return 1;
    UINT message = strtoul(argv[1], NULL, 0);
    WPARAM wParam = argc > 2 ? strtoul(argv[2], NULL, 0) : 0;
    LPARAM lParam = argc > 3 ? strtol(argv[3], NULL, 0) : 0;
    return PostMessageA(tray, message, wParam, lParam) ? 0 : 1;
}

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    if (strcmp(argv[1], "point") == 0)
        return PointAtIcon() && WaitForShown("tooltips_class32") ? 0 : 1;
    if (strcmp(argv[1], "click") == 0)
        return RightClickIcon() ? 0 : 1;
    if (strcmp(argv[1], "frame") == 0)
        return PrintFrame() ? 0 : 1;
    return PostToTray(argc, argv);
}
