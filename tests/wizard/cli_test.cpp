/*
 * QELPR.EXE on the command line under Wine: "/report FILE" after a real
 * wizard run that remembered its answers, "/?", and the command lines
 * and files that it refuses. The program runs from a folder of its own,
 * with its standard output and error read back through pipes.
 */
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "automation.h"
#include "fields.h"
#include "reportcheck.h"
#include "sandbox.h"
#include "sheet.h"

static const char wizardKey[] = "System\\CurrentControlSet\\Services\\Class\\Display\\QELPR";
static const char testRoot[] = "C:\\qelpr-cli\\";
#define IDS_USAGE 58

/* What a user types, the area of the problem too, which the wizard
 * remembers and /report must show. */
static std::map<int, std::string> TypedAnswers()
{
    std::map<int, std::string> answers = SampleAnswers();
    answers[1118] = "Desktop, all programs";
    return answers;
}
static const std::map<int, std::string> answers = TypedAnswers();

/* A copy of the program, its hardware library and, unless told not to,
 * its resource modules, in a folder of its own; the recording viewer
 * stands in for notepad. */
static std::string ProgramCopy(const std::string &name, bool withResources = true)
{
    std::string folder = std::string(testRoot) + name + "\\";
    CreateDirectoryA(testRoot, NULL);
    CreateDirectoryA(folder.c_str(), NULL);
    std::vector<std::string> files = { "QELPR.EXE", "QELHWA.dll" };
    if (withResources)
        files.insert(files.end(), { "QELPRENU.RSC", "QELPRDEU.RSC", "QELPRDEF.RSC" });
    for (const std::string &file : files)
        CopyFileA((ProgramFolder() + file).c_str(), (folder + file).c_str(), FALSE);
    CopyFileA((ProgramFolder() + "qelviewrec.exe").c_str(), (folder + "notepad.exe").c_str(),
              FALSE);
    return folder;
}

struct CommandResult {
    long exitCode = -1;
    std::string out, err;
    HWND shown = NULL;   /* a window it showed before it ended */
};

static std::string ReadPipe(HANDLE pipe)
{
    std::string text;
    char buffer[4096];
    DWORD got;
    while (ReadFile(pipe, buffer, sizeof(buffer), &got, NULL) && got)
        text.append(buffer, got);
    return text;
}

/* Runs QELPR.EXE of the folder with the arguments, in that folder. */
static CommandResult RunQelpr(const std::string &folder, const std::string &arguments)
{
    CommandResult result;
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), NULL, TRUE };
    HANDLE outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        ADD_FAILURE() << "no pipes";
        return result;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    std::string line = "\"" + folder + "QELPR.EXE\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, folder.c_str(),
                                  &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
        result.shown = WindowShownBeforeExit(process);
        result.exitCode = WaitForExit(process);
        result.out = ReadPipe(outRead);
        result.err = ReadPipe(errRead);
        CloseProgram(process);
    } else {
        ADD_FAILURE() << "cannot start " << line;
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
}

static std::string Usage()
{
    HMODULE program = LoadLibraryExA((ProgramFolder() + "QELPR.EXE").c_str(), NULL,
                                     LOAD_LIBRARY_AS_DATAFILE);
    std::string usage = LoadModuleString(program, IDS_USAGE);
    FreeLibrary(program);
    return usage;
}

/* A user's run of the wizard through all its pages to Finish. */
static void RunWizard(const std::string &folder, const std::string &reportPath)
{
    PROCESS_INFORMATION process = StartProgram(folder + "QELPR.EXE", folder);
    HWND sheet = WaitForWizard(process.dwProcessId);
    ASSERT_TRUE(sheet != NULL);
    for (int page = 0; page < 9; page++) {
        ASSERT_TRUE(WaitForPage(sheet, page)) << page;
        for (const auto &answer : answers) {
            if (GetDlgItem(CurrentPage(sheet), answer.first)) {
                EXPECT_TRUE(SetFieldText(sheet, answer.first, answer.second)) << answer.first;
            }
        }
        if (page == 8) {
            ASSERT_TRUE(SetFieldText(sheet, FIELD_REPORTFILE, reportPath));
        }
        ASSERT_TRUE(PressButton(sheet, WIZARD_NEXT)) << page;
    }
    ASSERT_TRUE(WaitForPage(sheet, 9));
    ASSERT_TRUE(PressButton(sheet, WIZARD_FINISH));
    EXPECT_EQ(WaitForExit(process), 0);
    CloseProgram(process);
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, wizardKey); }
};

