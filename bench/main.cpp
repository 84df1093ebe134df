/*
 * qelbench: builds a large registry tree and a 1 MB configuration file,
 * dumps them as the problem report does, and sets wall time and peak
 * memory against "reg export" of the same tree. Each dump runs as a child
 * process of its own, started and measured the same way.
 *
 *   qelbench [run [groups [repeats]]]   the benchmark (default 2 groups,
 *                                       about 2,000 keys, and 4 times as
 *                                       many; 5 repeats)
 *   qelbench smoke                      a tiny tree: checks that every
 *                                       step works and loses nothing
 *   qelbench pair OTHER OUT1 OUT2 [groups]
 *                                       the tree without its long chain,
 *                                       dumped by the qelbench program
 *                                       OTHER into OUT1 and by this one
 *                                       into OUT2, to compare two builds'
 *                                       bytes and times
 *   qelbench dump-reg OUT               child: the registry dump only
 *   qelbench walk-reg OUT               child: a bare walk of the tree;
 *                                       OUT gets its counts alone
 *   qelbench dump-text FILE OUT         child: the text file dump only
 *   qelbench idle                       child: starts and ends
 */
#include "bench.h"
#include "report.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

#define CONFIG_FILE_SIZE (1024 * 1024)
#define GROWTH_FACTOR    4

static HANDLE CreateReport(const char *path)
{
    return CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       NULL);
}

static int DumpRegistryChild(const char *out)
{
    HANDLE report = CreateReport(out);
    if (report == INVALID_HANDLE_VALUE)
        return 2;
    char path[] = BENCH_ROOT_PATH "\\";
    DumpRegistryTree(report, path, HKEY_CURRENT_USER);
    CloseHandle(report);
    return 0;
}

/* Writes nothing while it walks: the counts alone at the end, so that the
 * parent can tell the walk saw the whole tree. */
static int WalkRegistryChild(const char *out)
{
    HKEY root;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, BENCH_ROOT_PATH, 0, KEY_READ, &root) != ERROR_SUCCESS)
        return 3;
    WalkCounts counts = { 0, 0 };
    WalkRegistryTree(root, &counts);
    RegCloseKey(root);
    HANDLE report = CreateReport(out);
    if (report == INVALID_HANDLE_VALUE)
        return 2;
    char line[40];
    DWORD written;
    WriteFile(report, line, sprintf(line, "%lu %lu", counts.keys, counts.values), &written,
              NULL);
    CloseHandle(report);
    return 0;
}

static int DumpTextChild(const char *file, const char *out)
{
    HANDLE report = CreateReport(out);
    if (report == INVALID_HANDLE_VALUE)
        return 2;
    DumpTextFile(report, file);
    CloseHandle(report);
    return 0;
}

/* ---- the measuring parent ---- */

struct Workspace {
    std::string folder;
    std::string ownDump;
    std::string walkCounts;
    std::string regExport;
    std::string config;
    std::string textDump;
};

static Workspace MakeWorkspace()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    Workspace space;
    space.folder = std::string(temp) + "qelbench";
    CreateDirectoryA(space.folder.c_str(), NULL);
    space.ownDump = space.folder + "\\own.txt";
    space.walkCounts = space.folder + "\\walk.txt";
    space.regExport = space.folder + "\\reg.reg";
    space.config = space.folder + "\\bench.ini";
    space.textDump = space.folder + "\\text.txt";
    return space;
}

static void RemoveWorkspace(const Workspace &space)
{
    DeleteFileA(space.ownDump.c_str());
    DeleteFileA(space.walkCounts.c_str());
    DeleteFileA(space.regExport.c_str());
    DeleteFileA(space.config.c_str());
    DeleteFileA(space.textDump.c_str());
    RemoveDirectoryA(space.folder.c_str());
}

static std::string OwnCommand(const std::string &arguments)
{
    return "\"" + OwnProgramPath() + "\" " + arguments;
}

static std::string RegExportCommand(const Workspace &space, const std::string &key)
{
    return "reg.exe export " + key + " \"" + space.regExport + "\" /y";
}

/* reg export of the last key of the deep chain alone: the figures of a
 * reg.exe process that has next to nothing to do. */
static std::string SingleKeyPath(const TreeShape &shape)
{
    std::string key = BENCH_REG_KEY "\\Deep";
    for (unsigned level = 0; level < shape.deepLevels; level++) {
        char name[8];
        sprintf(name, "\\D%02u", level);
        key += name;
    }
    return key;
}

