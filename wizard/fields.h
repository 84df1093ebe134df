/*
 * The wizard's field store: labels, remembered values, defaults and the
 * lookup of the page that holds a field.
 */
#ifndef QEL_FIELDS_H
#define QEL_FIELDS_H

#include <windows.h>

#define FIRST_FIELD_ID   1100
#define LAST_FIELD_ID    1123
#define FIELD_REPORTFILE 1120
#define LABEL_STRING_OFFSET  100   /* label string id = field id + 100 */
#define LABEL_CONTROL_OFFSET 200   /* label control id = field id + 200 */

/* Answer of a page to PSM_QUERYSIBLINGS; see FindFieldPage. */
LRESULT AnswerFieldQuery(HWND page, WPARAM wParam, LPARAM lParam);

HWND FindFieldPage(HWND page, int fieldId);
void LoadPageFields(HWND page);
void ApplyFieldDefaults(HWND page, int pageIndex);
void SaveFields(HWND page);

/* The answers remembered from the wizard's last run, as its pages would
 * show them: the report's answers without the wizard. */
struct ReportAnswers;
const ReportAnswers *RememberedReportAnswers();

void ReadRegString(HKEY root, const char *subKey, const char *valueName,
                   char *buffer, DWORD size);
LONG WriteRegString(HKEY root, const char *subKey, const char *valueName,
                    const char *text);

#endif
