/*
 * Page preview: shows the ten page templates of a wizard resource module
 * in a wizard property sheet the way the wizard does, for looking at the
 * layouts (and taking screenshots of them). The labels are set from the
 * module's strings and the picture rectangle is filled like the wizard
 * fills it before its bitmap goes on top.
 *
 *   pagepreview [module [first page]]    e.g. pagepreview QELPRDEU.RSC 8
 */
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <stdlib.h>

#include "resource.h"

static HINSTANCE g_module;

static void LabelFields(HWND page)
{
    char label[255];
    for (int field = FIRST_FIELD; field <= LAST_FIELD; field++) {
        if (GetDlgItem(page, LABEL_CONTROL(field)) &&
            LoadStringA(g_module, LABEL_STRING(field), label, sizeof(label)))
            SetDlgItemTextA(page, LABEL_CONTROL(field), label);
    }
    char file[260];
    if (GetDlgItem(page, IDC_REPORTFILE) &&
        LoadStringA(g_module, IDS_DEFAULTFILE, file, sizeof(file)))
        SetDlgItemTextA(page, IDC_REPORTFILE, file);
}

static void PaintPicture(HWND page)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(page, &ps);
    for (int id = IDC_PICTURE0; id < IDC_PICTURE0 + PAGE_COUNT; id++) {
        HWND picture = GetDlgItem(page, id);
        if (!picture)
            continue;
        RECT r;
        GetWindowRect(picture, &r);
        MapWindowPoints(NULL, page, reinterpret_cast<POINT *>(&r), 2);
        HBRUSH fill = CreateSolidBrush(RGB(0, 127, 127));
        FillRect(dc, &r, fill);
        DeleteObject(fill);
        /* A stand-in for the bitmap: a lighter block at its top-left. */
        RECT block = {r.left, r.top, r.left + 100, r.top + 180};
        HBRUSH light = CreateSolidBrush(RGB(0, 190, 190));
        FillRect(dc, &block, light);
        DeleteObject(light);
    }
    EndPaint(page, &ps);
}

static INT_PTR CALLBACK PreviewPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        /* The page description's application value is the page index. */
        SetWindowLongPtrA(page, GWLP_USERDATA,
                          reinterpret_cast<PROPSHEETPAGEA *>(lParam)->lParam);
        LabelFields(page);
        return TRUE;
    case WM_PAINT:
        PaintPicture(page);
        return FALSE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR *>(lParam)->code == PSN_SETACTIVE) {
            int index = (int)GetWindowLongPtrA(page, GWLP_USERDATA);
            LPARAM buttons = index == 0 ? PSWIZB_NEXT
                             : index == PAGE_COUNT - 1 ? PSWIZB_FINISH
                                                       : PSWIZB_BACK | PSWIZB_NEXT;
            PostMessageA(GetParent(page), PSM_SETWIZBUTTONS, 0, buttons);
        }
        return FALSE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char *name = __argc > 1 ? __argv[1] : "QELPRENU.RSC";
    int first = __argc > 2 ? atoi(__argv[2]) : 0;
    if (first < 0 || first >= PAGE_COUNT)
        first = 0;

    InitCommonControls();
    g_module = LoadLibraryA(name);
    if (!g_module) {
        MessageBoxA(NULL, name, "Cannot load the module", MB_OK);
        return 1;
    }

    PROPSHEETPAGEA pages[PAGE_COUNT] = {};
    for (int i = 0; i < PAGE_COUNT; i++) {
        /* The sheet steps through the array by dwSize: it must be the
         * size of the array's elements. */
        pages[i].dwSize = sizeof(pages[i]);
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = g_module;
        pages[i].pszTemplate = MAKEINTRESOURCEA(IDD_PAGE0 + i);
        pages[i].pszTitle = MAKEINTRESOURCEA(IDS_PAGETITLE);
        pages[i].pfnDlgProc = PreviewPageProc;
        pages[i].lParam = i;
    }

    PROPSHEETHEADERA sheet = {};
    sheet.dwSize = PROPSHEETHEADERA_V1_SIZE;
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD;
    sheet.hInstance = g_module;
    sheet.pszCaption = "";
    sheet.nPages = PAGE_COUNT;
    sheet.nStartPage = first;
    sheet.ppsp = pages;
    PropertySheetA(&sheet);
    return 0;
}
