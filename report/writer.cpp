/*
 * The report writer: cuts text into lines of at most 70 columns.
 *
 * It keeps no line state; the caller says how many columns of the current
 * line are already used, and only the first chunk is shortened by that. The
 * cut text goes into a sink: straight into the file, piece by piece, or into
 * a block of memory that reaches the file whenever it is full.
 *
 * Every byte of the report passes through WriteBytes, which counts the
 * writes that fail: the section writers go on past a failed write, so only
 * the count tells afterwards that the report is incomplete. A report is
 * composed by one thread at a time, so the count needs no lock.
 */
#include "sink.h"

static const char lineBreak[] = "\r\n";

static DWORD failedWrites;

static BOOL WriteBytes(HANDLE file, const char *bytes, DWORD count)
{
    DWORD written;
    BOOL done = WriteFile(file, bytes, count, &written, NULL);
    if (!done)
        failedWrites++;
    return done;
}

/* Writes what the block holds. Bytes of a failed write are not tried
 * again: like a failed direct write, it leaves a gap and the report goes on. */
static void WriteBlock(ReportSink *sink)
{
    sink->lastWrite = WriteBytes(sink->file, sink->block, sink->used);
    sink->used = 0;
}

static void PutBytes(ReportSink *sink, const char *bytes, DWORD count)
{
    if (!sink->block) {
        sink->lastWrite = WriteBytes(sink->file, bytes, count);
        return;
    }
    while (count) {
        if (sink->used == sink->size)
            WriteBlock(sink);
        DWORD room = sink->size - sink->used;
        DWORD part = count < room ? count : room;
        CopyMemory(sink->block + sink->used, bytes, part);
        sink->used += part;
        bytes += part;
        count -= part;
    }
}

void OpenReportSink(ReportSink *sink, HANDLE file, DWORD blockSize)
{
    sink->file = file;
    sink->block = NULL;
    sink->size = blockSize;
    sink->used = 0;
    sink->lastWrite = file != NULL;
    /* Without the block, every piece goes straight to the file. */
    if (file && blockSize)
        sink->block = (char *)HeapAlloc(GetProcessHeap(), 0, blockSize);
}

int CloseReportSink(ReportSink *sink)
{
    if (sink->block) {
        if (sink->used)
            WriteBlock(sink);
        HeapFree(GetProcessHeap(), 0, sink->block);
        sink->block = NULL;
    }
    return sink->file ? sink->lastWrite : 0;
}

int CutReportText(ReportSink *sink, const char *text, unsigned indent)
{
    if (!sink->file)
        return 0;
    if (!text) {
        PutBytes(sink, lineBreak, 2);
        return sink->lastWrite;
    }

    if (indent > REPORT_LINE_WIDTH)
        indent = 0;

    DWORD remaining = lstrlenA(text);
    for (;;) {
        DWORD room = REPORT_LINE_WIDTH - indent;
        DWORD chunk = remaining < room ? remaining : room;
        PutBytes(sink, text, chunk);
        remaining -= chunk;
        if (!remaining)
            return sink->lastWrite;
        indent = 0;
        PutBytes(sink, lineBreak, 2);
        text += chunk;
    }
}

int WriteReportText(HANDLE file, const char *text, unsigned indent)
{
    ReportSink sink;
    OpenReportSink(&sink, file, 0);
    return CutReportText(&sink, text, indent);
}

int WriteReportBytes(HANDLE file, const char *bytes, DWORD count)
{
    if (!file)
        return 0;
    return WriteBytes(file, bytes, count);
}

int WriteReportPlain(HANDLE file, const char *text)
{
    return WriteReportBytes(file, text, lstrlenA(text));
}

void ResetFailedReportWrites()
{
    failedWrites = 0;
}

DWORD CountFailedReportWrites()
{
    return failedWrites;
}
