/*
 * LoadResourceModule: the user's language, its two-letter form, the
 * default module, and none. The test modules get a base name of their own
 * ("QELTS") so that the real modules beside this program never match; they
 * are copies of the real English module, found through the current folder.
 */
#include "common.h"
#include "fixture.h"
#include "sandbox.h"

#include <gtest/gtest.h>

namespace {

std::string ModuleFileName(HMODULE module)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof(path));
    std::string name(path);
    return name.substr(name.rfind('\\') + 1);
}

struct FallbackCase {
    const char *what;
    bool three, two, def;      /* which of the three modules exist */
    const char *expected;      /* "3", "2", "DEF", or null for none */
};

const FallbackCase kFallbacks[] = {
    {"all three: the full language", true, true, true, "3"},
    {"only the two-letter and default", false, true, true, "2"},
    {"only the two-letter one", false, true, false, "2"},
    {"only the default", false, false, true, "DEF"},
    {"none", false, false, false, nullptr},
};

} // namespace

TEST(LoadResourceModule, FallsBackFromLanguageToTwoLettersToDefault)
{
    const std::string language = UserLanguage();
    ASSERT_EQ(language.size(), 3u);
    const std::string source = ProgramFolder() + "QELPRENU.RSC";

    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof(previous), previous);
    for (const FallbackCase &c : kFallbacks) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        const std::string names[3] = {"QELTS" + language + ".RSC",
                                      "QELTS" + language.substr(0, 2) + ".RSC",
                                      "QELTSDEF.RSC"};
        if (c.three) folder.Copy(source, names[0]);
        if (c.two)   folder.Copy(source, names[1]);
        if (c.def)   folder.Copy(source, names[2]);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));

        HINSTANCE module = LoadResourceModule("QELTS");
        SetCurrentDirectoryA(previous);

        if (!c.expected) {
            EXPECT_EQ(module, nullptr);
            continue;
        }
        ASSERT_NE(module, nullptr);
        const std::string &want = c.expected[0] == '3' ? names[0]
                                  : c.expected[0] == '2' ? names[1] : names[2];
        EXPECT_STRCASEEQ(ModuleFileName(module).c_str(), want.c_str());
        char title[64] = "";
        EXPECT_GT(LoadStringA(module, 3, title, sizeof(title)), 0);
        FreeLibrary(module);   /* the next case loads the same names again */
    }
}

TEST(LoadResourceModule, RefusesBaseNamesThatMakeNoShortFileName)
{
    EXPECT_EQ(LoadResourceModule("QELPRX"), nullptr);
}

/* The real modules beside the program: the user's language is picked. The
 * German run of this program sets QEL_EXPECT_LANGUAGE to DEU. */
TEST(LoadResourceModule, LoadsTheModuleOfTheUserLanguage)
{
    char expected[8] = "";
    if (GetEnvironmentVariableA("QEL_EXPECT_LANGUAGE", expected, sizeof(expected))) {
        ASSERT_EQ(UserLanguage(), expected);
    }

    const std::string language = UserLanguage();
    const bool shipped = language == "ENU" || language == "DEU";
    for (const char *base : {"QELPR", "QELIC"}) {
        HINSTANCE module = LoadResourceModule(base);
        ASSERT_NE(module, nullptr) << base;
        std::string want = std::string(base) + (shipped ? language : "DEF") + ".RSC";
        EXPECT_STRCASEEQ(ModuleFileName(module).c_str(), want.c_str());
    }
}
