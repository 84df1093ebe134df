/*
 * The report file on disk. OpenFile keeps the full path in a buffer of
 * OFS_MAXPATHNAME bytes and refuses any name whose full path does not fit
 * there, so a report chosen in a deep folder could be neither found nor
 * created. Such names go to the calls that take a full-length path; every
 * other name keeps OpenFile's own behaviour, its search for a bare name
 * and the path it reports.
 */
#include "wizard.h"

static BOOL FitsOpenFile(const char *name)
{
    char full[MAX_PATH];
    char *filePart;
    DWORD length = GetFullPathNameA(name, sizeof(full), full, &filePart);
    return length < OFS_MAXPATHNAME;
}

BOOL FindReportFile(const char *name, char *path, int size)
{
    if (FitsOpenFile(name)) {
        OFSTRUCT found = {};
        found.cBytes = sizeof(found);
        if (OpenFile(name, &found, OF_EXIST) == HFILE_ERROR)
            return FALSE;
        lstrcpynA(path, found.szPathName, size);
        return TRUE;
    }

    DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    char *filePart;
    DWORD length = GetFullPathNameA(name, size, path, &filePart);
    if (!length || length >= static_cast<DWORD>(size))
        lstrcpynA(path, name, size);
    return TRUE;
}

HFILE CreateReportFile(const char *name)
{
    if (FitsOpenFile(name)) {
        OFSTRUCT opened = {};
        opened.cBytes = sizeof(opened);
        return OpenFile(name, &opened, OF_CREATE | OF_WRITE);
    }

    /* As OpenFile in its compatibility sharing mode, emptying a file that
     * exists. */
    HANDLE file = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return HFILE_ERROR;
    return static_cast<HFILE>(reinterpret_cast<INT_PTR>(file));
}
