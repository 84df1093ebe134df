/*
 * QELDCFG.DLL: the display-configuration library of the driver package.
 *
 * It reports the current display mode, applies colour ramps through the
 * platform's gamma ramp and says which of the two may be offered.
 *
 * In the test build, the test key's area "DisplayConfig" steers the
 * answers and records what the library was asked to do.
 */
#define QELDCFG_BUILD
#include "dcfg.h"
#include "testkey.h"

/* The test build's switches: see package/testkey. */
static const char testArea[] = "DisplayConfig";

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

/* The gamma ramp calls of GDI32, or null. Windows NT 4.0 has none, and a
 * library that imported them would not load there at all: the tray
 * utility, which cannot start without this library, would not start. */
typedef BOOL(WINAPI *GammaRampCall)(HDC, LPVOID);
static GammaRampCall GammaRampFunction(const char *name)
{
    HMODULE gdi = GetModuleHandleA("GDI32.DLL");
    /* Through void *, as a FARPROC cast straight to another function type
     * draws a warning. */
    return gdi ? reinterpret_cast<GammaRampCall>(
                     reinterpret_cast<void *>(GetProcAddress(gdi, name)))
               : NULL;
}

extern "C" int QELDCFG_API ConfigGetQELConfig(char *identity)
{
    if (!identity)
        return 0;
    switch (ReadTestText(testArea, "Identity", identity, QEL_IDENTITY_SIZE)) {
    case TestTextRead:
        break;
    case TestTextTooLong:
        identity[0] = '\0';     /* an override too long to report */
        break;
    case TestTextMissing:
        lstrcpyA(identity, QEL_IDENTITY);
        break;
    }
    return 1;
}

extern "C" int QELDCFG_API GetDisplayMode(DisplayMode *mode)
{
    CountTestCall(testArea, "GetDisplayModeCalls");
    if (!mode || ReadTestNumber(testArea, "NoMode", 0))
        return 0;
    if (ReadTestValue(testArea, "Mode", mode, sizeof(*mode)))
        return 1;
    return ReadCurrentMode(mode);
}

extern "C" int QELDCFG_API DisplayModeIsEnabled(void)
{
    DEVMODEA settings;
    ZeroMemory(&settings, sizeof(settings));
    settings.dmSize = sizeof(settings);
    BOOL listed = EnumDisplaySettingsA(NULL, 0, &settings);
    return ReadTestNumber(testArea, "DisplayModeEnabled", listed) != 0;
}

extern "C" int QELDCFG_API GammaIsEnabled(void)
{
    WORD ramp[3][RAMP_LEVELS];
    GammaRampCall getRamp = GammaRampFunction("GetDeviceGammaRamp");
    HDC screen = getRamp ? GetDC(NULL) : NULL;
    BOOL supported = screen && getRamp(screen, ramp);
    if (screen)
        ReleaseDC(NULL, screen);
    return ReadTestNumber(testArea, "GammaEnabled", supported) != 0;
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

    GammaRampCall setRamp = GammaRampFunction("SetDeviceGammaRamp");
    HDC screen = setRamp ? GetDC(NULL) : NULL;
    BOOL applied = screen && setRamp(screen, levels);
    if (screen)
        ReleaseDC(NULL, screen);

    DWORD result = applied;
    WriteTestValue(testArea, "LastRamp", REG_BINARY, ramp, RAMP_SIZE);
    WriteTestValue(testArea, "LastRampApplied", REG_DWORD, &result, sizeof(result));
    CountTestCall(testArea, "SetGammaCalls");
    return applied;
}
