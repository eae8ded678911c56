// "Installieren": copies the selected title from its CD into a folder below
// the target folder, re-registers it there, makes its Start-menu shortcut
// and logs the run. One synchronous run; only the progress bar repaints.
#include "../ui/OrdavinDlg.h"

#include "CopyProgress.h"
#include "InstallLog.h"
#include "InstallPaths.h"
#include "Shortcut.h"
#include "../../framework/FileFind.h"
#include "../../framework/WinApp.h"
#include "../catalogue/TitleCatalogue.h"
#include "../res/resource.h"
#include "../ui/FolderCheck.h"
#include "../ui/SizeDisplay.h"
#include "../ui/TProgrCtrl.h"
#include "../ui/TitleClick.h"

#include <objbase.h>

namespace {

const int kWmSetTextLimit = 128;

// The copies of one run: which files went, and the title file among them.
struct CopyRun {
    CString strSource;
    CString strDestination;
    CString strTitleFile;       // destination path; empty until copied
    CString strTitleFileName;

    // Copies one found file of a stage; TRUE when it was copied. A folder
    // that matches a pattern is no file of the set: it is passed over.
    BOOL CopyFound(CopyStage stage, const CFileFind& find, BOOL* pbSkipped)
    {
        *pbSkipped = find.IsDirectory();
        if (*pbSkipped)
            return FALSE;
        CString strName = find.GetFileName();
        CString strFrom = StageSourcePath(stage, strSource, strName);
        CString strTo = StageDestinationPath(stage, strDestination, strName);
        m_progress.SetPos(0);
        g_strCopyCaption = strFrom;
        if (strFrom.IsEmpty() || strTo.IsEmpty() || !CopyReplacing(strFrom, strTo))
            return FALSE;
        m_progress.SetPos(100);
        WriteLogLine("File Copy: %s\n", strTo);
        // The copies are left writable, so that a second installation
        // replaces them and the removal can delete them. A copy carries its
        // source's attributes, read-only for a CD file: those are written
        // without the bit, and no attributes are read back.
        DWORD dwAttributes = find.GetAttributes();
        if (dwAttributes & FILE_ATTRIBUTE_READONLY) {
            dwAttributes &= ~FILE_ATTRIBUTE_READONLY;
            ::SetFileAttributesA(strTo, dwAttributes ? dwAttributes : FILE_ATTRIBUTE_NORMAL);
        }
        if (stage == STAGE_TITLE && IsTitleFileName(strName)) {
            strTitleFile = strTo;
            strTitleFileName = strName;
        }
        return TRUE;
    }

    // Copies, replacing an existing destination. One left read-only (by an
    // earlier installer) refuses the copy with ERROR_ACCESS_DENIED on
    // Windows: it is made writable and copied once more. Its attributes are
    // read only then, not before every copy. (Wine replaces a read-only
    // file, so this second try happens on Windows only.)
    static BOOL CopyReplacing(LPCSTR pszFrom, LPCSTR pszTo)
    {
        if (::CopyFileExA(pszFrom, pszTo, &CopyProgress, nullptr, nullptr, 0))
            return TRUE;
        if (::GetLastError() != ERROR_ACCESS_DENIED)
            return FALSE;
        DWORD dwAttributes = ::GetFileAttributesA(pszTo);
        if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_READONLY) ||
            !::SetFileAttributesA(pszTo, dwAttributes & ~FILE_ATTRIBUTE_READONLY))
            return FALSE;
        return ::CopyFileExA(pszFrom, pszTo, &CopyProgress, nullptr, nullptr, 0);
    }

    // Copies the four file sets by their rules: the ".UPC" files only after
    // files of the first set were found, the notes only after ".UPC" files
    // were found, and a failed copy skips one file of the first set, ends
    // the ".UPC" files, and ends all copying among the notes.
    void CopyStages()
    {
        CFileFind find;
        if (!find.FindFile(StagePattern(STAGE_TITLE, strSource)))
            return;
        BOOL bSkipped;
        do
            CopyFound(STAGE_TITLE, find, &bSkipped);
        while (find.FindNextFile());
        find.Close();
        m_progress.SetPos(0);

        if (!find.FindFile(StagePattern(STAGE_UPC, strSource)))
            return;
        DWORD dwEnd = ERROR_NO_MORE_FILES;
        for (;;) {
            if (!CopyFound(STAGE_UPC, find, &bSkipped) && !bSkipped)
                break;
            if (!find.FindNextFile()) {
                dwEnd = ::GetLastError();
                break;
            }
        }
        find.Close();
        if (dwEnd != ERROR_NO_MORE_FILES)
            return;
        m_progress.SetPos(0);

        CString strNotes = strDestination + "\\Note";
        ::CreateDirectoryA(strNotes, nullptr);
        WriteLogLine("Made Dir: %s\n", strNotes);
        for (CopyStage stage : {STAGE_RTF, STAGE_TXT}) {
            if (find.FindFile(StagePattern(stage, strSource))) {
                do {
                    if (!CopyFound(stage, find, &bSkipped) && !bSkipped)
                        return;
                } while (find.FindNextFile());
            }
            find.Close();
            m_progress.SetPos(0);
        }
    }
};

// The volume label of a drive ("E:"); empty when it has none or cannot be
// read. The label buffer holds 128 bytes.
CString VolumeLabelOf(const CString& strDrive)
{
    // The root needs its backslash: "E:" alone names no volume root.
    char szLabel[128] = "";
    if (!::GetVolumeInformationA(strDrive + "\\", szLabel, sizeof(szLabel), nullptr, nullptr, nullptr, nullptr, 0))
        return CString();
    szLabel[sizeof(szLabel) - 1] = '\0';
    return szLabel;
}

