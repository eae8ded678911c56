#include "OrdavinDlg.h"

#include "../res/resource.h"

void COrdavinDlg::EnableInstallSection(BOOL bEnable)
{
    // The texts, the CD drive and size, "Auswählen", the ready text and
    // "Installieren", switched together in this order.
    static const int s_ids[] = {IDC_INSTALL_TEXT1,  IDC_INSTALL_SIZE_LABEL, IDC_CD_SIZE,
                                IDC_INSTALL_FROM_CD, IDC_INSTALL_TO_DISK,   IDC_INSTALL_TEXT2,
                                IDC_CD_DRIVE,        IDC_SELECT_FOLDER,     IDC_INSTALL_READY,
                                IDC_INSTALL};
    for (int id : s_ids)
        ::EnableWindow(GetDlgItem(id), bEnable);
}
