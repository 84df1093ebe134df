/*
 * FindHelpFile against "HelpFile" values that are no usable pattern: the
 * value comes from the registry, so a directive other than the one "%s"
 * must never reach a formatter, and no value may overrun the caller's
 * 101 bytes.
 */
#include "common.h"
#include "hostile.h"
#include "sandbox.h"

#include <gtest/gtest.h>

#include <string.h>

static const char driverKey[] = "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL";
static const char callerDefault[] = "C:\\default.hlp";

#define GUARD_SIZE 32

/* The path buffer with a guard after its 101 bytes, filled with the
 * caller's default; returns what FindHelpFile left in it. */
static std::string FindHelp(bool *guardIntact)
{
    char buffer[HELP_PATH_SIZE + GUARD_SIZE];
    memset(buffer, '#', sizeof(buffer));
    strcpy(buffer, callerDefault);
    FindHelpFile(buffer);
    *guardIntact = true;
    for (int i = HELP_PATH_SIZE; i < HELP_PATH_SIZE + GUARD_SIZE; i++)
        *guardIntact = *guardIntact && buffer[i] == '#';
    return std::string(buffer, strnlen(buffer, HELP_PATH_SIZE));
}

TEST(HostileHelpFile, PatternsFromTheRegistry)
{
    /* The default-language file exists, so a usable pattern ends there
     * whatever the user's language. */
    TempFile help("100%QDEF.HLP");
    help.Write("help");
    const std::string folder = help.Folder();
    const std::string found = folder + "100%QDEF.HLP";

    struct Case { std::string pattern; std::string expected; };
    const Case cases[] = {
        { folder + "100%%Q%s.HLP", found },
        { folder + "100%%QDEF.HLP", found },                 /* no "%s" at all */
        { folder + "100%%Q%s%n.HLP", callerDefault },
        { folder + "100%%Q%s%s.HLP", callerDefault },
        { folder + "100%%Q%x.HLP", callerDefault },
        { folder + "%1$s%s", callerDefault },
        { folder + formatDirectives, callerDefault },
        { folder + "100%", callerDefault },                   /* lone percent at the end */
        { folder + "100%Q%s.HLP", callerDefault },            /* "%Q" */
        { folder + "nothing-%s.HLP", "" },                    /* usable, no such file */
    };
    for (const Case &c : cases) {
        RegistrySandbox registry;
        registry.SetString(driverKey, "HelpFile", c.pattern);
        bool guardIntact;
        EXPECT_EQ(FindHelp(&guardIntact), c.expected) << c.pattern;
        EXPECT_TRUE(guardIntact) << c.pattern;
    }
}

/* 99 characters with "%s" expand to 100, the most the caller's buffer
 * holds; 100 bytes or more do not fit the pattern buffer and count as
 * missing, with or without a terminator in the data. */
TEST(HostileHelpFile, PatternLengthsAtTheBuffer)
{
    const std::string p99 = "C:\\" + std::string(94, 'h') + "%s";
    const std::string longest = "C:\\" + std::string(94, 'h') + "DEF";   /* 100 */
    WriteFileBytes(longest, "help");

    struct Case { std::string data; DWORD type; std::string expected; };
    const Case cases[] = {
        { p99 + '\0', REG_SZ, longest },
        { p99, REG_EXPAND_SZ, longest },                       /* 99 bytes, open */
        { std::string(99, 'h') + '\0', REG_SZ, "" },           /* usable, no such file */
        { std::string(100, 'h'), REG_BINARY, callerDefault },  /* 100 bytes, open */
        { p99 + "h" + '\0', REG_SZ, callerDefault },           /* 101 bytes */
        { std::string(5000, '%'), REG_SZ, callerDefault },
    };
    for (const Case &c : cases) {
        RegistrySandbox registry;
        registry.SetValue(driverKey, "HelpFile", c.type, c.data.data(), c.data.size());
        bool guardIntact;
        EXPECT_EQ(FindHelp(&guardIntact), c.expected) << c.data.size() << " bytes";
        EXPECT_TRUE(guardIntact) << c.data.size() << " bytes";
    }
    DeleteFileA(longest.c_str());
}
