/*
 * The test switches of the package stand-ins (QELDCFG.DLL, QELHWA.DLL,
 * qelhk32.exe), all in one place. In the test build each stand-in reads
 * steering values from, and records what it was asked in, its own key
 * HKEY_CURRENT_USER\Software\QelTests\<area>; the key is only opened,
 * never created. In the release build (QEL_TEST_HOOKS undefined) every
 * switch reads as "not set" and records nothing, and none of this code or
 * its key names reach the binaries.
 */
#ifndef QEL_TESTKEY_H
#define QEL_TESTKEY_H

#include <windows.h>

/* What ReadTestText found. */
enum TestText { TestTextMissing, TestTextRead, TestTextTooLong };

#ifdef QEL_TEST_HOOKS

/* A value of exactly size bytes; 0 when absent or of another size. */
int ReadTestValue(const char *area, const char *name, void *data, DWORD size);
/* A 32-bit number; fallback when it is not set. */
DWORD ReadTestNumber(const char *area, const char *name, DWORD fallback);
/* A REG_SZ value into text (size bytes, always terminated). */
TestText ReadTestText(const char *area, const char *name, char *text, DWORD size);
void WriteTestValue(const char *area, const char *name, DWORD type, const void *data,
                    DWORD size);
/* Adds one to a DWORD counter. */
void CountTestCall(const char *area, const char *name);

#else

static inline int ReadTestValue(const char *, const char *, void *, DWORD) { return 0; }
static inline DWORD ReadTestNumber(const char *, const char *, DWORD fallback)
{
    return fallback;
}
static inline TestText ReadTestText(const char *, const char *, char *, DWORD)
{
    return TestTextMissing;
}
static inline void WriteTestValue(const char *, const char *, DWORD, const void *, DWORD) {}
static inline void CountTestCall(const char *, const char *) {}

#endif

#endif
