/*
 * The registry dump against what a damaged or hostile registry holds:
 * names at and past the platform's limits, empty and huge data, strings
 * without terminators, format directives everywhere, and keys that vanish
 * or grow while the dump runs.
 */
#include "hostile.h"
#include "report.h"
#include "sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

static std::string DumpTree(std::string path)
{
    TempFile report;
    DumpRegistryTree(report.Create(), &path[0], HKEY_LOCAL_MACHINE);
    report.Close();
    return report.Bytes();
}

static std::string Header(const std::string &path)
{
    return CRLF + Wrapped("[" + path + "]", 0) + CRLF;
}

/* A value line whose rendering is " = " and then text. */
static std::string TextLine(const std::string &name, const std::string &text)
{
    return Wrapped(name, 0) + " = " + Wrapped(text, name.size() + 3) + CRLF;
}

static std::string HexList(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
        hex += ' ';
    }
    return hex;
}

static void SetBytes(RegistrySandbox &registry, const std::string &path,
                     const std::string &name, DWORD type, const std::string &data)
{
    registry.SetValue(path, name, type, data.data(), data.size());
}

/* 1 to 255 characters are shown whole; the dump's name buffer is 256. */
TEST(HostileRegistryDump, ValueNamesUpToTheLimitAreShownWhole)
{
    RegistrySandbox registry;
    const std::string n254(254, 'b'), n255 = "c" + std::string(254, 'n');
    SetBytes(registry, "Names", "a", REG_SZ, std::string("one", 4));
    SetBytes(registry, "Names", n254, REG_SZ, std::string("two", 4));
    SetBytes(registry, "Names", n255, REG_SZ, std::string("three", 6));

    EXPECT_EQ(DumpTree("Names\\"), Header("Names\\") + TextLine("a", "one") +
                                       TextLine(n254, "two") + TextLine(n255, "three"));
}

/* A name of 256 characters or more does not fit the enumeration buffer:
 * the listing of that key's values ends there (the values are enumerated
 * in name order), nothing is overrun, and the subkeys still follow. */
TEST(HostileRegistryDump, OverlongValueNameEndsTheValuesNotTheDump)
{
    RegistrySandbox registry;
    for (size_t length : { 256u, 300u, 2000u }) {
        const std::string path = "Long" + std::to_string(length);
        SetBytes(registry, path, "a", REG_SZ, std::string("before", 7));
        HKEY key = registry.CreateKey(path);
        const std::string longName = "m" + std::string(length - 1, 'x');
        LONG rc = RegSetValueExA(key, longName.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE *>("long"), 5);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS) {
            ADD_FAILURE() << "the registry refused a value name of " << length;
            continue;
        }
        SetBytes(registry, path, "z", REG_SZ, std::string("after", 6));
        registry.CreateKey(path + "\\Child");

        std::string dump = DumpTree(path + "\\");
        EXPECT_EQ(dump, Header(path + "\\") + TextLine("a", "before") +
                            Header(path + "\\Child\\"))
            << "name length " << length;
    }
}

/* Zero bytes of data for every type, and data of megabytes. */
TEST(HostileRegistryDump, EmptyAndHugeData)
{
    RegistrySandbox registry;
    struct Case { const char *name; DWORD type; std::string data; std::string line; };
    std::string mb(3 * 1024 * 1024, '\0');
    for (size_t i = 0; i < mb.size(); i++)
        mb[i] = static_cast<char>('A' + i % 26);
    std::string binary(2 * 1024 * 1024 + 5, '\0');
    for (size_t i = 0; i < binary.size(); i++)
        binary[i] = static_cast<char>(i * 7);
    std::string strings;
    for (int i = 0; i < 20000; i++)
        strings += "entry" + std::to_string(i) + '\0';
    std::string multi = "{ ";
    for (int i = 0; i < 20000; i++)
        multi += "\"entry" + std::to_string(i) + "\"  ";
    multi += "}";

    const Case cases[] = {
        { "e0none", REG_NONE, "", "e0none = (value not set)\r\n" },
        { "e1sz", REG_SZ, "", "e1sz = \r\n" },
        { "e2expand", REG_EXPAND_SZ, "", "e2expand = \r\n" },
        { "e3binary", REG_BINARY, "", "e3binary = \r\n" },
        { "e7multi", REG_MULTI_SZ, "", "e7multi = { }\r\n" },
        { "e8resources", REG_RESOURCE_LIST, "", "e8resources = \r\n" },
        { "e9full", REG_FULL_RESOURCE_DESCRIPTOR, "",
          "e9full = (REG_FULL_RESOURCE_DESCRIPTOR)\r\n" },
        { "h1sz", REG_SZ, mb, TextLine("h1sz", mb) },
        { "h3binary", REG_BINARY, binary, TextLine("h3binary", HexList(binary)) },
        { "h7multi", REG_MULTI_SZ, strings + '\0', TextLine("h7multi", multi) },
    };
    std::string expected = Header("Sizes\\");
    for (const Case &c : cases) {
        SetBytes(registry, "Sizes", c.name, c.type, c.data);
        expected += c.line;
    }
    /* Numbers with fewer than four bytes: a line of their own, whatever
     * the number shown. */
    SetBytes(registry, "Sizes", "n4dword", REG_DWORD, "");
    SetBytes(registry, "Sizes", "n5big", REG_DWORD_BIG_ENDIAN, std::string("\x01", 1));

    std::string dump = DumpTree("Sizes\\");
    ASSERT_EQ(dump.compare(0, expected.size(), expected), 0)
        << "first difference at byte "
        << std::mismatch(expected.begin(), expected.end(), dump.begin(), dump.end()).first -
               expected.begin();
    std::string numbers = dump.substr(expected.size());
    EXPECT_EQ(numbers.compare(0, 10, "n4dword = "), 0) << numbers;
    EXPECT_EQ(CountOf(numbers, CRLF), 2u) << numbers;
    EXPECT_NE(numbers.find("\r\nn5big = "), std::string::npos) << numbers;
}

