/*
 * End-to-end tests: the real QELPR.EXE under Wine, run from a folder of
 * its own and driven from this process as a user would drive it. Beside
 * the copy lies a recording notepad.exe, which the wizard's "notepad"
 * finds first; it logs the command line that the wizard started it with.
 * The wizard works on the registry of this test's own Wine prefix, and
 * runs as the Windows version that QEL_WINDOWS names.
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
#include "windows_version.h"

static const char wizardKey[] = "System\\CurrentControlSet\\Services\\Class\\Display\\QELPR";
static const char versionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
static const char boardKey[] = "Enum\\Root\\*PNP0C01\\0000";
#define BROWSE_BUTTON 1400

static const char testRoot[] = "C:\\qelpr-e2e\\";
/* A pixel that only the drawn page picture has, not the teal ground it is
 * drawn on: the dark screen of the monitor in it. */
static const POINT picturePixel = { 30, 55 };
static const COLORREF pictureColour = RGB(16, 32, 64);

typedef std::map<int, std::string> Answers;

static const Answers &sampleAnswers = SampleAnswers();

static void SetMachineString(const char *path, const char *name, const std::string &text)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                              NULL), 0) << path;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   text.size() + 1);
    RegCloseKey(key);
}

static void ForgetAnswers()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, wizardKey);
}

/* All values of the wizard key, by name. */
static std::map<std::string, std::string> RememberedAnswers()
{
    std::map<std::string, std::string> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, wizardKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; index++) {
        char name[256], data[1024];
        DWORD nameSize = sizeof(name), dataSize = sizeof(data), type;
        if (RegEnumValueA(key, index, name, &nameSize, NULL, &type,
                          reinterpret_cast<BYTE *>(data), &dataSize) != ERROR_SUCCESS)
            break;
        values[name] = std::string(data, dataSize ? dataSize - 1 : 0);
    }
    RegCloseKey(key);
    return values;
}

/* One run of the wizard from a folder of its own under C:\qelpr-e2e. */
class WizardRun {
public:
    explicit WizardRun(const std::string &name, bool withResources = true)
        : m_folder(std::string(testRoot) + name + "\\"), m_process(), m_sheet(NULL)
    {
        CreateDirectoryA(testRoot, NULL);
        CreateDirectoryA(m_folder.c_str(), NULL);
        DeleteFileA((m_folder + "viewer.log").c_str());
        std::vector<std::string> files = { "QELPR.EXE", "QELHWA.dll" };
        if (withResources)
            files.insert(files.end(), { "QELPRENU.RSC", "QELPRDEU.RSC", "QELPRDEF.RSC" });
        for (const std::string &file : files)
            CopyFileA((ProgramFolder() + file).c_str(), (m_folder + file).c_str(), FALSE);
        CopyFileA((ProgramFolder() + "qelviewrec.exe").c_str(),
                  (m_folder + "notepad.exe").c_str(), FALSE);
    }
    ~WizardRun() { CloseProgram(m_process); }

    const std::string &Folder() const { return m_folder; }
    HWND Sheet() const { return m_sheet; }
    DWORD ProcessId() const { return m_process.dwProcessId; }
    std::string ViewerLog() const { return ReadFileBytes(m_folder + "viewer.log"); }

    bool Start()
    {
        m_process = StartProgram(m_folder + "QELPR.EXE", m_folder);
        return m_process.hProcess && (m_sheet = WaitForWizard(m_process.dwProcessId)) != NULL;
    }
    long End() { return WaitForExit(m_process); }

    /* Presses Next (or Back) and waits for the page the user expects,
     * with its picture. */
    bool Step(int button, int expectedPage)
    {
        return PressButton(m_sheet, button) && WaitForPage(m_sheet, expectedPage)
            && WaitForPicture(m_sheet, picturePixel, pictureColour, 5000);
    }
    /* Types the answers whose fields are on the page that is showing. */
    void Type(const Answers &answers)
    {
        for (const auto &answer : answers) {
            if (GetDlgItem(CurrentPage(m_sheet), answer.first)) {
                EXPECT_TRUE(SetFieldText(m_sheet, answer.first, answer.second)) << answer.first;
            }
        }
    }
    /* Goes on page by page to the report file page, typing the answers. */
    void AnswerUpToReportPage(const Answers &answers)
    {
        for (int page = CurrentPageIndex(m_sheet); page < 8; page++) {
            Type(answers);
            ASSERT_TRUE(Step(WIZARD_NEXT, page + 1)) << "from page " << page;
        }
    }
    /* The next message box: "caption|text"; empty when none shows. */
    std::string AnswerBox(int button)
    {
        HWND box = WaitForMessageBox(m_process.dwProcessId);
        if (!box)
            return std::string();
        std::string seen = WindowText(box) + "|" + MessageBoxText(box);
        EXPECT_TRUE(AnswerMessageBox(box, button));
        return seen;
    }
    /* The page is still showing after the wizard had time to move on. */
    bool StaysOnPage(int page)
    {
        Sleep(500);
        return CurrentPageIndex(m_sheet) == page && !WaitForMessageBox(ProcessId(), 0);
    }

private:
    std::string m_folder;
    PROCESS_INFORMATION m_process;
    HWND m_sheet;
};

