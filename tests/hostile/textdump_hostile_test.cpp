/*
 * The text file dump against configuration files that are not text and
 * file names that are not tame: every byte value and runs of NUL bytes,
 * long runs without a line end, format directives in the name, and names
 * at and past the 127 characters that OpenFile can take.
 */
#include "hostile.h"
#include "report.h"
#include "sandbox.h"

#include <gtest/gtest.h>

static const std::string marker = "%%%%%%%%%%";

static std::string DumpFile(const std::string &fileName)
{
    TempFile report;
    DumpTextFile(report.Create(), fileName.c_str());
    report.Close();
    return report.Bytes();
}

/* The copy as the report keeps it: every byte unchanged, a line break
 * after the 71st byte of a run without CR or LF, one at the end. */
static std::string Copied(const std::string &bytes)
{
    std::string out;
    unsigned column = 0;
    for (char byte : bytes) {
        out += byte;
        if (byte == '\r' || byte == '\n')
            column = 0;
        else if (++column > 70) {
            out += CRLF;
            column = 0;
        }
    }
    return out + CRLF;
}

/* The header's three texts are each cut by the report writer on their own. */
static std::string Header(const std::string &name)
{
    return marker + Wrapped(name, 0) + marker + CRLF + CRLF;
}

static std::string Block(const std::string &name, const std::string &bytes)
{
    return Header(name) + Copied(bytes);
}

TEST(HostileTextDump, BinaryAndNulBytesReachTheReportUnchanged)
{
    std::string everyByte;
    for (int round = 0; round < 3; round++)
        for (int b = 0; b < 256; b++)
            everyByte += static_cast<char>(b);
    struct Case { const char *what; std::string bytes; };
    const Case cases[] = {
        { "every byte value", everyByte },
        { "NUL bytes only", std::string(500, '\0') },
        { "NUL inside lines", std::string("a=1\0\0b\r\n\0\r\n\x1a\x1a tail", 17) },
        { "end-of-file marks", std::string(200, '\x1a') },
        { "256 KB without a line end", std::string(256 * 1024, 'q') },
    };
    for (const Case &c : cases) {
        TempFile config("binary.ini");
        config.Write(c.bytes);
        EXPECT_EQ(DumpFile(config.Path()), Block(config.Path(), c.bytes)) << c.what;
    }
}

/* A file name full of directives is written as it stands in the header,
 * and the file it names is found and copied. */
TEST(HostileTextDump, FormatDirectivesInTheFileName)
{
    TempFile config("%s%n%x%%%d.ini");
    config.Write("[boot]\r\nshell=%s%n\r\n");
    EXPECT_EQ(DumpFile(config.Path()), Block(config.Path(), "[boot]\r\nshell=%s%n\r\n"));

    const std::string missing = "C:\\" + formatDirectives + "\\missing.ini";
    EXPECT_EQ(DumpFile(missing), Header(missing));
}

/* OpenFile keeps the full path in 128 bytes and refuses longer ones: a
 * name on either side of that limit, and one at the platform's own, is
 * copied whole, and nothing is overrun. */
TEST(HostileTextDump, FileNamesAtTheOpenFileLimit)
{
    TempFile folder("unused");
    const std::string base = folder.Folder();   /* ends in a backslash */
    for (size_t length : { 127u, 128u, 259u }) {
        ASSERT_LT(base.size() + 5, length);
        std::string path = base + std::string(length - base.size() - 4, 'n') + ".ini";
        ASSERT_EQ(path.size(), length);
        WriteFileBytes(path, "key=value\r\n");
        EXPECT_EQ(DumpFile(path), Header(path) + Copied("key=value\r\n"))
            << "name of " << length << " characters";
        DeleteFileA(path.c_str());
    }
}
