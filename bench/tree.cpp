/*
 * The benchmark's registry tree and configuration file.
 *
 * The tree is wide (groups of 1000 keys), deep (one chain of many levels)
 * and holds values of every type, with names up to 255 characters and
 * data up to 64 KB. One chain of keys with long names has paths of up to
 * 511 characters, past the 259 that the ANSI registry calls convert: the
 * report's dump opens such keys from their parent's handle, as "reg
 * export" opens every key.
 */
#include "bench.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <vector>

#define VALUES_PER_KEY  5
#define MAX_VALUE_NAME  255
#define LONG_DATA_EVERY 499
#define LONG_NAME_EVERY 101
#define LONG_KEY_EVERY  10
#define LONGEST_KEY_NAME 220   /* group path + name + leaf stays below 260 */
#define LONG_CHAIN_NAME  60
#define TYPE_COUNT 12

static const DWORD valueTypes[TYPE_COUNT] = {
    REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN,
    REG_LINK, REG_MULTI_SZ, REG_RESOURCE_LIST, REG_FULL_RESOURCE_DESCRIPTOR,
    REG_RESOURCE_REQUIREMENTS_LIST, REG_QWORD,
};

/* Text of the data: no '~' (the value name mark) and no '[' (headers). */
static const char textAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789 .,;:-_=%\\ABCXYZ";

TreeShape ShapeForGroups(unsigned groups)
{
    /* 1 + 111 + 888 = 1000 keys a group */
    TreeShape shape = { groups, 111, 8, 48, 8 };
    return shape;
}

TreeShape SmokeShape()
{
    TreeShape shape = { 1, 5, 2, 4, 5 };
    return shape;
}

static void FillText(char *text, DWORD length, unsigned long seed)
{
    for (DWORD i = 0; i < length; i++)
        text[i] = textAlphabet[(seed + i * 7) % (sizeof(textAlphabet) - 1)];
}

static DWORD TextLength(unsigned long index)
{
    if (index % LONG_DATA_EVERY == 0)
        return 16384 + (index % 4) * 16384;
    return index % 121;
}

