#include "common.h"
#include "language.h"

/* The "HelpFile" value is read into this many bytes, so a pattern holds at
 * most 99 characters; a longer one counts as missing. */
#define HELP_PATTERN_SIZE 100

/* Reads the "HelpFile" value of the driver settings key. The registry type
 * is not looked at; data that does not fit with its terminator is refused. */
static BOOL ReadHelpPattern(char pattern[HELP_PATTERN_SIZE])
{
    HKEY key;
    DWORD size = HELP_PATTERN_SIZE;
    LONG rc;

    if (!OpenDriverKey(Root, &key))
        return FALSE;
    rc = RegQueryValueExA(key, "HelpFile", NULL, NULL, (BYTE *)pattern, &size);
    CloseDriverKey(key);
    if (rc != ERROR_SUCCESS)
        return FALSE;
    if (size > 0 && pattern[size - 1] == '\0')
        return TRUE;
    if (size >= HELP_PATTERN_SIZE)
        return FALSE;
    pattern[size] = '\0';
    return TRUE;
}

/*
 * The pattern is meant as a wsprintfA format with one "%s" for the language
 * letters, but it comes from the registry and is never handed to a
 * formatter as it stands. Only two directives are understood: "%s", which
 * takes the language, and "%%", a literal percent sign. A pattern with any
 * other "%" sequence, or with more than one "%s", is no usable pattern and
 * is treated like a missing value. A pattern without "%s" names the same
 * file for every language.
 */
static BOOL IsHelpPattern(const char *pattern)
{
    int languageSlots = 0;

    for (const char *p = pattern; *p; p++) {
        if (*p != '%')
            continue;
        p++;
        if (*p == 's')
            languageSlots++;
        else if (*p != '%')
            return FALSE;
    }
    return languageSlots <= 1;
}

/* Builds the path from a pattern accepted by IsHelpPattern. With at most
 * 99 pattern characters and three language letters the path fits. */
static void ExpandHelpPattern(const char *pattern, const char *language,
                              char path[HELP_PATH_SIZE])
{
    char *out = path;
    char *end = path + HELP_PATH_SIZE - 1;

    for (const char *p = pattern; *p && out < end; p++) {
        if (*p != '%') {
            *out++ = *p;
            continue;
        }
        p++;
        if (*p == '%') {
            *out++ = '%';
            continue;
        }
        for (const char *l = language; *l && out < end; l++)
            *out++ = *l;
    }
    *out = '\0';
}

static BOOL TryHelpFile(const char *pattern, const char *language,
                        char path[HELP_PATH_SIZE])
{
    OFSTRUCT found;

    ExpandHelpPattern(pattern, language, path);
    return OpenFile(path, &found, OF_EXIST) != HFILE_ERROR;
}

/* Looks for the help file in the user's language, then in its two-letter
 * form, then the default one. Without a usable "HelpFile" value the
 * caller's default stays; when none of the three files exists the path
 * becomes empty. */
void FindHelpFile(char *path)
{
    char pattern[HELP_PATTERN_SIZE];
    char language[LANGUAGE_PART_SIZE];

    if (!ReadHelpPattern(pattern) || !IsHelpPattern(pattern))
        return;

    GetUserLanguagePart(language);
    if (TryHelpFile(pattern, language, path))
        return;
    language[2] = '\0';
    if (TryHelpFile(pattern, language, path))
        return;
    if (TryHelpFile(pattern, "DEF", path))
        return;
    path[0] = '\0';
}
