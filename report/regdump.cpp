/*
 * Registry subtrees in the report: every key as a bracketed header line,
 * then its values one a line, then its subkeys, depth first.
 *
 * Buffers are sized from each key's own reported maxima and obtained once
 * per key; while the children of a key are written, only its subkey-name
 * and child-path buffers stay held. Every enumeration passes the true size
 * of its buffer, so a key that changes under us ends its listing early
 * (RegEnumValueA says ERROR_MORE_DATA for grown data) but never overruns.
 *
 * Each key is opened and queried once; its values and subkeys are read
 * through that one handle. The text collects in a block of memory that is
 * written whenever it is full and once more before a dump returns.
 */
#include "sink.h"

/* Room RegEnumValueA gets for a value name, terminator included; a longer
 * name fails the enumeration and ends the value listing. */
#define VALUE_NAME_SIZE 256

/* Bytes of report text collected before they are written: at a few KB a
 * block the writes are already a small share of the dump's time. */
#define DUMP_BLOCK_SIZE 4096

static const char defaultValueName[] = "(Default)";
static const char equalsSign[] = " = ";

static void *GetBuffer(DWORD size)
{
    return HeapAlloc(GetProcessHeap(), 0, size);
}

static void ReleaseBuffer(void *buffer)
{
    if (buffer)
        HeapFree(GetProcessHeap(), 0, buffer);
}

/* " = " and every data byte as "%02x " would give it, or the fallback text
 * when the hexadecimal text buffer cannot be obtained. */
static void WriteHexList(ReportSink *sink, const BYTE *data, DWORD size, unsigned indent,
                         const char *fallback)
{
    char *hex = size <= (MAXDWORD - 1) / 3 ? (char *)GetBuffer(size * 3 + 1) : NULL;
    if (!hex) {
        CutReportText(sink, fallback, indent);
        return;
    }
    static const char digits[] = "0123456789abcdef";
    char *at = hex;
    for (DWORD i = 0; i < size; i++) {
        *at++ = digits[data[i] >> 4];
        *at++ = digits[data[i] & 15];
        *at++ = ' ';
    }
    *at = '\0';
    CutReportText(sink, equalsSign, 0);
    CutReportText(sink, hex, indent + 3);
    ReleaseBuffer(hex);
}

static void AppendBytes(char *text, DWORD *length, const void *bytes, DWORD count)
{
    if (text)
        CopyMemory(text + *length, bytes, count);
    *length += count;
}

/* "{ ", every string in quotation marks followed by two spaces, and "}".
 * A string runs to its zero byte or to the end of the data; the list ends
 * at an empty string or at the end of the data. With a null text this only
 * measures. Returns the length without the terminator. */
static DWORD FormatMultiString(const BYTE *data, DWORD size, char *text)
{
    DWORD length = 0;
    AppendBytes(text, &length, "{ ", 2);
    DWORD start = 0;
    while (start < size && data[start]) {
        DWORD end = start;
        while (end < size && data[end])
            end++;
        AppendBytes(text, &length, "\"", 1);
        AppendBytes(text, &length, data + start, end - start);
        AppendBytes(text, &length, "\"  ", 3);
        start = end + 1;
    }
    AppendBytes(text, &length, "}", 1);
    if (text)
        text[length] = '\0';
    return length;
}

/* When the multi-string text buffer cannot be obtained, the value's type is
 * named instead, as the binary types do without their hexadecimal buffer.
 * Size bound: n strings take at least 2n - 1 bytes and add 4 each, so the
 * text is at most 3 * size + 5 bytes. */
static void WriteMultiString(ReportSink *sink, const BYTE *data, DWORD size, unsigned indent)
{
    char *text = NULL;
    if (size <= (MAXDWORD - 6) / 3)
        text = (char *)GetBuffer(FormatMultiString(data, size, NULL) + 1);
    if (!text) {
        CutReportText(sink, " = (REG_MULTI_SZ)", indent);
        return;
    }
    FormatMultiString(data, size, text);
    CutReportText(sink, equalsSign, 0);
    CutReportText(sink, text, indent + 3);
    ReleaseBuffer(text);
}