static std::string ResourceString(int id)
{
    return LoadModuleString(WizardResources(), id);
}

static long FileSize(const std::string &path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return -1;
    FindClose(find);
    return static_cast<long>(data.nFileSizeLow);
}

/* "Name = number" lines of the adapter hardware report, in record order,
 * each item at most once, with a signed decimal value. */
static void ExpectHardwareLines(const std::string &hardware)
{
    static const char *names[] = {
        "PowerUpMode", "AT Compatibility", "ROM Address", "VGA ROM Config", "Mouse Config",
        "Coprocessor Bus IO", "VGA Bus IO", "Memory Aperture", "VGA Zero WS ROM",
        "VGA Zero WS RAM", "VGA Mem Size", "", "Memory Size", "VGA Boundary", "VGA Type",
        "DAC Type", "Memory Type", "Bus Type", "Asic Revision", "ROM Version", "Board Type",
        "Aperture Type", "IO Base Address", "Deep Color Support", "Foundary ID",
        "External Device",
    };
    if (hardware.empty())
        return;   /* the library may find no adapter */
    std::vector<std::string> lines = Lines(hardware);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "") << "the hardware lines begin with an empty line";
    size_t next = 0;
    for (size_t i = 1; i < lines.size(); i++) {
        const std::string &line = lines[i];
        while (next < sizeof(names) / sizeof(names[0])
               && line.rfind(PaddedLabel(names[next]) + " = ", 0) != 0
               && !(line.empty() && !*names[next]))
            next++;
        ASSERT_LT(next, sizeof(names) / sizeof(names[0])) << "out of order: " << line;
        if (*names[next]) {
            std::string value = line.substr(28);
            EXPECT_NE(value.find_first_of("-0123456789"), std::string::npos) << line;
        }
        next++;
    }
}

class WizardEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ForgetAnswers();
        SetMachineString(versionKey, "RegisteredOwner", "Registered Owner");
        SetMachineString(versionKey, "RegisteredOrganization", "Registered Org");
        SetMachineString(boardKey, "DeviceDesc", "System board");
        WriteFileBytes("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nSET QEL=1\r\n");
        WriteFileBytes("C:\\CONFIG.SYS", "FILES=40");
    }
};

