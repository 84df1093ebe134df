/*
 * The test hooks of our display-configuration library and hot-key program
 * (keys below HKEY_CURRENT_USER\Software\QelTests), and the resource
 * module strings the expectations are built from.
 */
#ifndef QEL_TEST_HOOKS_H
#define QEL_TEST_HOOKS_H

#include <windows.h>
#include <string>

/* While it lives, the key HKEY_CURRENT_USER\Software\QelTests\<name>
 * exists, fresh and empty; it is removed at the end. */
class TestHookKey {
public:
    explicit TestHookKey(const char *name);
    ~TestHookKey();
    TestHookKey(const TestHookKey &) = delete;
    TestHookKey &operator=(const TestHookKey &) = delete;

    void SetDword(const char *name, DWORD value);
    void SetString(const char *name, const std::string &text);
    void SetBinary(const char *name, const void *data, DWORD size);
    DWORD Dword(const char *name) const;   /* 0 when missing */
    std::string Bytes(const char *name) const;  /* data as stored; "" when missing */
    bool Has(const char *name) const;

private:
    std::string m_path;
};

/* The library's hooks. */
struct DisplayConfigHooks : TestHookKey {
    DisplayConfigHooks() : TestHookKey("DisplayConfig") {}
    /* Makes GetDisplayMode report these six fields. */
    void SetMode(LONG width1, LONG height1, LONG format, LONG width2, LONG height2);
};

/* The hot-key program's hooks, with the dry run switched on. */
struct HotKeyHooks : TestHookKey {
    HotKeyHooks() : TestHookKey("HotKey") { SetDword("DryRun", 1); }
};

/* A window of the hot-key program's class in this process, standing in
 * for the program: it keeps the wParam of each message 1026. */
class FakeHotKeyProgram {
public:
    FakeHotKeyProgram();
    ~FakeHotKeyProgram();
    FakeHotKeyProgram(const FakeHotKeyProgram &) = delete;
    FakeHotKeyProgram &operator=(const FakeHotKeyProgram &) = delete;
    std::string Received() const;   /* the indexes, each followed by ";" */

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window;
    static std::string s_received;
};

/* A string of the QELIC resource module (the one of the user's language). */
std::string ModuleString(UINT id);

/* Deletes a key and everything below it. */
LONG DeleteKeyTree(HKEY parent, const char *path);

#endif
