/*
 * The report file page: checking the name before the report is written,
 * the Save As dialog behind the browse button, and opening the written
 * report in the viewer at Finish.
 */
#include "wizard.h"
#include "fields.h"
#include "common.h"

#include <commdlg.h>
#include <cderr.h>

#define FILE_NAME_SIZE     260
#define CAPTION_SIZE       64
#define MESSAGE_SIZE       255
#define SAVE_ERROR_SIZE    256
#define VIEWER_NAME_SIZE   12
#define VIEWER_LINE_SIZE   (VIEWER_NAME_SIZE + FILE_NAME_SIZE)

/* Save As failures and the resource string that explains each. */
static const struct {
    DWORD error;
    int stringId;
} saveErrors[] = {
    { CDERR_STRUCTSIZE, 37 },      { CDERR_INITIALIZATION, 31 },
    { CDERR_NOTEMPLATE, 38 },      { CDERR_NOHINSTANCE, 39 },
    { CDERR_LOADSTRFAILURE, 34 },  { CDERR_FINDRESFAILURE, 30 },
    { CDERR_LOADRESFAILURE, 32 },  { CDERR_LOCKRESFAILURE, 33 },
    { CDERR_MEMALLOCFAILURE, 35 }, { CDERR_MEMLOCKFAILURE, 36 },
    { CDERR_NOHOOK, 40 },          { FNERR_SUBCLASSFAILURE, 41 },
    { FNERR_INVALIDFILENAME, 42 }, { FNERR_BUFFERTOOSMALL, 43 },
};
#define OTHER_SAVE_ERROR_STRING 44

static void FocusFileNameField(HWND page)
{
    SetFocus(GetDlgItem(page, FIELD_REPORTFILE));
}

static int AskReportMessage(HWND page, const char *text, UINT buttons)
{
    char caption[CAPTION_SIZE] = "";
    LoadStringA(g_resourceModule, IDS_MESSAGE_CAPTION, caption, sizeof(caption));
    return MessageBoxA(page, text, caption, buttons);
}

int ValidateReportFileName(HWND page)
{
    char name[FILE_NAME_SIZE] = "";
    GetDlgItemTextA(page, FIELD_REPORTFILE, name, sizeof(name));
    if (!name[0]) {
        char text[MESSAGE_SIZE] = "";
        LoadStringA(g_resourceModule, IDS_NO_FILE_NAME, text, sizeof(text));
        AskReportMessage(page, text, MB_OK);
        FocusFileNameField(page);
        return 0;
    }

    char found[MAX_PATH] = "";
    if (!FindReportFile(name, found, sizeof(found)))
        return 1;

    char question[MESSAGE_SIZE] = "";
    LoadStringA(g_resourceModule, IDS_FILE_EXISTS, question, sizeof(question));
    char text[MAX_PATH + 2 + MESSAGE_SIZE];
    wsprintfA(text, "%s\n\n%s", found, question);
    if (AskReportMessage(page, text, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDNO) {
        FocusFileNameField(page);
        return 0;
    }
    return 1;
}

static int SaveErrorString(DWORD error)
{
    for (const auto &entry : saveErrors) {
        if (entry.error == error)
            return entry.stringId;
    }
    return OTHER_SAVE_ERROR_STRING;
}

/* The filter string separates and ends its items with "|"; the dialog
 * wants them separated by zero bytes and ended by two. */
static void LoadSaveFilter(char *filter, int size)
{
    int length = LoadStringA(g_resourceModule, IDS_SAVE_FILTER, filter, size);
    for (int i = 0; i < length; i++) {
        if (filter[i] == '|')
            filter[i] = '\0';
    }
}

void BrowseReportFile(HWND page)
{
    /* One byte more than is loaded, all zero: the list ends in two zero
     * bytes even when the string lacks its final "|". */
    char filter[MESSAGE_SIZE + 1] = "";
    LoadSaveFilter(filter, MESSAGE_SIZE);
    char title[MESSAGE_SIZE] = "";
    LoadStringA(g_resourceModule, IDS_SAVE_TITLE, title, sizeof(title));

    char fileName[FILE_NAME_SIZE] = "";
    char fileTitle[FILE_NAME_SIZE] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = page;
    dialog.hInstance = g_programInstance;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = sizeof(fileName);
    dialog.lpstrFileTitle = fileTitle;
    dialog.nMaxFileTitle = sizeof(fileTitle);
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    dialog.lpstrDefExt = "";

    if (GetSaveFileNameA(&dialog)) {
        SetDlgItemTextA(page, FIELD_REPORTFILE, fileName);
        return;
    }

    DWORD error = CommDlgExtendedError();
    if (!error)
        return;
    char text[SAVE_ERROR_SIZE] = "";
    LoadStringA(g_resourceModule, SaveErrorString(error), text, sizeof(text));
    MessageBoxA(page, text, NULL, MB_OK);
}

void OpenReportInViewer(HWND page)
{
    HWND holder = FindFieldPage(page, FIELD_REPORTFILE);
    if (!holder)
        return;
    char name[FILE_NAME_SIZE] = "";
    GetDlgItemTextA(holder, FIELD_REPORTFILE, name, sizeof(name));

    char viewer[VIEWER_NAME_SIZE] = "";
    LoadStringA(g_programInstance, IDS_VIEWER_COMMAND, viewer, sizeof(viewer));
    char command[VIEWER_LINE_SIZE];
    wsprintfA(command, "%s %s", viewer, name);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (CreateProcessA(NULL, command, NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL,
                       NULL, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
