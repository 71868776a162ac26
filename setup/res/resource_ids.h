/* Resource ids of the installer, shared by the resource script and the code.
   Plain #defines only: the resource compiler reads this file too. */
#ifndef SETUP_RESOURCE_IDS_H
#define SETUP_RESOURCE_IDS_H

/* String table: the script's section and key names, and every message. */
#define IDS_SECTION_DISK_LABEL 1
#define IDS_SECTION_DIRECTORY_NAME 2
#define IDS_SECTION_FILE_COUNTS 3
#define IDS_DISK1 4 /* to IDS_DISK1 + 5: "Disk1" to "Disk6" */
#define IDS_KEYWORD_ROOT_DIR 10 /* to IDS_KEYWORD_ROOT_DIR + 9: the ten directory keywords */
#define IDS_SCRIPT_READING_ERROR 20
#define IDS_SECTION_MAIN 22
#define IDS_KEY_DEFAULT_PATH 23
#define IDS_KEY_MINIMUM_SPACE 25
#define IDS_NOT_COMPLETED_TAIL 28
#define IDS_CAPTION_TAIL 29
#define IDS_KEY_PRODUCT_NAME 30
#define IDS_DIRECTORY_EXISTS 32
#define IDS_CANNOT_CREATE_DIRECTORY 33
#define IDS_NOT_ENOUGH_SPACE 34
#define IDS_COPYING 36
#define IDS_SECTION_STARTUP 41
#define IDS_KEY_TITLE 43
#define IDS_WINDOWS_9X_ONLY 44
#define IDS_KEY_MFG 45
#define IDS_KEY_MOUSE_DRIVER 46
#define IDS_KEY_MOUSE_INF 47
#define IDS_KEY_DRIVER_DATE 48
#define IDS_KEY_PS2_INF_SECTION 49
#define IDS_KEY_SERIAL_INF_SECTION 50
#define IDS_KEY_PS2_NAME 51
#define IDS_KEY_SERIAL_NAME 52
#define IDS_RESTART_NOW 53

/* Dialog templates: the wizard pages and the Browse Directory dialog. */
#define IDD_WELCOME 101
#define IDD_END 102
#define IDD_INSTALL 103
#define IDD_BROWSE 104
#define IDD_DIRECTORY 107
#define IDD_MOUSE_TYPE 108

/* Bitmaps and the icon. */
#define IDB_PS2_CONNECTOR 112
#define IDB_SERIAL_CONNECTOR 113
#define IDI_SETUP 200
#define IDB_SIDE_PICTURE 304
#define IDB_TITLE 306
#define IDB_BANNER 307

/* Controls of the pages. Next, Finish and the install page's Cancel share id 1, so
   that Enter works them; the other pages' Cancel has id 2, so that Escape does. */
#define IDC_STATIC (-1) /* controls no procedure addresses */
#define IDC_NEXT 1
#define IDC_FINISH 1
#define IDC_INSTALL_CANCEL 1
#define IDC_CANCEL 2
#define IDC_BACK 3
#define IDC_DEST_DIR 1003 /* directory page: the destination shown; Browse: the path edit */
#define IDC_SEPARATOR 1006
#define IDC_PROGRESS_BAR 1011 /* hidden frame whose rectangle the bar is painted over */
#define IDC_PROGRESS_PERCENT 1013
#define IDC_COPY_STATUS 1019
#define IDC_SIDE_PICTURE 1022
#define IDC_HEADLINE 1023 /* first text line of a page; "%s" takes the product name */
#define IDC_INSTALL_NOTE 1024
#define IDC_BROWSE 1025
#define IDC_RESTART_NOW 1032
#define IDC_RESTART_LATER 1033
#define IDC_SERIAL_MOUSE 1034
#define IDC_PS2_MOUSE 1035

/* Controls of the Browse Directory dialog that the platform's file-open dialog fills
   and serves itself; their ids are the ones it looks for. */
#define IDC_BROWSE_READ_ONLY 1040
#define IDC_BROWSE_CURRENT_DIR 1088
#define IDC_BROWSE_TYPE_LABEL 1089
#define IDC_BROWSE_NAME_LABEL 1090
#define IDC_BROWSE_DRIVE_LABEL 1091
#define IDC_BROWSE_TYPE_LABEL2 1092
#define IDC_BROWSE_FILE_LIST 1120
#define IDC_BROWSE_DIR_LIST 1121
#define IDC_BROWSE_TYPE_LIST 1136
#define IDC_BROWSE_DRIVE_LIST 1137
#define IDC_BROWSE_FILE_NAME 1152

#endif
