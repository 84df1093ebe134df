#include "sandbox.h"

#include <gtest/gtest.h>

static LONG DeleteTree(HKEY parent, const char *name)
{
    HKEY key;
    LONG rc = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS)
        return rc;
    char child[512];
    while (RegEnumKeyA(key, 0, child, sizeof(child)) == ERROR_SUCCESS) {
        if (DeleteTree(key, child) != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name);
}

RegistrySandbox::RegistrySandbox() : m_root(NULL)
{
    static unsigned counter;
    char name[96];
    wsprintfA(name, "Software\\QelTests\\%lu_%u", GetCurrentProcessId(), ++counter);
    m_path = name;
    DeleteTree(HKEY_CURRENT_USER, name);
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, name, 0, NULL, 0, KEY_ALL_ACCESS,
                              NULL, &m_root, NULL);
    EXPECT_EQ(rc, ERROR_SUCCESS);
    rc = RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_root);
    EXPECT_EQ(rc, ERROR_SUCCESS);
}

RegistrySandbox::~RegistrySandbox()
{
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, NULL);
    RegCloseKey(m_root);
    DeleteTree(HKEY_CURRENT_USER, m_path.c_str());
}

HKEY RegistrySandbox::CreateKey(const std::string &path)
{
    HKEY key = NULL;
    LONG rc = RegCreateKeyExA(m_root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS,
                              NULL, &key, NULL);
    EXPECT_EQ(rc, ERROR_SUCCESS) << path;
    return key;
}

void RegistrySandbox::SetValue(const std::string &path, const std::string &name,
                               DWORD type, const void *data, DWORD size)
{
    HKEY key = CreateKey(path);
    LONG rc = RegSetValueExA(key, name.empty() ? NULL : name.c_str(), 0, type,
                             static_cast<const BYTE *>(data), size);
    EXPECT_EQ(rc, ERROR_SUCCESS) << path << " " << name;
    RegCloseKey(key);
}

void RegistrySandbox::SetString(const std::string &path, const std::string &name,
                                const std::string &text)
{
    SetValue(path, name, REG_SZ, text.c_str(), text.size() + 1);
}

void RegistrySandbox::SetDword(const std::string &path, const std::string &name,
                               DWORD value)
{
    SetValue(path, name, REG_DWORD, &value, sizeof(value));
}

TempFile::TempFile(const std::string &name) : m_handle(INVALID_HANDLE_VALUE)
{
    static unsigned counter;
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    char folder[MAX_PATH + 64];
    wsprintfA(folder, "%sqel%lu_%u", base, GetCurrentProcessId(), ++counter);
    CreateDirectoryA(folder, NULL);
    m_folder = std::string(folder) + "\\";
    m_path = m_folder + name;
}

TempFile::~TempFile()
{
    Close();
    DeleteFileA(m_path.c_str());
    RemoveDirectoryA(m_folder.c_str());
}

HANDLE TempFile::Create()
{
    Close();
    m_handle = CreateFileA(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    EXPECT_NE(m_handle, INVALID_HANDLE_VALUE) << m_path;
    return m_handle;
}

void TempFile::Close()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

std::string TempFile::Bytes() const { return ReadFileBytes(m_path); }

void TempFile::Write(const std::string &bytes) const { WriteFileBytes(m_path, bytes); }

void WriteFileBytes(const std::string &path, const std::string &bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    if (!bytes.empty())
        WriteFile(h, bytes.data(), bytes.size(), &written, NULL);
    CloseHandle(h);
}

std::string ReadFileBytes(const std::string &path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char chunk[65536];
    DWORD got;
    while (ReadFile(h, chunk, sizeof(chunk), &got, NULL) && got)
        bytes.append(chunk, got);
    CloseHandle(h);
    return bytes;
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
    std::string folder(path, n);
    return folder.substr(0, folder.rfind('\\') + 1);
}
