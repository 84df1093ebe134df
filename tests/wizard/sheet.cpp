#include "sheet.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "common.h"
#include "fields.h"
#include "wizard.h"

HINSTANCE WizardResources()
{
    if (!g_resourceModule)
        g_resourceModule = LoadResourceModule("QELPR");
    return g_resourceModule;
}

std::string LoadModuleString(HINSTANCE module, int id)
{
    char text[1024] = "";
    LoadStringA(module, id, text, sizeof(text));
    return text;
}

std::string FieldLabel(int fieldId)
{
    return LoadModuleString(WizardResources(), fieldId + LABEL_STRING_OFFSET);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

/* Templates always come from the real resource module, whatever a test
 * sets g_resourceModule to for its strings, also before the first wizard;
 * the strings do unless it set one. */
TestWizard::TestWizard() : m_sheet(NULL)
{
    static HINSTANCE templates = LoadResourceModule("QELPR");
    WizardResources();
    PROPSHEETPAGEA_V1 pages[SHEET_PAGE_COUNT] = {};
    for (int i = 0; i < SHEET_PAGE_COUNT; i++) {
        pages[i].dwSize = PROPSHEETPAGEA_V1_SIZE;
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = templates;
        pages[i].pszTemplate = MAKEINTRESOURCEA(FIRST_PAGE_TEMPLATE + i);
        pages[i].pszTitle = MAKEINTRESOURCEA(IDS_PAGE_TITLE);
        pages[i].pfnDlgProc = WizardPageProc;
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_MODELESS;
    header.hInstance = templates;
    header.pszCaption = "";
    header.nPages = SHEET_PAGE_COUNT;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages);
    m_sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
    EXPECT_TRUE(m_sheet != NULL) << "no wizard from the resource module's templates";
    PumpMessages();
}

TestWizard::~TestWizard()
{
    if (m_sheet)
        DestroyWindow(m_sheet);
    PumpMessages();
}

HWND TestWizard::Page(int index)
{
    SendMessageA(m_sheet, PSM_SETCURSEL, index, 0);
    PumpMessages();
    return reinterpret_cast<HWND>(SendMessageA(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void TestWizard::ShowAllPages()
{
    for (int i = 0; i < SHEET_PAGE_COUNT; i++)
        Page(i);
}

static HWND HolderOf(HWND sheet, int fieldId)
{
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_QUERYSIBLINGS, 1, fieldId));
}

void TestWizard::SetField(int fieldId, const std::string &text)
{
    HWND holder = HolderOf(m_sheet, fieldId);
    ASSERT_TRUE(holder != NULL) << "no shown page holds field " << fieldId;
    SetDlgItemTextA(holder, fieldId, text.c_str());
}

std::string TestWizard::Field(int fieldId) const
{
    HWND holder = HolderOf(m_sheet, fieldId);
    if (!holder)
        return std::string();
    int length = GetWindowTextLengthA(GetDlgItem(holder, fieldId));
    std::string text(length + 1, '\0');
    GetDlgItemTextA(holder, fieldId, &text[0], length + 1);
    text.resize(length);
    return text;
}
