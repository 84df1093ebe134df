/*
 * The page picture: the program's bitmap drawn at its own size into the
 * rectangle of the page's picture control, on a teal ground where the
 * bitmap does not reach.
 */
#include "wizard.h"

static const COLORREF pictureGround = RGB(0, 127, 127);

static RECT ControlRectInPage(HWND page, int controlId)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(page, controlId), &rect);
    POINT corners[2] = { { rect.left, rect.top }, { rect.right, rect.bottom } };
    ScreenToClient(page, &corners[0]);
    ScreenToClient(page, &corners[1]);
    RECT inPage = { corners[0].x, corners[0].y, corners[1].x, corners[1].y };
    return inPage;
}

static void FillGround(HDC dc, const RECT *rect)
{
    HBRUSH brush = CreateSolidBrush(pictureGround);
    if (!brush)
        return;
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}

/* Copies no more than the bitmap holds, so that the ground stays visible
 * around a picture smaller than the control. */
static void DrawPicture(HDC dc, HBITMAP bitmap, const RECT *rect)
{
    BITMAP size = {};
    GetObjectA(bitmap, sizeof(size), &size);
    int width = rect->right - rect->left;
    int height = rect->bottom - rect->top;
    if (width > size.bmWidth)
        width = size.bmWidth;
    if (height > size.bmHeight)
        height = size.bmHeight;

    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, rect->left, rect->top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void PaintPageBitmap(HWND page, int controlId)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    HBITMAP bitmap = LoadBitmapA(g_programInstance, MAKEINTRESOURCEA(IDB_PAGE_PICTURE));
    if (!bitmap) {
        EndPaint(page, &paint);
        return;
    }
    RECT rect = ControlRectInPage(page, controlId);
    FillGround(dc, &rect);
    DrawPicture(dc, bitmap, &rect);
    EndPaint(page, &paint);
    DeleteObject(bitmap);
}