/* Strings stored without their terminator are shown up to the end of
 * their data and no further, also when the value is the key's longest
 * and so fills the data buffer to its last byte. */
TEST(HostileRegistryDump, StringsWithoutTerminators)
{
    RegistrySandbox registry;
    struct Case { const char *name; DWORD type; std::string data; std::string shown; };
    const std::string x200(200, 'x');
    const Case cases[] = {
        { "a_sz", REG_SZ, "abc", "abc" },
        { "b_expand", REG_EXPAND_SZ, "%PATH%", "%PATH%" },
        { "c_link", REG_LINK, "target", "target" },
        { "d_inner_zero", REG_SZ, std::string("ab\0cd", 5), "ab" },
        { "e_multi_open", REG_MULTI_SZ, std::string("a\0bc", 4), "{ \"a\"  \"bc\"  }" },
        { "f_multi_one", REG_MULTI_SZ, "abc", "{ \"abc\"  }" },
        { "g_multi_single_zero", REG_MULTI_SZ, std::string("a\0", 2), "{ \"a\"  }" },
        { "h_longest_open", REG_SZ, x200, x200 },
    };
    std::string expected = Header("Open\\");
    for (const Case &c : cases) {
        SetBytes(registry, "Open", c.name, c.type, c.data);
        expected += TextLine(c.name, c.shown);
    }
    EXPECT_EQ(DumpTree("Open\\"), expected);

    /* The same in a key of its own, where the open string is the only and
     * so the longest value: for a multi-string as well. */
    SetBytes(registry, "OpenMulti", "m", REG_MULTI_SZ, std::string("one\0two", 7));
    EXPECT_EQ(DumpTree("OpenMulti\\"),
              Header("OpenMulti\\") + TextLine("m", "{ \"one\"  \"two\"  }"));
}

/* Format directives in key names, value names and every kind of text data
 * reach the report as they stand. */
TEST(HostileRegistryDump, FormatDirectivesArePlainText)
{
    RegistrySandbox registry;
    const std::string key = "P" + formatDirectives;
    const std::string d = formatDirectives;
    SetBytes(registry, key, "", REG_SZ, d + '\0');
    SetBytes(registry, key, "1" + d, REG_SZ, d + '\0');
    SetBytes(registry, key, "2" + d, REG_EXPAND_SZ, "%SystemRoot%" + d + '\0');
    SetBytes(registry, key, "3" + d, REG_MULTI_SZ, d + '\0' + "%n" + '\0' + '\0');
    SetBytes(registry, key, "4" + d, REG_LINK, d);
    SetBytes(registry, key, "5" + d, REG_BINARY, "%n");
    SetBytes(registry, key, "6" + d, REG_DWORD, std::string("\xff\xff\xff\xff", 4));
    SetBytes(registry, key, "7" + d, 0x7fff, d);
    SetBytes(registry, key + "\\%s%n", "%n", REG_NONE, "");

    const std::string path = key + "\\";
    std::string expected = Header(path) + TextLine("(Default)", d) + TextLine("1" + d, d) +
                           TextLine("2" + d, "%SystemRoot%" + d) +
                           TextLine("3" + d, "{ \"" + d + "\"  \"%n\"  }") +
                           TextLine("4" + d, d) + TextLine("5" + d, "25 6e ") +
                           Wrapped("6" + d, 0) + " = -1\r\n" + Wrapped("7" + d, 0) +
                           " = (Undefined)\r\n" + Header(path + "%s%n\\") +
                           "%n = (value not set)\r\n";
    EXPECT_EQ(DumpTree(path), expected);
}

