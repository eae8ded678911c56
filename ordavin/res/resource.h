// Resource ids of Ordavin.
#pragma once

// Dialogs
#define IDD_ABOUTBOX            100
#define IDD_ORDAVIN_DIALOG      102
#define IDD_NOTES               148

// Strings
#define IDS_ABOUTBOX            101
#define IDS_PLATFORM_WARNING    104
#define IDS_APP_TITLE           57344
#define IDS_HELPER_CAPTION      57345

// Icons, in the order of their ids (the shortcut icon index counts them)
#define IDR_MAINFRAME           128
#define IDI_INSTALL             130
#define IDI_TITLE_HARDDISK      887
#define IDI_TITLE_MISSING       888
#define IDI_TITLE_CD            32580
#define IDI_CD_HINT             32581
#define IDI_REMOVE              32582
#define IDI_SHORTCUT            32583
#define IDI_TITLE_NETWORK       32584
#define IDI_TITLE_NETWORK_MISSING 32585

// Bitmaps
#define IDB_BANNER              129
#define IDB_STATE_IMAGES        134
#define IDB_MARK_LEGEND         135
#define IDB_NOTES_BOOK          137
#define IDB_NOTES_CD_TO_DISK    150
#define IDB_NOTES_SERIES        151

// Cursors
#define IDC_LINK_HAND           152

// Controls of the main dialog
#define IDC_TITLE_LIST          1000
#define IDC_INSTALL             1002
#define IDC_TARGET              1003
#define IDC_SELECT_FOLDER       1006
#define IDC_FREE_SPACE          1008
#define IDC_CD_DRIVE            1010
#define IDC_CD_SIZE             1011
#define IDC_REFRESH             1012
#define IDC_TARGET_DRIVE        1013
#define IDC_INSTALL_TEXT1       1014
#define IDC_INSTALL_SIZE_LABEL  1015
#define IDC_INSTALL_FROM_CD     1016
#define IDC_INSTALL_TO_DISK     1017
#define IDC_INSTALL_TEXT2       1019
#define IDC_INSTALL_READY       1020
#define IDC_REMOVE              1021
#define IDC_REMOVE_TEXT         1022
#define IDC_CD_HINT             1023
#define IDC_SPARE               1024
#define IDC_CD_DOOR             1027
#define IDC_PROGRESS            1028
#define IDC_NOTES               1029
#define IDC_LAUNCH              1031
#define IDC_CLICK_HINT          1032

// Controls of the About and notes dialogs
#define IDC_WEB_LINK            1004
#define IDC_MAIL_LINK           1007
#define IDC_REGISTERED_OWNER    1026
#define IDC_NOTES_PURPOSE       1030

// System menu
#define IDM_ABOUTBOX            0x0010
