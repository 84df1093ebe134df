/*
 * Report composition: creates the report file and writes the sections in
 * their fixed order. The user's answers come either from the wizard pages,
 * through the cross-page field lookup, or from the answers remembered from
 * the wizard's last run; the sections gathered from the machine come from
 * their own writers, which borrow the open file.
 *
 * Labels and field texts are resource and user text: they are only ever
 * arguments of a format, never the format itself, so a percent sign
 * reaches the report as typed.
 */
#include "report.h"
#include "fields.h"
#include "wizard.h"
#include "common.h"

#include <cstring>

/* Banners and the retail value name are the program's own strings. */
#define IDS_BANNER_CUSTOMER 4
#define IDS_BANNER_GENERAL  5
#define IDS_BANNER_OS       6
#define IDS_BANNER_FILES    8
#define IDS_BANNER_SYSTEM   9
#define IDS_BANNER_ADAPTER  10
#define IDS_BANNER_DRIVER   11
#define IDS_BANNER_MONITOR  12
#define IDS_BANNER_PROBLEM  13
#define IDS_RETAIL_VALUE    57

/* Strings of the resource module; the message strings are the wizard's. */
#define IDS_FIRST_NOTICE    200
#define IDS_LAST_NOTICE     208

#define BANNER_SIZE     256
#define LABEL_SIZE      64
#define FIELD_TEXT_SIZE 255
#define FILE_NAME_SIZE  260
#define DATE_SIZE       64
#define NOTICE_SIZE     256
#define VALUE_SIZE      260
#define CAPTION_SIZE    64
#define MESSAGE_SIZE    255
/* Room for the longest field line: the whole label, two spaces, the
 * whole text and CR LF (a label shorter than 25 is padded to 25). */
#define FIELD_LINE_SIZE (LABEL_SIZE + 2 + FIELD_TEXT_SIZE + 3)

static const int customerFields[] = {
    1102, 1100, 1101, 1103, 1104, 1105, 1108, 1106, 1107, 1109, 1110, 1112, 1113
};
static const int systemFields[] = { 1114, 1116, 1117, 1119 };
static const int adapterFields[] = { 1121, 1122, 1123 };
static const int problemFields[] = { 1115, 1118, 1111 };
#define PROBLEM_TEXT_OWN_LINE 1111   /* the long description starts below its label */

static HINSTANCE OwnModule()
{
    return GetModuleHandleA(NULL);
}

static void WriteBanner(HANDLE file, int stringId)
{
    char banner[BANNER_SIZE] = "";
    LoadStringA(OwnModule(), stringId, banner, sizeof(banner));
    WriteReportPlain(file, banner);
}

/* An empty label when the string is missing. */
static void LoadReportLabel(int fieldId, char *label)
{
    label[0] = '\0';
    LoadStringA(g_resourceModule, fieldId + LABEL_STRING_OFFSET, label, LABEL_SIZE);
}

static void WriteRetailNotice(HANDLE file)
{
    char valueName[VALUE_SIZE] = "";
    if (!LoadStringA(OwnModule(), IDS_RETAIL_VALUE, valueName, sizeof(valueName)))
        return;
    char path[VALUE_SIZE];
    wsprintfA(path, "%s\\%s\\%s", "System\\CurrentControlSet\\Services\\Class", "Display", "QEL");
    char value[VALUE_SIZE];
    ReadRegString(HKEY_LOCAL_MACHINE, path, valueName, value, sizeof(value));
    if (strcmp(value, "1") != 0)
        return;

    for (int id = IDS_FIRST_NOTICE; id <= IDS_LAST_NOTICE; id++) {
        char text[NOTICE_SIZE];
        if (LoadStringA(g_resourceModule, id, text, sizeof(text)))
            WriteReportText(file, text, 0);
    }
}

static void WriteDateLine(HANDLE file)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[DATE_SIZE] = "";
    char time[DATE_SIZE] = "";
    if (!GetDateFormatA(0, 0, &now, NULL, date, sizeof(date)))
        date[0] = '\0';
    if (!GetTimeFormatA(0, 0, &now, NULL, time, sizeof(time)))
        time[0] = '\0';
    char line[2 * DATE_SIZE + 8];
    wsprintfA(line, "%s -- %s\r\n", date, time);
    WriteReportPlain(file, line);
}

/* The report file name ends without a line break: the next banner
 * begins with its own. */
static void WriteGeneralSection(HANDLE file, const char *fileName)
{
    WriteDateLine(file);
    WriteReportText(file, fileName, 0);
}

/* One line per field, label padded to 25 columns. A field that no source
 * holds ends the list. */
template <size_t count>
static void WriteFieldList(HANDLE file, const ReportAnswers *answers,
                           const int (&fieldIds)[count])
{
    for (int fieldId : fieldIds) {
        char label[LABEL_SIZE];
        LoadReportLabel(fieldId, label);
        char text[FIELD_TEXT_SIZE];
        if (!answers->ReadField(answers, fieldId, text, sizeof(text)))
            return;
        char line[FIELD_LINE_SIZE];
        wsprintfA(line, "%-25s  %s\r\n", label, text);
        WriteReportText(file, line, 0);
    }
}

