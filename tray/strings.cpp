/*
 * Strings of the locale resource module.
 */
#include "tray.h"

/* Loads string id into buffer; an id the module lacks gives "". */
int LoadModuleString(UINT id, char *buffer, int size)
{
    buffer[0] = '\0';
    return LoadStringA(g_resourceModule, id, buffer, size);
}
