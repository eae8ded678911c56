// Resource ids of Velmora.
#pragma once

// Dialogs
#define IDD_VELMORA_DIALOG      102

// Icons
#define IDR_MAINFRAME           128

// Controls of the main dialog
#define IDC_MESSAGE             1000
#define IDC_VERSION             1005
#define IDC_PACKAGE_TEXT        1007
#define IDC_ADVICE              1008
