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

#include <vector>

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

/* The names LoadResourceModule tries for base, in its order: the user's
 * language, its two letters, the default. */
std::vector<std::string> ModuleNames(const std::string &base)
{
    const std::string language = UserLanguage();
    return {base + language + ".RSC", base + language.substr(0, 2) + ".RSC", base + "DEF.RSC"};
}

/* LoadResourceModule run with folder as the current folder. */
HINSTANCE LoadResourceModuleIn(const std::string &folder, const char *base)
{
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof(previous), previous);
    EXPECT_TRUE(SetCurrentDirectoryA(folder.c_str())) << folder;
    HINSTANCE module = LoadResourceModule(base);
    SetCurrentDirectoryA(previous);
    return module;
}

} // namespace

TEST(LoadResourceModule, FallsBackFromLanguageToTwoLettersToDefault)
{
    ASSERT_EQ(UserLanguage().size(), 3u);
    const std::string source = ProgramFolder() + "QELPRENU.RSC";
    const std::vector<std::string> names = ModuleNames("QELTS");

    for (const FallbackCase &c : kFallbacks) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder;
        if (c.three) folder.Copy(source, names[0]);
        if (c.two)   folder.Copy(source, names[1]);
        if (c.def)   folder.Copy(source, names[2]);

        HINSTANCE module = LoadResourceModuleIn(folder.Path(), "QELTS");
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

/* Six letters make no 8.3 name: refused, though a module lies under every
 * name they would make, the two-letter one short enough for the name
 * buffer. */
TEST(LoadResourceModule, RefusesBaseNamesThatMakeNoShortFileName)
{
    ScratchFolder folder;
    for (const std::string &name : ModuleNames("QELPRX"))
        folder.Copy(ProgramFolder() + "QELPRENU.RSC", name);

    HINSTANCE module = LoadResourceModuleIn(folder.Path(), "QELPRX");
    EXPECT_EQ(module, nullptr) << ModuleFileName(module);
    if (module)
        FreeLibrary(module);
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