/* Key names up to the platform's 255 characters. A key whose path from
 * the root no longer fits the 259 characters that the ANSI calls convert
 * is opened from its parent: it shows its values and subkeys like any
 * other, and the dump goes on with its next sibling. */
TEST(HostileRegistryDump, LongKeyNamesAndLongPaths)
{
    RegistrySandbox registry;
    const std::string fits(250, 'f');                 /* path of 253 characters */
    const std::string longest = "g" + std::string(254, 'g');   /* path of 258 */
    registry.SetDword("K\\" + fits, "v", 7);
    registry.SetDword("K\\" + longest, "w", 8);
    /* Paths past the limit: made relative to their parent's handle. */
    HKEY parent = registry.CreateKey("K\\" + longest);
    HKEY below, deeper;
    ASSERT_EQ(RegCreateKeyExA(parent, "below", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &below, NULL),
              ERROR_SUCCESS);
    DWORD number = 9;
    RegSetValueExA(below, "u", 0, REG_DWORD, reinterpret_cast<BYTE *>(&number), 4);
    ASSERT_EQ(RegCreateKeyExA(below, "deeper", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &deeper,
                              NULL), ERROR_SUCCESS);
    RegCloseKey(deeper);
    RegCloseKey(below);
    RegCloseKey(parent);
    registry.SetDword("K\\zz", "after", 10);

    EXPECT_EQ(DumpTree("K\\"), Header("K\\") + Header("K\\" + fits + "\\") + "v = 7\r\n" +
                                  Header("K\\" + longest + "\\") + "w = 8\r\n" +
                                  Header("K\\" + longest + "\\below\\") + "u = 9\r\n" +
                                  Header("K\\" + longest + "\\below\\deeper\\") +
                                  Header("K\\zz\\") + "after = 10\r\n");
}

/* ---- keys that change while the dump runs ---- */

/* A dump raced by a second thread: its text, and how many changes the
 * thread had made to the tree when the dump returned. */
struct RacedDump {
    std::string text;
    int changes;
};

/* Dumps path while change runs on a second thread. The thread is started
 * first and let go once the dump has written its first bytes, so every
 * change it counts before the dump returns was made under the running
 * dump; none counted means the race did not take place. change counts
 * each change it makes and may stop once dumped is set. */
template <typename Change> static RacedDump DumpWhileChanging(std::string path, Change change)
{
    TempFile report;
    HANDLE file = report.Create();
    std::atomic<int> changes(0);
    std::atomic<bool> dumped(false);
    std::thread changer([&] {
        while (GetFileSize(file, NULL) == 0 && !dumped)
            Sleep(0);
        change(changes, dumped);
    });
    DumpRegistryTree(file, &path[0], HKEY_LOCAL_MACHINE);
    RacedDump raced = { std::string(), changes };
    dumped = true;
    changer.join();
    report.Close();
    raced.text = report.Bytes();
    return raced;
}

#define WIDE_KEYS  60
#define LEAF_KEYS  20

static std::string LeafPath(int wide, int leaf)
{
    return "Vanish\\W" + std::to_string(wide) + "\\L" + std::to_string(leaf);
}

static std::string LeafText(int wide, int leaf)
{
    return "data of " + std::to_string(wide) + "/" + std::to_string(leaf) + " " +
           formatDirectives;
}

static void BuildVanishingTree(RegistrySandbox &registry)
{
    for (int w = 0; w < WIDE_KEYS; w++) {
        for (int l = 0; l < LEAF_KEYS; l++) {
            registry.SetString(LeafPath(w, l), "text", LeafText(w, l));
            registry.SetDword(LeafPath(w, l), "number", w * 1000 + l);
        }
    }
}

static void DeleteSubtree(HKEY parent, const std::string &name)
{
    HKEY key;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char child[256];
    while (RegEnumKeyA(key, 0, child, sizeof(child)) == ERROR_SUCCESS)
        DeleteSubtree(key, child);
    RegCloseKey(key);
    RegDeleteKeyA(parent, name.c_str());
}

/* Every line the dump wrote is one the tree held: a header of an existing
 * key, or one of its two values with its own data. */