/* Runs with next to nothing to do: our program idle, reg export of one key. */
struct Baselines {
    RunResult own;
    RunResult reg;
};

template <typename T>
static T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

/* The median of each figure over the repeats; a failed run fails all. */
static RunResult MedianRun(const std::vector<RunResult> &runs)
{
    RunResult result = runs[0];
    std::vector<double> seconds;
    std::vector<SIZE_T> workingSet, pagefile;
    for (const RunResult &run : runs) {
        if (!run.started || run.exitCode != 0)
            return run;
        seconds.push_back(run.seconds);
        workingSet.push_back(run.peakWorkingSet);
        pagefile.push_back(run.peakPagefile);
    }
    result.seconds = Median(seconds);
    result.peakWorkingSet = Median(workingSet);
    result.peakPagefile = Median(pagefile);
    return result;
}

static RunResult Measure(const std::string &command, int repeats)
{
    std::vector<RunResult> runs;
    for (int i = 0; i < repeats; i++)
        runs.push_back(RunMeasured(command));
    return MedianRun(runs);
}

static void PrintHeading()
{
    printf("%-26s %9s %12s %12s %12s\n", "", "wall s", "peak WS KB", "peak priv KB",
           "output KB");
}

static void PrintRun(const char *label, const RunResult &run, unsigned long long outputBytes)
{
    if (!run.started || run.exitCode != 0) {
        printf("%-26s FAILED (started %d, exit code %lu)\n", label, run.started,
               run.exitCode);
        return;
    }
    printf("%-26s %9.2f %12lu %12lu %12llu\n", label, run.seconds,
           static_cast<unsigned long>(run.peakWorkingSet / 1024),
           static_cast<unsigned long>(run.peakPagefile / 1024), outputBytes / 1024);
}

/* Every run in the order made: how far the machine's load moved them. */
static void PrintSeconds(const char *label, const std::vector<RunResult> &runs)
{
    printf("  %-24s", label);
    for (const RunResult &run : runs)
        printf(" %.2f", run.seconds);
    printf("\n");
}

static double Ratio(double ours, double theirs)
{
    return theirs > 0 ? ours / theirs : 0;
}

/* Also net of what each program takes to start and end with next to
 * nothing to do, which dominates the memory figures. */
static void PrintRatio(const char *label, const RunResult &ours, const RunResult &reg,
                       const Baselines &base)
{
    printf("%-26s %9.2f %12.2f %12.2f\n", label, Ratio(ours.seconds, reg.seconds),
           Ratio(ours.peakWorkingSet, reg.peakWorkingSet),
           Ratio(ours.peakPagefile, reg.peakPagefile));
    printf("%-26s %9.2f %12.2f %12.2f\n", "  net of process start",
           Ratio(ours.seconds - base.own.seconds, reg.seconds - base.reg.seconds),
           Ratio(double(ours.peakWorkingSet) - base.own.peakWorkingSet,
                 double(reg.peakWorkingSet) - base.reg.peakWorkingSet),
           Ratio(double(ours.peakPagefile) - base.own.peakPagefile,
                 double(reg.peakPagefile) - base.reg.peakPagefile));
}

/* UTF-16 text of reg export: key lines start with '[', value lines of the
 * tree with the quoted value name mark. */
static void CountRegExport(const std::string &path, unsigned long *keys, unsigned long *values)
{
    *keys = *values = 0;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD size = GetFileSize(file, NULL);
    std::vector<WCHAR> text(size / 2 + 1);
    DWORD got = 0;
    ReadFile(file, text.data(), size, &got, NULL);
    CloseHandle(file);
    size_t count = got / 2;
    for (size_t i = 1; i + 2 < count; i++) {
        if (text[i - 1] != L'\n')
            continue;
        if (text[i] == L'[')
            (*keys)++;
        else if (text[i] == L'"' && text[i + 1] == VALUE_NAME_MARK[0]
                 && text[i + 2] == VALUE_NAME_MARK[1])
            (*values)++;
    }
}

/* Both dumps must hold every key and every value of the tree, and the
 * bare walk must have seen them all. */
