/*
 * The report composed from real wizard pages in this process, with a
 * private HKEY_LOCAL_MACHINE: the section order and banners, the date
 * line, the field sections, the retail notice, the problem section, and
 * what happens when fields, pages or the file are missing.
 */
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "automation.h"
#include "common.h"
#include "fields.h"
#include "report.h"
#include "reportcheck.h"
#include "sandbox.h"
#include "sheet.h"
#include "wizard.h"

static const char retailKey[] = "System\\CurrentControlSet\\Services\\Class\\Display\\QEL";

class ComposeTest : public ::testing::Test {
protected:
    RegistrySandbox registry;
    TempFile report{"my report.txt"};

    /* Fills every field shown with "<id> text" unless a test sets its own. */
    void FillShownFields(TestWizard &wizard)
    {
        for (int fieldId = FIRST_FIELD_ID; fieldId <= LAST_FIELD_ID; fieldId++) {
            if (fieldId != FIELD_REPORTFILE
                && SendMessageA(wizard.Sheet(), PSM_QUERYSIBLINGS, 1, fieldId))
                wizard.SetField(fieldId, std::to_string(fieldId) + " text");
        }
        if (SendMessageA(wizard.Sheet(), PSM_QUERYSIBLINGS, 1, FIELD_REPORTFILE))
            wizard.SetField(FIELD_REPORTFILE, report.Path());
    }
};

TEST_F(ComposeTest, WritesEverySectionInOrderWithTheAnswers)
{
    TestWizard wizard;
    wizard.ShowAllPages();
    FillShownFields(wizard);
    wizard.SetField(1100, "Jane %s %d 100% Doe");
    wizard.SetField(1101, std::string(60, 'j'));          /* line longer than 70 */
    wizard.SetField(1104, std::string(300, 's'));         /* cut to 254 in the list */
    wizard.SetField(1113, "");
    wizard.SetField(1115, std::string(300, 'p'));         /* problem texts are whole */
    wizard.SetField(1118, "");
    wizard.SetField(1111, std::string(75, 'a') + "\r\nsecond 100% line");
    registry.SetString("Enum\\Root\\*PNP0C01", "Class", "System");

    std::string dateBefore = DateText(), timeBefore = TimeText();
    ASSERT_EQ(ComposeReport(wizard.Page(8)), 1);
    std::string timeAfter = TimeText();
    ReportSections s = SplitReport(report.Bytes());
    ASSERT_TRUE(s.complete) << report.Bytes();

    EXPECT_EQ(s.head, "") << "no retail notice without the switch";
    std::string dateLine = s.general.substr(0, s.general.find("\r\n") + 2);
    EXPECT_TRUE(dateLine == dateBefore + " -- " + timeBefore + "\r\n"
                || dateLine == dateBefore + " -- " + timeAfter + "\r\n") << dateLine;
    EXPECT_EQ(s.general.substr(dateLine.size()), report.Path()) << "no line end of its own";

    std::string jobLine = FieldLine(1101, std::string(60, 'j'));
    std::string customer = FieldLine(1102, "1102 text") + FieldLine(1100, "Jane %s %d 100% Doe")
        + jobLine.substr(0, 70) + "\r\n" + jobLine.substr(70)
        + FieldLine(1103, "1103 text");
    std::string street = FieldLine(1104, std::string(254, 's'));
    for (size_t at = 0; at < street.size(); at += 70)
        customer += street.substr(at, 70) + (at + 70 < street.size() ? "\r\n" : "");
    for (int id : { 1105, 1108, 1106, 1107, 1109, 1110, 1112 })
        customer += FieldLine(id, std::to_string(id) + " text");
    customer += FieldLine(1113, "");
    EXPECT_EQ(s.customer, customer);

    EXPECT_EQ(s.system, FieldLine(1114, "1114 text") + FieldLine(1116, "1116 text")
                            + FieldLine(1117, "1117 text") + FieldLine(1119, "1119 text")
                            + "\r\n[Enum\\Root\\*PNP0C01\\]\r\nClass = System\r\n");

    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    int platform = version.dwPlatformId < 3 ? 50 + version.dwPlatformId : 53;
    char osLine[128];
    wsprintfA(osLine, "%s -- %ld.%ld.%d\r\n",
              LoadModuleString(GetModuleHandleA(NULL), platform).c_str(),
              version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber & 0xFFFF);
    EXPECT_EQ(s.os, osLine);

    std::string adapterFields = FieldLine(1121, "1121 text") + FieldLine(1122, "1122 text")
        + FieldLine(1123, "1123 text");
    EXPECT_EQ(s.adapter.substr(0, adapterFields.size()), adapterFields);
    EXPECT_EQ(s.driver.rfind("\r\n[System\\CurrentControlSet\\Services\\Class\\Display\\", 0), 0u)
        << s.driver;
    EXPECT_EQ(s.monitor.rfind("\r\n[System\\CurrentControlSet\\Services\\Class\\Monitor\\", 0), 0u)
        << s.monitor;

    std::string summary = PaddedLabel(FieldLabel(1115));
    for (int chunk = 0; chunk < 4; chunk++)
        summary += std::string(70, 'p') + "\r\n";
    summary += std::string(20, 'p') + "\r\n";
    std::string problem = summary + PaddedLabel(FieldLabel(1118)) + "\r\n"
        + PaddedLabel(FieldLabel(1111)) + "\r\n" + std::string(70, 'a') + "\r\n"
        + "aaaaa\r\nsecond 100% line\r\n";
    EXPECT_EQ(s.problem, problem);

    EXPECT_EQ(s.files.rfind("%%%%%%%%%%C:\\AUTOEXEC.BAT%%%%%%%%%%\r\n\r\n", 0), 0u) << s.files;
}

