/* Ids of QelIcon's own resources (shared with QelIcon.rc). */
#ifndef QEL_TRAY_RESOURCE_H
#define QEL_TRAY_RESOURCE_H

#define IDS_CLASS_NAME 1
#define IDS_WINDOW_TITLE 2
#define IDI_CLASS 101
#define IDI_TRAY 102

#endif
