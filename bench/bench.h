/*
 * qelbench: the report's registry and text file dumps at scale, timed and
 * weighed against the platform's own "reg export" of the same subtree.
 */
#ifndef QEL_BENCH_H
#define QEL_BENCH_H

#include <windows.h>
#include <string>

/* The benchmark tree: HKEY_CURRENT_USER\Software\QelBench. */
#define BENCH_ROOT_PATH "Software\\QelBench"
#define BENCH_REG_KEY   "HKEY_CURRENT_USER\\" BENCH_ROOT_PATH

/* Every value name in the tree starts with this; no data holds it, so a
 * report line that starts with it is a value line. */
#define VALUE_NAME_MARK "~V"

/* Size of the tree: each group is 1000 keys holding 5000 values. */
struct TreeShape {
    unsigned groups;
    unsigned wideKeys;      /* children of each group */
    unsigned leavesPerKey;  /* children of each of those */
    unsigned deepLevels;    /* length of the one deep chain */
    unsigned longLevels;    /* keys of long names below "Long", whose paths
                               run past what the ANSI calls convert */
};

struct TreeCounts {
    unsigned long keys;
    unsigned long values;
    unsigned long long dataBytes;
};

TreeShape ShapeForGroups(unsigned groups);
TreeShape SmokeShape();

/* tree.cpp: adds groups [firstGroup, shape.groups) (and the deep chain
 * when firstGroup is 0); counts what the whole tree then holds. */
BOOL BuildBenchTree(const TreeShape &shape, unsigned firstGroup, TreeCounts *counts);
void DeleteBenchTree();

/* The floor of any dump of a tree: every key opened from its parent's
 * handle and queried, every value and subkey enumerated into buffers. */
struct WalkCounts {
    unsigned long keys;
    unsigned long values;
};
void WalkRegistryTree(HKEY key, WalkCounts *counts);
/* A configuration file of about size bytes: INI-like lines of every
 * length, tabs, long runs without a line end, bytes above 127. */
BOOL WriteConfigFile(const std::string &path, DWORD size);

/* measure.cpp: one child process, timed from CreateProcess to its end. */
struct RunResult {
    BOOL started;
    DWORD exitCode;
    double seconds;
    SIZE_T peakWorkingSet;
    SIZE_T peakPagefile;
};
RunResult RunMeasured(const std::string &commandLine);
std::string OwnProgramPath();

/* check.cpp: what a dump holds, counted from its text. */
struct DumpCounts {
    unsigned long keys;         /* headers of keys below the bench root */
    unsigned long values;       /* value lines */
    unsigned long long bytes;
};
DumpCounts CountOwnDump(const std::string &path);
WalkCounts ReadWalkCounts(const std::string &path);
unsigned long long FileSizeOf(const std::string &path);

#endif
