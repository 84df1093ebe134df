/*
 * EnsureHotKeyProgram against "load" entries of WIN.INI at and past its
 * 1000-byte buffer: the hot-key program is added where it fits, and an
 * entry is never written back cut short or overrun.
 */
#include "hostile.h"
#include "tray.h"

#include <gtest/gtest.h>

/* A window of the hot-key program's class, so that the tray finds the
 * program running and starts nothing. */
class FakeHotKeyProgram {
public:
    FakeHotKeyProgram()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = HOTKEY_CLASS;
        RegisterClassA(&windowClass);
        m_window = CreateWindowA(HOTKEY_CLASS, "", 0, 0, 0, 0, 0, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
        EXPECT_TRUE(m_window != NULL);
    }
    ~FakeHotKeyProgram() { DestroyWindow(m_window); }

private:
    HWND m_window;
};

/* The entry as WIN.INI holds it, read with room to spare. */
static std::string LoadEntry()
{
    static char entry[8192];
    GetProfileStringA("windows", "load", "", entry, sizeof(entry));
    return entry;
}

/* Blank-separated program names of exactly length characters. */
static std::string EntryOfLength(size_t length, const std::string &inside = "")
{
    std::string entry = inside;
    for (int n = 0; entry.size() < length; n++)
        entry += " prog" + std::to_string(n) + ".exe";
    entry.resize(length);
    if (entry.back() == ' ')
        entry.back() = 'x';
    return entry;
}

TEST(HostileLoadEntry, LongEntries)
{
    FakeHotKeyProgram running;
    const std::string added = " " HOTKEY_PROGRAM;
    struct Case { const char *what; std::string entry; std::string after; };
    const std::string e987 = EntryOfLength(987), e988 = EntryOfLength(988);
    const std::string e999 = EntryOfLength(999), e1500 = EntryOfLength(1500);
    const std::string directives = EntryOfLength(999, formatDirectives);
    std::string late = EntryOfLength(1200) + " C:\\QEL\\QELHK32.EXE";
    const Case cases[] = {
        { "987 bytes: the program still fits", e987, e987 + added },
        { "988 bytes: one byte short of room", e988, e988 },
        { "999 bytes, all the buffer takes", e999, e999 },
        { "1500 bytes, longer than the buffer", e1500, e1500 },
        { "listed beyond the buffer's end", late, late },
        { "format directives", directives, directives },
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(WriteProfileStringA("windows", "load", c.entry.c_str())) << c.what;
        ASSERT_EQ(LoadEntry(), c.entry) << c.what;
        EnsureHotKeyProgram();
        std::string after = LoadEntry();
        EXPECT_EQ(after.size(), c.after.size()) << c.what;
        EXPECT_EQ(after, c.after) << c.what;
    }
}