TEST_F(WizardEndToEnd, FullRunWritesTheReportRemembersTheAnswersAndOpensIt)
{
    const WindowsVersion *windows = TestedWindowsVersion();
    ASSERT_TRUE(windows) << "QEL_WINDOWS names no Windows version the test knows";
    WizardRun run("full");
    ASSERT_TRUE(run.Start());
    HWND sheet = run.Sheet();
    ASSERT_TRUE(WaitForPage(sheet, 0));
    EXPECT_TRUE(WaitForPicture(sheet, picturePixel, pictureColour, 5000));
    Sleep(300);
    EXPECT_FALSE(IsButtonOffered(sheet, WIZARD_BACK)) << "the first page has no Back";
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 1));
    EXPECT_EQ(FieldText(sheet, 1100), "Registered Owner");
    EXPECT_EQ(FieldText(sheet, 1103), "Registered Org");

    /* Next, Back, Next keeps the page and its index in step. */
    run.Type(sampleAnswers);
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 2));
    ASSERT_TRUE(run.Step(WIZARD_BACK, 1));
    EXPECT_EQ(FieldText(sheet, 1100), "Jane 100% Doe");
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 2));
    run.AnswerUpToReportPage(sampleAnswers);

    EXPECT_EQ(FieldText(sheet, FIELD_REPORTFILE), ResourceString(57)) << "the default name";
    const std::string reportPath = run.Folder() + "my report.txt";
    DeleteFileA(reportPath.c_str());
    ASSERT_TRUE(SetFieldText(sheet, FIELD_REPORTFILE, reportPath));
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 9));
    Sleep(300);
    EXPECT_TRUE(IsButtonOffered(sheet, WIZARD_FINISH));
    EXPECT_FALSE(IsButtonOffered(sheet, WIZARD_BACK)) << "no way back once the report is written";
    EXPECT_FALSE(IsButtonOffered(sheet, WIZARD_CANCEL));

    /* The report is complete before the last page shows. */
    const std::string report = ReadFileBytes(reportPath);
    ReportSections s = SplitReport(report);
    ASSERT_TRUE(s.complete) << report;
    EXPECT_EQ(s.head, "");
    std::vector<std::string> general = Lines(s.general + "\r\n");
    ASSERT_EQ(general.size(), 2u) << s.general;
    EXPECT_EQ(general[0].rfind(DateText() + " -- ", 0), 0u) << general[0];
    EXPECT_GT(general[0].size(), DateText().size() + 4) << "a time follows the date";
    EXPECT_EQ(general[1], reportPath);

    std::string customer;
    for (int id : { 1102, 1100, 1101, 1103, 1104, 1105, 1108, 1106, 1107, 1109, 1110, 1112,
                    1113 })
        customer += FieldLine(id, sampleAnswers.at(id));
    EXPECT_EQ(s.customer, customer);

    std::string systemFields = FieldLine(1114, "Tower PC") + FieldLine(1116, "Pentium")
        + FieldLine(1117, "16") + FieldLine(1119, "Monitor 17");
    EXPECT_EQ(s.system, systemFields + "\r\n[Enum\\Root\\*PNP0C01\\]\r\n"
                            + "\r\n[Enum\\Root\\*PNP0C01\\0000\\]\r\nDeviceDesc = System board\r\n");

    /* The line of the version this run is made to report: a wizard that
     * was told Wine's default, Windows 7, fails here on every other one. */
    EXPECT_EQ(s.os, std::string(windows->osLine) + "\r\n");

    std::string adapterFields = FieldLine(1121, "QEL 2000") + FieldLine(1122, "2")
        + FieldLine(1123, "SN-42");
    ASSERT_EQ(s.adapter.substr(0, adapterFields.size()), adapterFields);
    ExpectHardwareLines(s.adapter.substr(adapterFields.size()));

    EXPECT_EQ(s.driver.rfind("\r\n[System\\CurrentControlSet\\Services\\Class\\Display\\", 0), 0u)
        << s.driver;
    /* The wizard's own file: its path, then its version and size. */
    std::string program = run.Folder() + "QELPR.EXE";
    size_t block = s.driver.find("\r\n" + program + "\r\n");
    ASSERT_NE(block, std::string::npos) << s.driver;
    std::string line = Lines(s.driver.substr(block + program.size() + 4))[0];
    unsigned number[4];
    long size = -1;
    EXPECT_EQ(sscanf(line.c_str(), "Version = %u.%u.%u.%u\tSize = %ld bytes", &number[0],
                     &number[1], &number[2], &number[3], &size), 5) << line;
    EXPECT_EQ(size, FileSize(program)) << line;
    EXPECT_EQ(s.monitor.rfind("\r\n[System\\CurrentControlSet\\Services\\Class\\Monitor\\", 0), 0u)
        << s.monitor;
    /* Without the 95 family's device list the sections show the adapter's
     * and the monitor's own keys instead. */
    ExpectDisplayKeys(report, windows->ntFamily);

    EXPECT_EQ(s.problem, PaddedLabel(FieldLabel(1115)) + "Screen flickers at 75 Hz\r\n"
                             + PaddedLabel(FieldLabel(1118)) + "\r\n"
                             + PaddedLabel(FieldLabel(1111)) + "\r\n" + std::string(70, 'a')
                             + "\r\naaaaa\r\nsecond 100% line\r\n");
    EXPECT_EQ(s.files.rfind("%%%%%%%%%%C:\\AUTOEXEC.BAT%%%%%%%%%%\r\n\r\n@ECHO OFF\r\nSET QEL=1"
                            "\r\n\r\n%%%%%%%%%%C:\\CONFIG.SYS%%%%%%%%%%\r\n\r\nFILES=40\r\n"
                            "%%%%%%%%%%SYSTEM.INI%%%%%%%%%%\r\n\r\n", 0), 0u) << s.files;
    EXPECT_NE(s.files.find("%%%%%%%%%%WIN.INI%%%%%%%%%%\r\n\r\n"), std::string::npos);

    /* Finish remembers the answers and opens the report, once. */
    ASSERT_TRUE(PressButton(sheet, WIZARD_FINISH));
    EXPECT_EQ(run.End(), 0);
    EXPECT_EQ(run.ViewerLog(), "notepad " + reportPath + "\r\n");

    std::map<std::string, std::string> remembered = RememberedAnswers();
    EXPECT_EQ(remembered.size(), 22u);
    for (const auto &answer : sampleAnswers) {
        if (answer.first == 1111) {
            EXPECT_EQ(remembered.count(FieldLabel(1111)), 0u);
        } else {
            EXPECT_EQ(remembered[FieldLabel(answer.first)], answer.second) << answer.first;
        }
    }
    EXPECT_EQ(remembered.count(FieldLabel(FIELD_REPORTFILE)), 0u);

    /* The next run shows the remembered answers, not the registered owner,
     * and the default report name again. */
    WizardRun again("again");
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.Step(WIZARD_NEXT, 1));
    for (int page = 1; page < 8; page++) {
        for (const auto &answer : sampleAnswers) {
            if (answer.first != 1111 && GetDlgItem(CurrentPage(again.Sheet()), answer.first)) {
                EXPECT_EQ(FieldText(again.Sheet(), answer.first), answer.second) << answer.first;
            }
        }
        ASSERT_TRUE(again.Step(WIZARD_NEXT, page + 1));
    }
    EXPECT_EQ(FieldText(again.Sheet(), FIELD_REPORTFILE), ResourceString(57));
    ASSERT_TRUE(PressButton(again.Sheet(), WIZARD_CANCEL));
    EXPECT_EQ(again.End(), 0);
}

