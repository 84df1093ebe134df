/*
 * What the tray utility relies on in the help files, read from the files
 * themselves: the secondary window "subcon" and a topic for context
 * number 90, besides the contents.
 */
#include <windows.h>

#include <gtest/gtest.h>
#include <cstring>
#include <string>

#include "sandbox.h"

namespace {

unsigned Get16(const std::string &b, size_t at)
{
    return (unsigned char)b[at] | ((unsigned char)b[at + 1] << 8);
}

unsigned long Get32(const std::string &b, size_t at)
{
    return Get16(b, at) | ((unsigned long)Get16(b, at + 2) << 16);
}

/* Offset of an internal file's data, from the one leaf page of the
 * internal directory; 0 when it is not listed. */
size_t FindInternalFile(const std::string &file, const std::string &name)
{
    size_t tree = Get32(file, 4) + 9;
    if (Get16(file, tree) != 0x293B)
        return 0;
    size_t page = tree + 38;
    unsigned entries = Get16(file, page + 2);
    size_t at = page + 8;
    for (unsigned i = 0; i < entries; i++) {
        std::string entry(file.c_str() + at);
        unsigned long offset = Get32(file, at + entry.size() + 1);
        if (entry == name)
            return offset + 9;
        at += entry.size() + 5;
    }
    return 0;
}

} // namespace

TEST(HelpFiles, HoldTheSecondaryWindowAndTopic90)
{
    for (const char *name : {"QELENU.HLP", "QELDEU.HLP", "QELDEF.HLP"}) {
        SCOPED_TRACE(name);
        std::string file = ReadFileBytes(ProgramFolder() + name);
        ASSERT_GT(file.size(), 16u);
        EXPECT_EQ(Get32(file, 0), 0x00035F3Ful);
        EXPECT_EQ(Get32(file, 12), file.size());

        size_t system = FindInternalFile(file, "|SYSTEM");
        ASSERT_NE(system, 0u);
        EXPECT_EQ(Get16(file, system), 0x036Cu);
        size_t end = system - 9 + Get32(file, system - 9 + 4) + 9;
        bool subcon = false;
        for (size_t at = system + 12; at + 4 <= end; at += 4 + Get16(file, at + 2)) {
            if (Get16(file, at) == 6 && Get16(file, at + 2) == 90)
                subcon |= std::string(file.c_str() + at + 4 + 12) == "subcon";
        }
        EXPECT_TRUE(subcon) << "no window \"subcon\"";

        size_t map = FindInternalFile(file, "|CTXOMAP");
        ASSERT_NE(map, 0u);
        bool topic90 = false;
        for (unsigned i = 0; i < Get16(file, map); i++)
            topic90 |= Get32(file, map + 2 + 8 * i) == 90;
        EXPECT_TRUE(topic90) << "no topic for context number 90";
        EXPECT_NE(FindInternalFile(file, "|TOPIC"), 0u);
        EXPECT_NE(FindInternalFile(file, "|CONTEXT"), 0u);
    }
}