TEST_F(ComposeTest, RetailNoticeOnlyForExactlyOne)
{
    std::string notice;
    for (int id = 200; id <= 208; id++)
        notice += LoadModuleString(WizardResources(), id);
    ASSERT_FALSE(notice.empty());

    struct { const char *value; bool notice; } cases[] = {
        { NULL, false }, { "1", true }, { "01", false }, { "1 ", false }, { "", false },
        { "2", false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(absent)");
        RegCloseKey(registry.CreateKey(retailKey));
        HKEY key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, retailKey, 0, KEY_ALL_ACCESS, &key), 0);
        RegDeleteValueA(key, "Retail");
        RegCloseKey(key);
        if (c.value)
            registry.SetString(retailKey, "Retail", c.value);
        TestWizard wizard;
        wizard.ShowAllPages();
        FillShownFields(wizard);
        ASSERT_EQ(ComposeReport(wizard.Page(8)), 1);
        std::string bytes = report.Bytes();
        EXPECT_EQ(bytes.rfind((c.notice ? notice : "") + generalBanner, 0), 0u)
            << bytes.substr(0, 200);
    }
}

TEST_F(ComposeTest, FieldsOnPagesNeverShownAreLeftOut)
{
    TestWizard wizard;
    for (int page : { 0, 1, 4, 5, 7, 8 })   /* no address, contact or summary page */
        wizard.Page(page);
    FillShownFields(wizard);
    wizard.SetField(1111, "");
    ASSERT_EQ(ComposeReport(wizard.Page(8)), 1);
    ReportSections s = SplitReport(report.Bytes());
    ASSERT_TRUE(s.complete);

    /* The customer list ends at the first field of the address page. */
    EXPECT_EQ(s.customer, FieldLine(1102, "1102 text") + FieldLine(1100, "1100 text")
                              + FieldLine(1101, "1101 text") + FieldLine(1103, "1103 text"));
    EXPECT_EQ(s.system.find(FieldLine(1114, "1114 text")), 0u);
    EXPECT_NE(s.system.find("\r\n[Enum\\Root\\*PNP0C01\\]\r\n"), std::string::npos);
    /* Only the summary and program fields are skipped in the problem section. */
    EXPECT_EQ(s.problem, PaddedLabel(FieldLabel(1111)) + "\r\n\r\n");
}

TEST_F(ComposeTest, MissingLabelStringsGiveEmptyLabels)
{
    TestWizard wizard;
    wizard.ShowAllPages();
    FillShownFields(wizard);
    HINSTANCE realStrings = g_resourceModule;
    g_resourceModule = GetModuleHandleA(NULL);   /* has no label strings */
    int written = ComposeReport(wizard.Page(8));
    g_resourceModule = realStrings;
    ASSERT_EQ(written, 1);
    ReportSections s = SplitReport(report.Bytes());
    ASSERT_TRUE(s.complete);
    EXPECT_EQ(s.customer.substr(0, 40), std::string(27, ' ') + "1102 text\r\n" + std::string(2, ' '));
}

