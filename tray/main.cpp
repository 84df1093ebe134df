/*
 * QelIcon.exe: the tray display utility. It takes no arguments and always
 * ends with exit code 0.
 */
#include "tray.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!StartTray(instance))
        return 0;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
