#include <gtest/gtest.h>

#include <string>

#include "hooks.h"
#include "tray.h"

struct LoadCase { std::string entry, expected; };

static const std::string x987(987, 'x'), x988(988, 'x'), x999(999, 'x');
static const LoadCase loadCases[] = {
    { "", "qelhk32.exe" },
    { "notepad.exe", "notepad.exe qelhk32.exe" },
    { "a.exe b.exe", "a.exe b.exe qelhk32.exe" },
    { "C:\\QEL\\QELHK32.EXE", "C:\\QEL\\QELHK32.EXE" },
    { "notepad.exe oldqelhk32.exe", "notepad.exe oldqelhk32.exe" },
    { "qelhk32.exe.bak", "qelhk32.exe.bak" },
    { "qelhk32", "qelhk32 qelhk32.exe" },
    { x987, x987 + " qelhk32.exe" },    /* 999 characters: the last that fit */
    { x988, x988 },
    { x999, x999 },
};

TEST(LoadEntry, AddsTheHotKeyProgramOnceAndOnlyWhereItFits)
{
    for (const LoadCase &c : loadCases) {
        char entry[LOAD_ENTRY_SIZE + 8];
        memset(entry, '#', sizeof(entry));
        lstrcpyA(entry, c.entry.c_str());
        if (!IsHotKeyListed(entry))
            AppendHotKeyToLoad(entry, LOAD_ENTRY_SIZE);
        EXPECT_EQ(std::string(entry), c.expected) << c.entry.size() << " " << c.entry.substr(0, 40);
        EXPECT_EQ(std::string(entry + LOAD_ENTRY_SIZE, 8), std::string(8, '#'));
    }
}

static std::string LoadEntry()
{
    char entry[2048];
    GetProfileStringA("windows", "load", "", entry, sizeof(entry));
    return entry;
}

TEST(LoadEntry, ARunningProgramIsAddedToWinIniAndReachedThroughItsWindow)
{
    FakeHotKeyProgram program;
    for (const LoadCase &c : loadCases) {
        WriteProfileStringA("windows", "load", c.entry.c_str());
        EnsureHotKeyProgram();
        EXPECT_EQ(LoadEntry(), c.expected) << c.entry.size() << " " << c.entry.substr(0, 40);
    }
    WriteProfileStringA("windows", "load", "");

    EXPECT_EQ(SendToHotKeyProgram(WM_HOTKEY_APPLY, 42, 0), 7);
    EXPECT_EQ(program.Received(), "42;");
}
