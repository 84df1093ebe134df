#include "report.h"
#include "sandbox.h"

#include <gtest/gtest.h>

static const std::string CRLF = "\r\n";
static const std::string marker(10, '%');

static std::string Header(const std::string &name)
{
    return marker + name + marker + CRLF + CRLF;
}

static std::string DumpFile(const std::string &fileName)
{
    TempFile report;
    DumpTextFile(report.Create(), fileName.c_str());
    report.Close();
    return report.Bytes();
}

/* Files of the test's own Wine prefix may be hard links shared with other
 * prefixes: replace them instead of writing through the link. */
static void ReplaceFile(const std::string &path, const std::string &bytes)
{
    DeleteFileA(path.c_str());
    WriteFileBytes(path, bytes);
}

static std::string WindowsFolder()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof(folder));
    return std::string(folder) + "\\";
}

TEST(DumpTextFile, CopiesTheBytesWithForcedBreaksAfterThe71stColumn)
{
    struct Case { const char *what; std::string content; std::string copy; };
    const std::string x70(70, 'x'), x71(71, 'x');
    const Case cases[] = {
        { "empty file", "", CRLF },
        { "no final line end", "abc", "abc" + CRLF },
        { "final CR LF", "abc\r\n", "abc\r\n" + CRLF },
        { "70 columns", x70 + "\r\n" + x70, x70 + "\r\n" + x70 + CRLF },
        { "71 columns", x71 + "\r\nz", x71 + CRLF + "\r\nz" + CRLF },
        { "150 columns", std::string(150, 'y'),
          std::string(71, 'y') + CRLF + std::string(71, 'y') + CRLF + "yyyyyyyy" + CRLF },
        { "142 columns", std::string(142, 'y'),
          std::string(71, 'y') + CRLF + std::string(71, 'y') + CRLF + CRLF },
        { "bare LF", "a\nb\n" + x71, "a\nb\n" + x71 + CRLF + CRLF },
        { "bare CR resets", x70 + "\r" + x70 + "\n" + x70, x70 + "\r" + x70 + "\n" + x70 + CRLF },
        { "tab is a column", "\t" + x70 + "z", "\t" + x70 + CRLF + "z" + CRLF },
        { "binary", std::string("\0\x1a\xff\x80 \x7f", 6), std::string("\0\x1a\xff\x80 \x7f", 6) + CRLF },
        { "NUL bytes count", std::string(71, '\0') + "\n", std::string(71, '\0') + CRLF + "\n" + CRLF },
    };
    TempFile source("source.txt");
    for (const Case &c : cases) {
        source.Write(c.content);
        EXPECT_EQ(DumpFile(source.Path()), Header(source.Path()) + c.copy) << c.what;
    }
}

TEST(DumpTextFile, MissingFileLeavesItsHeaderOnly)
{
    TempFile missing("missing.txt");
    EXPECT_EQ(DumpFile(missing.Path()), Header(missing.Path()));
}

TEST(DumpTextFile, BareNameIsSearchedForAndShownAsGiven)
{
    ReplaceFile(WindowsFolder() + "WIN.INI", "[windows]\r\nload=\r\n");
    EXPECT_EQ(DumpFile("win.ini"), Header("win.ini") + "[windows]\r\nload=\r\n" + CRLF);
}

TEST(WriteConfigFilesSection, DumpsTheFourFilesInOrder)
{
    ReplaceFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nPATH C:\\WINDOWS");
    DeleteFileA("C:\\CONFIG.SYS");
    ReplaceFile(WindowsFolder() + "SYSTEM.INI", "[boot]\r\n");
    ReplaceFile(WindowsFolder() + "WIN.INI", "[windows]\n");

    TempFile report;
    WriteConfigFilesSection(report.Create());
    report.Close();
    EXPECT_EQ(report.Bytes(), Header("C:\\AUTOEXEC.BAT") + "@ECHO OFF\r\nPATH C:\\WINDOWS" + CRLF +
                                  Header("C:\\CONFIG.SYS") +
                                  Header("SYSTEM.INI") + "[boot]\r\n" + CRLF +
                                  Header("WIN.INI") + "[windows]\n" + CRLF);
    DeleteFileA("C:\\AUTOEXEC.BAT");
}
