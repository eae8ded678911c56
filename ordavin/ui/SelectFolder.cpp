#include "OrdavinDlg.h"

#include "PathDialog.h"
#include "SizeDisplay.h"

void COrdavinDlg::OnSelectFolder()
{
    // An empty field is passed as "", which the browser cannot select; a
    // null path would select the current directory instead.
    CString strBefore = m_editTarget.GetWindowText();
    CPathDialog dlg("Ordnerauswahl ....", "Zielordner ...", strBefore, nullptr);
    if (dlg.DoModal() == IDOK) {
        // Setting the text raises the field's own change handling; the free
        // space is re-read here for the whole folder path as well.
        m_editTarget.SetWindowText(dlg.GetPathName());
        CString strTarget = m_editTarget.GetWindowText();
        QueryFreeSpace(strTarget);
    } else if (strBefore.IsEmpty()) {
        // The field is not to stay empty; a folder just accepted is kept.
        m_editTarget.SetWindowText(m_strDefaultTarget);
    }
}
