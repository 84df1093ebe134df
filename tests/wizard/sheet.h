/*
 * A modeless wizard in the test's own process: the real page templates of
 * the resource module, served by the wizard's own page procedure, so that
 * the field store and the report read real page windows. A page exists
 * once it has been shown; Page(i) shows page i.
 */
#ifndef QEL_TEST_SHEET_H
#define QEL_TEST_SHEET_H

#include <windows.h>

#include <string>

#define SHEET_PAGE_COUNT 10

class TestWizard {
public:
    TestWizard();
    ~TestWizard();
    TestWizard(const TestWizard &) = delete;
    TestWizard &operator=(const TestWizard &) = delete;

    HWND Sheet() const { return m_sheet; }
    HWND Page(int index);                /* shows the page, creating it once */
    void ShowAllPages();
    void SetField(int fieldId, const std::string &text);   /* on a shown page */
    std::string Field(int fieldId) const;

private:
    HWND m_sheet;
};

/* The wizard's resource module, loaded once into g_resourceModule. */
HINSTANCE WizardResources();
std::string LoadModuleString(HINSTANCE module, int id);
/* Label of a field as the resource module names it. */
std::string FieldLabel(int fieldId);
void PumpMessages();

#endif
