/*
 * QELPR, the problem report wizard. A hidden host window runs the wizard
 * as a modal property sheet while it is being created, then refuses its
 * creation: when the wizard closes, the program ends. There is no message
 * loop of our own. With arguments, the command line does the work instead.
 */
#include "wizard.h"
#include "common.h"

#include <prsht.h>

#define CLASS_NAME_SIZE   9
#define WINDOW_TITLE_SIZE 40

INT_PTR RunWizard(HWND parent)
{
    /* First-version page descriptions, laid out one after the other at
     * the size that their dwSize announces. */
    PROPSHEETPAGEA_V1 pages[WIZARD_PAGE_COUNT] = {};
    for (int i = 0; i < WIZARD_PAGE_COUNT; i++) {
        pages[i].dwSize = PROPSHEETPAGEA_V1_SIZE;
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = g_resourceModule;
        pages[i].pszTemplate = MAKEINTRESOURCEA(FIRST_PAGE_TEMPLATE + i);
        pages[i].pszTitle = MAKEINTRESOURCEA(IDS_PAGE_TITLE);
        pages[i].pfnDlgProc = WizardPageProc;
    }

    PROPSHEETHEADERA header = {};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD;
    header.hwndParent = parent;
    header.hInstance = g_resourceModule;
    header.pszCaption = "";
    header.nPages = WIZARD_PAGE_COUNT;
    header.nStartPage = 0;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages);
    return PropertySheetA(&header);
}

LRESULT CALLBACK HostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        RunWizard(window);
        return -1;   /* creation fails, so the program ends with the wizard */
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static BOOL RegisterHostClass(HINSTANCE instance, const char *className)
{
    WNDCLASSEXA extended = {};
    extended.cbSize = sizeof(extended);
    extended.style = CS_HREDRAW | CS_VREDRAW;
    extended.lpfnWndProc = HostWndProc;
    extended.hInstance = instance;
    extended.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    extended.hCursor = LoadCursor(NULL, IDC_ARROW);
    extended.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    extended.lpszClassName = className;
    return RegisterWindowClass(&extended);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (commandLine[0])
        return RunCommandLine(commandLine);

    char className[CLASS_NAME_SIZE] = "";
    char title[WINDOW_TITLE_SIZE] = "";
    LoadStringA(instance, IDS_CLASS_NAME, className, sizeof(className));
    LoadStringA(instance, IDS_WINDOW_TITLE, title, sizeof(title));

    g_resourceModule = LoadResourceModule("QELPR");
    if (!g_resourceModule)
        return 0;
    g_programInstance = instance;

    if (!RegisterHostClass(instance, className))
        return 0;
    CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                    CW_USEDEFAULT, 0, NULL, NULL, instance, NULL);
    return 0;
}
