#include "language.h"

#include <windows.h>

void GetUserLanguagePart(char language[LANGUAGE_PART_SIZE])
{
    language[0] = '\0';
    if (!GetLocaleInfoA(GetUserDefaultLCID(), LOCALE_SABBREVLANGNAME, language,
                        LANGUAGE_PART_SIZE))
        language[0] = '\0';
    language[3] = '\0';
}