/* The report of /report is the wizard's, line for line, but for its date
 * line, its file name and the problem description, which belongs to one
 * report and is never remembered. */
TEST_F(CommandLine, ReportFromTheRememberedAnswersIsTheWizardsReport)
{
    const std::string folder = ProgramCopy("same");
    const std::string wizardPath = folder + "wizard report.txt";
    const std::string cliPath = folder + "without wizard.txt";
    DeleteFileA(cliPath.c_str());
    RunWizard(folder, wizardPath);
    const std::string wizardReport = ReadFileBytes(wizardPath);
    ASSERT_TRUE(SplitReport(wizardReport).complete) << wizardReport;

    CommandResult run = RunQelpr(folder, "/report \"" + cliPath + "\"");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.shown == NULL) << "it showed \"" << WindowText(run.shown) << "\"";
    const std::string report = ReadFileBytes(cliPath);

    const std::string description = PaddedLabel(FieldLabel(1111)) + "\r\n";
    std::string expected = wizardReport;
    size_t text = expected.find(description, expected.find(problemBanner));
    ASSERT_NE(text, std::string::npos);
    text += description.size();
    expected.replace(text, expected.find(filesBanner, text) - text, "\r\n");

    /* With a line break added, whatever follows the last one is a line too. */
    std::vector<std::string> want = Lines(expected + "\r\n"), got = Lines(report + "\r\n");
    const size_t dateLine = 4, nameLine = 5;
    ASSERT_GT(got.size(), nameLine) << report;
    EXPECT_EQ(got[dateLine].rfind(DateText() + " -- ", 0), 0u) << got[dateLine];
    EXPECT_EQ(want[nameLine], wizardPath);
    EXPECT_EQ(got[nameLine], cliPath);
    want[dateLine] = got[dateLine];
    want[nameLine] = got[nameLine];
    int differences = 0;
    for (size_t i = 0; i < want.size() || i < got.size(); i++) {
        std::string wanted = i < want.size() ? want[i] : "(none)";
        std::string line = i < got.size() ? got[i] : "(none)";
        if (wanted != line && ++differences <= 5)
            ADD_FAILURE() << "line " << i << ": wizard \"" << wanted << "\", /report \"" << line
                          << "\"";
    }
    EXPECT_EQ(differences, 0);
    EXPECT_NE(report.find(FieldLine(1100, "Jane 100% Doe")), std::string::npos);
}

TEST_F(CommandLine, UsageAndRefusedCommandLines)
{
    const std::string folder = ProgramCopy("usage");
    const std::string usage = Usage();
    ASSERT_EQ(usage.rfind("Usage: QELPR", 0), 0u) << usage;
    enum Where { Nowhere, Out, Err };
    struct Case {
        const char *arguments;
        long exitCode;
        Where usage;
        const char *writes;   /* the report file it writes in its folder */
    } cases[] = {
        { "/?", 0, Out, NULL },
        { "-?", 0, Out, NULL },
        { "-REPORT unquoted.txt", 0, Nowhere, "unquoted.txt" },
        { "  /Report   \"with  spaces.txt\"  ", 0, Nowhere, "with  spaces.txt" },
        { "/report", 2, Err, NULL },
        { "/report \"\"", 2, Err, NULL },
        { "/report two words.txt", 2, Err, NULL },
        { "/reprt x.txt", 2, Err, NULL },
        { "report x.txt", 2, Err, NULL },
        { "/? /report x.txt", 2, Err, NULL },
        { "x.txt", 2, Err, NULL },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        if (c.writes)
            DeleteFileA((folder + c.writes).c_str());
        CommandResult run = RunQelpr(folder, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out, c.usage == Out ? usage : "");
        EXPECT_EQ(run.err, c.usage == Err ? usage : "");
        EXPECT_TRUE(run.shown == NULL) << "it showed \"" << WindowText(run.shown) << "\"";
        if (c.writes) {
            EXPECT_EQ(ReadFileBytes(folder + c.writes).rfind(generalBanner, 0), 0u);
        }
    }
}

