#include <gtest/gtest.h>

#include <string>

#include "hooks.h"
#include "menutext.h"
#include "sandbox.h"
#include "tray.h"

static const std::string settingsPath =
    "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\Settings";
static const std::string schemesPath =
    "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\ColorCorrection";

class TrayMenu : public testing::Test {
protected:
    void SetUp() override
    {
        if (!g_resourceModule)
            g_resourceModule = LoadResourceModule("QELIC");
        ASSERT_TRUE(g_resourceModule);
        RegCloseKey(m_registry.CreateKey("System\\CurrentControlSet\\Services\\Class\\DISPLAY"));
        g_menuEnabled = 1;
        lstrcpyA(g_helpPath, "C:\\QEL\\QELENU.HLP");
    }

    std::string List(DriverKeyKind kind, int group)
    {
        HMENU menu = BuildListMenu(kind, group);
        std::string text = menu ? DescribeMenu(menu) : "(none)";
        DestroyMenu(menu);
        return text;
    }

    std::string Tray()
    {
        HMENU menu = BuildTrayMenu();
        std::string text = menu ? DescribeMenu(menu) : "(none)";
        DestroyMenu(menu);
        return text;
    }

    std::string Placeholder() { return "16 grey " + ModuleString(16) + "\n"; }

    RegistrySandbox m_registry;
    DisplayConfigHooks m_display;
};

TEST_F(TrayMenu, EntryIdsAreGroupTimesHundredPlusTheValueIndex)
{
    /* The registry lists the unnamed value first here; it keeps index 0. */
    m_registry.SetString(settingsPath, "", "800x600");
    m_registry.SetDword(settingsPath, "640x480", 1);
    m_registry.SetDword(settingsPath, "800x600", 2);
    EXPECT_EQ(List(Settings, 10), "1001 640x480\n1002 800x600\n");
    m_registry.SetString(schemesPath, "", "Warm");
    m_registry.SetDword(schemesPath, "Cool", 1);
    m_registry.SetDword(schemesPath, "Warm", 2);
    EXPECT_EQ(List(ColorCorrection, 11), "1101 Cool\n1102 Warm\n");
}

TEST_F(TrayMenu, AnEmptyListHoldsOnlyTheGreyPlaceholder)
{
    EXPECT_EQ(List(Settings, 10), Placeholder()) << "a key that was missing";
    m_registry.SetString(settingsPath, "", "last");
    EXPECT_EQ(List(Settings, 10), Placeholder()) << "only the unnamed value";
}

TEST_F(TrayMenu, ListsOnlyTheFirstHundredValues)
{
    for (int i = 0; i < 150; ++i) {
        char name[8];
        wsprintfA(name, "V%03d", i);
        m_registry.SetDword(settingsPath, name, i);
    }
    HMENU menu = BuildListMenu(Settings, 10);
    ASSERT_EQ(GetMenuItemCount(menu), 100);
    EXPECT_EQ(GetMenuItemID(menu, 0), 1000u);
    EXPECT_EQ(GetMenuItemID(menu, 99), 1099u);
    char text[16];
    GetMenuStringA(menu, 99, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "V099");
    DestroyMenu(menu);
}

TEST_F(TrayMenu, ANameTooLongForTheBufferEndsTheList)
{
    struct Case { size_t length; std::string expected; };
    const Case cases[] = {
        { 255, "1000 a\n1001 b\n1002 c\n1003 d" + std::string(254, 'x') + "\n1004 e\n" },
        { 256, "1000 a\n1001 b\n1002 c\n" },
        { 300, "1000 a\n1001 b\n1002 c\n" },
    };
    for (const Case &c : cases) {
        RegistrySandbox registry;
        RegCloseKey(registry.CreateKey("System\\CurrentControlSet\\Services\\Class\\DISPLAY"));
        for (const std::string &name : { std::string("a"), std::string("b"), std::string("c"),
                                          "d" + std::string(c.length - 1, 'x'),
                                          std::string("e") })
            registry.SetDword(schemesPath, name, 0);
        EXPECT_EQ(List(ColorCorrection, 10), c.expected) << c.length;
    }
}

TEST_F(TrayMenu, OnlyTheFirstExactDefaultSchemeNameIsRelabelled)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1100, "~~DEF_QEL_COL_SCHEME~~");
    AppendMenuA(menu, MF_STRING, 1101, "Warm");
    AppendMenuA(menu, MF_STRING, 1102, DEFAULT_SCHEME_NAME);
    AppendMenuA(menu, MF_STRING, 1103, DEFAULT_SCHEME_NAME);
    RelabelDefaultScheme(menu);
    EXPECT_EQ(DescribeMenu(menu), "1100 ~~DEF_QEL_COL_SCHEME~~\n1101 Warm\n1102 "
                                  + ModuleString(15) + "\n1103 " DEFAULT_SCHEME_NAME "\n");
    DestroyMenu(menu);

    menu = CreatePopupMenu();
    RelabelDefaultScheme(menu);
    EXPECT_EQ(GetMenuItemCount(menu), 0);
    DestroyMenu(menu);
}

TEST_F(TrayMenu, TheListsShowOnlyWhenEnabledAndTheHelpItemsGreyWithoutHelp)
{
    m_registry.SetDword(settingsPath, "640x480", 1);
    m_registry.SetDword(schemesPath, DEFAULT_SCHEME_NAME, 1);
    const std::string settings = "popup " + ModuleString(10) + "\n  1000 640x480\n";
    const std::string schemes = "popup " + ModuleString(11) + "\n  1100 " + ModuleString(15) + "\n";
    const std::string help = "12 default " + ModuleString(12) + "\n13 " + ModuleString(13) + "\n";
    const std::string greyHelp =
        "12 grey default " + ModuleString(12) + "\n13 grey " + ModuleString(13) + "\n";
    const std::string exit = "---\n14 " + ModuleString(14) + "\n";

    struct Case { int flag; DWORD displayModes, gamma; const char *helpPath; std::string menu; };
    const Case cases[] = {
        { 1, 1, 1, "x.hlp", settings + schemes + help + exit },
        { 1, 1, 0, "x.hlp", settings + help + exit },
        { 1, 0, 1, "x.hlp", schemes + help + exit },
        { 1, 0, 0, "x.hlp", help + exit },
        { 0, 1, 1, "x.hlp", help + exit },
        { 1, 1, 1, "", settings + schemes + greyHelp + exit },
        { 0, 0, 0, "", greyHelp + exit },
    };
    for (const Case &c : cases) {
        g_menuEnabled = c.flag;
        m_display.SetDword("DisplayModeEnabled", c.displayModes);
        m_display.SetDword("GammaEnabled", c.gamma);
        lstrcpyA(g_helpPath, c.helpPath);
        EXPECT_EQ(Tray(), c.menu) << c.flag << c.displayModes << c.gamma << c.helpPath;
    }
}
