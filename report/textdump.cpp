/*
 * The start-up configuration files, copied into the report as they stand
 * on disk, each under a header line with its name.
 *
 * The copy translates nothing and keeps the file's own line ends; it only
 * breaks a run of more than 70 bytes without CR or LF, after its 71st byte,
 * and ends every file with a line break.
 */
#include "report.h"

static const char headerMarker[] = "%%%%%%%%%%";

static const char *const configFiles[] = {
    "C:\\AUTOEXEC.BAT",
    "C:\\CONFIG.SYS",
    "SYSTEM.INI",
    "WIN.INI",
};

/* One byte at a time, so that a read failing in the middle of the file
 * ends the copy after the last byte read, exactly as the end would. */
static void CopyTextFile(HANDLE report, HANDLE file)
{
    unsigned column = 0;
    char byte;
    DWORD count;
    while (ReadFile(file, &byte, 1, &count, NULL) && count == 1) {
        WriteFile(report, &byte, 1, &count, NULL);
        if (byte == '\r' || byte == '\n')
            column = 0;
        else if (++column > REPORT_LINE_WIDTH) {
            WriteReportText(report, NULL, 0);
            column = 0;
        }
    }
    WriteReportText(report, NULL, 0);
}

void DumpTextFile(HANDLE report, const char *fileName)
{
    if (!fileName)
        return;

    /* The name as given, not where the search found it. */
    WriteReportText(report, headerMarker, 0);
    WriteReportText(report, fileName, 0);
    WriteReportText(report, headerMarker, 0);
    WriteReportText(report, NULL, 0);
    WriteReportText(report, NULL, 0);

    /* A bare name is looked for where OpenFile looks: the program's folder,
     * the current folder, the system and Windows folders, then PATH. */
    OFSTRUCT found;
    HFILE file = OpenFile(fileName, &found, OF_READ);
    if (file == HFILE_ERROR)
        return;
    CopyTextFile(report, (HANDLE)(INT_PTR)file);
    _lclose(file);
}

void WriteConfigFilesSection(HANDLE report)
{
    for (const char *fileName : configFiles)
        DumpTextFile(report, fileName);
}