TEST_F(ComposeTest, WithoutTheFileNamePageNothingIsWritten)
{
    TestWizard wizard;
    for (int page = 0; page < 8; page++)
        wizard.Page(page);
    FillShownFields(wizard);
    EXPECT_EQ(ComposeReport(wizard.Page(7)), 0);
    EXPECT_EQ(GetFileAttributesA(report.Path().c_str()), INVALID_FILE_ATTRIBUTES);
}

/* Answers every message box of this process with the button given and
 * keeps its texts. */
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button = IDOK)
        : m_button(button), m_stop(false), m_thread([this] { Run(); }) {}
    ~BoxAnswerer() { Stop(); }
    std::vector<std::string> Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_texts;
    }

private:
    void Run()
    {
        while (!m_stop) {
            HWND box = WaitForMessageBox(GetCurrentProcessId(), 100);
            if (!box)
                continue;
            m_texts.push_back(WindowText(box) + "|" + MessageBoxText(box));
            AnswerMessageBox(box, m_button);
        }
    }
    int m_button;
    std::atomic<bool> m_stop;
    std::vector<std::string> m_texts;
    std::thread m_thread;
};

TEST_F(ComposeTest, FileThatCannotBeCreatedIsReportedOnce)
{
    TestWizard wizard;
    wizard.ShowAllPages();
    FillShownFields(wizard);
    std::string name = report.Folder() + "no such folder\\report.txt";
    wizard.SetField(FIELD_REPORTFILE, name);

    BoxAnswerer answerer;
    int written = ComposeReport(wizard.Page(8));
    HWND focus = GetFocus();
    std::vector<std::string> boxes = answerer.Stop();
    EXPECT_EQ(written, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], LoadModuleString(WizardResources(), 20) + "|"
                            + LoadModuleString(WizardResources(), 22));
    EXPECT_EQ(focus, GetDlgItem(wizard.Page(8), FIELD_REPORTFILE));
    EXPECT_EQ(GetFileAttributesA(name.c_str()), INVALID_FILE_ATTRIBUTES);
}

/* OpenFile takes full paths of at most 127 characters; a longer report
 * name is still asked about when it exists and written when it does not,
 * or when the user agrees to replace it. */
TEST_F(ComposeTest, ReportNamesTooLongForOpenFileBehaveLikeShortOnes)
{
    TestWizard wizard;
    wizard.ShowAllPages();
    FillShownFields(wizard);
    HWND page = wizard.Page(8);
    const std::string caption = LoadModuleString(WizardResources(), 20);
    const std::string question = LoadModuleString(WizardResources(), 23);
    const std::string oldContents(65536, 'o');

    struct { size_t length; bool exists; } cases[] = {
        { 127, false }, { 127, true }, { 128, false }, { 128, true },
    };
    for (const auto &c : cases) {
        std::string name = report.Folder() + (c.exists ? "old-" : "new-");
        ASSERT_LT(name.size(), c.length - 4);
        name += std::string(c.length - 4 - name.size(), 'n') + ".txt";
        SCOPED_TRACE(name);
        if (c.exists)
            WriteFileBytes(name, oldContents);
        wizard.SetField(FIELD_REPORTFILE, name);

        BoxAnswerer no(IDNO);
        int accepted = ValidateReportFileName(page);
        std::vector<std::string> boxes = no.Stop();
        if (c.exists) {
            EXPECT_EQ(accepted, 0);
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], caption + "|" + name + "\n\n" + question);
            EXPECT_EQ(ReadFileBytes(name), oldContents);

            BoxAnswerer yes(IDYES);
            accepted = ValidateReportFileName(page);
            EXPECT_EQ(yes.Stop().size(), 1u);
        } else {
            EXPECT_TRUE(boxes.empty());
        }
        ASSERT_EQ(accepted, 1);
        BoxAnswerer ok(IDOK);
        int written = ComposeReport(page);
        EXPECT_EQ(ok.Stop(), std::vector<std::string>()) << "no message that it cannot be created";
        ASSERT_EQ(written, 1);
        const std::string bytes = ReadFileBytes(name);
        EXPECT_EQ(bytes.rfind(generalBanner, 0), 0u);
        EXPECT_EQ(bytes.find("ooooo"), std::string::npos) << "the old file is emptied";
    }
}
