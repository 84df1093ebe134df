/*
 * The report writer: cuts text into lines of at most 70 columns.
 *
 * It keeps no state; the caller says how many columns of the current line
 * are already used, and only the first chunk is shortened by that.
 */
#include "report.h"

static const char lineBreak[] = "\r\n";

static BOOL WriteBytes(HANDLE file, const char *bytes, DWORD count)
{
    DWORD written;
    return WriteFile(file, bytes, count, &written, NULL);
}

int WriteReportText(HANDLE file, const char *text, unsigned indent)
{
    if (!file)
        return 0;
    if (!text)
        return WriteBytes(file, lineBreak, 2);

    if (indent > REPORT_LINE_WIDTH)
        indent = 0;

    DWORD remaining = lstrlenA(text);
    for (;;) {
        DWORD room = REPORT_LINE_WIDTH - indent;
        DWORD chunk = remaining < room ? remaining : room;
        BOOL ok = WriteBytes(file, text, chunk);
        remaining -= chunk;
        if (!remaining)
            return ok;
        indent = 0;
        WriteBytes(file, lineBreak, 2);
        text += chunk;
    }
}

int WriteReportPlain(HANDLE file, const char *text)
{
    if (!file)
        return 0;
    return WriteBytes(file, text, lstrlenA(text));
}
