/*
 * The Windows version that Wine reports to the programs of an end-to-end
 * run (QEL_WINDOWS, given per CTest entry), with what the programs see of
 * it under this Wine, for the tests' expectations.
 */
#ifndef QEL_TEST_WINDOWS_VERSION_H
#define QEL_TEST_WINDOWS_VERSION_H

#include <windows.h>

struct WindowsVersion {
    const char *name;       /* Wine's name for it: win95, nt40, win7... */
    const char *osLine;     /* the report's O/S line, without its CR LF */
    DWORD packed;           /* what GetVersion returns */
    bool ntFamily;
};

/* The version that QEL_WINDOWS names; null when it names none of them. */
const WindowsVersion *TestedWindowsVersion();

#endif
