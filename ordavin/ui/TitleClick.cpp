// The click on a title row: the row's status decides which sections and
// buttons the user may use.
#include "OrdavinDlg.h"

#include "SizeDisplay.h"
#include "TitleClick.h"
#include "../catalogue/TitleCatalogue.h"
#include "../res/resource.h"

#include <cstdio>
#include <initializer_list>

int g_nSelItem = -1;
CString g_strTitleName;
char g_szCdButtonText[24] = "CD-Lfw.:  ";

namespace {

// Enables or disables the controls, in the order given.
void Enable(HWND hDlg, std::initializer_list<int> ids, BOOL bEnable)
{
    for (int nID : ids)
        ::EnableWindow(::GetDlgItem(hDlg, nID), bEnable);
}

// Puts a label on the CD-drive button. The label buffer holds 23
// characters; a longer drive text (a path without a backslash) is cut.
void SetCdButtonLabel(HWND hDlg, LPCSTR pszLabel)
{
    snprintf(g_szCdButtonText, sizeof(g_szCdButtonText), "%s", pszLabel);
    ::SendDlgItemMessageA(hDlg, IDC_CD_DOOR, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g_szCdButtonText));
}

void SetCdDriveLabel(HWND hDlg, const CString& strDrive)
{
    CString label;
    label.Format("CD-Lfw.: %s", strDrive.GetString());
    SetCdButtonLabel(hDlg, label);
}

}  // namespace

void COrdavinDlg::OnTitleClick(NMHDR*, LRESULT* pResult)
{
    HWND hDlg = m_hWnd;
    g_nSelItem = m_listTitles.GetNextItem(-1, LVNI_SELECTED);
    CString strPath;
    CString strStatus;
    if (g_nSelItem >= 0) {
        g_strTitleName = m_listTitles.GetItemText(g_nSelItem, COL_TITLE);
        strPath = m_listTitles.GetItemText(g_nSelItem, COL_PATH);
        strStatus = m_listTitles.GetItemText(g_nSelItem, COL_STATUS);
    } else {
        g_strTitleName.Empty();
    }
    // The drive of a title on a CD-ROM drive, such as "D:".
    CString strDrive = strPath.Find('\\') >= 0 ? strPath.Left(2) : strPath;

    if (strStatus == "3") {
        // The CD of this title is not in its drive.
        Enable(hDlg, {IDC_REMOVE_TEXT, IDC_REMOVE}, FALSE);
        Enable(hDlg, {IDC_CD_HINT, IDC_CD_DOOR}, TRUE);
        SetCdDriveLabel(hDlg, strDrive);
        EnableInstallSection(FALSE);
        Enable(hDlg, {IDC_TARGET, IDC_INSTALL_READY, IDC_INSTALL, IDC_LAUNCH}, FALSE);
    } else if (strStatus == "2") {
        // The CD is in the drive: the title can be installed if there is
        // room for the CD plus the margin.
        Enable(hDlg, {IDC_REMOVE_TEXT, IDC_REMOVE, IDC_CD_HINT}, FALSE);
        Enable(hDlg, {IDC_CD_DOOR}, TRUE);
        SetCdDriveLabel(hDlg, strDrive);
        EnableInstallSection(TRUE);
        Enable(hDlg, {IDC_TARGET}, TRUE);
        Enable(hDlg, {IDC_INSTALL_READY, IDC_INSTALL}, HasRoomForCd(INSTALL_MARGIN_CLICK));
        Enable(hDlg, {IDC_CLICK_HINT}, FALSE);
        Enable(hDlg, {IDC_LAUNCH}, TRUE);
    } else if (strStatus == "0") {
        // Installed on a hard disk: it can be removed or started.
        Enable(hDlg, {IDC_REMOVE_TEXT, IDC_REMOVE}, TRUE);
        Enable(hDlg, {IDC_CD_HINT, IDC_CD_DOOR}, FALSE);
        SetCdButtonLabel(hDlg, "CD-Lfw.:--");
        Enable(hDlg, {IDC_INSTALL_READY, IDC_INSTALL}, FALSE);
        EnableInstallSection(FALSE);
        Enable(hDlg, {IDC_TARGET, IDC_CLICK_HINT}, FALSE);
        Enable(hDlg, {IDC_LAUNCH}, TRUE);
    } else if (strStatus == "1" || strStatus == "5") {
        // The title file cannot be reached: offer to drop it from the
        // catalogue.
        DropUnreachableTitle();
        Enable(hDlg, {IDC_CLICK_HINT, IDC_LAUNCH}, FALSE);
    } else {
        // "4" (found on a network path), or no row at all.
        Enable(hDlg, {IDC_INSTALL_READY, IDC_INSTALL, IDC_REMOVE_TEXT, IDC_REMOVE, IDC_CD_HINT, IDC_CD_DOOR}, FALSE);
        SetCdButtonLabel(hDlg, "CD-Lfw.:--");
        EnableInstallSection(FALSE);
        Enable(hDlg, {IDC_TARGET}, FALSE);
        BOOL bNetwork = strStatus == "4";
        Enable(hDlg, {IDC_LAUNCH}, bNetwork);
        Enable(hDlg, {IDC_CLICK_HINT}, !bNetwork);
    }
    ::ShowWindow(::GetDlgItem(hDlg, IDC_LAUNCH), SW_SHOW);
    ::ShowWindow(::GetDlgItem(hDlg, IDC_PROGRESS), SW_HIDE);
    *pResult = 0;
}

void COrdavinDlg::OnAllowItemChange(NMHDR*, LRESULT* pResult)
{
    // Every change of a row's state is allowed.
    *pResult = 0;
}