/* The first four bytes as a signed little-endian number, big-endian ones
 * included. Shorter data gives the bytes present, zero-extended; nothing
 * past the returned size is read. */
static void WriteNumber(ReportSink *sink, const BYTE *data, DWORD size, unsigned indent)
{
    DWORD number = 0;
    for (DWORD i = 0; i < size && i < 4; i++)
        number |= (DWORD)data[i] << (8 * i);
    char text[20];
    wsprintfA(text, " = %ld", (LONG)number);
    CutReportText(sink, text, indent);
}

/* data holds size bytes and one more, free for a terminator. */
static void WriteValueData(ReportSink *sink, DWORD type, BYTE *data, DWORD size,
                           unsigned indent)
{
    switch (type) {
    case REG_NONE:
        CutReportText(sink, " = (value not set)", indent);
        break;
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_LINK:
        /* The registry may return text without its terminator. */
        data[size] = '\0';
        CutReportText(sink, equalsSign, 0);
        CutReportText(sink, (const char *)data, indent + 3);
        break;
    case REG_BINARY:
        WriteHexList(sink, data, size, indent, " = (REG_BINARY)");
        break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        WriteNumber(sink, data, size, indent);
        break;
    case REG_MULTI_SZ:
        WriteMultiString(sink, data, size, indent);
        break;
    case REG_RESOURCE_LIST:
        WriteHexList(sink, data, size, indent, " = (REG_RESOURCE_LIST)");
        break;
    case REG_FULL_RESOURCE_DESCRIPTOR:
        CutReportText(sink, " = (REG_FULL_RESOURCE_DESCRIPTOR)", indent);
        break;
    default:
        CutReportText(sink, " = (Undefined)", indent);
        break;
    }
}

/* One value line. Without a data buffer (data null) the value is still
 * listed by name, marked " = (no data)", so that support sees it exists. */
static void WriteValueLine(ReportSink *sink, const char *name, DWORD type, BYTE *data,
                           DWORD size)
{
    if (!name[0])
        name = defaultValueName;
    unsigned nameLength = lstrlenA(name);
    CutReportText(sink, name, 0);
    if (data)
        WriteValueData(sink, type, data, size, nameLength);
    else
        CutReportText(sink, " = (no data)", nameLength);
    CutReportText(sink, NULL, 0);
}

/* The value lines of an open key, count values whose data is at most
 * longestData bytes. */
static void ListValues(ReportSink *sink, HKEY key, DWORD count, DWORD longestData)
{
    if (!count)
        return;
    /* One byte beyond the longest data, for a text's terminator. */
    BYTE *data = longestData < MAXDWORD ? (BYTE *)GetBuffer(longestData + 1) : NULL;
    for (DWORD index = 0; index < count; index++) {
        char name[VALUE_NAME_SIZE];
        DWORD nameSize = VALUE_NAME_SIZE;
        DWORD type, size = longestData;
        if (RegEnumValueA(key, index, name, &nameSize, NULL, &type, data,
                          data ? &size : NULL) != ERROR_SUCCESS)
            break;
        WriteValueLine(sink, name, type, data, size);
    }
    ReleaseBuffer(data);
}

/* A line break, "[path]" and a line break. The header is put together by
 * hand: wsprintfA stops at 1024 characters, a registry path need not. */
static void WriteKeyHeader(ReportSink *sink, const char *path)
{
    DWORD length = lstrlenA(path);
    char *header = (char *)GetBuffer(length + 12);
    if (!header)
        return;
    header[0] = '[';
    CopyMemory(header + 1, path, length);
    header[length + 1] = ']';
    header[length + 2] = '\0';
    CutReportText(sink, NULL, 0);
    CutReportText(sink, header, 0);
    CutReportText(sink, NULL, 0);
    ReleaseBuffer(header);
}

