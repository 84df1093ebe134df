/*
 * The display-configuration library QELDCFG.DLL of the driver package, as
 * the tray utility uses it. The library exports these five functions under
 * their plain names with the Win32 calling convention (__stdcall).
 */
#ifndef QEL_DCFG_H
#define QEL_DCFG_H

#include <windows.h>

#ifdef QELDCFG_BUILD
#define QELDCFG_API __declspec(dllexport) WINAPI
#else
#define QELDCFG_API __declspec(dllimport) WINAPI
#endif

/* The identity the library must report for the tray utility to run. */
#define QEL_IDENTITY "761295520"
/* Size of the buffer ConfigGetQELConfig writes the identity into. */
#define QEL_IDENTITY_SIZE 112

/* The current display mode as the library reports it. */
struct DisplayMode {
    LONG Width1;        /* desktop width in pixels */
    LONG Height1;       /* desktop height */
    LONG PixelFormat;   /* pixel-format code, 0 to 14 */
    LONG Width2;        /* visible screen width (smaller when panning) */
    LONG Height2;       /* visible screen height */
    LONG Refresh;       /* refresh rate in hertz, 0 when not known */
};

/* A colour ramp: for each input level, one byte per channel (red, green,
 * blue). SetGamma reads exactly this much. */
#define RAMP_LEVELS 256
#define RAMP_SIZE (RAMP_LEVELS * 3)

#ifdef __cplusplus
extern "C" {
#endif

int QELDCFG_API ConfigGetQELConfig(char *identity);
int QELDCFG_API GetDisplayMode(DisplayMode *mode);
int QELDCFG_API DisplayModeIsEnabled(void);
int QELDCFG_API GammaIsEnabled(void);
int QELDCFG_API SetGamma(const BYTE *ramp);

#ifdef __cplusplus
}
#endif

#endif
