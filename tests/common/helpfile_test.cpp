/*
 * FindHelpFile: the three tries of the "HelpFile" pattern, the default
 * that stays without a usable pattern, and patterns that must never reach
 * a formatter.
 */
#include "common.h"
#include "fixture.h"
#include "sandbox.h"

#include <gtest/gtest.h>

namespace {

const char kDriverKey[] = "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL";
const char kDefault[] = "QEL64";

std::string Find()
{
    char path[HELP_PATH_SIZE];
    lstrcpyA(path, kDefault);
    FindHelpFile(path);
    return path;
}

} // namespace

TEST(FindHelpFile, TriesLanguageThenTwoLettersThenDefault)
{
    const std::string language = UserLanguage();
    const std::string two = language.substr(0, 2);
    struct Case {
        const char *what;
        bool three, two, def;
        const char *expected;   /* "3", "2", "DEF" or "" */
    } cases[] = {
        {"all exist", true, true, true, "3"},
        {"two-letter and default", false, true, true, "2"},
        {"default only", false, false, true, "DEF"},
        {"none exists", false, false, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RegistrySandbox registry;
        ScratchFolder folder;
        registry.SetString(kDriverKey, "HelpFile", folder.Path() + "QEL%s.HLP");
        if (c.three) folder.Create("QEL" + language + ".HLP");
        if (c.two)   folder.Create("QEL" + two + ".HLP");
        if (c.def)   folder.Create("QELDEF.HLP");

        std::string want;
        if (c.expected[0])
            want = folder.Path() + "QEL" +
                   (c.expected[0] == '3' ? language : c.expected[0] == '2' ? two
                                                                           : "DEF") +
                   ".HLP";
        EXPECT_EQ(Find(), want);
    }
}

TEST(FindHelpFile, PatternWithoutLanguageNamesOneFile)
{
    RegistrySandbox registry;
    ScratchFolder folder;
    registry.SetString(kDriverKey, "HelpFile", folder.Path() + "QELHELP.HLP");
    EXPECT_EQ(Find(), "");
    std::string file = folder.Create("QELHELP.HLP");
    EXPECT_EQ(Find(), file);
}

TEST(FindHelpFile, DefaultStaysWithoutKeyOrValue)
{
    {
        RegistrySandbox registry;           /* no display class key at all */
        EXPECT_EQ(Find(), kDefault);
    }
    {
        RegistrySandbox registry;           /* driver key without the value */
        registry.CreateKey(kDriverKey);
        EXPECT_EQ(Find(), kDefault);
    }
}

/* The value is read into 100 bytes: 99 characters and the terminator fit,
 * one more counts as missing. */
TEST(FindHelpFile, PatternOf99CharactersIsTheLongestThatCounts)
{
    RegistrySandbox registry;
    ScratchFolder folder;
    const std::string head = folder.Path() + "Q";
    const std::string tail = "%s.HLP";
    ASSERT_LT(head.size() + tail.size(), 99u);
    const std::string pad(99 - head.size() - tail.size(), 'x');
    const std::string pattern = head + pad + tail;
    ASSERT_EQ(pattern.size(), 99u);
    std::string file = folder.Create("Q" + pad + "DEF.HLP");

    registry.SetString(kDriverKey, "HelpFile", pattern);
    EXPECT_EQ(Find(), file);

    registry.SetString(kDriverKey, "HelpFile", head + pad + "y" + tail);
    EXPECT_EQ(Find(), kDefault);
}

/* Data of 100 bytes without a terminator is no string that fits; shorter
 * data without one is taken as it is. The type is not looked at. */
TEST(FindHelpFile, DataWithoutTerminator)
{
    RegistrySandbox registry;
    ScratchFolder folder;
    std::string file = folder.Create("QELDEF.HLP");
    std::string pattern = folder.Path() + "QEL%s.HLP";
    registry.SetValue(kDriverKey, "HelpFile", REG_BINARY, pattern.data(), pattern.size());
    EXPECT_EQ(Find(), file);

    std::string full(100, 'x');
    registry.SetValue(kDriverKey, "HelpFile", REG_BINARY, full.data(), full.size());
    EXPECT_EQ(Find(), kDefault);
}

/* The pattern comes from the registry: only "%s" (once) and "%%" mean
 * anything; every other directive, or a second "%s", keeps the default
 * instead of being handed to a formatter. */
TEST(FindHelpFile, UnsafePatternsKeepTheDefault)
{
    const char *unsafe[] = {
        "%s%s.HLP", "QEL%d.HLP", "QEL%n%s.HLP", "QEL%s%p.HLP", "QEL%S.HLP",
        "QEL%ls.HLP", "QEL%-20s.HLP", "QEL%1024s.HLP", "QEL%s.HLP%", "%",
        "QEL%%%s%s",
    };
    ScratchFolder folder;
    folder.Create("QELDEF.HLP");
    for (const char *tail : unsafe) {
        SCOPED_TRACE(tail);
        RegistrySandbox registry;
        registry.SetString(kDriverKey, "HelpFile", folder.Path() + tail);
        EXPECT_EQ(Find(), kDefault);
    }
}

TEST(FindHelpFile, DoublePercentIsOnePercentSign)
{
    RegistrySandbox registry;
    ScratchFolder folder;
    std::string sub = folder.Create("100%\\");
    std::string file = folder.Create("100%\\QELDEF.HLP");
    registry.SetString(kDriverKey, "HelpFile", folder.Path() + "100%%\\QEL%s.HLP");
    EXPECT_EQ(Find(), file);

    /* "%%s" is a percent sign and a letter s, not a place for the language. */
    std::string literal = folder.Create("QEL%s.HLP");
    registry.SetString(kDriverKey, "HelpFile", folder.Path() + "QEL%%s.HLP");
    EXPECT_EQ(Find(), literal);
}
