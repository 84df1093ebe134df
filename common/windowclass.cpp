/*
 * Window class registration shared by both programs.
 */
#include "common.h"

BOOL RegisterWindowClass(const WNDCLASSEXA *wcx)
{
    if (RegisterClassExA(wcx))
        return TRUE;

    /* Systems without the extended call take the same fields. */
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = wcx->style;
    wc.lpfnWndProc = wcx->lpfnWndProc;
    wc.cbClsExtra = wcx->cbClsExtra;
    wc.cbWndExtra = wcx->cbWndExtra;
    wc.hInstance = wcx->hInstance;
    wc.hIcon = wcx->hIcon;
    wc.hCursor = wcx->hCursor;
    wc.hbrBackground = wcx->hbrBackground;
    wc.lpszMenuName = wcx->lpszMenuName;
    wc.lpszClassName = wcx->lpszClassName;
    return RegisterClassA(&wc) != 0;
}
