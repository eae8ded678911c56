// The launch button: ends the program while the shell starts the viewer on
// the selected title.
#include "OrdavinDlg.h"

#include "TitleClick.h"
#include "../catalogue/TitleCatalogue.h"
#include "../res/resource.h"

#include <shellapi.h>

void COrdavinDlg::OnLaunchTitle()
{
    CString strPath = m_listTitles.GetItemText(g_nSelItem, COL_PATH);
    CString strFile = m_listTitles.GetItemText(g_nSelItem, COL_FILE);
    // The viewer opens the title file by its name in the title's folder.
    int nSlash = strPath.ReverseFind('\\');
    CString strFolder = nSlash >= 0 ? strPath.Left(nSlash) : CString();
    HINSTANCE hResult = ::ShellExecuteA(g_hDlg, "open", strFile, nullptr, strFolder, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(hResult) > 32) {
        ::PostQuitMessage(0);
        return;
    }
    ::MessageBoxA(m_hWnd, "Texorra konnte nicht mit dieser Titelanwendung gestartet werden!",
                  "Texorra 5.0 - Hilfsprogramm", MB_YESNO);
}
