/*
 * qelhk32.exe: the hot-key program of the driver package.
 *
 * A hidden top-level window of the class "QELHkClass" waits for message
 * 1026, whose wParam is the enumeration index of a stored display setting
 * in the driver's Settings key, and applies that setting with
 * ChangeDisplaySettingsA. Only one copy runs.
 *
 * A stored setting is binary data of up to six little-endian DWORDs:
 *   width, height, bits per pixel, frequency, flags, reserved.
 * A field that is 0, or missing because the data is shorter, keeps the
 * current value; flags are passed to ChangeDisplaySettingsA, limited to
 * CDS_UPDATEREGISTRY, CDS_TEST and CDS_GLOBAL. Data of more than 24 bytes
 * is not a setting and is refused.
 *
 * The message's result is the platform's answer (DISP_CHANGE_*), or
 * DISP_CHANGE_BADPARAM when the index names no setting.
 *
 * In the test build, the program counts its starts and records every
 * message 1026 in the test key's area "HotKey", and a nonzero DWORD
 * "DryRun" there makes it record the mode instead of setting it.
 */
#include <windows.h>

#include "testkey.h"

#define WM_APPLY_SETTING (WM_USER + 2)

static const char className[] = "QELHkClass";
static const char settingsKeyPath[] =
    "System\\CurrentControlSet\\Services\\Class\\DISPLAY\\QEL\\Settings";
/* The test build's switches: see package/testkey. */
static const char testArea[] = "HotKey";

enum { SettingFields = 6, SettingSize = SettingFields * sizeof(DWORD), NameSize = 256 };
enum { FieldWidth, FieldHeight, FieldBits, FieldFrequency, FieldFlags };

static const DWORD allowedFlags = CDS_UPDATEREGISTRY | CDS_TEST | CDS_GLOBAL;

/* What became of one request, as recorded for the tests. */
struct Request {
    DWORD index;
    char name[NameSize];
    BYTE data[SettingSize];
    DWORD size;
    const char *outcome;
    LONG result;
};

static void RecordRequest(const Request *request)
{
    DWORD result = static_cast<DWORD>(request->result);
    CountTestCall(testArea, "Count");
    WriteTestValue(testArea, "LastIndex", REG_DWORD, &request->index, sizeof(request->index));
    WriteTestValue(testArea, "LastName", REG_SZ, request->name, lstrlenA(request->name) + 1);
    WriteTestValue(testArea, "LastSetting", REG_BINARY, request->data, request->size);
    WriteTestValue(testArea, "LastOutcome", REG_SZ, request->outcome,
                   lstrlenA(request->outcome) + 1);
    WriteTestValue(testArea, "LastResult", REG_DWORD, &result, sizeof(result));
}

/* Reads the setting at the request's index; fills outcome on failure. */
static BOOL ReadSetting(Request *request)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        request->outcome = "no settings";
        return FALSE;
    }
    DWORD nameLength = NameSize, type;
    request->size = SettingSize;
    LONG rc = RegEnumValueA(key, request->index, request->name, &nameLength, NULL, &type,
                            request->data, &request->size);
    RegCloseKey(key);
    if (rc == ERROR_MORE_DATA) {
        request->name[0] = '\0';
        request->size = 0;
        request->outcome = "too large";
        return FALSE;
    }
    if (rc != ERROR_SUCCESS) {
        request->size = 0;
        request->outcome = "no such setting";
        return FALSE;
    }
    if (!request->name[0]) {
        request->outcome = "not a setting";
        return FALSE;
    }
    return TRUE;
}

static LONG ApplySetting(Request *request)
{
    DWORD field[SettingFields] = { 0 };
    CopyMemory(field, request->data, request->size);

    DEVMODEA mode;
    ZeroMemory(&mode, sizeof(mode));
    mode.dmSize = sizeof(mode);
    if (field[FieldWidth]) {
        mode.dmPelsWidth = field[FieldWidth];
        mode.dmFields |= DM_PELSWIDTH;
    }
    if (field[FieldHeight]) {
        mode.dmPelsHeight = field[FieldHeight];
        mode.dmFields |= DM_PELSHEIGHT;
    }
    if (field[FieldBits]) {
        mode.dmBitsPerPel = field[FieldBits];
        mode.dmFields |= DM_BITSPERPEL;
    }
    if (field[FieldFrequency]) {
        mode.dmDisplayFrequency = field[FieldFrequency];
        mode.dmFields |= DM_DISPLAYFREQUENCY;
    }
    if (ReadTestNumber(testArea, "DryRun", 0)) {
        request->outcome = "dry run";
        return DISP_CHANGE_SUCCESSFUL;
    }
    LONG result = ChangeDisplaySettingsA(&mode, field[FieldFlags] & allowedFlags);
    request->outcome = result == DISP_CHANGE_SUCCESSFUL ? "applied" : "failed";
    return result;
}

static LRESULT HandleApplySetting(DWORD index)
{
    Request request;
    ZeroMemory(&request, sizeof(request));
    request.index = index;
    request.result = ReadSetting(&request) ? ApplySetting(&request) : DISP_CHANGE_BADPARAM;
    RecordRequest(&request);
    return request.result;
}

static LRESULT CALLBACK HotKeyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_APPLY_SETTING:
        return HandleApplySetting(static_cast<DWORD>(wParam));
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (FindWindowA(className, NULL))
        return 0;
    CountTestCall(testArea, "Starts");

    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = HotKeyWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    if (!RegisterClassA(&wc))
        return 0;
    if (!CreateWindowExA(0, className, "QEL Hot Key", WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                         instance, NULL))
        return 0;

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
