// CAboutDlg: the About dialog (resource 100), opened from the system menu.
#pragma once

#include "../../framework/Dialog.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
};
