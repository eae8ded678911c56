// A click on a title whose file cannot be reached offers to drop the title
// from the viewer's catalogue. Only the catalogue value goes; the title's
// own section stays.
#include "TitleRemoval.h"

#include "../../framework/RegKey.h"
#include "../catalogue/TitleCatalogue.h"
#include "../res/resource.h"
#include "../ui/OrdavinDlg.h"
#include "../ui/TitleClick.h"

void COrdavinDlg::DropUnreachableTitle()
{
    if (::MessageBoxA(m_hWnd,
                      "Diese Anwendung ist derzeitig nicht mehr verfügbar und bedarf\n"
                      "zunächst der Neuinstallation von dem Original-CD-Setup!\n"
                      "Soll dieser Titel aus der Liste entfernt werden?",
                      "Texorra 5.0 - Deinstallation", MB_YESNO) != IDYES)
        return;

    for (int nID : {IDC_INSTALL_READY, IDC_INSTALL, IDC_REMOVE_TEXT, IDC_REMOVE, IDC_CD_HINT, IDC_CD_DOOR})
        ::EnableWindow(GetDlgItem(nID), FALSE);
    lstrcpynA(g_szCdButtonText, "CD-Lfw.:--", sizeof(g_szCdButtonText));
    ::SendDlgItemMessageA(m_hWnd, IDC_CD_DOOR, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g_szCdButtonText));
    EnableInstallSection(FALSE);
    ::EnableWindow(GetDlgItem(IDC_TARGET), FALSE);

    // The value named in the clicked row; the catalogue key itself stays.
    CString strFile = m_listTitles.GetItemText(g_nSelItem, COL_FILE);
    CRegKey key;
    if (!strFile.IsEmpty() && key.Open(HKEY_CURRENT_USER, CATALOGUE_KEY, KEY_SET_VALUE | DELETE) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.m_hKey, strFile);
    key.Close();
    RefreshTitleList();
}