/* The value lines of the key path names under root. */
static void ListValuesAt(ReportSink *sink, const char *path, HKEY root)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD count, longestData;
    if (RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, NULL, NULL, &count, NULL,
                         &longestData, NULL, NULL) == ERROR_SUCCESS)
        ListValues(sink, key, count, longestData);
    RegCloseKey(key);
}

/* ListValuesAt on path without its trailing separator. The caller's path
 * is copied rather than cut in place, so that it may be read-only. */
static void ListValuesOfPath(ReportSink *sink, const char *path, HKEY root)
{
    DWORD length = lstrlenA(path);
    if (length && path[length - 1] == '\\')
        length--;
    char *keyPath = (char *)GetBuffer(length + 1);
    if (!keyPath)
        return;
    CopyMemory(keyPath, path, length);
    keyPath[length] = '\0';
    ListValuesAt(sink, keyPath, root);
    ReleaseBuffer(keyPath);
}

static void DumpKey(ReportSink *sink, HKEY key, char *path, HKEY root);

/* The ANSI calls convert a path in a buffer of 260 characters, so a deep
 * key (or one whose path fits only without its separator) is refused by
 * its full path; from its parent's handle it opens by its name alone and
 * is dumped whole like any other. Keys that open by their full path are
 * opened that way as before. One that opens neither way, or the top key,
 * which has no parent here, shows its header and what the path without
 * its separator still gives, and no subkeys. */
static void DumpTree(ReportSink *sink, char *path, HKEY root, HKEY parent, const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS
        || (parent && RegOpenKeyExA(parent, name, 0, KEY_READ, &key) == ERROR_SUCCESS)) {
        DumpKey(sink, key, path, root);
        RegCloseKey(key);
        return;
    }
    WriteKeyHeader(sink, path);
    ListValuesOfPath(sink, path, root);
}

static void DumpSubkeys(ReportSink *sink, HKEY key, const char *path, HKEY root,
                        DWORD longestName)
{
    DWORD pathLength = lstrlenA(path);
    DWORD nameSize = longestName + 1;
    char *name = (char *)GetBuffer(nameSize);
    char *childPath = (char *)GetBuffer(pathLength + longestName + 4);
    if (name && childPath) {
        CopyMemory(childPath, path, pathLength);
        for (DWORD index = 0; RegEnumKeyA(key, index, name, nameSize) == ERROR_SUCCESS;
             index++) {
            DWORD length = lstrlenA(name);
            CopyMemory(childPath + pathLength, name, length);
            childPath[pathLength + length] = '\\';
            childPath[pathLength + length + 1] = '\0';
            DumpTree(sink, childPath, root, key, name);
        }
    }
    ReleaseBuffer(name);
    ReleaseBuffer(childPath);
}

/* One query gives the sizes for the values and the subkeys; a key that
 * cannot be queried shows its header alone. */
static void DumpKey(ReportSink *sink, HKEY key, char *path, HKEY root)
{
    WriteKeyHeader(sink, path);
    DWORD longestName, count, longestData;
    if (RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, &longestName, NULL, &count, NULL,
                         &longestData, NULL, NULL) != ERROR_SUCCESS)
        return;
    ListValues(sink, key, count, longestData);
    DumpSubkeys(sink, key, path, root, longestName);
}

void DumpRegistryTree(HANDLE file, char *path, HKEY root)
{
    if (!root || !path)
        return;
    ReportSink sink;
    OpenReportSink(&sink, file, DUMP_BLOCK_SIZE);
    DumpTree(&sink, path, root, NULL, NULL);
    CloseReportSink(&sink);
}

void DumpRegistryKey(HKEY key, HANDLE file, char *path, HKEY root)
{
    ReportSink sink;
    OpenReportSink(&sink, file, DUMP_BLOCK_SIZE);
    DumpKey(&sink, key, path, root);
    CloseReportSink(&sink);
}

void DumpRegistryValues(HANDLE file, const char *path, HKEY root)
{
    if (!root || !path)
        return;
    ReportSink sink;
    OpenReportSink(&sink, file, DUMP_BLOCK_SIZE);
    ListValuesAt(&sink, path, root);
    CloseReportSink(&sink);
}
