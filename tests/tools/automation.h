/*
 * Drives a running wizard from another process, the way a user would:
 * finds its window, types into the fields of the page that is showing,
 * presses its buttons once they are offered, and answers its message
 * boxes. Every wait polls with a timeout, so a wizard that hangs or
 * shows the wrong thing fails the caller instead of blocking it.
 */
#ifndef QEL_TEST_AUTOMATION_H
#define QEL_TEST_AUTOMATION_H

#include <windows.h>

#include <string>

#define AUTOMATION_TIMEOUT 20000

/* Buttons of a wizard sheet. */
#define WIZARD_BACK   0x3023
#define WIZARD_NEXT   0x3024
#define WIZARD_FINISH 0x3025
#define WIZARD_CANCEL IDCANCEL

/* Starts a command line (the program, then its arguments) in the working
 * folder given, or in this process's when it is empty; null handles on
 * failure. StartProgram starts a program without arguments. */
PROCESS_INFORMATION StartCommand(const std::string &commandLine, const std::string &folder = "");
PROCESS_INFORMATION StartProgram(const std::string &program, const std::string &folder);
/* Waits for the process to end; returns its exit code, or -1 on timeout. */
long WaitForExit(const PROCESS_INFORMATION &process, DWORD timeout = AUTOMATION_TIMEOUT);
/* Watches the process until it ends: the first visible top-level window
 * that it shows while it still runs, or null once it has ended without
 * one (or after the timeout). A message box waits for its answer, so a
 * process that shows one is still running when it is looked for. */
HWND WindowShownBeforeExit(const PROCESS_INFORMATION &process,
                           DWORD timeout = AUTOMATION_TIMEOUT);
void CloseProgram(PROCESS_INFORMATION &process);

/* The visible wizard sheet of the process, or null after the timeout. */
HWND WaitForWizard(DWORD processId, DWORD timeout = AUTOMATION_TIMEOUT);
/* A visible message box of the process, or null after the timeout. */
HWND WaitForMessageBox(DWORD processId, DWORD timeout = AUTOMATION_TIMEOUT);
/* The texts of the box: its caption and its message. */
std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
/* Clicks button id (IDOK, IDYES, IDNO...) of the box. */
bool AnswerMessageBox(HWND box, int buttonId);

/* The page showing in the sheet, and its index: the page whose picture
 * control 1000 + index it holds; -1 when none is showing. */
HWND CurrentPage(HWND sheet);
int CurrentPageIndex(HWND sheet);
bool WaitForPage(HWND sheet, int index, DWORD timeout = AUTOMATION_TIMEOUT);

/* Whether the page showing has painted its picture: the pixel at offset
 * at from the top-left corner of its picture control 1000 + index shows
 * the colour given. */
bool IsPicturePainted(HWND sheet, POINT at, COLORREF colour);
bool WaitForPicture(HWND sheet, POINT at, COLORREF colour, DWORD timeout = AUTOMATION_TIMEOUT);

/* Fields of the page that is showing. */
bool SetFieldText(HWND sheet, int fieldId, const std::string &text);
std::string FieldText(HWND sheet, int fieldId);

/* A button of the sheet that is visible and enabled. */
bool IsButtonOffered(HWND sheet, int buttonId);
/* Waits until the button is offered, then clicks it; false if it never is. */
bool PressButton(HWND sheet, int buttonId, DWORD timeout = AUTOMATION_TIMEOUT);

#endif
