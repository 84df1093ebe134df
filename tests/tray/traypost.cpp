/*
 * traypost.exe <message> [wParam [lParam]]: posts a message to the running
 * QelIcon window, for trying the program by hand and for screenshots;
 * e.g. "traypost 32868 1 516" opens its menu, "traypost 16" closes it.
 * Exit code 1 when no QelIcon window exists.
 */
#include <windows.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    HWND tray = FindWindowA("QelIcon", NULL);
    if (!tray)
        return 1;
    UINT message = strtoul(argv[1], NULL, 0);
    WPARAM wParam = argc > 2 ? strtoul(argv[2], NULL, 0) : 0;
    LPARAM lParam = argc > 3 ? strtol(argv[3], NULL, 0) : 0;
    return PostMessageA(tray, message, wParam, lParam) ? 0 : 1;
}
