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

/* Bytes taken from the file per read. */
#define COPY_BLOCK_SIZE 16384
/* A block's copy: its bytes and a forced CR LF at most once per 71 of
 * them, plus one for a run carried over from the block before. */
#define COPY_OUT_SIZE (COPY_BLOCK_SIZE + 2 * (COPY_BLOCK_SIZE / (REPORT_LINE_WIDTH + 1) + 1))

/* Copies count bytes to out, with a line break after the 71st byte of a
 * run without CR or LF; column carries the run across blocks. Returns the
 * length of the copy. */
static DWORD BreakLongRuns(const char *bytes, DWORD count, char *out, unsigned *column)
{
    DWORD length = 0;
    for (DWORD i = 0; i < count; i++) {
        char byte = bytes[i];
        out[length++] = byte;
        if (byte == '\r' || byte == '\n')
            *column = 0;
        else if (++*column > REPORT_LINE_WIDTH) {
            out[length++] = '\r';
            out[length++] = '\n';
            *column = 0;
        }
    }
    return length;
}

/* A read that fails ends the copy as the end of the file does: after the
 * bytes of the reads before it. */
static void CopyTextFile(HANDLE report, HANDLE file)
{
    char bytes[COPY_BLOCK_SIZE], copy[COPY_OUT_SIZE];
    unsigned column = 0;
    DWORD count;
    while (ReadFile(file, bytes, sizeof(bytes), &count, NULL) && count > 0)
        WriteReportBytes(report, copy, BreakLongRuns(bytes, count, copy, &column));
    WriteReportText(report, NULL, 0);
}

/* A bare name is looked for where OpenFile looks: the program's folder,
 * the current folder, the system and Windows folders, then PATH. Only
 * where OpenFile cannot take a path on its way does the search go on
 * without its limit. */
static HANDLE OpenConfigFile(const char *fileName)
{
    OFSTRUCT found;
    HFILE file = OpenFile(fileName, &found, OF_READ);
    if (file != HFILE_ERROR)
        return (HANDLE)(INT_PTR)file;
    char path[MAX_PATH];
    if (!FindFileWithoutPathLimit(fileName, path))
        return INVALID_HANDLE_VALUE;
    /* Shared as OpenFile shares in its compatibility mode. */
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
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

    HANDLE file = OpenConfigFile(fileName);
    if (file == INVALID_HANDLE_VALUE)
        return;
    CopyTextFile(report, file);
    CloseHandle(file);
}

void WriteConfigFilesSection(HANDLE report)
{
    for (const char *fileName : configFiles)
        DumpTextFile(report, fileName);
}
