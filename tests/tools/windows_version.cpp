#include "windows_version.h"

/* GetVersion packs the minor and major version into its low word, and on
 * NT the build number into its high word; Windows 95 and 98 set the top
 * two bits instead. The O/S line shows only the build number's low word:
 * Windows 95 and 98 keep their version numbers in its high word.
 *
 * What Windows 95 and NT 4.0 lack beyond that, the programs look up at run
 * time (EnumDisplayDevicesA for the monitor's key; on NT 4.0 also the
 * gamma ramp calls for colour schemes). Wine has those calls whatever
 * version it reports, so the runs here take the newer versions' road; the
 * import check (tests/package) is what keeps such a call out of the import
 * tables. */
static const WindowsVersion versions[] = {
    { "win95", "Win32 on Windows 95 -- 4.0.950", 0xC0000004, false },
    { "win98", "Win32 on Windows 95 -- 4.10.2222", 0xC0000A04, false },
    { "nt40", "Windows NT -- 4.0.1381", 0x05650004, true },
    { "win2k", "Windows NT -- 5.0.2195", 0x08930005, true },
    { "winxp", "Windows NT -- 5.1.2600", 0x0A280105, true },
    { "win7", "Windows NT -- 6.1.7601", 0x1DB10106, true },
    /* Windows 10 tells a program without a compatibility manifest, as
     * ours are, that it runs on 8 (6.2.9200); Wine does the same. */
    { "win10", "Windows NT -- 6.2.9200", 0x23F00206, true },
};

const WindowsVersion *TestedWindowsVersion()
{
    char name[16] = "";
    GetEnvironmentVariableA("QEL_WINDOWS", name, sizeof(name));
    for (const WindowsVersion &version : versions)
        if (lstrcmpA(version.name, name) == 0)
            return &version;
    return NULL;
}
