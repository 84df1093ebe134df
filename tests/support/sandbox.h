/*
 * Test helpers: a private HKEY_LOCAL_MACHINE for each test, and report
 * files in a temporary folder that are read back as bytes.
 */
#ifndef QEL_TEST_SANDBOX_H
#define QEL_TEST_SANDBOX_H

#include <windows.h>
#include <string>

/* While it lives, HKEY_LOCAL_MACHINE of this process is an empty key of
 * its own (below HKEY_CURRENT_USER), removed again at the end. */
class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox &) = delete;
    RegistrySandbox &operator=(const RegistrySandbox &) = delete;

    /* Creates path (and its parents) below the sandboxed root. */
    HKEY CreateKey(const std::string &path);
    void SetValue(const std::string &path, const std::string &name, DWORD type,
                  const void *data, DWORD size);
    void SetString(const std::string &path, const std::string &name,
                   const std::string &text);
    void SetDword(const std::string &path, const std::string &name, DWORD value);

private:
    std::string m_path;
    HKEY m_root;
};

/* A file in a fresh temporary folder; Bytes() reads it back whole. */
class TempFile {
public:
    explicit TempFile(const std::string &name = "report.txt");
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    const std::string &Path() const { return m_path; }
    const std::string &Folder() const { return m_folder; }
    HANDLE Create();            /* opens for writing, truncating */
    void Close();
    std::string Bytes() const;
    void Write(const std::string &bytes) const;

private:
    std::string m_folder;
    std::string m_path;
    HANDLE m_handle;
};

/* Writes bytes to a file at path (created or truncated). */
void WriteFileBytes(const std::string &path, const std::string &bytes);
/* Reads a whole file; empty when it does not exist. */
std::string ReadFileBytes(const std::string &path);
/* Folder of the running test program, with a trailing backslash. */
std::string ProgramFolder();

#endif
