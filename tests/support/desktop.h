/*
 * Test helpers for what other programs show: waiting for a window or a
 * state to appear, the icons in the notification area, the index of a
 * registry value as the programs enumerate it.
 */
#ifndef QEL_TEST_DESKTOP_H
#define QEL_TEST_DESKTOP_H

#include <windows.h>

#include <string>

/* Polls until test() holds or timeout milliseconds have passed. */
template <class Test> bool WaitFor(Test test, DWORD timeout = 15000)
{
    for (DWORD waited = 0;; waited += 50) {
        if (test())
            return true;
        if (waited >= timeout)
            return false;
        Sleep(50);
    }
}

/* The icons that the notification area shows: Wine's own tray window on a
 * screen without a taskbar of its own. */
int TrayIconCount();

/* The enumeration index of the value name in the key path below root, as
 * a program enumerating the key with RegEnumValueA meets it; -1 when the
 * key or the value is missing. */
int ValueIndex(HKEY root, const std::string &path, const std::string &name);

#endif
