/*
 * The tray icon and its tooltip, which shows the current display mode.
 */
#include "tray.h"

#include <shellapi.h>

/* The first form of the record, which every shell takes: its tip holds
 * 63 characters. */
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the first form of the icon record");

/* The tooltip is formatted whole before it is cut: four labels of at most
 * 63 characters, five numbers of at most 11 and 17 characters between. */
#define TIP_TEXT_SIZE 512

LONG BitsPerPixel(LONG pixelFormat)
{
    static const LONG bits[] = { 4, 4, 8, 8, 8, 16, 16, 16, 16, 24, 24, 32, 32, 32, 32 };
    if (pixelFormat < 0 || pixelFormat >= static_cast<LONG>(sizeof(bits) / sizeof(bits[0])))
        return 0;
    return bits[pixelFormat];
}

void FormatModeTip(char *tip, const DisplayMode *mode, const TipLabels *labels)
{
    char text[TIP_TEXT_SIZE];
    wsprintfA(text, "%s: %ld x %ld, %s: %ld x %ld, %s: %ld %s",
              labels->firstSize, mode->Width1, mode->Height1,
              labels->secondSize, mode->Width2, mode->Height2,
              labels->depth, BitsPerPixel(mode->PixelFormat), labels->depthUnit);
    lstrcpynA(tip, text, TIP_SIZE);
}

static void LoadTipLabels(TipLabels *labels)
{
    LoadModuleString(IDS_FIRST_SIZE, labels->firstSize, TIP_SIZE);
    LoadModuleString(IDS_SECOND_SIZE, labels->secondSize, TIP_SIZE);
    LoadModuleString(IDS_DEPTH, labels->depth, TIP_SIZE);
    LoadModuleString(IDS_DEPTH_UNIT, labels->depthUnit, TIP_SIZE);
}

/* Loaded once and kept until the icon is removed: loading it anew for
 * every refresh makes some platforms keep a little memory each time, even
 * though every copy is destroyed. A failed load is tried again at the
 * next refresh. */
static HICON trayIcon;

/* operation is NIM_ADD, NIM_MODIFY or NIM_DELETE; the record is built in
 * full for each. */
void UpdateTrayIcon(HWND window, DWORD operation)
{
    if (!trayIcon)
        trayIcon = static_cast<HICON>(LoadImageA(g_instance, MAKEINTRESOURCEA(IDI_TRAY),
                                                 IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    NOTIFYICONDATAA data;
    ZeroMemory(&data, sizeof(data));
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_CALLBACK;
    data.hIcon = trayIcon;

    DisplayMode mode;
    if (GetDisplayMode(&mode)) {
        TipLabels labels;
        LoadTipLabels(&labels);
        FormatModeTip(data.szTip, &mode, &labels);
    } else {
        LoadModuleString(IDS_NO_MODE, data.szTip, TIP_SIZE);
    }

    Shell_NotifyIconA(operation, &data);
    if (operation == NIM_DELETE && trayIcon) {
        DestroyIcon(trayIcon);
        trayIcon = NULL;
    }
}