TEST_F(WizardEndToEnd, CancelWritesNothing)
{
    WizardRun run("cancel");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 1));
    run.AnswerUpToReportPage(sampleAnswers);
    std::string reportPath = run.Folder() + "never.txt";
    DeleteFileA(reportPath.c_str());
    ASSERT_TRUE(SetFieldText(run.Sheet(), FIELD_REPORTFILE, reportPath));
    ASSERT_TRUE(PressButton(run.Sheet(), WIZARD_CANCEL));
    EXPECT_EQ(run.End(), 0);
    EXPECT_EQ(GetFileAttributesA(reportPath.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(RememberedAnswers().empty());
    EXPECT_EQ(run.ViewerLog(), "");
}

TEST_F(WizardEndToEnd, ExistingFileIsReplacedOnlyWhenTheUserSaysYes)
{
    WizardRun run("exists");
    std::string reportPath = run.Folder() + "old report.txt";
    WriteFileBytes(reportPath, "old contents");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 1));
    run.AnswerUpToReportPage(sampleAnswers);
    auto question = [](const std::string &path) {
        return ResourceString(20) + "|" + path + "\n\n" + ResourceString(23);
    };

    /* The question names the file that OpenFile found: a bare name is
     * looked for along its search path, here as far as the Windows folder. */
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof(windows));
    const std::string elsewhere = std::string(windows) + "\\qelpr found.txt";
    WriteFileBytes(elsewhere, "found elsewhere");
    struct Name {
        std::string typed, found;
    };
    const Name names[] = {
        { reportPath, reportPath },
        { "qelpr found.txt", elsewhere },
    };
    for (const Name &name : names) {
        ASSERT_TRUE(SetFieldText(run.Sheet(), FIELD_REPORTFILE, name.typed));
        ASSERT_TRUE(PressButton(run.Sheet(), WIZARD_NEXT));
        EXPECT_EQ(run.AnswerBox(IDNO), question(name.found)) << name.typed;
        EXPECT_TRUE(run.StaysOnPage(8));
    }
    DeleteFileA(elsewhere.c_str());
    EXPECT_EQ(ReadFileBytes(reportPath), "old contents");
    EXPECT_TRUE(IsButtonOffered(run.Sheet(), WIZARD_CANCEL)) << "nothing written yet";

    ASSERT_TRUE(SetFieldText(run.Sheet(), FIELD_REPORTFILE, reportPath));
    ASSERT_TRUE(PressButton(run.Sheet(), WIZARD_NEXT));
    EXPECT_EQ(run.AnswerBox(IDYES), question(reportPath));
    ASSERT_TRUE(WaitForPage(run.Sheet(), 9));
    EXPECT_EQ(ReadFileBytes(reportPath).rfind(generalBanner, 0), 0u);
    ASSERT_TRUE(PressButton(run.Sheet(), WIZARD_FINISH));
    EXPECT_EQ(run.End(), 0);
    EXPECT_EQ(run.ViewerLog(), "notepad " + reportPath + "\r\n");
}

