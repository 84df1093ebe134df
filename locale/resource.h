/*
 * Resource ids of the locale resource modules. The programs load these by
 * number, so the numbers never change; the texts and layouts do.
 */
#ifndef QEL_LOCALE_RESOURCE_H
#define QEL_LOCALE_RESOURCE_H

/* ---- Wizard module (QELPR??.RSC) ---- */

/* Page templates: page i uses template IDD_PAGE0 + i. */
#define IDD_PAGE0           100
#define IDD_PAGE1           101
#define IDD_PAGE2           102
#define IDD_PAGE3           103
#define IDD_PAGE4           104
#define IDD_PAGE5           105
#define IDD_PAGE6           106
#define IDD_PAGE7           107
#define IDD_PAGE8           108
#define IDD_PAGE9           109
#define PAGE_COUNT          10

/* Page i paints its picture into the rectangle of control IDC_PICTURE0 + i. */
#define IDC_PICTURE0        1000

/* Fields; the label string of a field is its id + 100, the label control
 * beside it its id + 200. */
#define IDC_NAME            1100
#define IDC_JOBTITLE        1101
#define IDC_SALUTATION      1102
#define IDC_COMPANY         1103
#define IDC_STREET          1104
#define IDC_POSTCODE        1105
#define IDC_STATE           1106
#define IDC_COUNTRY         1107
#define IDC_CITY            1108
#define IDC_PHONE           1109
#define IDC_FAX             1110
#define IDC_DESCRIPTION     1111
#define IDC_EMAIL           1112
#define IDC_CALLTIME        1113
#define IDC_COMPUTER        1114
#define IDC_SUMMARY         1115
#define IDC_PROCESSOR       1116
#define IDC_MEMORY          1117
#define IDC_APPLICATION     1118
#define IDC_MONITOR         1119
#define IDC_REPORTFILE      1120
#define IDC_ADAPTER         1121
#define IDC_VIDEOMEMORY     1122
#define IDC_SERIALNUMBER    1123
#define FIRST_FIELD         1100
#define LAST_FIELD          1123

#define LABEL_STRING(field)  ((field) + 100)
#define LABEL_CONTROL(field) ((field) + 200)

#define IDC_BROWSE          1400

/* Static texts of the pages that the programs never address. */
#define IDC_STATIC          (-1)

#define IDS_PAGETITLE       3
#define IDS_FILECAPTION     20
#define IDS_NOFILENAME      21
#define IDS_CANNOTCREATE    22
#define IDS_REPLACEFILE     23
#define IDS_SAVEAS_FIRST    30   /* 30 to 44: Save As dialog errors */
#define IDS_SAVEAS_LAST     44
#define IDS_SAVEASFILTER    54
#define IDS_SAVEASTITLE     55
#define IDS_DEFAULTFILE     57
#define IDS_RETAIL_FIRST    200  /* 200 to 208: retail notice lines */
#define IDS_RETAIL_LAST     208

/* ---- Tray utility module (QELIC??.RSC) ---- */

#define IDS_TIP_NOMODE      3
#define IDS_TIP_DESKTOP     4
#define IDS_TIP_SCREEN      5
#define IDS_TIP_COLOURS     6
#define IDS_TIP_BITS        7
#define IDS_MENU_SETTINGS   10
#define IDS_MENU_SCHEMES    11
#define IDS_MENU_CONTENTS   12
#define IDS_MENU_QUICKHELP  13
#define IDS_MENU_EXIT       14
#define IDS_MENU_DEFSCHEME  15
#define IDS_MENU_EMPTY      16
#define IDS_WARN_CAPTION    20
#define IDS_WARN_TEXT       21

#endif
