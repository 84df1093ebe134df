/*
 * What the programs rely on their resource modules to hold, checked in
 * every module that is built: the ten wizard page templates with their
 * controls, and every string by id, with the forms that its users need.
 */
#include <windows.h>
#include "resource.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const char *const kWizardModules[] = {"QELPRENU.RSC", "QELPRDEU.RSC", "QELPRDEF.RSC"};
const char *const kTrayModules[] = {"QELICENU.RSC", "QELICDEU.RSC", "QELICDEF.RSC"};

std::string LoadText(HINSTANCE module, UINT id, int size = 1024)
{
    std::vector<char> text(size);
    int n = LoadStringA(module, id, text.data(), size);
    return std::string(text.data(), n > 0 ? n : 0);
}

class Module {
public:
    explicit Module(const char *name) : m_module(LoadLibraryA(name)) {}
    ~Module() { if (m_module) FreeLibrary(m_module); }
    HINSTANCE Get() const { return m_module; }
private:
    HINSTANCE m_module;
};

struct Control {
    int id;
    std::string className;
    LONG style;
    RECT rect;   /* in the page's client coordinates */
    bool textFits;
};

/* Whether the text of a static control fits it in the page's font: on one
 * line for a label of one line's height, word-wrapped otherwise. */
bool TextFits(HWND control, const std::string &text)
{
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    bool oneLine = client.bottom < 2 * metrics.tmHeight;
    RECT need = client;
    DrawTextA(dc, text.c_str(), -1, &need,
              DT_CALCRECT | DT_NOPREFIX | (oneLine ? DT_SINGLELINE : DT_WORDBREAK));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return need.right <= client.right && need.bottom <= client.bottom;
}

INT_PTR CALLBACK QuietPageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM lParam)
{
    auto *controls = reinterpret_cast<std::vector<Control> *>(lParam);
    Control c;
    c.id = GetDlgCtrlID(child);
    char name[64] = "";
    GetClassNameA(child, name, sizeof(name));
    c.className = name;
    c.style = GetWindowLongA(child, GWL_STYLE);
    c.textFits = true;
    if (c.className == "Static") {
        /* Label controls show the label string at run time. */
        char text[1024] = "";
        int field = c.id - (LABEL_CONTROL(0));
        if (field >= FIRST_FIELD && field <= LAST_FIELD)
            LoadStringA((HINSTANCE)GetWindowLongPtrA(GetParent(child), GWLP_HINSTANCE),
                        LABEL_STRING(field), text, sizeof(text));
        else
            GetWindowTextA(child, text, sizeof(text));
        c.textFits = TextFits(child, text);
    }
    GetWindowRect(child, &c.rect);
    MapWindowPoints(NULL, GetParent(child), reinterpret_cast<POINT *>(&c.rect), 2);
    controls->push_back(c);
    return TRUE;
}

/* Creates page template 100 + index as a child of a hidden frame, as a
 * property sheet would, and lists its controls. */
std::vector<Control> PageControls(HINSTANCE module, int index, RECT *client)
{
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, NULL, NULL,
                                 NULL, NULL);
    HWND page = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_PAGE0 + index), frame,
                                   QuietPageProc, 0);
    std::vector<Control> controls;
    if (page) {
        GetClientRect(page, client);
        EnumChildWindows(page, CollectControl, reinterpret_cast<LPARAM>(&controls));
    }
    DestroyWindow(frame);
    return controls;
}