static void WriteCustomerSection(HANDLE file, const ReportAnswers *answers)
{
    WriteFieldList(file, answers, customerFields);
}

static void WriteSystemSection(HANDLE file, const ReportAnswers *answers)
{
    WriteFieldList(file, answers, systemFields);
    char path[32];
    wsprintfA(path, "%s\\%s\\", "Enum\\Root", "*PNP0C01");
    DumpRegistryTree(file, path, HKEY_LOCAL_MACHINE);
}

static void WriteAdapterSection(HANDLE file, const ReportAnswers *answers)
{
    WriteFieldList(file, answers, adapterFields);
    WriteAdapterHardwareInfo(file);
}

/* Problem texts are written whole, however long the user made them. */
static void WriteProblemText(HANDLE file, const ReportAnswers *answers, int fieldId,
                             int length)
{
    if (length <= 0)
        return;
    char *text = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, length + 1));
    if (!text)
        return;
    answers->ReadField(answers, fieldId, text, length + 1);
    WriteReportText(file, text, 0);
    HeapFree(GetProcessHeap(), 0, text);
}

static void WriteProblemSection(HANDLE file, const ReportAnswers *answers)
{
    for (int fieldId : problemFields) {
        int length = answers->FieldLength(answers, fieldId);
        if (length < 0)
            continue;
        char label[LABEL_SIZE];
        LoadReportLabel(fieldId, label);
        char padded[LABEL_SIZE];
        wsprintfA(padded, "%-25s", label);
        WriteReportText(file, padded, 0);
        if (fieldId == PROBLEM_TEXT_OWN_LINE)
            WriteReportText(file, NULL, 0);
        WriteProblemText(file, answers, fieldId, length);
        WriteReportText(file, NULL, 0);
    }
}

static void ShowCreateFailure(HWND page)
{
    char caption[CAPTION_SIZE] = "";
    char text[MESSAGE_SIZE] = "";
    LoadStringA(g_resourceModule, IDS_MESSAGE_CAPTION, caption, sizeof(caption));
    LoadStringA(g_resourceModule, IDS_CANNOT_CREATE, text, sizeof(text));
    MessageBoxA(page, text, caption, MB_OK);
    SetFocus(GetDlgItem(page, FIELD_REPORTFILE));
}

int WriteReport(const char *fileName, const ReportAnswers *answers)
{
    HFILE created = CreateReportFile(fileName);
    if (created == HFILE_ERROR)
        return REPORT_NOT_CREATED;
    HANDLE file = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(created));

    /* The sections go on past a failed write (a full disk); the count of
     * failed writes tells afterwards that the report was cut short. */
    ResetFailedReportWrites();
    WriteRetailNotice(file);
    WriteBanner(file, IDS_BANNER_GENERAL);
    WriteGeneralSection(file, fileName);
    WriteBanner(file, IDS_BANNER_CUSTOMER);
    WriteCustomerSection(file, answers);
    WriteBanner(file, IDS_BANNER_SYSTEM);
    WriteSystemSection(file, answers);
    WriteBanner(file, IDS_BANNER_OS);
    WriteOsVersionLine(file);
    WriteBanner(file, IDS_BANNER_ADAPTER);
    WriteAdapterSection(file, answers);
    WriteBanner(file, IDS_BANNER_DRIVER);
    WriteDisplayDriverSection(file);
    WriteBanner(file, IDS_BANNER_MONITOR);
    WriteMonitorSection(file);
    WriteBanner(file, IDS_BANNER_PROBLEM);
    WriteProblemSection(file, answers);
    WriteBanner(file, IDS_BANNER_FILES);
    WriteConfigFilesSection(file);

    BOOL closed = _lclose(created) != HFILE_ERROR;
    return closed && !CountFailedReportWrites() ? REPORT_WRITTEN : REPORT_INCOMPLETE;
}

/* The answers as the wizard's pages hold them. */
static int PageFieldLength(const ReportAnswers *answers, int fieldId)
{
    HWND holder = FindFieldPage(answers->page, fieldId);
    if (!holder)
        return -1;
    return GetWindowTextLengthA(GetDlgItem(holder, fieldId));
}

static BOOL ReadPageField(const ReportAnswers *answers, int fieldId, char *text, int size)
{
    text[0] = '\0';
    HWND holder = FindFieldPage(answers->page, fieldId);
    if (!holder)
        return FALSE;
    GetDlgItemTextA(holder, fieldId, text, size);
    return TRUE;
}

int ComposeReport(HWND page)
{
    HWND holder = FindFieldPage(page, FIELD_REPORTFILE);
    if (!holder)
        return 0;
    char name[FILE_NAME_SIZE] = "";
    GetDlgItemTextA(holder, FIELD_REPORTFILE, name, sizeof(name));

    const ReportAnswers onPages = { PageFieldLength, ReadPageField, page };
    if (!WriteReport(name, &onPages)) {
        ShowCreateFailure(page);
        return 0;
    }
    return 1;
}
