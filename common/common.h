/*
 * Services shared by the wizard and the tray utility: the locale resource
 * module, the help file, the driver settings key and the registration of
 * their hidden window's class.
 */
#ifndef QEL_COMMON_H
#define QEL_COMMON_H

#include <windows.h>

enum DriverKeyKind {
    Root = -1,
    Settings = 0,
    Panning = 1,
    ColorCorrection = 2
};

/* Smallest buffer FindHelpFile may be given. */
#define HELP_PATH_SIZE 101

/* The resource module of the running program, kept for the whole run. */
extern HINSTANCE g_resourceModule;

HINSTANCE LoadResourceModule(const char *baseName);
void FindHelpFile(char *path);
int OpenDriverKey(DriverKeyKind kind, HKEY *key);
LONG CloseDriverKey(HKEY key);
/* RegisterClassExA, or where that fails, RegisterClassA with the same
 * fields; FALSE when neither registers the class. */
BOOL RegisterWindowClass(const WNDCLASSEXA *wcx);

#endif
