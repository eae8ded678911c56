// "Entfernen": removes the installed title of the focused row from the hard
// disk. The registration stays; the next scan lists the title as missing.
#include "TitleRemoval.h"

#include "../../framework/FileFind.h"
#include "../../framework/RegKey.h"
#include "../app/OrdavinApp.h"
#include "../catalogue/TitleCatalogue.h"
#include "../res/resource.h"
#include "../ui/OrdavinDlg.h"
#include "../ui/TProgrCtrl.h"
#include "../ui/TitleClick.h"

PFN_SETCURRENTDIRECTORYA g_pfnSetCurrentDirectory = &::SetCurrentDirectoryA;

namespace {

const LPCSTR kRemovalCaption = "Texorra 5.0 - Deinstallation";

void ShowControl(HWND hDlg, int nID, BOOL bEnable, BOOL bShow)
{
    ::EnableWindow(::GetDlgItem(hDlg, nID), bEnable);
    ::ShowWindow(::GetDlgItem(hDlg, nID), bShow ? SW_SHOW : SW_HIDE);
}

// DeleteFileA and RemoveDirectoryA refuse read-only entries; the archive
// attribute replaces all others.
void ClearReadOnly(LPCSTR pszPath)
{
    DWORD dwAttributes = ::GetFileAttributesA(pszPath);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesA(pszPath, FILE_ATTRIBUTE_ARCHIVE);
}

// Deletes the files of a search that has just started (bFound: its first
// entry). Each file goes by its full path, so that nothing outside the
// searched folder is touched whatever the current directory is. A file in
// use stays, silently.
void DeleteFoundFiles(CFileFind& find, BOOL bFound, const CString& strPattern, RemovalStep step)
{
    for (; bFound; bFound = find.FindNextFile()) {
        CString strName = find.GetFileName();
        if (find.IsDirectory() || !MatchesRemovalStep(strName, step))
            continue;
        CString strFile = FoundFilePath(strPattern, strName);
        ClearReadOnly(strFile);
        ::DeleteFileA(strFile);
    }
}

// Removes a folder if it is empty and nobody holds it in use (a process's
// current directory is held in use on Windows).
void RemoveEmptyFolder(LPCSTR pszFolder)
{
    ClearReadOnly(pszFolder);
    ::RemoveDirectoryA(pszFolder);
}

// Deletes the Start-menu shortcut that the installation recorded for the
// title. A value that does not name a shortcut is left alone.
void DeleteShortcut(const CString& strTitle)
{
    CString strKey;
    strKey.Format("Software\\Quendramark\\Texorra 3.0 - Professional\\%s\\Ifo", strTitle.GetString());
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, strKey, KEY_READ) != ERROR_SUCCESS)
        return;
    // A shortcut path fits a path buffer; a longer value is not read.
    char szLink[MAX_PATH];
    if (key.QueryString("lnk", szLink, sizeof(szLink)) && IsShortcutPath(szLink))
        ::DeleteFileA(szLink);
}

}  // namespace

void COrdavinDlg::OnRemove()
{
    int nItem = m_listTitles.GetNextItem(-1, LVNI_FOCUSED);
    CString strPath;
    CString strStatus;
    if (nItem >= 0) {
        strPath = m_listTitles.GetItemText(nItem, COL_PATH);
        strStatus = m_listTitles.GetItemText(nItem, COL_STATUS);
    }
    if (strPath.IsEmpty() || strStatus != "0" || !IsRemovableTitlePath(strPath)) {
        ::MessageBoxA(m_hWnd, "Keine Anwendung ausgewählt", kRemovalCaption, MB_OK);
        return;
    }
    if (::MessageBoxA(m_hWnd, "Soll die Anwendung von der Festplatte komplett entfernt werden ?",
                      kRemovalCaption, MB_YESNO) != IDYES)
        return;

    // The removal moves the current directory from folder to folder; a
    // directory too long for the buffer cannot be put back and is kept.
    char szCurrentDir[MAX_PATH];
    DWORD cchDir = ::GetCurrentDirectoryA(sizeof(szCurrentDir), szCurrentDir);

    // The progress bar takes the launch button's place.
    ShowControl(m_hWnd, IDC_CLICK_HINT, FALSE, TRUE);
    ShowControl(m_hWnd, IDC_LAUNCH, FALSE, FALSE);
    ShowControl(m_hWnd, IDC_PROGRESS, TRUE, TRUE);

    RemoveTitleFiles(strPath);

    ::ShowWindow(GetDlgItem(IDC_PROGRESS), SW_HIDE);
    ShowControl(m_hWnd, IDC_LAUNCH, FALSE, TRUE);
    ShowControl(m_hWnd, IDC_CLICK_HINT, TRUE, TRUE);
    if (cchDir > 0 && cchDir < sizeof(szCurrentDir))
        g_pfnSetCurrentDirectory(szCurrentDir);

    theApp.WriteProfileString(g_strTitleName + "\\Ifo", "lnk", "");
    RefreshTitleList();
}

