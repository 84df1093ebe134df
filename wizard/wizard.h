/*
 * The problem report wizard: host window, pages, page picture and the
 * report file page.
 */
#ifndef QEL_WIZARD_H
#define QEL_WIZARD_H

#include <windows.h>

#define WIZARD_PAGE_COUNT   10
#define REPORT_FILE_PAGE    8      /* Next here writes the report */
#define FIRST_PAGE_TEMPLATE 100    /* page i uses dialog template 100 + i */
#define FIRST_PICTURE_ID    1000   /* page i paints its picture into 1000 + i */
#define BROWSE_BUTTON_ID    1400   /* on the report file page */

/* The program's own resources. */
#define IDS_CLASS_NAME      1
#define IDS_WINDOW_TITLE    2
#define IDS_VIEWER_COMMAND  56
#define IDS_USAGE           58
#define IDS_NO_RESOURCES    59
#define IDI_PROGRAM         110
#define IDB_PAGE_PICTURE    111

/* Strings of the resource module used by the wizard itself. */
#define IDS_PAGE_TITLE      3
#define IDS_MESSAGE_CAPTION 20
#define IDS_NO_FILE_NAME    21
#define IDS_CANNOT_CREATE   22
#define IDS_FILE_EXISTS     23
#define IDS_SAVE_FILTER     54
#define IDS_SAVE_TITLE      55
#define IDS_DEFAULT_REPORT  57

/* The program's own instance: class name, title, icon, picture, viewer. */
extern HINSTANCE g_programInstance;

LRESULT CALLBACK HostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR RunWizard(HWND parent);
INT_PTR CALLBACK WizardPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
void PaintPageBitmap(HWND page, int controlId);

int ValidateReportFileName(HWND page);
void BrowseReportFile(HWND page);
void OpenReportInViewer(HWND page);

/* Whether the report file of this name exists; path receives the full
 * path of the file found (size bytes). */
BOOL FindReportFile(const char *name, char *path, int size);
/* Creates the report file, or empties the existing one, for writing;
 * HFILE_ERROR when it cannot. */
HFILE CreateReportFile(const char *name);

/* The wizard's command line: the report without the wizard, or its
 * usage. Returns the process exit code. */
int RunCommandLine(const char *commandLine);

#endif