/* Data of one value of the given type; returns its size. */
static DWORD MakeData(DWORD type, unsigned long index, std::vector<BYTE> &data)
{
    DWORD length = TextLength(index);
    data.assign(length + 64, 0);
    char *text = reinterpret_cast<char *>(data.data());
    switch (type) {
    case REG_SZ:
        FillText(text, length, index);
        return length + 1;
    case REG_EXPAND_SZ: {
        int n = sprintf(text, "%%SystemRoot%%\\qel\\%lu\\", index);
        FillText(text + n, length, index);
        return n + length + 1;
    }
    case REG_LINK:              /* text stored without its terminator */
        FillText(text, length, index);
        return length;
    case REG_MULTI_SZ: {
        DWORD at = 0;
        for (unsigned s = 0; s < index % 6; s++) {
            DWORD part = (length / 5) + s;
            FillText(text + at, part, index + s);
            at += part + 1;
        }
        return at + 1;          /* the closing empty string */
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        data.assign(4, 0);
        memcpy(data.data(), &index, 4);
        return 4;
    case REG_QWORD: {
        unsigned long long number = 0x0123456789ull * index;
        data.assign(8, 0);
        memcpy(data.data(), &number, 8);
        return 8;
    }
    default:                    /* binary kinds and REG_NONE */
        for (DWORD i = 0; i < length; i++)
            data[i] = static_cast<BYTE>(index * 31 + i);
        return length;
    }
}

/* "~V<index>", padded to 255 characters now and then, to 40 more often. */
static void MakeValueName(unsigned long index, char *name)
{
    int n = sprintf(name, VALUE_NAME_MARK "%lu", index);
    int length = index % LONG_NAME_EVERY == 0 ? MAX_VALUE_NAME : index % 7 == 0 ? 40 : n;
    for (; n < length; n++)
        name[n] = 'v';
    name[length] = '\0';
}

struct Builder {
    unsigned long keys;
    unsigned long values;
    unsigned long long dataBytes;
    std::vector<BYTE> data;
};

static BOOL FillKey(Builder &builder, HKEY key)
{
    for (int i = 0; i < VALUES_PER_KEY; i++) {
        unsigned long index = builder.values;
        DWORD type = valueTypes[(index + builder.keys) % TYPE_COUNT];
        char name[MAX_VALUE_NAME + 1];
        MakeValueName(index, name);
        DWORD size = MakeData(type, index, builder.data);
        if (RegSetValueExA(key, name, 0, type, builder.data.data(), size) != ERROR_SUCCESS)
            return FALSE;
        builder.values++;
        builder.dataBytes += size;
    }
    return TRUE;
}

static HKEY CreateFilledKey(Builder &builder, HKEY parent, const char *name)
{
    HKEY key;
    if (RegCreateKeyExA(parent, name, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL)
        != ERROR_SUCCESS)
        return NULL;
    builder.keys++;
    if (!FillKey(builder, key)) {
        RegCloseKey(key);
        return NULL;
    }
    return key;
}

/* Every tenth wide key has a long name, 100 to 220 characters. */
static void MakeWideKeyName(unsigned k, char *name)
{
    int n = sprintf(name, "K%03u", k);
    int length = k % LONG_KEY_EVERY == 0 ? 100 + (k * 13) % (LONGEST_KEY_NAME - 99) : n;
    for (; n < length; n++)
        name[n] = 'k';
    name[length] = '\0';
}

static BOOL BuildGroup(Builder &builder, HKEY root, const TreeShape &shape, unsigned g)
{
    char name[LONGEST_KEY_NAME + 1];
    sprintf(name, "Group%03u", g);
    HKEY group = CreateFilledKey(builder, root, name);
    if (!group)
        return FALSE;
    BOOL ok = TRUE;
    for (unsigned k = 0; ok && k < shape.wideKeys; k++) {
        MakeWideKeyName(k, name);
        HKEY wide = CreateFilledKey(builder, group, name);
        ok = wide != NULL;
        for (unsigned l = 0; ok && l < shape.leavesPerKey; l++) {
            sprintf(name, "L%u", l);
            HKEY leaf = CreateFilledKey(builder, wide, name);
            ok = leaf != NULL;
            if (leaf)
                RegCloseKey(leaf);
        }
        if (wide)
            RegCloseKey(wide);
    }
    RegCloseKey(group);
    return ok;
}

/* top and below it a chain of levels keys, each named by letter and its
 * level ("D00"), padded with the letter in lower case to nameLength
 * characters when that is longer ("L00lll..."). */
static BOOL BuildChain(Builder &builder, HKEY root, const char *top, char letter,
                       unsigned levels, unsigned nameLength)
{
    HKEY parent = CreateFilledKey(builder, root, top);
    for (unsigned level = 0; parent && level < levels; level++) {
        char name[LONG_CHAIN_NAME + 1];
        unsigned n = sprintf(name, "%c%02u", letter, level);
        if (nameLength > n) {
            memset(name + n, tolower(letter), nameLength - n);
            name[nameLength] = '\0';
        }
        HKEY child = CreateFilledKey(builder, parent, name);
        RegCloseKey(parent);
        parent = child;
    }
    if (!parent)
        return FALSE;
    RegCloseKey(parent);
    return TRUE;
}

/* Keys made before the first group: the root, the deep chain and, when
 * there is one, the long chain. */
static unsigned long KeysBeforeGroups(const TreeShape &shape)
{
    return 2 + shape.deepLevels + (shape.longLevels ? 1 + shape.longLevels : 0);
}

/* What a tree of this shape holds, without walking it. */
static void CountTree(const TreeShape &shape, TreeCounts *counts, unsigned long long dataBytes)
{
    unsigned long perGroup = 1 + shape.wideKeys * (1 + shape.leavesPerKey);
    counts->keys = KeysBeforeGroups(shape) + shape.groups * perGroup;
    counts->values = counts->keys * VALUES_PER_KEY;
    counts->dataBytes = dataBytes;
}

BOOL BuildBenchTree(const TreeShape &shape, unsigned firstGroup, TreeCounts *counts)
{
    HKEY root;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, BENCH_ROOT_PATH, 0, NULL, 0, KEY_ALL_ACCESS,
                        NULL, &root, NULL) != ERROR_SUCCESS)
        return FALSE;

    /* The value and key counters go on where an earlier build stopped, so
     * that a grown tree has the same mix as a fresh one. */
    unsigned long perGroup = 1 + shape.wideKeys * (1 + shape.leavesPerKey);
    Builder builder;
    builder.keys = firstGroup ? KeysBeforeGroups(shape) + firstGroup * perGroup : 0;
    builder.values = builder.keys * VALUES_PER_KEY;
    builder.dataBytes = 0;

    BOOL ok = TRUE;
    if (firstGroup == 0) {
        builder.keys++;                 /* the root itself */
        ok = FillKey(builder, root) && BuildChain(builder, root, "Deep", 'D', shape.deepLevels, 0);
        if (ok && shape.longLevels)
            ok = BuildChain(builder, root, "Long", 'L', shape.longLevels, LONG_CHAIN_NAME);
    }
    for (unsigned g = firstGroup; ok && g < shape.groups; g++)
        ok = BuildGroup(builder, root, shape, g);
    RegCloseKey(root);
    CountTree(shape, counts, builder.dataBytes);
    return ok;
}