static BOOL CheckComplete(const char *label, const Workspace &space, const TreeCounts &tree)
{
    DumpCounts own = CountOwnDump(space.ownDump);
    WalkCounts walk = ReadWalkCounts(space.walkCounts);
    unsigned long regKeys, regValues;
    CountRegExport(space.regExport, &regKeys, &regValues);
    BOOL ok = own.keys == tree.keys && own.values == tree.values && regKeys == tree.keys
              && regValues == tree.values && walk.keys == tree.keys
              && walk.values == tree.values;
    printf("%s: tree %lu keys %lu values; our dump %lu keys %lu values; "
           "reg export %lu keys %lu values; bare walk %lu keys %lu values: %s\n",
           label, tree.keys, tree.values, own.keys, own.values, regKeys, regValues,
           walk.keys, walk.values, ok ? "complete" : "INCOMPLETE");
    return ok;
}

struct TreeRun {
    RunResult reg;
    RunResult own;
    RunResult walk;
};

/* The median over the repeats of each repeat's own ratio: the runs of one
 * repeat follow each other closely, so a load that comes and goes moves
 * them more alike than runs further apart. */
static double MedianRatio(const std::vector<RunResult> &ours,
                          const std::vector<RunResult> &theirs)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.size(); i++)
        ratios.push_back(Ratio(ours[i].seconds, theirs[i].seconds));
    return Median(ratios);
}

/* Load only ever slows a run down: the fastest is the nearest to a quiet
 * machine. */
static double Fastest(const std::vector<RunResult> &runs)
{
    double fastest = runs[0].seconds;
    for (const RunResult &run : runs)
        fastest = std::min(fastest, run.seconds);
    return fastest;
}

static TreeRun MeasureTree(const char *scale, const Workspace &space, const Baselines &base,
                           int repeats)
{
    const std::string commands[3] = {
        RegExportCommand(space, BENCH_REG_KEY),
        OwnCommand("dump-reg \"" + space.ownDump + "\""),
        OwnCommand("walk-reg \"" + space.walkCounts + "\""),
    };
    /* A first round unmeasured, so that no run pays for the first reads. */
    for (const std::string &command : commands)
        RunMeasured(command);
    /* Interleaved, for the same cache state, and in turns, so that none of
     * the three always comes first. */
    std::vector<RunResult> runs[3];
    for (int i = 0; i < repeats; i++) {
        for (int k = 0; k < 3; k++) {
            int which = (i + k) % 3;
            runs[which].push_back(RunMeasured(commands[which]));
        }
    }
    const std::vector<RunResult> &regRuns = runs[0], &ownRuns = runs[1], &walkRuns = runs[2];
    TreeRun run = { MedianRun(regRuns), MedianRun(ownRuns), MedianRun(walkRuns) };
    char label[64];
    sprintf(label, "reg export %s", scale);
    PrintRun(label, run.reg, FileSizeOf(space.regExport));
    sprintf(label, "our DumpRegistryTree %s", scale);
    PrintRun(label, run.own, FileSizeOf(space.ownDump));
    sprintf(label, "bare walk %s", scale);
    PrintRun(label, run.walk, 0);
    sprintf(label, "ratio ours/reg %s", scale);
    PrintRatio(label, run.own, run.reg, base);
    /* Both are our program: the same start-up comes off both. */
    sprintf(label, "ratio ours/walk %s", scale);
    printf("%-26s %9.2f\n", label, Ratio(run.own.seconds, run.walk.seconds));
    printf("%-26s %9.2f\n", "  net of process start",
           Ratio(run.own.seconds - base.own.seconds, run.walk.seconds - base.own.seconds));
    printf("median of each repeat's ratio, ours/walk %.2f, ours/reg %.2f\n",
           MedianRatio(ownRuns, walkRuns), MedianRatio(ownRuns, regRuns));
    double fastestOwn = Fastest(ownRuns);
    printf("fastest runs' ratio,          ours/walk %.2f, ours/reg %.2f\n",
           Ratio(fastestOwn, Fastest(walkRuns)), Ratio(fastestOwn, Fastest(regRuns)));
    PrintSeconds("reg export runs, s", regRuns);
    PrintSeconds("our dump runs, s", ownRuns);
    PrintSeconds("bare walk runs, s", walkRuns);
    return run;
}

static void PrintGrowth(const char *label, const RunResult &small, const RunResult &large,
                        const RunResult &idle)
{
    long base = static_cast<long>(idle.peakWorkingSet / 1024);
    printf("  %-10s %6ld %6ld\n", label, static_cast<long>(small.peakWorkingSet / 1024) - base,
           static_cast<long>(large.peakWorkingSet / 1024) - base);
}

