/*
 * The tooltip refresh, which runs every 5 seconds for as long as the tray
 * utility runs: hours of it must leave no memory behind. This program
 * carries the utility's own icons, so that the refresh loads the real tray
 * icon.
 */
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include "tray.h"

static long long PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters;
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return 0;
    return counters.PagefileUsage;
}

TEST(TrayRefresh, FiveHoursOfRefreshesKeepMemoryFlat)
{
    g_instance = GetModuleHandleA(NULL);
    ASSERT_TRUE(FindResourceA(g_instance, MAKEINTRESOURCEA(IDI_TRAY), RT_GROUP_ICON));
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(window);

    /* The first refreshes may load what every later one uses. */
    UpdateTrayIcon(window, NIM_ADD);
    for (int i = 0; i < 100; i++)
        UpdateTrayIcon(window, NIM_MODIFY);
    long long before = PrivateBytes();
    for (int i = 0; i < 3600; i++)
        UpdateTrayIcon(window, NIM_MODIFY);
    long long growth = PrivateBytes() - before;
    UpdateTrayIcon(window, NIM_DELETE);
    DestroyWindow(window);

    ASSERT_GT(before, 0) << "private bytes not read";
    /* An icon loaded anew for each refresh kept about 100 bytes each. */
    EXPECT_LT(growth, 64 * 1024) << "bytes kept by 3600 refreshes";
}
