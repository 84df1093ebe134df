#include "common.h"

static const char CLASS_KEY[] = "System\\CurrentControlSet\\Services\\Class\\DISPLAY";
static const char DRIVER_KEY[] = "QEL";

/* Subkey of the driver settings key for a kind other than Root; null for
 * a kind that has none. */
static const char *DriverSubkeyName(DriverKeyKind kind)
{
    switch (kind) {
    case Settings:        return "Settings";
    case Panning:         return "Panning";
    case ColorCorrection: return "ColorCorrection";
    default:              return NULL;
    }
}

static BOOL CreateSubkey(HKEY parent, const char *name, HKEY *key)
{
    return RegCreateKeyExA(parent, name, 0, NULL, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, NULL, key, NULL) == ERROR_SUCCESS;
}

/* Opens the driver settings key below the display class key, or one of
 * its subkeys, creating them when missing. The class key itself belongs to
 * the system and is never created: without it nothing is created and the
 * call fails. Kinds other than the four known ones fail without touching
 * the registry. */
int OpenDriverKey(DriverKeyKind kind, HKEY *key)
{
    const char *subkey = NULL;
    HKEY classKey;
    HKEY driverKey;
    BOOL created;

    if (kind != Root) {
        subkey = DriverSubkeyName(kind);
        if (!subkey)
            return 0;
    }

    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLASS_KEY, 0, KEY_ALL_ACCESS, &classKey)
        != ERROR_SUCCESS)
        return 0;
    created = CreateSubkey(classKey, DRIVER_KEY, &driverKey);
    RegCloseKey(classKey);
    if (!created)
        return 0;

    if (kind == Root) {
        *key = driverKey;
        return 1;
    }
    created = CreateSubkey(driverKey, subkey, key);
    RegCloseKey(driverKey);
    return created ? 1 : 0;
}

LONG CloseDriverKey(HKEY key)
{
    return RegCloseKey(key);
}
