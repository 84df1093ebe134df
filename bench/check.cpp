/*
 * Counts what a finished dump holds, so that the benchmark can tell that
 * nothing of the tree was lost on the way into the report.
 */
#include "bench.h"

#include <stdio.h>
#include <string.h>

static std::string ReadWholeFile(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    DWORD size = GetFileSize(file, NULL);
    if (size != INVALID_FILE_SIZE) {
        bytes.resize(size);
        DWORD got = 0;
        if (!ReadFile(file, &bytes[0], size, &got, NULL))
            got = 0;
        bytes.resize(got);
    }
    CloseHandle(file);
    return bytes;
}

static unsigned long CountOccurrences(const std::string &text, const char *needle)
{
    unsigned long count = 0;
    size_t length = strlen(needle);
    for (size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + length))
        count++;
    return count;
}

/* Every key header follows a line break and starts with the bench root's
 * path; every value line starts with the value name mark. */
DumpCounts CountOwnDump(const std::string &path)
{
    std::string text = ReadWholeFile(path);
    DumpCounts counts;
    counts.keys = CountOccurrences(text, "\n[" BENCH_ROOT_PATH "\\");
    counts.values = CountOccurrences(text, "\n" VALUE_NAME_MARK);
    counts.bytes = text.size();
    return counts;
}

unsigned long long FileSizeOf(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

/* The bare walk's "keys values"; zeros when it wrote nothing. */
WalkCounts ReadWalkCounts(const std::string &path)
{
    WalkCounts counts = { 0, 0 };
    sscanf(ReadWholeFile(path).c_str(), "%lu %lu", &counts.keys, &counts.values);
    return counts;
}
