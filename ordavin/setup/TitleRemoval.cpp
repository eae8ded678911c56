// "Entfernen": removes the installed title of the focused row from the hard
// disk. The registration stays; the next scan lists the title as missing.
#include "TitleRemoval.h"

#include "../../framework/FileFind.h"
#include "../../framework/RegKey.h"
#include "../app/OrdavinApp.h"
#include "Shortcut.h"
#include "../catalogue/RegisteredTitles.h"
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

BOOL IsReparsePoint(DWORD dwAttributes)
{
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Deletes the files of a search that has just started (bFound: its first
// entry). Each file goes by its full path, so that nothing outside the
// searched folder is touched whatever the current directory is. A file in
// use stays, silently; so does a link (a reparse point), which would lead
// the deletion elsewhere, and the file named pszKeep.
void DeleteFoundFiles(CFileFind& find, BOOL bFound, const CString& strPattern, RemovalStep step,
                      LPCSTR pszKeep = nullptr)
{
    for (; bFound; bFound = find.FindNextFile()) {
        CString strName = find.GetFileName();
        if (find.IsDirectory() || IsReparsePoint(find.GetAttributes()) || !MatchesRemovalStep(strName, step) ||
            (pszKeep && lstrcmpiA(strName, pszKeep) == 0))
            continue;
        CString strFile = FoundFilePath(strPattern, strName);
        ClearReadOnly(strFile);
        ::DeleteFileA(strFile);
    }
}

// Removes a folder if it is empty and nobody holds it in use (a process's
// current directory is held in use on Windows). A link is left alone.
void RemoveEmptyFolder(LPCSTR pszFolder)
{
    if (IsReparsePoint(::GetFileAttributesA(pszFolder)))
        return;
    ClearReadOnly(pszFolder);
    ::RemoveDirectoryA(pszFolder);
}

// Deletes the Start-menu shortcut that the installation recorded for the
// title. A value that does not name a shortcut in the Start-menu group is
// left alone: the value is the user's to edit, the deletion runs elevated.
void DeleteShortcut(const CString& strTitle)
{
    CString strKey;
    strKey.Format("Software\\Quendramark\\Texorra 3.0 - Professional\\%s\\Ifo", strTitle.GetString());
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, strKey, KEY_READ) != ERROR_SUCCESS)
        return;
    // A shortcut path fits a path buffer; a longer value is not read.
    char szLink[MAX_PATH];
    if (key.QueryString("lnk", szLink, sizeof(szLink)) && IsShortcutPath(szLink) && g_szStartGroup[0] &&
        SameFolder(FolderOfPath(szLink), g_szStartGroup) && !IsReparsePoint(::GetFileAttributesA(szLink)))
        ::DeleteFileA(szLink);
}


// Why a title may not be removed, as the user is told; empty when it may.
// Only the title's own files may go: the registered path must name the
// title file of the catalogue, in a folder that holds no other title and
// is no link to another place.
CString RemovalRefusal(const CString& strPath, const CString& strFile, const CString& strTitle)
{
    CString strReason;
    CString strFolder = TitleFolderOf(strPath);
    if (HasWildcard(strPath) || lstrcmpiA(FileNameOfPath(strPath), strFile) != 0) {
        strReason.Format("Der eingetragene Pfad\n%s\nbezeichnet nicht die Titeldatei %s.", strPath.GetString(),
                         strFile.GetString());
    } else if (IsReparsePoint(::GetFileAttributesA(strFolder))) {
        strReason.Format("Der Ordner\n%s\nverweist auf einen anderen Ort.", strFolder.GetString());
    } else if (const RegisteredTitle* pOther = OtherTitleInFolder(ReadRegisteredTitles(), strFolder, strFile)) {
        strReason.Format("Im Ordner\n%s\nliegt auch der Titel\n%s", strFolder.GetString(),
                         TitleDisplayText(pOther->strTitle).GetString());
    }
    if (strReason.IsEmpty())
        return strReason;
    CString strMessage;
    strMessage.Format("Die De-Installation von     \n%s\nist nicht möglich.\n\n%s\n\nEs wurde nichts gelöscht.",
                      strTitle.GetString(), strReason.GetString());
    return strMessage;
}

}  // namespace

void COrdavinDlg::OnRemove()
{
    // The row that was clicked, while it still has the focus: arrow keys
    // move the focus without a click, and one removal touches one title.
    int nItem = g_nSelItem;
    CString strPath;
    CString strStatus;
    CString strFile;
    if (nItem >= 0 && m_listTitles.GetNextItem(-1, LVNI_FOCUSED) == nItem) {
        strPath = m_listTitles.GetItemText(nItem, COL_PATH);
        strStatus = m_listTitles.GetItemText(nItem, COL_STATUS);
        strFile = m_listTitles.GetItemText(nItem, COL_FILE);
        g_strTitleName = m_listTitles.GetItemText(nItem, COL_TITLE);
    }
    if (strPath.IsEmpty() || strStatus != "0" || !IsRemovableTitlePath(strPath)) {
        ::MessageBoxA(m_hWnd, "Keine Anwendung ausgewählt", kRemovalCaption, MB_OK);
        return;
    }
    CString strRefusal = RemovalRefusal(strPath, strFile, g_strTitleName);
    if (!strRefusal.IsEmpty()) {
        ::MessageBoxA(m_hWnd, strRefusal, kRemovalCaption, MB_OK | MB_ICONEXCLAMATION);
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
    if (IsReparsePoint(::GetFileAttributesA(strTitleFolder)))
        return;
    // A notes folder that is a link (a junction or symbolic link) is
    // neither searched nor entered nor removed.
    BOOL bNotes = !IsReparsePoint(::GetFileAttributesA(strNotesFolder));

    // The current directory follows the deletions: a folder that is some
    // process's current directory cannot be removed, and removal leaves
    // none of the folders it empties held that way.
    CFileFind find;
    CString strPattern = RemovalPattern(strTitleFolder, RS_NOTES_TXT);
    BOOL bFound = bNotes && find.FindFile(strPattern);
    if (bNotes)
        g_pfnSetCurrentDirectory(strNotesFolder);
    m_progress.StepIt();
    DeleteFoundFiles(find, bFound, strPattern, RS_NOTES_TXT);
    m_progress.StepIt();
    find.Close();

    strPattern = RemovalPattern(strTitleFolder, RS_NOTES_RTF);
    DeleteFoundFiles(find, bNotes && find.FindFile(strPattern), strPattern, RS_NOTES_RTF);
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

    // The title file goes last: a removal cut short leaves the title
    // listed as installed, and the next removal finishes it.
    strPattern = RemovalPattern(strTitleFolder, RS_TITLE_FILES);
    CString strTitleFile = FileNameOfPath(strTitlePath);
    DeleteFoundFiles(find, find.FindFile(strPattern), strPattern, RS_TITLE_FILES, strTitleFile);
    if (MatchesRemovalStep(strTitleFile, RS_TITLE_FILES) && !IsReparsePoint(::GetFileAttributesA(strTitlePath))) {
        ClearReadOnly(strTitlePath);
        ::DeleteFileA(strTitlePath);
    }
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
