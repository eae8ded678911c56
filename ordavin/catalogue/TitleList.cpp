// The title list of the main dialog: one row per catalogue title, rebuilt
// from the registry on every refresh. Between refreshes the rows are the
// only record of the catalogue.
#include "TitleCatalogue.h"

#include "../res/resource.h"
#include "../ui/OrdavinDlg.h"
#include "../ui/SizeDisplay.h"
#include "../ui/TitleClick.h"

int g_nCdItem = -1;

void COrdavinDlg::FillTitleList()
{
    g_nCdItem = -1;
    BOOL bCdFound = FALSE;
    int nItem = -1;

    // The rows go in without a repaint each; the list redraws once after.
    m_listTitles.SendMessage(WM_SETREDRAW, FALSE);
    ScanCatalogue([&](const TitleEntry& entry) {
        // The row comes with its icon and its mark's box in one message.
        int nRow = m_listTitles.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_STATE, nItem + 1,
                                           TitleDisplayText(entry.strTitle), StateImageOfMark(entry.nMark),
                                           LVIS_STATEIMAGEMASK, entry.image, 0);
        if (nRow < 0)
            return;
        nItem = nRow;
        m_listTitles.SetItemText(nItem, COL_PATH, entry.strPath);
        m_listTitles.SetItemText(nItem, COL_STATUS, TitleStatusText(entry.status));
        m_listTitles.SetItemText(nItem, COL_FILE, entry.strFile);
        if (entry.status == TS_ON_CD) {
            // The list selects one row only: of several titles on CD-ROM
            // drives the last one enumerated is the CD row.
            g_nCdItem = nItem;
            m_listTitles.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            m_strCdDrive = entry.strRoot;
            bCdFound = TRUE;
        }
        CString strMark;
        strMark.Format("%u", entry.nMark);
        m_listTitles.SetItemText(nItem, COL_MARK, strMark);
    });
    m_listTitles.SendMessage(WM_SETREDRAW, TRUE);
    m_listTitles.Invalidate();

    // The CD: its drive and size, or "n.V." (the last size stays known).
    if (bCdFound) {
        SetControlText(m_hWnd, IDC_CD_DRIVE, m_strCdDrive);
        QueryCdSize(m_strCdDrive);
        SetControlText(m_hWnd, IDC_CD_SIZE, g_szCdSizeText);
    } else {
        lstrcpynA(g_szCdSizeText, "n.V.", sizeof(g_szCdSizeText));
        SetControlText(m_hWnd, IDC_CD_DRIVE, "n.V.");
        SetControlText(m_hWnd, IDC_CD_SIZE, "n.V.");
    }

    // The target drive: an empty target field leaves the display alone.
    CString strTarget = m_editTarget.GetWindowText();
    if (!strTarget.IsEmpty()) {
        CString strDrive = PathRoot(strTarget);
        QueryFreeSpace(strDrive);
        SetControlText(m_hWnd, IDC_FREE_SPACE, g_szFreeText);
        SetControlText(m_hWnd, IDC_TARGET_DRIVE, strDrive);
    }

    // Installing needs a click on the CD row first.
    EnableInstallSection(FALSE);
    ::EnableWindow(GetDlgItem(IDC_TARGET), FALSE);
}

void COrdavinDlg::RefreshTitleList()
{
    // The rows are new: no click has chosen one of them yet.
    g_nSelItem = -1;
    m_listTitles.DeleteAllItems();
    FillTitleList();
    ::ShowWindow(GetDlgItem(IDC_PROGRESS), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_LAUNCH), SW_SHOW);
    ::EnableWindow(GetDlgItem(IDC_REMOVE_TEXT), FALSE);
    ::EnableWindow(GetDlgItem(IDC_LAUNCH), FALSE);
    if (g_nCdItem >= 1)
        m_listTitles.EnsureVisible(g_nCdItem, TRUE);
    ::EnableWindow(GetDlgItem(IDC_CLICK_HINT), TRUE);
}