TEST_F(WizardEndToEnd, BadFileNamesKeepTheReportPage)
{
    WizardRun run("badname");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 1));
    run.AnswerUpToReportPage(sampleAnswers);
    HWND sheet = run.Sheet();

    ASSERT_TRUE(SetFieldText(sheet, FIELD_REPORTFILE, ""));
    ASSERT_TRUE(PressButton(sheet, WIZARD_NEXT));
    EXPECT_EQ(run.AnswerBox(IDOK), ResourceString(20) + "|" + ResourceString(21));
    EXPECT_TRUE(run.StaysOnPage(8));

    std::string unreachable = run.Folder() + "no such folder\\report.txt";
    ASSERT_TRUE(SetFieldText(sheet, FIELD_REPORTFILE, unreachable));
    ASSERT_TRUE(PressButton(sheet, WIZARD_NEXT));
    EXPECT_EQ(run.AnswerBox(IDOK), ResourceString(20) + "|" + ResourceString(22));
    EXPECT_TRUE(run.StaysOnPage(8));
    EXPECT_FALSE(IsButtonOffered(sheet, WIZARD_CANCEL)) << "Cancel ends once writing began";

    std::string reportPath = run.Folder() + "report.txt";
    DeleteFileA(reportPath.c_str());
    ASSERT_TRUE(SetFieldText(sheet, FIELD_REPORTFILE, reportPath));
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 9));
    EXPECT_EQ(ReadFileBytes(reportPath).rfind(generalBanner, 0), 0u);
    ASSERT_TRUE(PressButton(sheet, WIZARD_FINISH));
    EXPECT_EQ(run.End(), 0);
    EXPECT_EQ(run.ViewerLog(), "notepad " + reportPath + "\r\n");
}

TEST_F(WizardEndToEnd, BrowseTakesTheNameChosenInTheSaveAsDialog)
{
    const int fileNameBox = 0x47C;   /* the Save As dialog's file name */
    WizardRun run("browse");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.Step(WIZARD_NEXT, 1));
    run.AnswerUpToReportPage(Answers());
    HWND sheet = run.Sheet();
    ASSERT_TRUE(SetFieldText(sheet, FIELD_REPORTFILE, "C:\\before.txt"));

    ASSERT_TRUE(PressButton(CurrentPage(sheet), BROWSE_BUTTON));
    HWND dialog = WaitForMessageBox(run.ProcessId());
    ASSERT_TRUE(dialog != NULL);
    EXPECT_EQ(WindowText(dialog), ResourceString(55));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, fileNameBox)), "") << "the dialog starts empty";
    ASSERT_TRUE(AnswerMessageBox(dialog, IDCANCEL));
    EXPECT_TRUE(run.StaysOnPage(8)) << "cancelling the dialog shows no message";
    EXPECT_EQ(FieldText(sheet, FIELD_REPORTFILE), "C:\\before.txt");

    std::string chosen = run.Folder() + "browsed.txt";
    ASSERT_TRUE(PressButton(CurrentPage(sheet), BROWSE_BUTTON));
    dialog = WaitForMessageBox(run.ProcessId());
    ASSERT_TRUE(dialog != NULL);
    SendMessageA(GetDlgItem(dialog, fileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(chosen.c_str()));
    ASSERT_TRUE(AnswerMessageBox(dialog, IDOK));
    EXPECT_EQ(FieldText(sheet, FIELD_REPORTFILE), chosen);
    ASSERT_TRUE(PressButton(sheet, WIZARD_CANCEL));
    EXPECT_EQ(run.End(), 0);
}

TEST_F(WizardEndToEnd, WithoutResourceModuleTheProgramEndsQuietly)
{
    WizardRun run("nomodule", false);
    PROCESS_INFORMATION process = StartProgram(run.Folder() + "QELPR.EXE", run.Folder());
    ASSERT_TRUE(process.hProcess != NULL);
    HWND shown = WindowShownBeforeExit(process);
    EXPECT_TRUE(shown == NULL) << "it showed \"" << WindowText(shown) << "|"
                               << MessageBoxText(shown) << "\"";
    EXPECT_EQ(WaitForExit(process, 0), 0);
    CloseProgram(process);
}