void COrdavinDlg::RemoveTitleFiles(CString strTitlePath)
{
    m_progress.SetShowText(FALSE);
    m_progress.SetPos(0);
    m_progress.SetRange(0, 6);   // the six steps below
    // OnRemove lets only a sound title folder through; nothing else is
    // worked on, whoever calls.
    if (strTitlePath.IsEmpty() || !IsRemovableTitlePath(strTitlePath))
        return;
    CString strTitleFolder = TitleFolderOf(strTitlePath);
    CString strNotesFolder = NotesFolderOf(strTitleFolder);

    // The current directory follows the deletions: a folder that is some
    // process's current directory cannot be removed, and removal leaves
    // none of the folders it empties held that way.
    CFileFind find;
    CString strPattern = RemovalPattern(strTitleFolder, RS_NOTES_TXT);
    BOOL bFound = find.FindFile(strPattern);
    g_pfnSetCurrentDirectory(strNotesFolder);
    m_progress.StepIt();
    DeleteFoundFiles(find, bFound, strPattern, RS_NOTES_TXT);
    m_progress.StepIt();
    find.Close();

    strPattern = RemovalPattern(strTitleFolder, RS_NOTES_RTF);
    DeleteFoundFiles(find, find.FindFile(strPattern), strPattern, RS_NOTES_RTF);
    find.Close();

    g_pfnSetCurrentDirectory(strTitleFolder);
    m_progress.StepIt();
    RemoveEmptyFolder(strNotesFolder);
    m_progress.StepIt();

    strPattern = RemovalPattern(strTitleFolder, RS_UPC);
    bFound = find.FindFile(strPattern);
    g_pfnSetCurrentDirectory(strTitleFolder);
    DeleteFoundFiles(find, bFound, strPattern, RS_UPC);
    m_progress.StepIt();
    find.Close();

    strPattern = RemovalPattern(strTitleFolder, RS_TITLE_FILES);
    DeleteFoundFiles(find, find.FindFile(strPattern), strPattern, RS_TITLE_FILES);
    m_progress.StepIt();
    find.Close();

    g_pfnSetCurrentDirectory("C:\\");
    RemoveEmptyFolder(strTitleFolder);
    // Held as the current directory, the default target folder is never
    // removed, even when this title was its last one.
    g_pfnSetCurrentDirectory(m_strDefaultTarget);
    CString strParent = ParentFolderOf(strTitleFolder);
    if (!strParent.IsEmpty())
        RemoveEmptyFolder(strParent);

    DeleteShortcut(g_strTitleName);
    RefreshTitleList();

    CString strMessage;
    strMessage.Format("Die De-Installation von     \n%s\nist abgeschlossen", g_strTitleName.GetString());
    CString strCaption;
    strCaption.LoadString(IDS_HELPER_CAPTION);
    ::MessageBoxA(m_hWnd, strMessage, strCaption, MB_OK);

    theApp.WriteProfileString(g_strTitleName + "\\", "lnk", "");
    theApp.WriteProfileString("ProjektPfad", "Nuvado", "");
    m_progress.SetPos(0);
}
