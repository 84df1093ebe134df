/*
 * QELDCFG.DLL: the display-configuration library of the driver package.
 *
 * It reports the current display mode, applies colour ramps through the
 * platform's gamma ramp and says which of the two may be offered.
 *
 * Test hooks: while HKEY_CURRENT_USER\Software\QelTests\DisplayConfig
 * exists, values there steer the answers and the library records in it
 * what it was asked to do. The key is only opened, never created, so an
 * ordinary machine never carries it.
 */
#define QELDCFG_BUILD
#include "dcfg.h"

static const char testKeyPath[] = "Software\\QelTests\\DisplayConfig";

/* Pixel-format codes reported for the colour depths the library knows. */
enum {
    Format4Bit = 0,
    Format8Bit = 2,
    Format15Bit = 5,
    Format16Bit = 6,
    Format24Bit = 9,
    Format32Bit = 11,
    FormatUnknown = -1
};

static HKEY OpenTestKey(REGSAM access)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, testKeyPath, 0, access, &key) != ERROR_SUCCESS)
        return NULL;
    return key;
}

/* Reads a value of exactly size bytes; 0 when the key or value is absent
 * or the value has another size. */
static int ReadTestValue(const char *name, void *data, DWORD size)
{
    HKEY key = OpenTestKey(KEY_READ);
    if (!key)
        return 0;
    DWORD got = size;
    LONG rc = RegQueryValueExA(key, name, NULL, NULL, static_cast<BYTE *>(data), &got);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && got == size;
}

/* A DWORD switch of the test key; dflt when it is not set. */
static DWORD ReadTestSwitch(const char *name, DWORD dflt)
{
    DWORD value;
    return ReadTestValue(name, &value, sizeof(value)) ? value : dflt;
}

static void WriteTestValue(HKEY key, const char *name, DWORD type, const void *data,
                           DWORD size)
{
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
}

/* Adds one to a DWORD counter of the test key, if the key exists. */
static void CountTestCall(const char *name)
{
    HKEY key = OpenTestKey(KEY_READ | KEY_WRITE);
    if (!key)
        return;
    DWORD count = 0, size = sizeof(count);
    if (RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE *>(&count), &size)
        != ERROR_SUCCESS || size != sizeof(count))
        count = 0;
    ++count;
    WriteTestValue(key, name, REG_DWORD, &count, sizeof(count));
    RegCloseKey(key);
}

static LONG PixelFormatOfDepth(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 4: return Format4Bit;
    case 8: return Format8Bit;
    case 15: return Format15Bit;
    case 16: return Format16Bit;
    case 24: return Format24Bit;
    case 32: return Format32Bit;
    default: return FormatUnknown;
    }
}

/* The mode of the primary display: the desktop from the display settings,
 * the visible screen from the screen device context. */
static int ReadCurrentMode(DisplayMode *mode)
{
    HDC screen = GetDC(NULL);
    if (!screen)
        return 0;
    mode->Width2 = GetDeviceCaps(screen, HORZRES);
    mode->Height2 = GetDeviceCaps(screen, VERTRES);
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    int refresh = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(NULL, screen);

    mode->Width1 = mode->Width2;
    mode->Height1 = mode->Height2;
    DEVMODEA settings;
    ZeroMemory(&settings, sizeof(settings));
    settings.dmSize = sizeof(settings);
    if (EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &settings)) {
        mode->Width1 = settings.dmPelsWidth;
        mode->Height1 = settings.dmPelsHeight;
        if (settings.dmBitsPerPel)
            bits = settings.dmBitsPerPel;
        if (settings.dmDisplayFrequency > 1)
            refresh = settings.dmDisplayFrequency;
    }
    mode->PixelFormat = PixelFormatOfDepth(bits);
    /* 0 and 1 stand for the hardware default rate. */
    mode->Refresh = refresh > 1 ? refresh : 0;
    return mode->Width2 > 0 && mode->Height2 > 0;
}

extern "C" int QELDCFG_API ConfigGetQELConfig(char *identity)
{
    if (!identity)
        return 0;
    char text[QEL_IDENTITY_SIZE];
    HKEY key = OpenTestKey(KEY_READ);
    DWORD type, size = sizeof(text) - 1;
    LONG rc = ERROR_FILE_NOT_FOUND;
    if (key) {
        rc = RegQueryValueExA(key, "Identity", NULL, &type, reinterpret_cast<BYTE *>(text),
                              &size);
        RegCloseKey(key);
    }
    if (rc == ERROR_SUCCESS && type == REG_SZ) {
        text[size] = '\0';
        lstrcpynA(identity, text, QEL_IDENTITY_SIZE);
    } else if (rc == ERROR_MORE_DATA) {
        identity[0] = '\0';     /* an override too long to report */
    } else {
        lstrcpyA(identity, QEL_IDENTITY);
    }
    return 1;
}

extern "C" int QELDCFG_API GetDisplayMode(DisplayMode *mode)
{
    CountTestCall("GetDisplayModeCalls");
    if (!mode || ReadTestSwitch("NoMode", 0))
        return 0;
    if (ReadTestValue("Mode", mode, sizeof(*mode)))
        return 1;
    return ReadCurrentMode(mode);
}

extern "C" int QELDCFG_API DisplayModeIsEnabled(void)
{
    DEVMODEA settings;
    ZeroMemory(&settings, sizeof(settings));
    settings.dmSize = sizeof(settings);
    BOOL listed = EnumDisplaySettingsA(NULL, 0, &settings);
    return ReadTestSwitch("DisplayModeEnabled", listed) != 0;
}

extern "C" int QELDCFG_API GammaIsEnabled(void)
{
    WORD ramp[3][RAMP_LEVELS];
    HDC screen = GetDC(NULL);
    BOOL supported = screen && GetDeviceGammaRamp(screen, ramp);
    if (screen)
        ReleaseDC(NULL, screen);
    return ReadTestSwitch("GammaEnabled", supported) != 0;
}

extern "C" int QELDCFG_API SetGamma(const BYTE *ramp)
{
    if (!ramp)
        return 0;
    /* The platform wants 16-bit levels, one array per channel; 257 maps
     * 0..255 onto 0..65535 exactly. */
    WORD levels[3][RAMP_LEVELS];
    for (int i = 0; i < RAMP_LEVELS; ++i)
        for (int channel = 0; channel < 3; ++channel)
            levels[channel][i] = static_cast<WORD>(ramp[i * 3 + channel] * 257);

    HDC screen = GetDC(NULL);
    BOOL applied = screen && SetDeviceGammaRamp(screen, levels);
    if (screen)
        ReleaseDC(NULL, screen);

    HKEY key = OpenTestKey(KEY_READ | KEY_WRITE);
    if (key) {
        WriteTestValue(key, "LastRamp", REG_BINARY, ramp, RAMP_SIZE);
        DWORD result = applied;
        WriteTestValue(key, "LastRampApplied", REG_DWORD, &result, sizeof(result));
        RegCloseKey(key);
        CountTestCall("SetGammaCalls");
    }
    return applied;
}
