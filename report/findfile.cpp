/*
 * Where a file that the report names lies, when OpenFile cannot tell.
 *
 * OpenFile keeps the full path in OFS_MAXPATHNAME (128) bytes, and its
 * search for a bare name gives up at the first place whose path does not
 * fit there: with a deep program or current folder, not even a file in the
 * Windows folder is found. SearchPathA takes paths of full length. It
 * looks in the program's folder, the current folder, the system folders,
 * the Windows folder and the folders of PATH, in OpenFile's order on
 * Windows 95, NT 4.0 and Wine; newer Windows in its safe search mode looks
 * in the current folder only after the Windows folder.
 */
#include "report.h"

BOOL FindFileWithoutPathLimit(const char *name, char path[MAX_PATH])
{
    char *filePart;
    DWORD length = SearchPathA(NULL, name, NULL, MAX_PATH, path, &filePart);
    if (!length || length >= MAX_PATH)
        return FALSE;
    /* The search finds folders too; OpenFile never opens one. */
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
