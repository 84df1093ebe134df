/*
 * The report composition on real wizard pages against hostile answers:
 * format directives in every field text and every label, texts past the
 * report's buffers, and report file names at and past the 127 characters
 * that OpenFile can take, through the name check and the composition.
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
#include "hostile.h"
#include "report.h"
#include "reportcheck.h"
#include "sandbox.h"
#include "sheet.h"
#include "wizard.h"

static const int listedFields[] = { 1102, 1100, 1101, 1103, 1104, 1105, 1108, 1106, 1107,
                                    1109, 1110, 1112, 1113, 1114, 1116, 1117, 1119, 1121,
                                    1122, 1123 };

/* Answers every message box of this process with one button, keeping
 * caption and text of each. */
class BoxRecorder {
public:
    explicit BoxRecorder(int button) : m_button(button), m_stop(false)
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                HWND box = WaitForMessageBox(GetCurrentProcessId(), 100);
                if (!box)
                    continue;
                m_boxes.push_back(WindowText(box) + "|" + MessageBoxText(box));
                AnswerMessageBox(box, m_button);
            }
        });
    }
    ~BoxRecorder() { Stop(); }
    std::vector<std::string> Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_boxes;
    }

private:
    int m_button;
    std::atomic<bool> m_stop;
    std::vector<std::string> m_boxes;
    std::thread m_thread;
};

class HostileCompose : public ::testing::Test {
protected:
    RegistrySandbox registry;
    TempFile report{"%s%n%x%%.txt"};
};

TEST_F(HostileCompose, FormatDirectivesInEveryTextAndLabel)
{
    TestWizard wizard;
    wizard.ShowAllPages();
    for (int fieldId : listedFields)
        wizard.SetField(fieldId, formatDirectives + std::to_string(fieldId));
    const std::string cutText = std::string(250, 't') + "%s%n%x%%";   /* 258 */
    wizard.SetField(1105, cutText);
    const std::string problem = Repeat(formatDirectives + "\r\n", 400);   /* 10 KB */
    wizard.SetField(1111, problem);
    wizard.SetField(1115, formatDirectives);
    wizard.SetField(1118, formatDirectives + "%s");
    wizard.SetField(FIELD_REPORTFILE, report.Path());
    ASSERT_EQ(wizard.Field(1111), problem) << "the problem field holds the whole text";

    /* The labels and messages of this program's own string table. */
    HINSTANCE realStrings = g_resourceModule;
    g_resourceModule = GetModuleHandleA(NULL);
    int written = ComposeReport(wizard.Page(REPORT_FILE_PAGE));
    g_resourceModule = realStrings;
    ASSERT_EQ(written, 1);

    std::string text = report.Bytes();
    ReportSections sections = SplitReport(text);
    ASSERT_TRUE(sections.complete) << text.substr(0, 2000);
    EXPECT_EQ(sections.general.find(Wrapped(report.Path(), 0)),
              sections.general.size() - Wrapped(report.Path(), 0).size());

    auto label = [](int fieldId) {
        return LoadModuleString(GetModuleHandleA(NULL), fieldId + LABEL_STRING_OFFSET)
            .substr(0, 63);
    };
    auto line = [&](int fieldId, const std::string &value) {
        return Wrapped(PaddedLabel(label(fieldId)) + "  " + value + "\r\n", 0);
    };
    for (int fieldId : listedFields) {
        std::string value = fieldId == 1105 ? cutText.substr(0, 254)
                                            : formatDirectives + std::to_string(fieldId);
        EXPECT_NE(text.find(line(fieldId, value)), std::string::npos) << fieldId;
    }
    EXPECT_NE(sections.problem.find(PaddedLabel(label(1115)) + formatDirectives + "\r\n"),
              std::string::npos);
    EXPECT_NE(sections.problem.find(PaddedLabel(label(1118)) + formatDirectives + "%s\r\n"),
              std::string::npos);
    EXPECT_NE(sections.problem.find(PaddedLabel(label(1111)) + "\r\n" + Wrapped(problem, 0) +
                                    "\r\n"),
              std::string::npos);
}

/* OpenFile takes full paths of up to 127 characters; longer names are
 * checked and created without it, so on either side of that limit an
 * existing report is asked about by its full path and then written. A name
 * past the field's 259 characters is cut there, and that name is used. */
TEST_F(HostileCompose, ReportFileNamesAtTheOpenFileLimit)
{
    WizardResources();
    const std::string folder = report.Folder();
    for (size_t length : { 127u, 128u, 259u, 300u }) {
        const std::string name = folder + std::string(length - folder.size() - 4, 'r') + ".txt";
        const std::string kept = name.substr(0, 259);   /* what the field gives back */
        WriteFileBytes(kept, "earlier report");

        TestWizard wizard;
        wizard.ShowAllPages();
        wizard.SetField(FIELD_REPORTFILE, name);
        HWND page = wizard.Page(REPORT_FILE_PAGE);

        BoxRecorder no(IDNO);
        EXPECT_EQ(ValidateReportFileName(page), 0) << "the question answered No, " << length;
        std::vector<std::string> questions = no.Stop();
        ASSERT_EQ(questions.size(), 1u) << length;
        EXPECT_NE(questions[0].find(kept), std::string::npos) << questions[0];

        BoxRecorder ok(IDOK);
        EXPECT_EQ(ComposeReport(page), 1) << length;
        EXPECT_TRUE(ok.Stop().empty()) << length;
        EXPECT_NE(ReadFileBytes(kept).find(generalBanner), std::string::npos) << length;
        DeleteFileA(kept.c_str());
    }
}