static BOOL BuildTree(const TreeShape &shape, unsigned firstGroup, TreeCounts *counts)
{
    DWORD start = GetTickCount();
    BOOL ok = BuildBenchTree(shape, firstGroup, counts);
    /* Wine's server writes a changed registry to disk now and then and
     * holds every client up meanwhile: written now, that does not fall
     * into a measured run. */
    RegFlushKey(HKEY_CURRENT_USER);
    printf("tree of %u groups: %lu keys, %lu values (%.1f s to build)%s\n", shape.groups,
           counts->keys, counts->values, (GetTickCount() - start) / 1000.0,
           ok ? "" : ": BUILD FAILED");
    return ok;
}

static int RunBenchmark(unsigned groups, int repeats)
{
    Workspace space = MakeWorkspace();
    DeleteBenchTree();
    TreeShape shape = ShapeForGroups(groups);
    TreeCounts tree;
    if (!BuildTree(shape, 0, &tree) || !WriteConfigFile(space.config, CONFIG_FILE_SIZE))
        return 1;
    printf("median of %d runs each; ratios below 1 mean ours is faster or smaller\n\n",
           repeats);

    PrintHeading();
    Baselines base;
    base.own = Measure(OwnCommand("idle"), repeats);
    PrintRun("our program, idle", base.own, 0);
    base.reg = Measure(RegExportCommand(space, SingleKeyPath(shape)), repeats);
    PrintRun("reg export of one key", base.reg, FileSizeOf(space.regExport));
    TreeRun small = MeasureTree("1x", space, base, repeats);
    BOOL complete = CheckComplete("1x", space, tree);

    RunResult text = Measure(OwnCommand("dump-text \"" + space.config + "\" \"" +
                                        space.textDump + "\""), repeats);
    printf("\n");
    PrintHeading();
    PrintRun("DumpTextFile 1 MB", text, FileSizeOf(space.textDump));
    if (text.seconds > base.own.seconds)
        printf("  %.0f KB/s after process start\n",
               CONFIG_FILE_SIZE / 1024.0 / (text.seconds - base.own.seconds));

    printf("\n");
    TreeShape grown = ShapeForGroups(groups * GROWTH_FACTOR);
    TreeCounts big;
    if (!BuildTree(grown, groups, &big))
        return 1;
    PrintHeading();
    TreeRun large = MeasureTree("4x", space, base, repeats);
    complete = CheckComplete("4x", space, big) && complete;

    printf("\nmemory flatness, peak at 4x over peak at 1x (working set, private):\n");
    printf("  our dump   %.2f %.2f\n",
           Ratio(large.own.peakWorkingSet, small.own.peakWorkingSet),
           Ratio(large.own.peakPagefile, small.own.peakPagefile));
    printf("  reg export %.2f %.2f\n",
           Ratio(large.reg.peakWorkingSet, small.reg.peakWorkingSet),
           Ratio(large.reg.peakPagefile, small.reg.peakPagefile));
    printf("peak working set above a process with nothing to do (KB), 1x and 4x:\n");
    PrintGrowth("our dump", small.own, large.own, base.own);
    PrintGrowth("reg export", small.reg, large.reg, base.reg);

    DeleteBenchTree();
    RemoveWorkspace(space);
    return complete ? 0 : 1;
}

/* ---- the smoke run: every step once on a tiny tree, no timing ---- */

static BOOL Expect(BOOL condition, const char *what)
{
    printf("%s: %s\n", condition ? "ok  " : "FAIL", what);
    return condition;
}

