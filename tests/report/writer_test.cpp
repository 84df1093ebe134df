#include "sink.h"
#include "sandbox.h"

#include <gtest/gtest.h>

static std::string Written(const char *text, unsigned indent)
{
    TempFile file;
    WriteReportText(file.Create(), text, indent);
    file.Close();
    return file.Bytes();
}

TEST(WriteReportText, CutsAtSeventyColumnsFromTheIndent)
{
    struct Case { std::string text; unsigned indent; std::string expected; };
    const std::string a70(70, 'a'), a71(71, 'a'), a100(100, 'a'), a150(150, 'a');
    const Case cases[] = {
        { "", 0, "" },
        { "abc", 0, "abc" },
        { a70, 0, a70 },
        { a71, 0, a70 + "\r\na" },
        { a100, 20, std::string(50, 'a') + "\r\n" + std::string(50, 'a') },
        { a100, 70, "\r\n" + a70 + "\r\n" + std::string(30, 'a') },
        { a100, 71, a70 + "\r\n" + std::string(30, 'a') },
        { a100, 0xFFFFFFFFu, a70 + "\r\n" + std::string(30, 'a') },
        { a150, 0, a70 + "\r\n" + a70 + "\r\n" + "aaaaaaaaaa" },
        { std::string(69, 'x') + "\r\n", 0, std::string(69, 'x') + "\r\r\n\n" },
        { std::string(70, 'x') + "\r\n", 0, std::string(70, 'x') + "\r\n\r\n" },
    };
    for (const Case &c : cases)
        EXPECT_EQ(Written(c.text.c_str(), c.indent), c.expected)
            << "length " << c.text.size() << " indent " << c.indent;
}

TEST(WriteReportText, NullTextWritesOneLineBreakWhateverTheIndent)
{
    EXPECT_EQ(Written(NULL, 0), "\r\n");
    EXPECT_EQ(Written(NULL, 50), "\r\n");
}

TEST(WriteReportText, NullFileWritesNothingAndFails)
{
    EXPECT_EQ(WriteReportText(NULL, "text", 0), 0);
    EXPECT_EQ(WriteReportText(NULL, NULL, 0), 0);
}

TEST(WriteReportText, ReportsTheResultOfTheLastWrite)
{
    TempFile file;
    EXPECT_NE(WriteReportText(file.Create(), "text", 0), 0);
    file.Close();

    /* A handle opened for reading only refuses every write. */
    HANDLE readOnly = CreateFileA(file.Path().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(readOnly, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteReportText(readOnly, std::string(100, 'a').c_str(), 0), 0);
    CloseHandle(readOnly);
    EXPECT_EQ(file.Bytes(), "text");
}

TEST(WriteReportPlain, WritesTheTextWhole)
{
    TempFile file;
    const std::string rule = "\r\n\r\n" + std::string(71, '=') + "\r\n\r\n";
    WriteReportPlain(file.Create(), rule.c_str());
    file.Close();
    EXPECT_EQ(file.Bytes(), rule);
}

/* Pieces of report text: a null text is a line break. */
struct Piece { const char *text; unsigned indent; };

TEST(ReportSink, BlocksOfAnySizeKeepEveryByteInOrder)
{
    const std::string a150(150, 'a'), line69 = std::string(69, 'x') + "\r\n";
    const Piece pieces[] = {
        { "name", 0 }, { " = ", 0 }, { a150.c_str(), 7 }, { NULL, 0 }, { "", 0 },
        { line69.c_str(), 0 }, { "b", 70 }, { NULL, 9 }, { "end", 0 },
    };
    std::string direct;
    for (const Piece &p : pieces)
        direct += Written(p.text, p.indent);

    for (DWORD blockSize : { 0u, 1u, 7u, 70u, 72u, 4096u }) {
        TempFile file;
        ReportSink sink;
        OpenReportSink(&sink, file.Create(), blockSize);
        for (const Piece &p : pieces)
            CutReportText(&sink, p.text, p.indent);
        EXPECT_NE(CloseReportSink(&sink), 0) << "block of " << blockSize;
        file.Close();
        EXPECT_EQ(file.Bytes(), direct) << "block of " << blockSize;
    }
}

TEST(ReportSink, ClosingReportsAFailedWriteAndANullFile)
{
    TempFile file;
    file.Create();
    file.Close();
    HANDLE readOnly = CreateFileA(file.Path().c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                                  OPEN_EXISTING, 0, NULL);
    ASSERT_NE(readOnly, INVALID_HANDLE_VALUE);
    struct Case { HANDLE file; DWORD blockSize; };
    const Case cases[] = { { readOnly, 0 }, { readOnly, 4096 }, { NULL, 0 }, { NULL, 4096 } };
    for (const Case &c : cases) {
        ReportSink sink;
        OpenReportSink(&sink, c.file, c.blockSize);
        CutReportText(&sink, "text", 0);
        EXPECT_EQ(CloseReportSink(&sink), 0)
            << (c.file ? "read-only file" : "null file") << ", block of " << c.blockSize;
    }
    CloseHandle(readOnly);
    EXPECT_EQ(file.Bytes(), "");
}