const Control *Find(const std::vector<Control> &controls, int id)
{
    for (const Control &c : controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

bool Inside(const RECT &inner, const RECT &outer)
{
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.right <= outer.right && inner.bottom <= outer.bottom;
}

bool Overlap(const RECT &a, const RECT &b)
{
    RECT both;
    return IntersectRect(&both, &a, &b) != 0;
}

} // namespace

TEST(WizardModule, PagesHoldTheirPictureAndEveryFieldOnce)
{
    for (const char *name : kWizardModules) {
        SCOPED_TRACE(name);
        Module module(name);
        ASSERT_NE(module.Get(), nullptr);

        std::map<int, int> fieldPage;
        for (int index = 0; index < PAGE_COUNT; index++) {
            SCOPED_TRACE("page " + std::to_string(index));
            RECT client = {};
            std::vector<Control> controls = PageControls(module.Get(), index, &client);
            ASSERT_FALSE(controls.empty());
            ASSERT_NE(Find(controls, IDC_PICTURE0 + index), nullptr);
            EXPECT_EQ(Find(controls, IDC_PICTURE0 + index)->className, "Static");

            for (const Control &c : controls) {
                EXPECT_TRUE(Inside(c.rect, client)) << "control " << c.id << " leaves the page";
                EXPECT_TRUE(c.textFits) << "the text of control " << c.id << " is cut";
                if (c.id < FIRST_FIELD || c.id > LAST_FIELD)
                    continue;
                EXPECT_EQ(fieldPage.count(c.id), 0u) << "field " << c.id << " twice";
                fieldPage[c.id] = index;
                EXPECT_EQ(c.className, "Edit") << c.id;
                const Control *label = Find(controls, LABEL_CONTROL(c.id));
                EXPECT_NE(label, nullptr) << "no label beside field " << c.id;
            }
            /* No two interactive or label controls share space. */
            for (size_t i = 0; i < controls.size(); i++)
                for (size_t j = i + 1; j < controls.size(); j++) {
                    const Control &a = controls[i], &b = controls[j];
                    if (a.id == IDC_PICTURE0 + index || b.id == IDC_PICTURE0 + index)
                        continue;
                    EXPECT_FALSE(Overlap(a.rect, b.rect)) << a.id << " and " << b.id;
                }
            /* Nothing but the picture stands on the picture. */
            const RECT picture = Find(controls, IDC_PICTURE0 + index)->rect;
            for (const Control &c : controls) {
                if (c.id != IDC_PICTURE0 + index) {
                    EXPECT_FALSE(Overlap(c.rect, picture)) << c.id;
                }
            }
        }

        for (int id = FIRST_FIELD; id <= LAST_FIELD; id++)
            EXPECT_EQ(fieldPage.count(id), 1u) << "field " << id << " is on no page";
        EXPECT_EQ(fieldPage[IDC_NAME], 1);
        EXPECT_EQ(fieldPage[IDC_COMPANY], 1);
        EXPECT_EQ(fieldPage[IDC_REPORTFILE], 8);

        RECT client;
        std::vector<Control> page8 = PageControls(module.Get(), 8, &client);
        const Control *browse = Find(page8, IDC_BROWSE);
        ASSERT_NE(browse, nullptr);
        EXPECT_EQ(browse->className, "Button");

        std::vector<Control> described = PageControls(module.Get(), fieldPage[IDC_DESCRIPTION], &client);
        const Control *description = Find(described, IDC_DESCRIPTION);
        ASSERT_NE(description, nullptr);
        const LONG multi = ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL;
        EXPECT_EQ(description->style & multi, multi);
        for (int id : {IDC_SUMMARY, IDC_APPLICATION, IDC_REPORTFILE, IDC_NAME}) {
            std::vector<Control> onPage = PageControls(module.Get(), fieldPage[id], &client);
            EXPECT_EQ(Find(onPage, id)->style & ES_MULTILINE, 0) << id;
        }
    }
}

/* The report lists the customer, system, adapter and problem fields; each
 * list reads best when its fields come in the order of the pages. */
TEST(WizardModule, ReportSectionsFollowThePageOrder)
{
    const std::vector<std::vector<int>> sections = {
        {1102, 1100, 1101, 1103, 1104, 1105, 1108, 1106, 1107, 1109, 1110, 1112, 1113},
        {1114, 1116, 1117, 1119},
        {1121, 1122, 1123},
        {1115, 1118, 1111},
    };
    Module module("QELPRENU.RSC");
    ASSERT_NE(module.Get(), nullptr);
    std::map<int, int> page;
    std::map<int, LONG> top;
    for (int index = 0; index < PAGE_COUNT; index++) {
        RECT client;
        for (const Control &c : PageControls(module.Get(), index, &client)) {
            page[c.id] = index;
            top[c.id] = c.rect.top;
        }
    }
    for (const auto &list : sections)
        for (size_t i = 1; i < list.size(); i++) {
            int a = list[i - 1], b = list[i];
            EXPECT_TRUE(page[a] < page[b] || (page[a] == page[b] && top[a] < top[b]))
                << a << " should come before " << b;
        }
}

TEST(WizardModule, StringsHoldTheirRolesAndForms)
{
    std::set<std::string> titles;
    for (const char *name : kWizardModules) {
        SCOPED_TRACE(name);
        Module module(name);
        HINSTANCE m = module.Get();
        ASSERT_NE(m, nullptr);

        std::vector<UINT> plain = {IDS_PAGETITLE, IDS_FILECAPTION, IDS_NOFILENAME,
                                   IDS_CANNOTCREATE, IDS_REPLACEFILE, IDS_SAVEASTITLE,
                                   IDS_DEFAULTFILE};
        for (UINT id = IDS_SAVEAS_FIRST; id <= IDS_SAVEAS_LAST; id++)
            plain.push_back(id);
        for (UINT id : plain) {
            std::string text = LoadText(m, id, 256);
            EXPECT_FALSE(text.empty()) << "string " << id;
            EXPECT_LT(text.size(), 255u) << "string " << id;
        }
        EXPECT_LT(LoadText(m, IDS_FILECAPTION).size(), 64u);
        EXPECT_LT(LoadText(m, IDS_DEFAULTFILE).size(), 260u);
        titles.insert(LoadText(m, IDS_PAGETITLE));

        /* Filter: description and pattern pairs, every item ended by "|". */
        std::string filter = LoadText(m, IDS_SAVEASFILTER);
        ASSERT_FALSE(filter.empty());
        EXPECT_EQ(filter.back(), '|');
        size_t items = 0;
        for (size_t from = 0, bar; (bar = filter.find('|', from)) != std::string::npos;
             from = bar + 1) {
            EXPECT_GT(bar, from) << "empty filter item";
            items++;
        }
        EXPECT_EQ(items % 2, 0u);
        EXPECT_GE(items, 2u);

        /* Retail notice: whole lines of at most 70 bytes with their CR LF,
         * so that the report's 70-column cut never splits one. */
        for (UINT id = IDS_RETAIL_FIRST; id <= IDS_RETAIL_LAST; id++) {
            std::string line = LoadText(m, id, 256);
            ASSERT_GE(line.size(), 2u) << "string " << id;
            EXPECT_EQ(line.substr(line.size() - 2), "\r\n") << "string " << id;
            EXPECT_LE(line.size(), 70u) << "string " << id;
            EXPECT_EQ(line.find_first_of("\r\n"), line.size() - 2) << "string " << id;
        }

        /* Labels: short, distinct, and usable as registry value names. */
        std::set<std::string> labels;
        for (UINT field = FIRST_FIELD; field <= LAST_FIELD; field++) {
            std::string label = LoadText(m, LABEL_STRING(field), 255);
            EXPECT_FALSE(label.empty()) << field;
            EXPECT_LT(label.size(), 25u) << label;
            EXPECT_EQ(label.find('\\'), std::string::npos) << label;
            EXPECT_TRUE(labels.insert(label).second) << "label twice: " << label;
        }
    }
    EXPECT_EQ(titles.size(), 2u) << "the German module is a translation";
}

TEST(TrayModule, StringsHoldTheirRolesAndTheTooltipFits)
{
    for (const char *name : kTrayModules) {
        SCOPED_TRACE(name);
        Module module(name);
        HINSTANCE m = module.Get();
        ASSERT_NE(m, nullptr);
        for (UINT id : {IDS_TIP_NOMODE, IDS_TIP_DESKTOP, IDS_TIP_SCREEN, IDS_TIP_COLOURS,
                        IDS_TIP_BITS, IDS_MENU_EMPTY}) {
            std::string text = LoadText(m, id, 64);
            EXPECT_FALSE(text.empty()) << id;
            EXPECT_LT(text.size(), 63u) << id;
        }
        for (UINT id : {IDS_MENU_SETTINGS, IDS_MENU_SCHEMES, IDS_MENU_CONTENTS,
                        IDS_MENU_QUICKHELP, IDS_MENU_EXIT, IDS_MENU_DEFSCHEME,
                        IDS_WARN_CAPTION, IDS_WARN_TEXT})
            EXPECT_FALSE(LoadText(m, id, 260).empty()) << id;

        /* A large mode still gives the whole tooltip within its 63 characters. */
        char tip[512];
        wsprintfA(tip, "%s: %ld x %ld, %s: %ld x %ld, %s: %ld %s",
                  LoadText(m, IDS_TIP_DESKTOP).c_str(), 2048L, 1536L,
                  LoadText(m, IDS_TIP_SCREEN).c_str(), 1600L, 1200L,
                  LoadText(m, IDS_TIP_COLOURS).c_str(), 32L, LoadText(m, IDS_TIP_BITS).c_str());
        EXPECT_LE(lstrlenA(tip), 63) << tip;
    }
}

/* No code runs when a program loads its module: no entry point and no
 * library of its own to load. */
TEST(ResourceModules, AreResourceOnlyLibraries)
{
    for (const auto *list : {&kWizardModules, &kTrayModules})
        for (const char *name : *list) {
            Module module(name);
            ASSERT_NE(module.Get(), nullptr) << name;
            auto *base = reinterpret_cast<const BYTE *>(module.Get());
            auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
            auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
            EXPECT_EQ(nt->OptionalHeader.AddressOfEntryPoint, 0u) << name;
            const IMAGE_DATA_DIRECTORY &imports =
                nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
            if (imports.Size) {
                auto *first = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(
                    base + imports.VirtualAddress);
                EXPECT_EQ(first->Name, 0u) << name << " imports a library";
            }
        }
}