static int RunSmoke()
{
    Workspace space = MakeWorkspace();
    DeleteBenchTree();
    TreeCounts tree;
    BOOL ok = Expect(BuildBenchTree(SmokeShape(), 0, &tree), "tree built");
    ok = Expect(WriteConfigFile(space.config, 4096), "configuration file written") && ok;

    RunResult reg = RunMeasured(RegExportCommand(space, BENCH_REG_KEY));
    ok = Expect(reg.started && reg.exitCode == 0, "reg export ran") && ok;
    RunResult own = RunMeasured(OwnCommand("dump-reg \"" + space.ownDump + "\""));
    ok = Expect(own.started && own.exitCode == 0, "our dump ran as a child") && ok;
    ok = Expect(own.peakWorkingSet > 0 && reg.peakWorkingSet > 0,
                "peak memory read from the process handles") && ok;
    RunResult walk = RunMeasured(OwnCommand("walk-reg \"" + space.walkCounts + "\""));
    ok = Expect(walk.started && walk.exitCode == 0, "bare walk ran as a child") && ok;
    ok = CheckComplete("smoke", space, tree) && ok;

    RunResult text = RunMeasured(OwnCommand("dump-text \"" + space.config + "\" \"" +
                                            space.textDump + "\""));
    ok = Expect(text.started && text.exitCode == 0 && FileSizeOf(space.textDump) > 4096,
                "text file dump ran and holds the file") && ok;

    DeleteBenchTree();
    RemoveWorkspace(space);
    return ok ? 0 : 1;
}

/* ---- two builds' dumps of the same tree, for a byte comparison ---- */

/* Without the long chain, which a build that opens keys by their full path
 * alone cannot show whole. The two dumps take turns, PAIR_REPEATS times,
 * and their times are set side by side as the benchmark's are. */
#define PAIR_REPEATS 5

static int RunPair(const char *other, const char *otherOut, const char *ownOut,
                   unsigned groups)
{
    DeleteBenchTree();
    TreeShape shape = ShapeForGroups(groups);
    shape.longLevels = 0;
    TreeCounts tree;
    if (!BuildTree(shape, 0, &tree))
        return 1;
    const std::string theirs = "\"" + std::string(other) + "\" dump-reg \"" + otherOut + "\"";
    const std::string ours = OwnCommand("dump-reg \"" + std::string(ownOut) + "\"");
    std::vector<RunResult> theirRuns, ourRuns;
    for (int i = 0; i < PAIR_REPEATS; i++) {
        theirRuns.push_back(RunMeasured(theirs));
        ourRuns.push_back(RunMeasured(ours));
    }
    DeleteBenchTree();
    RunResult their = MedianRun(theirRuns), our = MedianRun(ourRuns);
    printf("%s: %llu bytes; this build: %llu bytes\n", other, FileSizeOf(otherOut),
           FileSizeOf(ownOut));
    PrintHeading();
    PrintRun("other build's dump", their, FileSizeOf(otherOut));
    PrintRun("this build's dump", our, FileSizeOf(ownOut));
    printf("ratio this/other: medians %.2f, per repeat %.2f, fastest %.2f\n",
           Ratio(our.seconds, their.seconds), MedianRatio(ourRuns, theirRuns),
           Ratio(Fastest(ourRuns), Fastest(theirRuns)));
    PrintSeconds("other build's runs, s", theirRuns);
    PrintSeconds("this build's runs, s", ourRuns);
    BOOL ran = their.started && their.exitCode == 0 && our.started && our.exitCode == 0;
    return ran ? 0 : 1;
}

int main(int argc, char **argv)
{
    /* Console output in order with the children's. */
    setvbuf(stdout, NULL, _IONBF, 0);
    const char *mode = argc > 1 ? argv[1] : "run";
    if (!strcmp(mode, "dump-reg") && argc == 3)
        return DumpRegistryChild(argv[2]);
    if (!strcmp(mode, "walk-reg") && argc == 3)
        return WalkRegistryChild(argv[2]);
    if (!strcmp(mode, "dump-text") && argc == 4)
        return DumpTextChild(argv[2], argv[3]);
    if (!strcmp(mode, "idle"))
        return 0;
    if (!strcmp(mode, "smoke"))
        return RunSmoke();
    if (!strcmp(mode, "pair") && (argc == 5 || argc == 6))
        return RunPair(argv[2], argv[3], argv[4], argc == 6 ? strtoul(argv[5], NULL, 10) : 2);
    if (!strcmp(mode, "run")) {
        unsigned groups = argc > 2 ? strtoul(argv[2], NULL, 10) : 2;
        int repeats = argc > 3 ? atoi(argv[3]) : 5;
        if (groups > 0 && repeats > 0)
            return RunBenchmark(groups, repeats);
    }
    fprintf(stderr, "usage: qelbench [run [groups [repeats]]] | smoke | "
                    "pair OTHER OUT1 OUT2 [groups] | dump-reg OUT | walk-reg OUT | "
                    "dump-text FILE OUT | idle\n");
    return 2;
}
