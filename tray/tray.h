/*
 * QelIcon, the tray display utility: what its parts share.
 */
#ifndef QEL_TRAY_H
#define QEL_TRAY_H

#include <windows.h>

#include "common.h"
#include "dcfg.h"
#include "resource.h"

/* Messages of the hidden window. */
#define WM_TRAY_ENABLE_MENUS (WM_USER + 1)  /* 1025, from any program */
#define WM_TRAY_CALLBACK (WM_APP + 100)     /* 32868, from the notification area */

#define TRAY_ICON_ID 1
#define TRAY_TIMER_ID 1
#define TRAY_REFRESH_MS 5000


/* Strings of the resource module. */
#define IDS_NO_MODE 3
#define IDS_FIRST_SIZE 4
#define IDS_SECOND_SIZE 5
#define IDS_DEPTH 6
#define IDS_DEPTH_UNIT 7
#define IDS_SETTINGS_MENU 10
#define IDS_SCHEMES_MENU 11
#define IDS_HELP_CONTENTS 12
#define IDS_HELP_TOPIC 13
#define IDS_EXIT 14
#define IDS_DEFAULT_SCHEME 15
#define IDS_EMPTY_LIST 16
#define IDS_WARNING_CAPTION 20
#define IDS_WARNING_TEXT 21

/* Menu commands. Entries of the two lists are group * 100 + value index. */
#define CMD_HELP_CONTENTS 12
#define CMD_HELP_TOPIC 13
#define CMD_EXIT 14
#define CMD_EMPTY_LIST 16
#define GROUP_SETTINGS 10
#define GROUP_SCHEMES 11
#define LIST_LIMIT 100

#define HELP_TOPIC_CONTEXT 90
#define DEFAULT_SCHEME_NAME "~~dEF_qel_cOL_sCHEME~~"
#define VALUE_NAME_SIZE 256     /* registry value names listed and applied */
#define MENU_TEXT_SIZE 260
#define TIP_SIZE 64             /* szTip of NOTIFYICONDATAA */

/* Process-wide state, set by StartTray. */
extern HINSTANCE g_instance;            /* the program's own module */
extern char g_helpPath[HELP_PATH_SIZE]; /* empty when no help file was found */
extern int g_menuEnabled;               /* message 1025 switches the two lists */

/* strings.cpp */
int LoadModuleString(UINT id, char *buffer, int size);

/* window.cpp */
BOOL StartTray(HINSTANCE instance);
LRESULT CALLBACK TrayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/* icon.cpp */
struct TipLabels {
    char firstSize[TIP_SIZE];
    char secondSize[TIP_SIZE];
    char depth[TIP_SIZE];
    char depthUnit[TIP_SIZE];
};
LONG BitsPerPixel(LONG pixelFormat);
void FormatModeTip(char *tip, const DisplayMode *mode, const TipLabels *labels);
void UpdateTrayIcon(HWND window, DWORD operation);

/* menu.cpp */
HMENU BuildTrayMenu(void);
HMENU BuildListMenu(DriverKeyKind kind, int group);
void RelabelDefaultScheme(HMENU menu);

/* command.cpp */
void OnTrayCallback(HWND window, WPARAM wParam, LPARAM lParam);
void DispatchCommand(HWND window, WPARAM wParam, LPARAM lParam);

/* apply.cpp */
void ApplyDisplaySetting(int index);
void ApplyColorScheme(int index);

/* hotkey.cpp */
#define HOTKEY_PROGRAM "qelhk32.exe"
#define HOTKEY_CLASS "QELHkClass"
#define WM_HOTKEY_APPLY (WM_USER + 2)   /* 1026: apply stored setting wParam */
#define LOAD_ENTRY_SIZE 1000
BOOL IsHotKeyListed(const char *entry);
BOOL AppendHotKeyToLoad(char *entry, int size);
void EnsureHotKeyProgram(void);
void StartHotKeyProgram(void);
LRESULT SendToHotKeyProgram(UINT message, WPARAM wParam, LPARAM lParam);

/* scheme.cpp: a colour scheme as stored in the ColorCorrection key. */
struct ColorScheme {
    DWORD header[4];
    BYTE ramp[RAMP_LEVELS][3];
    WORD trailer[3][6];
};
#define SCHEME_RAMP_OFFSET 16
#define SCHEME_MIN_SIZE (SCHEME_RAMP_OFFSET + RAMP_SIZE)   /* 784 */
extern const ColorScheme g_defaultScheme;

#endif