static void DeleteKeyTree(HKEY parent, const char *name)
{
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char child[MAX_VALUE_NAME + 1];
    while (RegEnumKeyA(key, 0, child, sizeof(child)) == ERROR_SUCCESS) {
        DeleteKeyTree(key, child);
        if (RegDeleteKeyA(key, child) != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
}

void DeleteBenchTree()
{
    DeleteKeyTree(HKEY_CURRENT_USER, BENCH_ROOT_PATH);
    RegDeleteKeyA(HKEY_CURRENT_USER, BENCH_ROOT_PATH);
}

void WalkRegistryTree(HKEY key, WalkCounts *counts)
{
    counts->keys++;
    DWORD longestName, values, longestData;
    if (RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, &longestName, NULL, &values, NULL,
                         &longestData, NULL, NULL) != ERROR_SUCCESS)
        return;
    std::vector<BYTE> data(longestData + 1);
    for (DWORD index = 0; index < values; index++) {
        char name[MAX_VALUE_NAME + 1];
        DWORD nameSize = sizeof(name), type, size = longestData;
        if (RegEnumValueA(key, index, name, &nameSize, NULL, &type, data.data(), &size)
            != ERROR_SUCCESS)
            break;
        counts->values++;
    }
    std::vector<char> name(longestName + 1);
    for (DWORD index = 0; RegEnumKeyA(key, index, name.data(), name.size()) == ERROR_SUCCESS;
         index++) {
        HKEY child;
        if (RegOpenKeyExA(key, name.data(), 0, KEY_READ, &child) == ERROR_SUCCESS) {
            WalkRegistryTree(child, counts);
            RegCloseKey(child);
        }
    }
}

/* One line of the configuration file: sections, key=value lines of every
 * length (some far past 70 columns), tabs, bytes above 127, and now and
 * then a bare LF or a bare CR. */
static int MakeConfigLine(unsigned long n, char *line)
{
    int length;
    if (n % 40 == 0)
        length = sprintf(line, "[Section%lu]", n / 40);
    else {
        length = sprintf(line, "Key%lu=\t", n);
        int extra = n % 13 == 0 ? 150 + n % 200 : n % 70;
        for (int i = 0; i < extra; i++)
            line[length++] = n % 17 == 0 && i % 9 == 0 ? static_cast<char>(0xE4)
                                                         : textAlphabet[(n + i) % 40];
    }
    const char *end = n % 29 == 0 ? "\n" : n % 31 == 0 ? "\r" : "\r\n";
    strcpy(line + length, end);
    return length + static_cast<int>(strlen(end));
}

BOOL WriteConfigFile(const std::string &path, DWORD size)
{
    std::string bytes;
    bytes.reserve(size + 512);
    char line[512];
    for (unsigned long n = 0; bytes.size() < size; n++)
        bytes.append(line, MakeConfigLine(n, line));
    bytes.resize(size);

    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), size, &written, NULL) && written == size;
    CloseHandle(file);
    return ok;
}
