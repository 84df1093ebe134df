/*
 * Runs one child process and measures it: wall time from CreateProcess to
 * its end, and its peak working set and peak private bytes as the process
 * handle reports them. Our own dump and "reg export" are both measured
 * this way, each as a process of its own.
 */
#include "bench.h"

#include <psapi.h>
#include <vector>

static double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

/* The peaks only grow; the largest sample is the process's peak. */
static void SamplePeaks(HANDLE process, RunResult *result)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, &counters, sizeof(counters)))
        return;
    if (counters.PeakWorkingSetSize > result->peakWorkingSet)
        result->peakWorkingSet = counters.PeakWorkingSetSize;
    if (counters.PeakPagefileUsage > result->peakPagefile)
        result->peakPagefile = counters.PeakPagefileUsage;
}

RunResult RunMeasured(const std::string &commandLine)
{
    RunResult result = {};
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    double start = Now();
    if (!CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process))
        return result;
    result.started = TRUE;
    CloseHandle(process.hThread);

    /* Sampled while it runs as well: once a process has ended, the counters
     * of some platforms no longer reach its memory. Often at first, so that
     * a run of a few milliseconds is caught too, then every 20 ms. */
    DWORD period = 1;
    do {
        SamplePeaks(process.hProcess, &result);
        period = period < 10 ? period * 2 : 20;
    } while (WaitForSingleObject(process.hProcess, period) == WAIT_TIMEOUT);
    result.seconds = Now() - start;
    SamplePeaks(process.hProcess, &result);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hProcess);
    return result;
}

std::string OwnProgramPath()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof(path));
    return std::string(path, length);
}
