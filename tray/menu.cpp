/*
 * The tray menu, built anew from the registry each time it opens: the
 * stored display settings and colour schemes, two help items and exit.
 */
#include "tray.h"

/* Lists the named values of the kind's key, each with the id
 * group * 100 + its value index; an empty list gets a grey placeholder. */
HMENU BuildListMenu(DriverKeyKind kind, int group)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return NULL;

    HKEY key;
    if (OpenDriverKey(kind, &key)) {
        for (DWORD i = 0; i < LIST_LIMIT; ++i) {
            char name[VALUE_NAME_SIZE];
            DWORD nameLength = sizeof(name), type;
            /* A name of 256 characters or more fails too and ends the list. */
            if (RegEnumValueA(key, i, name, &nameLength, NULL, &type, NULL, NULL)
                != ERROR_SUCCESS)
                break;
            if (!name[0])
                continue;   /* the key's unnamed default value */
            AppendMenuA(menu, MF_STRING, group * 100 + i, name);
        }
        CloseDriverKey(key);
    }

    if (GetMenuItemCount(menu) <= 0) {
        char text[64];
        LoadModuleString(IDS_EMPTY_LIST, text, sizeof(text));
        AppendMenuA(menu, MF_STRING | MF_GRAYED, CMD_EMPTY_LIST, text);
    }
    return menu;
}

/* Shows the scheme in force under its own caption instead of its value
 * name; only an exact match counts. */
void RelabelDefaultScheme(HMENU menu)
{
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[MENU_TEXT_SIZE];
        text[0] = '\0';
        GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
        if (lstrcmpA(text, DEFAULT_SCHEME_NAME) == 0) {
            UINT id = GetMenuItemID(menu, position);
            char caption[MENU_TEXT_SIZE];
            LoadModuleString(IDS_DEFAULT_SCHEME, caption, sizeof(caption));
            ModifyMenuA(menu, position, MF_BYPOSITION | MF_STRING, id, caption);
            return;
        }
    }
}

/* Appends one list as a submenu titled with string title. */
static void AppendListMenu(HMENU menu, DriverKeyKind kind, int group, UINT title)
{
    char text[MENU_TEXT_SIZE];
    LoadModuleString(title, text, sizeof(text));
    HMENU list = BuildListMenu(kind, group);
    if (!list)
        return;
    if (group == GROUP_SCHEMES)
        RelabelDefaultScheme(list);
    if (!AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(list), text))
        DestroyMenu(list);
}

static void AppendItem(HMENU menu, UINT id, UINT flags)
{
    char text[MENU_TEXT_SIZE];
    LoadModuleString(id, text, sizeof(text));
    AppendMenuA(menu, MF_STRING | flags, id, text);
}

HMENU BuildTrayMenu(void)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return NULL;

    if (DisplayModeIsEnabled() && g_menuEnabled)
        AppendListMenu(menu, Settings, GROUP_SETTINGS, IDS_SETTINGS_MENU);
    if (GammaIsEnabled() && g_menuEnabled)
        AppendListMenu(menu, ColorCorrection, GROUP_SCHEMES, IDS_SCHEMES_MENU);

    UINT helpFlags = g_helpPath[0] ? 0 : MF_GRAYED;
    AppendItem(menu, CMD_HELP_CONTENTS, helpFlags);
    int contents = GetMenuItemCount(menu) - 1;
    AppendItem(menu, CMD_HELP_TOPIC, helpFlags);
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendItem(menu, CMD_EXIT, 0);

    SetMenuDefaultItem(menu, contents, TRUE);
    return menu;
}
