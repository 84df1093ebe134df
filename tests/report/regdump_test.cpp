#include "report.h"
#include "sandbox.h"

#include <gtest/gtest.h>

static const std::string CRLF = "\r\n";

/* The report bytes DumpRegistryTree writes for path under the sandboxed
 * HKEY_LOCAL_MACHINE. */
static std::string DumpTree(std::string path)
{
    TempFile report;
    DumpRegistryTree(report.Create(), &path[0], HKEY_LOCAL_MACHINE);
    report.Close();
    return report.Bytes();
}

static std::string Header(const std::string &path)
{
    return CRLF + "[" + path + "]" + CRLF;
}

/* The text as WriteReportText cuts it with indentation 0. */
static std::string Cut(std::string text)
{
    for (size_t at = 70; at < text.size(); at += 72)
        text.insert(at, CRLF);
    return text;
}

static std::string Repeat(const std::string &text, int times)
{
    std::string all;
    while (times-- > 0)
        all += text;
    return all;
}

static std::string Bytes(std::initializer_list<int> bytes)
{
    std::string text;
    for (int b : bytes)
        text += (char)b;
    return text;
}

/* Sets a value from UTF-16 text of an exact byte count: the ANSI call
 * would add a terminator that the test wants to leave out. */
static void SetWideValue(RegistrySandbox &registry, const std::string &path,
                         const wchar_t *name, DWORD type, const wchar_t *data, DWORD size)
{
    HKEY key = registry.CreateKey(path);
    EXPECT_EQ(RegSetValueExW(key, name, 0, type, (const BYTE *)data, size), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(DumpRegistryTree, RendersEveryValueType)
{
    struct Case { std::string name; DWORD type; std::string data; std::string line; };
    const std::string x100(100, 'x');
    const Case cases[] = {
        { "s", REG_SZ, std::string("text", 5), "s = text" },
        { "", REG_SZ, std::string("x", 2), "(Default) = x" },
        { "e", REG_EXPAND_SZ, std::string("%PATH%", 7), "e = %PATH%" },
        { "l", REG_LINK, "ab", "l = ab" },
        { "none", REG_NONE, "abc", "none = (value not set)" },
        { "b", REG_BINARY, "", "b = " },
        { "b", REG_BINARY, Bytes({ 1, 171 }), "b = 01 ab " },
        { "r", REG_RESOURCE_LIST, Bytes({ 0, 255, 16 }), "r = 00 ff 10 " },
        { "d", REG_DWORD, Bytes({ 255, 255, 255, 255 }), "d = -1" },
        { "d", REG_DWORD, Bytes({ 0x78, 0x56, 0x34, 0x12 }), "d = 305419896" },
        { "d", REG_DWORD, Bytes({ 1, 2, 0, 0, 9, 9, 9, 9 }), "d = 513" },
        { "d", REG_DWORD_BIG_ENDIAN, Bytes({ 1, 0, 0, 0 }), "d = 1" },
        { "m", REG_MULTI_SZ, std::string("a\0bc\0", 6), "m = { \"a\"  \"bc\"  }" },
        { "m", REG_MULTI_SZ, std::string("a\0\0b\0", 6), "m = { \"a\"  }" },
        { "m", REG_MULTI_SZ, std::string("\0", 2), "m = { }" },
        { "f", REG_FULL_RESOURCE_DESCRIPTOR, "abc", "f = (REG_FULL_RESOURCE_DESCRIPTOR)" },
        { "q", 11, Bytes({ 1, 2, 3, 4, 5, 6, 7, 8 }), "q = (Undefined)" },
        { "u", 0x12345, "", "u = (Undefined)" },
        /* Long renderings: the first chunk ends at column 70 of the line. */
        { "name", REG_SZ, x100, "name = " + x100.substr(0, 63) + CRLF + x100.substr(63) },
        { "", REG_SZ, x100, "(Default) = " + x100.substr(0, 58) + CRLF + x100.substr(58) },
        { "b", REG_BINARY, std::string(30, 1),
          "b = " + Repeat("01 ", 22) + CRLF + Repeat("01 ", 8) },
        /* Renderings written in one piece take the name's length only. */
        { std::string(68, 'n'), REG_DWORD, Bytes({ 7, 0, 0, 0 }),
          std::string(68, 'n') + " =" + CRLF + " 7" },
        /* Beyond 70 columns the indentation counts as 0. */
        { std::string(70, 'n'), REG_SZ, x100,
          std::string(70, 'n') + " = " + x100.substr(0, 70) + CRLF + x100.substr(70) },
        { std::string(80, 'n'), REG_SZ, "v",
          std::string(70, 'n') + CRLF + std::string(10, 'n') + " = v" },
    };
    for (const Case &c : cases) {
        RegistrySandbox registry;
        registry.SetValue("Key", c.name, c.type, c.data.data(), c.data.size());
        EXPECT_EQ(DumpTree("Key\\"), Header("Key\\") + c.line + CRLF)
            << "type " << c.type << " name " << c.name;
    }
}

TEST(DumpRegistryTree, ShortNumbersAreTheBytesPresent)
{
    struct Case { DWORD type; std::string data; const char *line; };
    const Case cases[] = {
        { REG_DWORD, "", "d = 0" },
        { REG_DWORD, Bytes({ 1, 2 }), "d = 513" },
        { REG_DWORD_BIG_ENDIAN, Bytes({ 255, 255, 255 }), "d = 16777215" },
    };
    for (const Case &c : cases) {
        RegistrySandbox registry;
        /* A longer value first leaves its bytes in the data buffer. */
        registry.SetValue("Key", "c", REG_BINARY, "\xff\xff\xff\xff\xff\xff", 6);
        registry.SetValue("Key", "d", c.type, c.data.data(), c.data.size());
        EXPECT_EQ(DumpTree("Key\\"),
                  Header("Key\\") + "c = ff ff ff ff ff ff " + CRLF + c.line + CRLF)
            << c.line;
    }
}

TEST(DumpRegistryTree, TextEndsWithTheSizeTheRegistryReturned)
{
    RegistrySandbox registry;
    /* Values are listed in name order; the first fills the data buffer. */
    registry.SetString("Key", "a", std::string(40, 'X'));
    registry.SetValue("Key", "b", REG_LINK, "ab", 2);
    SetWideValue(registry, "Key", L"c", REG_SZ, L"", 0);
    SetWideValue(registry, "Key", L"d", REG_EXPAND_SZ, L"", 0);
    SetWideValue(registry, "Key", L"e", REG_MULTI_SZ, L"", 0);
    registry.SetValue("Key", "f", REG_BINARY, "", 0);
    EXPECT_EQ(DumpTree("Key\\"), Header("Key\\") +
                                     "a = " + std::string(40, 'X') + CRLF +
                                     "b = ab" + CRLF +
                                     "c = " + CRLF +
                                     "d = " + CRLF +
                                     "e = { }" + CRLF +
                                     "f = " + CRLF);
}

TEST(DumpRegistryTree, EmptyKeyGivesItsHeaderOnly)
{
    RegistrySandbox registry;
    RegCloseKey(registry.CreateKey("Empty"));
    EXPECT_EQ(DumpTree("Empty\\"), CRLF + "[Empty\\]" + CRLF);
}

TEST(DumpRegistryTree, WritesKeysDepthFirstWithValuesBeforeSubkeys)
{
    RegistrySandbox registry;
    registry.SetString("Root", "v", "root");
    registry.SetDword("Root\\b", "n", 2);
    registry.SetString("Root\\b\\deep", "w", "deep");
    registry.SetString("Root\\a", "v", "a");
    RegCloseKey(registry.CreateKey("Root\\c"));
    EXPECT_EQ(DumpTree("Root\\"), Header("Root\\") + "v = root" + CRLF +
                                      Header("Root\\a\\") + "v = a" + CRLF +
                                      Header("Root\\b\\") + "n = 2" + CRLF +
                                      Header("Root\\b\\deep\\") + "w = deep" + CRLF +
                                      Header("Root\\c\\"));
}

TEST(DumpRegistryTree, ListsSubkeysOfAnyNameLengthAndCutsLongHeaders)
{
    RegistrySandbox registry;
    const std::string longest(255, 'k'), middle(100, 'm');
    RegCloseKey(registry.CreateKey("L\\" + longest));
    RegCloseKey(registry.CreateKey("L\\" + middle));
    RegCloseKey(registry.CreateKey("L\\a"));

    EXPECT_EQ(DumpTree("L\\"), Header("L\\") + Header("L\\a\\") +
                                   CRLF + Cut("[L\\" + longest + "\\]") + CRLF +
                                   CRLF + Cut("[L\\" + middle + "\\]") + CRLF);
}

TEST(DumpRegistryTree, KeyRefusedWithItsSeparatorOpensFromItsParent)
{
    /* A key path of 260 characters opens, with the separator it does not. */
    RegistrySandbox registry;
    const std::string parent(200, 'p');
    const std::string path = parent + "\\" + std::string(59, 'q');
    ASSERT_EQ(path.size(), 260u);
    registry.SetString(path, "v", "kept");
    HKEY key = registry.CreateKey(path);
    HKEY child;
    ASSERT_EQ(RegCreateKeyExA(key, "child", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &child, NULL),
              ERROR_SUCCESS);
    RegCloseKey(child);
    RegCloseKey(key);

    /* Asked for by itself there is no parent to open it from: its values
     * come from the path without the separator, and no subkeys. */
    const std::string refused = CRLF + Cut("[" + path + "\\]") + CRLF + "v = kept" + CRLF;
    EXPECT_EQ(DumpTree(path + "\\"), refused);

    /* Reached as a subkey it is whole. */
    EXPECT_EQ(DumpTree(parent + "\\"), CRLF + Cut("[" + parent + "\\]") + CRLF + refused +
                                            CRLF + Cut("[" + path + "\\child\\]") + CRLF);
}

/* Creates name under parent and sets its value "v"; returns the key. No
 * call sees more than the one name, whatever the depth. */
static HKEY CreateChildWithValue(HKEY parent, const std::string &name, const std::string &text)
{
    HKEY child = NULL;
    EXPECT_EQ(RegCreateKeyExA(parent, name.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &child,
                              NULL), ERROR_SUCCESS) << name;
    EXPECT_EQ(RegSetValueExA(child, "v", 0, REG_SZ, (const BYTE *)text.c_str(),
                             text.size() + 1), ERROR_SUCCESS) << name;
    return child;
}

TEST(DumpRegistryTree, KeysPastThePathLimitAreDumpedWhole)
{
    /* Five keys of 80 characters below "Deep": paths of up to 410, with
     * values at every level and two subkeys at the bottom. */
    RegistrySandbox registry;
    HKEY key = registry.CreateKey("Deep");
    std::string path = "Deep\\";
    std::string expected = Header(path);
    for (int level = 0; level < 5; level++) {
        const std::string name = std::to_string(level) + std::string(79, 'd');
        HKEY child = CreateChildWithValue(key, name, "level " + std::to_string(level));
        RegCloseKey(key);
        key = child;
        path += name + "\\";
        expected += CRLF + Cut("[" + path + "]") + CRLF + "v = level " +
                    std::to_string(level) + CRLF;
    }
    ASSERT_GT(path.size(), 400u);
    for (const char *name : { "a", "b" }) {
        RegCloseKey(CreateChildWithValue(key, name, std::string("bottom ") + name));
        expected += CRLF + Cut("[" + path + name + "\\]") + CRLF + "v = bottom " + name + CRLF;
    }
    RegCloseKey(key);

    EXPECT_EQ(DumpTree("Deep\\"), expected);
}

TEST(DumpRegistryTree, KeyThatDoesNotOpenAtAllLeavesItsHeader)
{
    RegistrySandbox registry;
    EXPECT_EQ(DumpTree("Missing\\"), Header("Missing\\"));
}

TEST(DumpRegistryTree, ValueNameTooLongEndsTheValuesButNotTheSubkeys)
{
    RegistrySandbox registry;
    registry.SetDword("Key", "a", 1);
    registry.SetDword("Key", std::string(255, 'm'), 2);
    registry.SetDword("Key", std::string(256, 'n'), 3);
    registry.SetDword("Key", "z", 4);
    registry.SetDword("Key\\sub", "s", 5);
    EXPECT_EQ(DumpTree("Key\\"), Header("Key\\") + "a = 1" + CRLF +
                                     Cut(std::string(255, 'm')) + " = 2" + CRLF +
                                     Header("Key\\sub\\") + "s = 5" + CRLF);
}

TEST(DumpRegistryTree, NullRootOrPathWritesNothing)
{
    RegistrySandbox registry;
    registry.SetDword("Key", "a", 1);
    TempFile report;
    HANDLE file = report.Create();
    char path[] = "Key\\";
    DumpRegistryTree(file, NULL, HKEY_LOCAL_MACHINE);
    DumpRegistryTree(file, path, NULL);
    DumpRegistryValues(file, NULL, HKEY_LOCAL_MACHINE);
    DumpRegistryValues(file, "Key", NULL);
    report.Close();
    EXPECT_EQ(report.Bytes(), "");
}

TEST(DumpRegistryValues, ListsTheValuesOfTheKeyNamedWithoutSeparator)
{
    RegistrySandbox registry;
    registry.SetString("Key", "", "default");
    registry.SetDword("Key", "n", 42);
    registry.SetDword("Key\\sub", "s", 5);
    TempFile report;
    HANDLE file = report.Create();
    DumpRegistryValues(file, "Key", HKEY_LOCAL_MACHINE);
    DumpRegistryValues(file, "Missing", HKEY_LOCAL_MACHINE);
    DumpRegistryValues(file, "Key\\sub", HKEY_LOCAL_MACHINE);
    report.Close();
    EXPECT_EQ(report.Bytes(), "(Default) = default" + CRLF + "n = 42" + CRLF + "s = 5" + CRLF);
}
