/*
 * The field store: every field is labelled from the resource module,
 * preloaded from the wizard key when its page is created, defaulted on
 * page activation and written back to the wizard key at Finish. The
 * report without the wizard reads the same values and defaults.
 *
 * Values are named by the label text, so the labels (resource strings)
 * are only ever passed as plain text, never as a format.
 */
#include "fields.h"
#include "wizard.h"
#include "common.h"
#include "report.h"

#include <prsht.h>

static const char classKey[] = "System\\CurrentControlSet\\Services\\Class";
static const char displayKey[] = "Display";
static const char wizardKey[] = "QELPR";
static const char versionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

#define KEY_PATH_SIZE     64
#define PRELOAD_TEXT_SIZE 260
#define PRELOAD_LABEL_SIZE 255
#define SAVE_LABEL_SIZE   64
#define SAVE_TEXT_SIZE    255
#define OWNER_SIZE        31
#define FILE_NAME_SIZE    260

/* Written in this order; 1111 (the problem description) and 1120 (the
 * report file name) belong to one report only and are not remembered. */
static const int savedFields[] = {
    1102, 1100, 1101, 1103, 1104, 1105, 1108, 1106, 1107, 1109, 1110,
    1112, 1113, 1114, 1115, 1116, 1117, 1118, 1119, 1121, 1122, 1123
};

#define FIELD_OWNER        1100
#define FIELD_ORGANIZATION 1103

/* Label of a field. A missing string is named "Unknown label <id>" both
 * when preloading and when saving, so such a field is still remembered
 * under the name that the next run looks up. */
static void LoadFieldLabel(int fieldId, char *label, int size)
{
    int stringId = fieldId + LABEL_STRING_OFFSET;
    if (!LoadStringA(g_resourceModule, stringId, label, size))
        wsprintfA(label, "Unknown label %ld", static_cast<long>(stringId));
}

static void FormatWizardKeyPath(char *path, const char *format)
{
    wsprintfA(path, format, classKey, displayKey, wizardKey);
}

static void ReadRememberedText(const char *label, char value[PRELOAD_TEXT_SIZE])
{
    char path[KEY_PATH_SIZE];
    FormatWizardKeyPath(path, "%s\\%s\\%s");
    ReadRegString(HKEY_LOCAL_MACHINE, path, label, value, PRELOAD_TEXT_SIZE);
}

static BOOL CALLBACK LoadField(HWND child, LPARAM lParam)
{
    HWND page = reinterpret_cast<HWND>(lParam);
    int fieldId = GetDlgCtrlID(child);
    if (fieldId < FIRST_FIELD_ID || fieldId > LAST_FIELD_ID)
        return TRUE;

    char label[PRELOAD_LABEL_SIZE];
    LoadFieldLabel(fieldId, label, sizeof(label));
    HWND labelControl = GetDlgItem(page, fieldId + LABEL_CONTROL_OFFSET);
    if (labelControl)
        SetWindowTextA(labelControl, label);

    char value[PRELOAD_TEXT_SIZE];
    ReadRememberedText(label, value);

    HWND field = GetDlgItem(page, fieldId);
    if (field && value[0])
        SetWindowTextA(field, value);
    return TRUE;
}

void LoadPageFields(HWND page)
{
    EnumChildWindows(page, LoadField, reinterpret_cast<LPARAM>(page));
}

static BOOL IsFieldEmpty(HWND page, int fieldId)
{
    return GetWindowTextLengthA(GetDlgItem(page, fieldId)) == 0;
}

static void SetEmptyField(HWND page, int fieldId, const char *text)
{
    if (IsFieldEmpty(page, fieldId))
        SetDlgItemTextA(page, fieldId, text);
}

/* Owner and organisation hold at most 30 characters; ReadRegString cuts
 * a longer registered name to that. */
static void ReadRegisteredName(int fieldId, char name[OWNER_SIZE])
{
    ReadRegString(HKEY_LOCAL_MACHINE, versionKey,
                  fieldId == FIELD_OWNER ? "RegisteredOwner" : "RegisteredOrganization",
                  name, OWNER_SIZE);
}

static void ApplyOwnerDefaults(HWND page)
{
    char owner[OWNER_SIZE] = "";
    char organization[OWNER_SIZE] = "";
    ReadRegisteredName(FIELD_OWNER, owner);
    ReadRegisteredName(FIELD_ORGANIZATION, organization);
    SetEmptyField(page, FIELD_OWNER, owner);
    SetEmptyField(page, FIELD_ORGANIZATION, organization);
}

static void ApplyReportFileDefault(HWND page)
{
    char name[FILE_NAME_SIZE] = "";
    LoadStringA(g_resourceModule, IDS_DEFAULT_REPORT, name, sizeof(name));
    SetEmptyField(page, FIELD_REPORTFILE, name);
}

void ApplyFieldDefaults(HWND page, int pageIndex)
{
    if (pageIndex == 1)
        ApplyOwnerDefaults(page);
    else if (pageIndex == REPORT_FILE_PAGE)
        ApplyReportFileDefault(page);
}

LRESULT AnswerFieldQuery(HWND page, WPARAM wParam, LPARAM lParam)
{
    if (wParam == 1 && GetDlgItem(page, static_cast<int>(lParam)))
        return reinterpret_cast<LRESULT>(page);
    return 0;
}

HWND FindFieldPage(HWND page, int fieldId)
{
    return reinterpret_cast<HWND>(SendMessageA(GetParent(page), PSM_QUERYSIBLINGS, 1, fieldId));
}

void SaveFields(HWND page)
{
    char path[KEY_PATH_SIZE];
    FormatWizardKeyPath(path, "%s\\%s\\%s\\");

    for (int fieldId : savedFields) {
        char label[SAVE_LABEL_SIZE];
        LoadFieldLabel(fieldId, label, sizeof(label));
        HWND holder = FindFieldPage(page, fieldId);
        if (!holder)
            return;
        char text[SAVE_TEXT_SIZE] = "";
        GetDlgItemTextA(holder, fieldId, text, sizeof(text));
        WriteRegString(HKEY_LOCAL_MACHINE, path, label, text);
    }
}

/* A field's text as the wizard shows it once its page has been created
 * and activated: the remembered value, or for an empty owner or
 * organisation the registered name. The wizard's templates give every
 * field an empty text, so every field is held. */
static void ReadRememberedField(int fieldId, char text[PRELOAD_TEXT_SIZE])
{
    char label[PRELOAD_LABEL_SIZE];
    LoadFieldLabel(fieldId, label, sizeof(label));
    ReadRememberedText(label, text);
    if (!text[0] && (fieldId == FIELD_OWNER || fieldId == FIELD_ORGANIZATION))
        ReadRegisteredName(fieldId, text);
}

static int RememberedFieldLength(const ReportAnswers *, int fieldId)
{
    char text[PRELOAD_TEXT_SIZE];
    ReadRememberedField(fieldId, text);
    return lstrlenA(text);
}

static BOOL ReadRememberedAnswer(const ReportAnswers *, int fieldId, char *text, int size)
{
    char remembered[PRELOAD_TEXT_SIZE];
    ReadRememberedField(fieldId, remembered);
    lstrcpynA(text, remembered, size);
    return TRUE;
}

const ReportAnswers *RememberedReportAnswers()
{
    static const ReportAnswers remembered = { RememberedFieldLength, ReadRememberedAnswer, NULL };
    return &remembered;
}
