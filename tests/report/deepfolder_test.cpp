/*
 * The configuration files and the package files, looked for by bare name
 * from a program whose folder's path is longer than OpenFile takes (128
 * bytes). The test program copies itself into such a folder, places a
 * package file beside the copy and runs the copy's disabled test there,
 * once with the deep folder as the current folder and once with C:\.
 */
#include "report.h"
#include "sandbox.h"
#include "automation.h"

#include <gtest/gtest.h>

static const std::string CRLF = "\r\n";
static const std::string systemIni = "[boot]\r\nshell=Explorer.exe\r\n";
static const std::string winIni = "[windows]\nload=\n";

static std::string WindowsFolder()
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof(folder));
    return std::string(folder) + "\\";
}

static std::string Header(const std::string &name)
{
    const std::string marker(10, '%');
    return marker + name + marker + CRLF + CRLF;
}

/* A text as the report writer cuts it into lines of 70 columns. */
static std::string Cut(const std::string &text)
{
    std::string cut = text.substr(0, 70);
    for (size_t at = 70; at < text.size(); at += 70)
        cut += CRLF + text.substr(at, 70);
    return cut;
}

/* Runs in the copy in the deep folder. */
TEST(DeepProgramFolder, DISABLED_FindsTheFilesWhereTheyLie)
{
    const std::string folder = ProgramFolder();
    ASSERT_GE(folder.size(), static_cast<size_t>(OFS_MAXPATHNAME)) << folder;
    const std::string package = folder + "QELSUP1.DLL";
    TempFile report;
    HANDLE file = report.Create();
    WriteConfigFilesSection(file);
    WriteFileInfo(file, "QELSUP1.DLL");
    WriteFileInfo(file, "QELSUP2.DLL");   /* a folder beside the program */
    WriteFileInfo(file, "QELSUP3.DLL");   /* nowhere */
    report.Close();
    EXPECT_EQ(report.Bytes(),
              Header("C:\\AUTOEXEC.BAT") + Header("C:\\CONFIG.SYS") +
                  Header("SYSTEM.INI") + systemIni + CRLF + Header("WIN.INI") + winIni + CRLF +
                  CRLF + Cut(package) + CRLF + "Version = 1.2.3.4\t" + "Size = " +
                  std::to_string(ReadFileBytes(package).size()) + " bytes" + CRLF);
}

TEST(DeepProgramFolder, FilesAreFoundFromTheCurrentFolderAndFromTheRoot)
{
    /* The Wine prefix's files may be hard links shared with other
     * prefixes: they are removed rather than written through. */
    for (const char *name : { "C:\\AUTOEXEC.BAT", "C:\\CONFIG.SYS", "SYSTEM.INI", "WIN.INI" })
        DeleteFileA(name[1] == ':' ? name : (WindowsFolder() + name).c_str());
    WriteFileBytes(WindowsFolder() + "SYSTEM.INI", systemIni);
    WriteFileBytes(WindowsFolder() + "WIN.INI", winIni);

    const std::string top = "C:\\qel-deep-folder\\";
    const std::string folder = top + std::string(140, 'd') + "\\";
    const std::string copy = folder + "report_deepfolder_test.exe";
    CreateDirectoryA(top.c_str(), NULL);
    CreateDirectoryA(folder.c_str(), NULL);
    CreateDirectoryA((folder + "QELSUP2.DLL").c_str(), NULL);
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "report_deepfolder_test.exe").c_str(), copy.c_str(),
                          FALSE));
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "fixtures\\ver1234.dll").c_str(),
                          (folder + "QELSUP1.DLL").c_str(), FALSE));

    for (const std::string &current : { folder, std::string("C:\\") }) {
        SCOPED_TRACE(current);
        PROCESS_INFORMATION run = StartCommand(
            "\"" + copy + "\" --gtest_also_run_disabled_tests --gtest_filter=*DISABLED_*", current);
        ASSERT_TRUE(run.hProcess != NULL);
        EXPECT_EQ(WaitForExit(run, 60000), 0);
        CloseProgram(run);
    }
}
