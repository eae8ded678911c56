// COrdavinDlg: the installer's main window, dialog 102.
//
// The handlers live in the files of their subsystem: the title list in
// catalogue/TitleList.cpp, the size display in ui/SizeDisplay.cpp, the list
// click and small buttons in ui/TitleClick.cpp, ui/CdDoor.cpp and
// ui/LaunchTitle.cpp, the folder chooser in ui/SelectFolder.cpp, the removal
// in setup/TitleRemoval.cpp.
#pragma once

#include "../../framework/Controls.h"
#include "../../framework/Dialog.h"
#include "../../framework/ImageList.h"

// The dialog, its title list (control 1000) and the progress bar's window
// (control 1028), set when the dialog initialises.
extern HWND g_hDlg;
extern HWND g_hList;
extern HWND g_hProgress;
// The list's state images: an empty box (1) and a ticked box (2) for the
// viewer's mark of a title. The list owns and destroys them with itself.
extern HIMAGELIST g_hStateImages;

class COrdavinDlg : public CDialog
{
public:
    explicit COrdavinDlg(CWnd* pParent = nullptr);
    ~COrdavinDlg() override;

    // Empties the list and scans the catalogue again ("Erneuern").
    void RefreshTitleList();
    // Appends a row per catalogue title to the (empty) list and brings the
    // CD and target displays up to date.
    void FillTitleList();
    // Enables or disables the ten controls of the installation section.
    void EnableInstallSection(BOOL bEnable);
    // Deletes an installed title's files, folders and shortcut, reports the
    // end and blanks the installer's values (setup/TitleRemoval.cpp).
    void RemoveTitleFiles(CString strTitlePath);
    // Asks whether the clicked, unreachable title is to be dropped from the
    // catalogue, and drops it (setup/UnreachableTitle.cpp).
    void DropUnreachableTitle();

    CListCtrl m_listTitles;
    CEdit m_editTarget;
    CString m_strDefaultTarget;
    CString m_strCdDrive;
    CImageList* m_pImageList;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Message and command handlers.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnSelectFolder();
    void OnInstall();
    void OnTitleClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnAllowItemChange(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRemove();
    void OnCdDrive();
    void OnChangeTarget();
    void OnNotes();
    void OnLaunchTitle();

    DECLARE_MESSAGE_MAP()
};
