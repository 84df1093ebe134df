/*
 * The wizard's command line. Without arguments the wizard runs; with
 * "/report FILE" the whole report is written to FILE from the answers
 * remembered at the wizard's last Finish, without showing a page; "/?"
 * tells how. Switches may begin with "/" or "-", in any case; FILE is
 * one argument, in double quotes when it holds spaces.
 *
 * Messages go to the standard handles that the caller redirected. A
 * program of the windows subsystem started from a console has none: the
 * usage, asked for or needed by a person typing, then shows in a message
 * box, while a report that cannot be written is told by the exit code
 * alone, so that an unattended run never waits for a click.
 */
#include "wizard.h"
#include "fields.h"
#include "report.h"
#include "common.h"

#define EXIT_DONE          0
#define EXIT_CANNOT_WRITE  1
#define EXIT_BAD_COMMAND   2
#define EXIT_NO_RESOURCES  3

#define USAGE_SIZE   1024
#define TITLE_SIZE   40
#define MESSAGE_SIZE 255

/* Copies the next argument to argument, without its quotes, and returns
 * the rest of the line; NULL when no argument is left. argument holds at
 * least as many bytes as the line. */
static const char *NextArgument(const char *line, char *argument)
{
    while (*line == ' ' || *line == '\t')
        line++;
    if (!*line)
        return NULL;
    BOOL quoted = FALSE;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); line++) {
        if (*line == '"')
            quoted = !quoted;
        else
            *argument++ = *line;
    }
    *argument = '\0';
    return line;
}

static BOOL IsSwitch(const char *argument, const char *name)
{
    return (argument[0] == '/' || argument[0] == '-') && lstrcmpiA(argument + 1, name) == 0;
}

/* FALSE when the process has no handle there or the write fails. */
static BOOL WriteStandardHandle(DWORD which, const char *text)
{
    HANDLE handle = GetStdHandle(which);
    DWORD written;
    return handle && handle != INVALID_HANDLE_VALUE
        && WriteFile(handle, text, lstrlenA(text), &written, NULL);
}

static int ShowUsage(HINSTANCE instance, DWORD which, UINT icon, int exitCode)
{
    char usage[USAGE_SIZE] = "";
    LoadStringA(instance, IDS_USAGE, usage, sizeof(usage));
    if (!WriteStandardHandle(which, usage)) {
        char title[TITLE_SIZE] = "";
        LoadStringA(instance, IDS_WINDOW_TITLE, title, sizeof(title));
        MessageBoxA(NULL, usage, title, MB_OK | icon);
    }
    return exitCode;
}

/* One line: the file name, then the wizard's own message for a file that
 * cannot be created, which names a full disk as well; the same line tells
 * of a report cut short by a failed write. */
static int ReportCannotWrite(const char *fileName)
{
    char message[MESSAGE_SIZE] = "";
    LoadStringA(g_resourceModule, IDS_CANNOT_CREATE, message, sizeof(message));
    int size = lstrlenA(fileName) + sizeof(message) + 5;
    char *line = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, size));
    if (line) {
        lstrcpyA(line, fileName);
        lstrcatA(line, ": ");
        lstrcatA(line, message);
        lstrcatA(line, "\r\n");
        WriteStandardHandle(STD_ERROR_HANDLE, line);
        HeapFree(GetProcessHeap(), 0, line);
    }
    return EXIT_CANNOT_WRITE;
}

static int WriteReportFromAnswers(HINSTANCE instance, const char *fileName)
{
    g_resourceModule = LoadResourceModule("QELPR");
    if (!g_resourceModule) {
        char line[MESSAGE_SIZE] = "";
        LoadStringA(instance, IDS_NO_RESOURCES, line, sizeof(line));
        WriteStandardHandle(STD_ERROR_HANDLE, line);
        return EXIT_NO_RESOURCES;
    }
    if (WriteReport(fileName, RememberedReportAnswers()) != REPORT_WRITTEN)
        return ReportCannotWrite(fileName);
    return EXIT_DONE;
}

static int RunArguments(HINSTANCE instance, const char *commandLine, char *first, char *second)
{
    const char *rest = NextArgument(commandLine, first);
    if (rest && IsSwitch(first, "?") && !NextArgument(rest, second))
        return ShowUsage(instance, STD_OUTPUT_HANDLE, MB_ICONINFORMATION, EXIT_DONE);
    if (rest && IsSwitch(first, "report")) {
        rest = NextArgument(rest, second);
        if (rest && second[0] && !NextArgument(rest, first))
            return WriteReportFromAnswers(instance, second);
    }
    return ShowUsage(instance, STD_ERROR_HANDLE, MB_ICONEXCLAMATION, EXIT_BAD_COMMAND);
}

int RunCommandLine(const char *commandLine)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    int size = lstrlenA(commandLine) + 1;
    char *first = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, size));
    char *second = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, size));
    int exitCode = EXIT_BAD_COMMAND;
    if (first && second)
        exitCode = RunArguments(instance, commandLine, first, second);
    if (first)
        HeapFree(GetProcessHeap(), 0, first);
    if (second)
        HeapFree(GetProcessHeap(), 0, second);
    return exitCode;
}
