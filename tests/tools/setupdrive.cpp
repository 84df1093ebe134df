/*
 * setupdrive: works the pages of the setup program and its uninstaller
 * from outside, for the pictures of their pages. Both are dialogs whose
 * buttons (1 Next, 2 Cancel, 3 Back) and page controls keep their ids in
 * every language, so the pages are told apart by control id.
 *
 *   setupdrive page <control id>   waits up to 60 s for a dialog that shows
 *                                  the control, then prints the dialog's
 *                                  screen area as ImageMagick's geometry
 *                                  WxH+X+Y
 *   setupdrive press <button id>   clicks the button of the shown dialog
 *
 * Exit code 1 when no such dialog shows.
 */
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct Search {
    int controlId;
    HWND dialog;
};

static BOOL CALLBACK FindShownControl(HWND window, LPARAM search)
{
    Search *wanted = reinterpret_cast<Search *>(search);
    if (GetDlgCtrlID(window) == wanted->controlId && IsWindowVisible(window)) {
        wanted->dialog = window;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK FindDialog(HWND window, LPARAM search)
{
    char name[16];
    GetClassNameA(window, name, sizeof(name));
    if (strcmp(name, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    Search *wanted = reinterpret_cast<Search *>(search);
    EnumChildWindows(window, FindShownControl, search);
    if (!wanted->dialog)
        return TRUE;
    wanted->dialog = window;
    return FALSE;
}

/* The shown top-level dialog with a shown control of that id, anywhere
 * among its children; NULL when there is none. */
static HWND DialogShowing(int controlId)
{
    Search search = { controlId, NULL };
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.dialog;
}

/* Wine without a window manager may leave the title bar of the active
 * dialog drawn as inactive; a moment after the dialog became active, its
 * title bar is drawn again as what it is. */
static void RedrawTitleBar(HWND dialog)
{
    for (int tries = 0; tries < 50 && GetForegroundWindow() != dialog; tries++)
        Sleep(100);
    Sleep(1000);
    DWORD_PTR result;
    SendMessageTimeoutA(dialog, WM_NCACTIVATE, GetForegroundWindow() == dialog, 0,
                        SMTO_ABORTIFHUNG, 5000, &result);
}

static bool WaitForPage(int controlId)
{
    for (int tries = 0; tries < 600; tries++) {
        if (HWND dialog = DialogShowing(controlId)) {
            RedrawTitleBar(dialog);
            RECT rect;
            GetWindowRect(dialog, &rect);
            printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top,
                   rect.left, rect.top);
            return true;
        }
        Sleep(100);
    }
    fprintf(stderr, "setupdrive: no dialog shows control %d\n", controlId);
    return false;
}

/* Posted, not sent: the click may start work or open another window, and
 * this program does not wait for that. */
static bool Press(int buttonId)
{
    HWND dialog = DialogShowing(buttonId);
    if (!dialog) {
        fprintf(stderr, "setupdrive: no dialog shows button %d\n", buttonId);
        return false;
    }
    HWND button = GetDlgItem(dialog, buttonId);
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button));
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: setupdrive page <control id> | press <button id>\n");
        return 2;
    }
    int id = atoi(argv[2]);
    if (strcmp(argv[1], "page") == 0)
        return WaitForPage(id) ? 0 : 1;
    if (strcmp(argv[1], "press") == 0)
        return Press(id) ? 0 : 1;
    fprintf(stderr, "setupdrive: unknown command %s\n", argv[1]);
    return 2;
}
