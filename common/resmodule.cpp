#include "common.h"
#include "language.h"

HINSTANCE g_resourceModule;

/* Module names are 8.3 file names: a base name of up to five letters,
 * three letters of language and ".RSC". */
#define MAX_BASE_NAME 5
#define MODULE_NAME_SIZE 13

/* Tries the module named base + language part, then the one with only the
 * first two letters of the language, then the default module. The names
 * carry no folder, so the program's own folder is searched first. */
HINSTANCE LoadResourceModule(const char *baseName)
{
    char language[LANGUAGE_PART_SIZE];
    char name[MODULE_NAME_SIZE];
    HINSTANCE module;

    if (lstrlenA(baseName) > MAX_BASE_NAME)
        return NULL;

    GetUserLanguagePart(language);
    wsprintfA(name, "%s%s.RSC", baseName, language);
    module = LoadLibraryA(name);
    if (module)
        return module;

    language[2] = '\0';
    wsprintfA(name, "%s%s.RSC", baseName, language);
    module = LoadLibraryA(name);
    if (module)
        return module;

    wsprintfA(name, "%sDEF.RSC", baseName);
    return LoadLibraryA(name);
}
