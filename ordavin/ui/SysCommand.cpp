// The system menu with its About entry, and the "Hinweise" button.
#include "OrdavinDlg.h"

#include "AboutDlg.h"
#include "InfoDialog.h"
#include "../res/resource.h"

void COrdavinDlg::OnSysCommand(UINT nID, LPARAM)
{
    // The low four bits of a system command are the system's own.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void COrdavinDlg::OnNotes()
{
    CInfoDialog dlg(nullptr);
    dlg.DoModal();
}