/* Wine's drive Z: is the root of the host, whose /dev/full takes every
 * open and fails every write as a full disk would. */
static const char fullDisk[] = "Z:\\dev\\full";

/* Created as a report file is, so that the failure of /report below is
 * the writes' and not the creation's. */
TEST(FullDisk, IsCreatedButFailsEveryWrite)
{
    OFSTRUCT opened = {};
    opened.cBytes = sizeof(opened);
    HFILE file = OpenFile(fullDisk, &opened, OF_CREATE | OF_WRITE);
    ASSERT_NE(file, HFILE_ERROR) << GetLastError();
    DWORD written;
    EXPECT_FALSE(WriteFile(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file)), "x", 1,
                           &written, NULL));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    _lclose(file);
}

/* Failures end with their exit code and exactly one line on standard
 * error, show nothing, and leave the file as it was: not created, or, on
 * the full disk, created but cut short. */
TEST_F(CommandLine, FailuresEndWithOneLineAndTheirCode)
{
    const std::string cannotCreate = LoadModuleString(WizardResources(), 22);
    const std::string withModule = ProgramCopy("failures");
    const std::string unreachable = withModule + "no such folder\\report.txt";
    const std::string withoutModule = ProgramCopy("nomodule", false);
    struct Case {
        std::string folder, file;
        long exitCode;
        std::string line;
    } cases[] = {
        { withModule, unreachable, 1, unreachable + ": " + cannotCreate + "\r\n" },
        { withModule, fullDisk, 1, fullDisk + (": " + cannotCreate) + "\r\n" },
        { withoutModule, withoutModule + "report.txt", 3,
          "QELPR: no resource module (QELPR*.RSC) beside the program.\r\n" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const DWORD before = GetFileAttributesA(c.file.c_str());
        CommandResult run = RunQelpr(c.folder, "/report \"" + c.file + "\"");
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.line);
        EXPECT_TRUE(run.shown == NULL) << "it showed \"" << WindowText(run.shown) << "\"";
        EXPECT_EQ(GetFileAttributesA(c.file.c_str()), before);
    }
}

/* Started without standard handles, as a windows program is from the Run
 * box or from a console without redirection, it shows the usage that a
 * person asked for, or needs, in a message box; a report that cannot be
 * written is told by the exit code alone, so that no unattended run waits
 * for a click. */
TEST_F(CommandLine, WithoutStandardHandlesOnlyTheUsageShowsInABox)
{
    const std::string folder = ProgramCopy("nohandles");
    const std::string usage = Usage();
    struct Case {
        std::string arguments;
        bool box;
        long exitCode;
    } cases[] = {
        { "/?", true, 0 },
        { "/report", true, 2 },
        { "/report \"" + folder + "no such folder\\report.txt\"", false, 1 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        std::string line = "\"" + folder + "QELPR.EXE\" " + c.arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;   /* and every handle null */
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(),
                                   &startup, &process));
        HWND box = WindowShownBeforeExit(process);
        EXPECT_EQ(box != NULL, c.box);
        if (box) {
            EXPECT_EQ(MessageBoxText(box), usage);
            EXPECT_TRUE(AnswerMessageBox(box, IDOK));
        }
        EXPECT_EQ(WaitForExit(process), c.exitCode);
        CloseProgram(process);
    }
}
