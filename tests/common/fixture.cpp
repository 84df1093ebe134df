#include "fixture.h"

#include <gtest/gtest.h>

std::string UserLanguage()
{
    char name[16] = "";
    GetLocaleInfoA(GetUserDefaultLCID(), LOCALE_SABBREVLANGNAME, name, sizeof(name));
    return std::string(name).substr(0, 3);
}

ScratchFolder::ScratchFolder()
{
    static unsigned counter;
    char temp[MAX_PATH];
    char folder[MAX_PATH + 32];
    GetTempPathA(sizeof(temp), temp);
    wsprintfA(folder, "%sqelc%lu_%u\\", temp, GetCurrentProcessId(), ++counter);
    m_path = folder;
    EXPECT_TRUE(CreateDirectoryA(m_path.c_str(), NULL)) << m_path;
}

ScratchFolder::~ScratchFolder()
{
    for (auto it = m_created.rbegin(); it != m_created.rend(); ++it) {
        if (it->back() == '\\')
            RemoveDirectoryA(it->c_str());
        else
            DeleteFileA(it->c_str());
    }
    RemoveDirectoryA(m_path.c_str());
}

std::string ScratchFolder::Create(const std::string &name)
{
    std::string path = m_path + name;
    if (path.back() == '\\') {
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), NULL)) << path;
    } else {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, NULL);
        EXPECT_NE(h, INVALID_HANDLE_VALUE) << path;
        CloseHandle(h);
    }
    m_created.push_back(path);
    return path;
}

std::string ScratchFolder::Copy(const std::string &from, const std::string &name)
{
    std::string path = m_path + name;
    EXPECT_TRUE(CopyFileA(from.c_str(), path.c_str(), FALSE)) << from << " -> " << path;
    m_created.push_back(path);
    return path;
}
