/*
 * The report writer's sink: where WriteReportText's cut goes when text is
 * collected in memory and written in blocks rather than piece by piece.
 */
#ifndef QEL_SINK_H
#define QEL_SINK_H

#include "report.h"

/* Where cut text goes: straight into the file when there is no block,
 * otherwise into the block, which is written whenever it is full and when
 * the sink is closed. lastWrite is the result of the last write to the
 * file (nonzero before the first). */
typedef struct {
    HANDLE file;
    char *block;
    DWORD size;
    DWORD used;
    BOOL lastWrite;
} ReportSink;

/* A blockSize of 0, or a block that cannot be obtained, writes directly. */
void OpenReportSink(ReportSink *sink, HANDLE file, DWORD blockSize);
/* Writes what the block holds and releases it; the file stays open.
 * Returns lastWrite then, 0 for a null file. */
int CloseReportSink(ReportSink *sink);
/* WriteReportText into a sink: the same cut, the same result. */
int CutReportText(ReportSink *sink, const char *text, unsigned indent);

#endif
