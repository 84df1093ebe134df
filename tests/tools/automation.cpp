#include "automation.h"

#include <prsht.h>

#include <cstdlib>
#include <vector>

#define POLL_INTERVAL 25
#define SEND_TIMEOUT  10000
#define PICTURE_ID_BASE 1000
#define PAGE_COUNT 10

template <class Test> static bool PollFor(Test test, DWORD timeout)
{
    for (DWORD waited = 0;; waited += POLL_INTERVAL) {
        if (test())
            return true;
        if (waited >= timeout)
            return false;
        Sleep(POLL_INTERVAL);
    }
}

PROCESS_INFORMATION StartCommand(const std::string &commandLine, const std::string &folder)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL,
                        folder.empty() ? NULL : folder.c_str(), &startup, &process))
        process = PROCESS_INFORMATION();
    return process;
}

PROCESS_INFORMATION StartProgram(const std::string &program, const std::string &folder)
{
    return StartCommand("\"" + program + "\"", folder);
}

long WaitForExit(const PROCESS_INFORMATION &process, DWORD timeout)
{
    if (WaitForSingleObject(process.hProcess, timeout) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<long>(code);
}

void CloseProgram(PROCESS_INFORMATION &process)
{
    if (process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process.hProcess, 1);
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    process = PROCESS_INFORMATION();
}

struct WindowQuery {
    DWORD processId;
    HWND found;
};

static BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM param)
{
    WindowQuery *query = reinterpret_cast<WindowQuery *>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != query->processId || !IsWindowVisible(window))
        return TRUE;
    query->found = window;
    return FALSE;
}

/* The window is looked for first: found while the process still runs
 * after the look, it was shown by the running process. */
HWND WindowShownBeforeExit(const PROCESS_INFORMATION &process, DWORD timeout)
{
    HWND shown = NULL;
    PollFor([&] {
        WindowQuery query = { process.dwProcessId, NULL };
        EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&query));
        bool running = WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
        if (running)
            shown = query.found;
        return shown || !running;
    }, timeout);
    return shown;
}

struct DialogQuery {
    DWORD processId;
    bool wantSheet;     /* a wizard sheet, or else any other dialog box */
    HWND found;
};

static BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    DialogQuery *query = reinterpret_cast<DialogQuery *>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (processId != query->processId || lstrcmpA(className, "#32770") != 0
        || !IsWindowVisible(window))
        return TRUE;
    bool isSheet = GetDlgItem(window, WIZARD_NEXT) != NULL;
    if (isSheet != query->wantSheet)
        return TRUE;
    query->found = window;
    return FALSE;
}

static HWND FindDialog(DWORD processId, bool wantSheet)
{
    DialogQuery query = { processId, wantSheet, NULL };
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForWizard(DWORD processId, DWORD timeout)
{
    HWND sheet = NULL;
    PollFor([&] { return (sheet = FindDialog(processId, true)) != NULL; }, timeout);
    return sheet;
}

HWND WaitForMessageBox(DWORD processId, DWORD timeout)
{
    HWND box = NULL;
    PollFor([&] { return (box = FindDialog(processId, false)) != NULL; }, timeout);
    return box;
}

std::string WindowText(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT,
                             &length))
        return std::string();
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, SEND_TIMEOUT, &copied);
    return std::string(text.data());
}

static BOOL CALLBACK CollectStaticText(HWND child, LPARAM param)
{
    char className[16] = "";
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Static") == 0) {
        std::string text = WindowText(child);
        if (!text.empty()) {
            std::string *all = reinterpret_cast<std::string *>(param);
            if (!all->empty())
                *all += "\n";
            *all += text;
        }
    }
    return TRUE;
}

std::string MessageBoxText(HWND box)
{
    std::string text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

static bool ClickButton(HWND button)
{
    return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool AnswerMessageBox(HWND box, int buttonId)
{
    if (!ClickButton(GetDlgItem(box, buttonId)))
        return false;
    return PollFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, AUTOMATION_TIMEOUT);
}

HWND CurrentPage(HWND sheet)
{
    DWORD_PTR page = 0;
    SendMessageTimeoutA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT,
                        &page);
    return reinterpret_cast<HWND>(page);
}

int CurrentPageIndex(HWND sheet)
{
    HWND page = CurrentPage(sheet);
    if (!page || !IsWindowVisible(page))
        return -1;
    for (int index = 0; index < PAGE_COUNT; index++) {
        if (GetDlgItem(page, PICTURE_ID_BASE + index))
            return index;
    }
    return -1;
}

bool WaitForPage(HWND sheet, int index, DWORD timeout)
{
    return PollFor([&] { return CurrentPageIndex(sheet) == index; }, timeout);
}

static bool IsNear(COLORREF a, COLORREF b)
{
    return abs(GetRValue(a) - GetRValue(b)) <= 4 && abs(GetGValue(a) - GetGValue(b)) <= 4
        && abs(GetBValue(a) - GetBValue(b)) <= 4;
}

bool IsPicturePainted(HWND sheet, POINT at, COLORREF colour)
{
    int index = CurrentPageIndex(sheet);
    HWND picture = GetDlgItem(CurrentPage(sheet), PICTURE_ID_BASE + index);
    RECT rect;
    if (index < 0 || !picture || !GetWindowRect(picture, &rect))
        return false;
    HDC screen = GetDC(NULL);
    COLORREF seen = GetPixel(screen, rect.left + at.x, rect.top + at.y);
    ReleaseDC(NULL, screen);
    return IsNear(seen, colour);
}

bool WaitForPicture(HWND sheet, POINT at, COLORREF colour, DWORD timeout)
{
    return PollFor([&] { return IsPicturePainted(sheet, at, colour); }, timeout);
}

bool SetFieldText(HWND sheet, int fieldId, const std::string &text)
{
    HWND field = GetDlgItem(CurrentPage(sheet), fieldId);
    DWORD_PTR result = 0;
    return field
        && SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, SEND_TIMEOUT, &result)
        && result;
}

std::string FieldText(HWND sheet, int fieldId)
{
    HWND field = GetDlgItem(CurrentPage(sheet), fieldId);
    return field ? WindowText(field) : std::string();
}

bool IsButtonOffered(HWND sheet, int buttonId)
{
    HWND button = GetDlgItem(sheet, buttonId);
    return button && IsWindowVisible(button) && IsWindowEnabled(button);
}

bool PressButton(HWND sheet, int buttonId, DWORD timeout)
{
    if (!PollFor([&] { return IsButtonOffered(sheet, buttonId); }, timeout))
        return false;
    return ClickButton(GetDlgItem(sheet, buttonId));
}