static void ExpectOnlyWholeLines(const std::string &dump)
{
    size_t at = 0;
    while (at < dump.size()) {
        size_t end = dump.find(CRLF, at);
        ASSERT_NE(end, std::string::npos) << "unterminated line at " << at;
        std::string line = dump.substr(at, end - at);
        at = end + 2;
        if (line.empty() || line == "[Vanish\\]")
            continue;
        int w = -1, l = -1;
        if (sscanf(line.c_str(), "[Vanish\\W%d\\L%d\\]", &w, &l) == 2
            || sscanf(line.c_str(), "[Vanish\\W%d\\]", &w) == 1)
            continue;
        if (line.compare(0, 9, "number = ") == 0)
            continue;
        ASSERT_EQ(line.compare(0, 7, "text = "), 0) << "stray line: " << line;
        std::string text = line.substr(7);
        ASSERT_EQ(sscanf(text.c_str(), "data of %d/%d", &w, &l), 2) << line;
        EXPECT_EQ(text, LeafText(w, l));
    }
}

/* A second thread deletes the tree from under the dump. The dump must end,
 * early and cleanly: whole lines only, nothing invented. */
TEST(HostileRegistryDump, KeysVanishingDuringTheDump)
{
    for (int round = 0; round < 2; round++) {
        RegistrySandbox registry;
        BuildVanishingTree(registry);
        RacedDump raced = DumpWhileChanging("Vanish\\", [&](std::atomic<int> &changes,
                                                            std::atomic<bool> &) {
            HKEY root;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Vanish", 0, KEY_ALL_ACCESS, &root))
                return;
            /* From the back in the first round, from the front in the
             * second: the index the dump is at then shifts under it. */
            for (int i = 0; i < WIDE_KEYS; i++) {
                int w = round == 0 ? WIDE_KEYS - 1 - i : i;
                DeleteSubtree(root, "W" + std::to_string(w));
                changes++;
                Sleep(1);
            }
            RegCloseKey(root);
        });

        EXPECT_GT(raced.changes, 0) << "round " << round << ": nothing vanished during the dump";
        const std::string &dump = raced.text;
        ASSERT_EQ(dump.compare(0, 13, CRLF + "[Vanish\\]" + CRLF), 0) << "round " << round;
        EXPECT_LE(CountOf(dump, "\r\n[Vanish\\W"), size_t(WIDE_KEYS * (1 + LEAF_KEYS)));
        ExpectOnlyWholeLines(dump);
        /* And the tree that is left is dumped whole afterwards. */
        EXPECT_EQ(DumpTree("Vanish\\"), CRLF + "[Vanish\\]" + CRLF);
    }
}

/* A second thread makes the values longer than the key reported while the
 * dump reads them: the listing may end early, the buffer is never overrun
 * (every read passes its true size), and no text is cut mid-way. */
TEST(HostileRegistryDump, ValuesGrowingDuringTheDump)
{
    RegistrySandbox registry;
    const int keys = 1000;   /* a dump long enough for the grower to meet it */
    for (int k = 0; k < keys; k++)
        for (int v = 0; v < 5; v++)
            registry.SetString("Grow\\K" + std::to_string(k), "v" + std::to_string(v), "s");

    RacedDump raced = DumpWhileChanging("Grow\\", [&](std::atomic<int> &changes,
                                                      std::atomic<bool> &dumped) {
        std::string text = "g";
        for (int round = 0; !dumped && round < 400; round++) {
            text += std::string(16, 'g');
            for (int k = 0; k < keys && !dumped; k += 7) {
                HKEY key;
                std::string path = "Grow\\K" + std::to_string(k);
                if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &key))
                    continue;
                if (RegSetValueExA(key, "v4", 0, REG_SZ,
                                   reinterpret_cast<const BYTE *>(text.c_str()),
                                   text.size() + 1) == ERROR_SUCCESS)
                    changes++;
                RegCloseKey(key);
            }
        }
    });

    EXPECT_GT(raced.changes, 0) << "no value grew during the dump";
    const std::string &dump = raced.text;
    EXPECT_EQ(CountOf(dump, "\r\n[Grow\\K"), size_t(keys));
    /* Each value line is whole: "s", or a run of g that goes on to its
     * own line end. */
    for (size_t at = dump.find("v4 = "); at != std::string::npos;
         at = dump.find("v4 = ", at + 1)) {
        size_t end = dump.find(CRLF, at);
        ASSERT_NE(end, std::string::npos);
        std::string first = dump.substr(at + 5, end - at - 5);
        EXPECT_TRUE(first == "s" || first.find_first_not_of('g') == std::string::npos)
            << first;
    }
}
