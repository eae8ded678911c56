#include "InfoDialog.h"

#include "AboutDlg.h"
#include "../res/resource.h"

CInfoDialog::CInfoDialog(CWnd* pParent) : CDialog(IDD_NOTES, pParent)
{
}

void CInfoDialog::OnOK()
{
    // The About dialog has no parent of its own: it is owned by the last
    // active pop-up of the main window, which is this dialog.
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
    CDialog::OnOK();
}