void SetControlText(HWND hDlg, int nID, LPCSTR pszText)
{
    ::SendDlgItemMessageA(hDlg, nID, WM_SETTEXT, kWmSetTextLimit, reinterpret_cast<LPARAM>(pszText));
}

// The end of every run: the log closed, the launch button back in the
// bar's place (disabled until the next click), the click hint enabled.
void FinishInstallRun(HWND hDlg)
{
    CloseInstallLog();
    ::ShowWindow(::GetDlgItem(hDlg, IDC_PROGRESS), SW_HIDE);
    ::EnableWindow(::GetDlgItem(hDlg, IDC_LAUNCH), FALSE);
    ::ShowWindow(::GetDlgItem(hDlg, IDC_LAUNCH), SW_SHOW);
    ::EnableWindow(::GetDlgItem(hDlg, IDC_CLICK_HINT), TRUE);
    ::ShowWindow(::GetDlgItem(hDlg, IDC_CLICK_HINT), SW_SHOW);
}

}  // namespace

void COrdavinDlg::OnInstall()
{
    HWND hDlg = m_hWnd;
    CString strText = m_editTarget.GetWindowText();
    if (CheckTargetFolder(strText, FALSE) != FOLDER_OK) {
        ::EnableWindow(GetDlgItem(IDC_TARGET), TRUE);
        FinishInstallRun(hDlg);
        return;
    }
    m_progress.SetShowText(TRUE);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);

    strText = m_editTarget.GetWindowText();
    QueryFreeSpace(strText);
    SetControlText(hDlg, IDC_FREE_SPACE, g_szFreeText);
    CString strTarget = TargetFolderOf(strText);
    if (!strTarget.IsEmpty())
        SetControlText(hDlg, IDC_TARGET_DRIVE, PathRoot(strTarget));

    CString strTitleFolder = CdTitleFolderOf(m_listTitles.GetItemText(g_nSelItem, COL_PATH));
    CString strLabel = strTitleFolder.GetLength() > 2 ? CString() : VolumeLabelOf(m_strCdDrive);
    InstallPlace place = PlaceInstall(strTarget, strTitleFolder, m_strCdDrive, g_strTitleName, strLabel);
    // A registered path with ".." components or refused characters, or a
    // label of that kind, would put the copies elsewhere: stop before
    // anything is written, with the folder check's invalid-entry message.
    if (!IsValidDestination(place.strDestination)) {
        CheckTargetFolder(place.strDestination, TRUE);
        ::EnableWindow(GetDlgItem(IDC_TARGET), TRUE);
        FinishInstallRun(hDlg);
        return;
    }

    g_bLogOpen = OpenInstallLog(CurrentInstallLogPath());
    // The source folder stays in m_strCdDrive until the next scan.
    m_strCdDrive = place.strSource;
    if (place.bTitleFolder)
        CheckTargetFolder(place.strDestination, TRUE);   // a failure shows; the copies then fail
    else
        ::CreateDirectoryA(place.strDestination, nullptr);

    // The bar takes the launch button's place while copying.
    ::EnableWindow(GetDlgItem(IDC_CLICK_HINT), FALSE);
    ::ShowWindow(GetDlgItem(IDC_LAUNCH), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_PROGRESS), SW_SHOW);
    ::EnableWindow(GetDlgItem(IDC_PROGRESS), TRUE);
    EnableInstallSection(FALSE);
    WriteLogLine("Made Dir: %s\n", place.strDestination);

    HCURSOR hPrevCursor = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    CopyRun run;
    run.strSource = place.strSource;
    run.strDestination = place.strDestination;
    run.CopyStages();
    m_progress.SetPos(100);

    // Without its title file the title stays registered on its CD: no
    // shortcut, and the registration is not touched.
    BOOL bInstalled = !run.strTitleFile.IsEmpty();
    if (bInstalled) {
        ::CoInitialize(nullptr);
        CreateTitleShortcut(run.strTitleFile, place.strLinkName);
        CString strSection;
        strSection.Format("%s\\Ifo", g_strTitleName.GetString());
        AfxGetApp()->WriteProfileString(strSection, TitlePathValueOf(run.strTitleFileName), run.strTitleFile);
        AfxGetApp()->WriteProfileString("ProjektPfad", "Nuvado", strTarget);
    }

    m_progress.SetPos(0);
    m_progress.SetShowText(FALSE);
    RefreshTitleList();
    CString strCaption;
    strCaption.LoadString(IDS_HELPER_CAPTION);
    CString strMessage;
    if (bInstalled) {
        strMessage.Format("Die Installation von                 \n%s\nist abgeschlossen.\n\n"
                          "Sie können nun den Titel durch Mausklick \nmarkieren und über den unteren "
                          "Schaltknopf:\n   >Beenden und Texorra-Titel laden<   \n starten!",
                          g_strTitleName.GetString());
        ::MessageBoxA(hDlg, strMessage, strCaption, MB_OK);
    } else {
        strMessage.Format("Die Installation von                 \n%s\nist fehlgeschlagen.\n\n"
                          "Die Titeldatei konnte nicht auf die Festplatte kopiert werden.\n"
                          "Der Titel bleibt weiterhin von der CD aus verfügbar.",
                          g_strTitleName.GetString());
        ::MessageBoxA(hDlg, strMessage, strCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    WriteLogLine("%s", "User Rights: Admin\n");
    ::SetCursor(hPrevCursor);
    ::EnableWindow(GetDlgItem(IDC_TARGET), FALSE);
    FinishInstallRun(hDlg);
}
