/*
 * Small helpers of the common tests: the user's language part as the
 * platform gives it, and a scratch folder whose files go away with it.
 */
#ifndef QEL_TEST_COMMON_FIXTURE_H
#define QEL_TEST_COMMON_FIXTURE_H

#include <windows.h>
#include <string>
#include <vector>

/* The user's abbreviated language name, cut to three letters ("ENU"). */
std::string UserLanguage();

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    /* The folder, with a trailing backslash. */
    const std::string &Path() const { return m_path; }
    /* Creates an empty file (or a subfolder with a trailing backslash). */
    std::string Create(const std::string &name);
    /* Copies a file into the folder under a new name. */
    std::string Copy(const std::string &from, const std::string &name);

private:
    std::string m_path;
    std::vector<std::string> m_created;
};

#endif
