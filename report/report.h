/*
 * Problem report generation: the report writer and the section writers.
 *
 * Every writer borrows the report file handle that ComposeReport opened;
 * none of them closes it. Text is 8-bit ANSI, lines end in CR LF.
 */
#ifndef QEL_REPORT_H
#define QEL_REPORT_H

#include <windows.h>

/* Width of a report line in columns (bytes). */
#define REPORT_LINE_WIDTH 70

/* Writes text cut into chunks of at most 70 bytes with CR LF between them;
 * the first chunk is shortened by indent columns (indent > 70 counts as 0).
 * A null text writes one CR LF. Returns nonzero when the last write
 * succeeded, 0 on failure or a null file. */
int WriteReportText(HANDLE file, const char *text, unsigned indent);

/* Writes text whole, without cutting or adding anything. */
int WriteReportPlain(HANDLE file, const char *text);
/* Writes count bytes as they are. */
int WriteReportBytes(HANDLE file, const char *bytes, DWORD count);

/* The writes to any report file that failed since the last reset. */
void ResetFailedReportWrites();
DWORD CountFailedReportWrites();

/* Registry subtree of path (which ends in a backslash) under root. */
void DumpRegistryTree(HANDLE file, char *path, HKEY root);
void DumpRegistryKey(HKEY key, HANDLE file, char *path, HKEY root);
void DumpRegistryValues(HANDLE file, const char *path, HKEY root);

/* For a name that OpenFile cannot find: the full path at which the
 * platform's search, which takes paths up to MAX_PATH, finds the file;
 * FALSE when it finds none or only a folder. */
BOOL FindFileWithoutPathLimit(const char *name, char path[MAX_PATH]);

/* Start-up configuration files, copied byte for byte under headers. */
void WriteConfigFilesSection(HANDLE report);
void DumpTextFile(HANDLE report, const char *fileName);

/* Display driver instance, driver files and monitor key. */
#define DISPLAY_INSTANCE_SIZE 8
void FindDisplayInstance(char instance[DISPLAY_INSTANCE_SIZE]);
void WriteDisplayDriverSection(HANDLE report);
void WriteFileInfo(HANDLE report, const char *fileName);
void WriteMonitorSection(HANDLE report);

/* Operating-system line and the adapter's hardware configuration. */
void WriteOsVersionLine(HANDLE report);
void WriteAdapterHardwareInfo(HANDLE report);

/* Where the report takes the user's answers from: the wizard's pages or
 * the answers remembered from the wizard's last run. */
struct ReportAnswers {
    /* Length of the field's whole text; -1 when no source holds it. */
    int (*FieldLength)(const ReportAnswers *answers, int fieldId);
    /* Copies at most size - 1 characters of the field's text; FALSE, with
     * text empty, when no source holds the field. */
    BOOL (*ReadField)(const ReportAnswers *answers, int fieldId, char *text, int size);
    HWND page;   /* any wizard page, for the answers on the pages */
};

/* Writes the whole report to the file named by field 1120 of the wizard.
 * Returns 1 when the file was created and written, 0 otherwise; a file
 * that cannot be created is reported to the user. */
int ComposeReport(HWND page);

/* What WriteReport did; nothing is shown in any case. */
#define REPORT_NOT_CREATED 0
#define REPORT_WRITTEN     1
#define REPORT_INCOMPLETE  2   /* created, but a write to it failed */

/* Writes the whole report to fileName with the answers given. */
int WriteReport(const char *fileName, const ReportAnswers *answers);

#endif
