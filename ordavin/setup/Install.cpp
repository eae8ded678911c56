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
#include "../catalogue/RegisteredTitles.h"
#include "../catalogue/TitleCatalogue.h"
#include "../res/resource.h"
#include "../ui/FolderCheck.h"
#include "../ui/SizeDisplay.h"
#include "../ui/TProgrCtrl.h"
#include "../ui/TitleClick.h"

#include <objbase.h>

#include <set>
#include <string>
#include <vector>

namespace {

// The copies of one run: which files went, the title file among them, and
// the first file that could not be copied.
struct CopyRun {
    CString strSource;
    CString strDestination;
    CString strRegisteredName;  // the title file's name as the catalogue has it
    CString strTitleFile;       // destination path; empty until copied
    CString strFailedFile;      // source path of the copy that failed
    DWORD dwFailure = 0;        // and the system's error code
    std::vector<CString> created;   // files that this run made
    // Names (lower case, long and short) in the destination folders before
    // their files were copied. One listing per folder: under Wine asking
    // for each missing name reads through the whole folder, which made the
    // asking cost a tenth of the copying.
    std::set<std::string> existing;
    // The pace of the copies so far, to tell a copy that takes longer than
    // a display frame before it starts.
    double bytesCopied = 0;
    double secondsCopying = 0;

    static std::string Folded(LPCSTR pszName)
    {
        std::string name = pszName;
        if (!name.empty())
            ::CharLowerBuffA(&name[0], static_cast<DWORD>(name.size()));
        return name;
    }

    // Notes the entries of strFolder as there before the run.
    void NoteExisting(const CString& strFolder)
    {
        CFileFind find;
        if (!find.FindFile(strFolder + "\\*"))
            return;
        do {
            existing.insert(Folded(strFolder + "\\" + find.GetFileName()));
            if (!find.GetShortName().IsEmpty())
                existing.insert(Folded(strFolder + "\\" + find.GetShortName()));
        } while (find.FindNextFile());
    }

    BOOL Failed() const { return !strFailedFile.IsEmpty(); }

    void Fail(const CString& strFile, DWORD dwError)
    {
        strFailedFile = strFile;
        dwFailure = dwError ? dwError : ERROR_GEN_FAILURE;
    }

    // Copies one found file of a stage; FALSE only when a copy failed (the
    // run's failure then names it). A folder that matches a pattern, and a
    // file that matches only by its generated short name, is no file of
    // the set: it is passed over.
    BOOL CopyFound(CopyStage stage, const CFileFind& find)
    {
        CString strName = find.GetFileName();
        if (find.IsDirectory() || !MatchesCopyStage(strName, stage))
            return TRUE;
        CString strFrom = StageSourcePath(stage, strSource, strName);
        CString strTo = StageDestinationPath(stage, strDestination, strName);
        m_progress.SetPos(0);
        g_strCopyCaption = strFrom;
        if (strFrom.IsEmpty() || strTo.IsEmpty()) {
            Fail(strFrom.IsEmpty() ? StageSourcePath(stage, "...", strName) : strFrom, ERROR_FILENAME_EXCED_RANGE);
            return FALSE;
        }
        BOOL bExisted = existing.count(Folded(strTo)) != 0;
        // A copy that takes longer than a frame shows its start first: the
        // run's first (a CD may have to spin up) and any that the pace so
        // far says is as long.
        double bytes = static_cast<double>(find.GetLength());
        if (bytesCopied <= 0 || bytes * secondsCopying / bytesCopied * 1000 >= CTProgrCtrl::kFrameMs)
            m_progress.ShowWaiting();
        LARGE_INTEGER freq, t0, t1;
        ::QueryPerformanceFrequency(&freq);
        ::QueryPerformanceCounter(&t0);
        BOOL bCopied = bExisted ? CopyReplacing(strFrom, strTo) : CopyNew(strFrom, strTo, &bExisted);
        ::QueryPerformanceCounter(&t1);
        bytesCopied += bytes;
        secondsCopying += static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
        if (!bCopied) {
            Fail(strFrom, ::GetLastError());
            // Wine leaves the part of a failed copy behind.
            if (!bExisted)
                created.push_back(strTo);
            return FALSE;
        }
        if (!bExisted)
            created.push_back(strTo);
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
        if (stage == STAGE_TITLE && IsRegisteredTitleFile(strName, strRegisteredName))
            strTitleFile = strTo;
        return TRUE;
    }

    // Copies onto a name that the folder's listing did not hold, asking the
    // copy to fail on an existing file: it then skips its look for one
    // (under Wine a read through the whole folder for a missing name, a
    // tenth of the copying in a folder of hundreds of files). A file of that
    // name there after all, made since the listing, is replaced like one
    // that was there before, and like one it stays when the run fails.
    static BOOL CopyNew(LPCSTR pszFrom, LPCSTR pszTo, BOOL* pbExisted)
    {
        if (g_pfnCopyFileEx(pszFrom, pszTo, &CopyProgress, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS))
            return TRUE;
        DWORD dwError = ::GetLastError();
        if (dwError != ERROR_FILE_EXISTS && dwError != ERROR_ALREADY_EXISTS)
            return FALSE;
        *pbExisted = TRUE;
        return CopyReplacing(pszFrom, pszTo);
    }

    // Copies, replacing an existing destination. One left read-only (by an
    // earlier installer) refuses the copy with ERROR_ACCESS_DENIED on
    // Windows: it is made writable and copied once more. Its attributes are
    // read only then, not before every copy. (Wine replaces a read-only
    // file, so this second try happens on Windows only.)
    static BOOL CopyReplacing(LPCSTR pszFrom, LPCSTR pszTo)
    {
        if (g_pfnCopyFileEx(pszFrom, pszTo, &CopyProgress, nullptr, nullptr, 0))
            return TRUE;
        if (::GetLastError() != ERROR_ACCESS_DENIED)
            return FALSE;
        DWORD dwAttributes = ::GetFileAttributesA(pszTo);
        if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_READONLY) ||
            !::SetFileAttributesA(pszTo, dwAttributes & ~FILE_ATTRIBUTE_READONLY)) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        return g_pfnCopyFileEx(pszFrom, pszTo, &CopyProgress, nullptr, nullptr, 0);
    }

    // Copies the found files of one search; FALSE when a copy failed or the
    // folder could not be read to its end.
    BOOL CopyAllFound(CopyStage stage, CFileFind& find)
    {
        do {
            if (!CopyFound(stage, find))
                return FALSE;
        } while (find.FindNextFile());
        DWORD dwEnd = ::GetLastError();
        if (dwEnd != ERROR_NO_MORE_FILES) {
            Fail(StagePattern(stage, strSource), dwEnd);
            return FALSE;
        }
        return TRUE;
    }

    // Copies the four file sets in order: the ".UPC" files only after files
    // of the first set were found, the notes only after ".UPC" files were
    // found. The first copy that fails ends all copying: the run has failed.
    void CopyStages()
    {
        NoteExisting(strDestination);
        CFileFind find;
        if (!find.FindFile(StagePattern(STAGE_TITLE, strSource)) || !CopyAllFound(STAGE_TITLE, find))
            return;
        find.Close();
        m_progress.SetPos(0);

        if (!find.FindFile(StagePattern(STAGE_UPC, strSource)) || !CopyAllFound(STAGE_UPC, find))
            return;
        find.Close();
        m_progress.SetPos(0);

        CString strNotes = strDestination + "\\Note";
        if (::CreateDirectoryA(strNotes, nullptr))
            createdFolders.push_back(strNotes);
        else
            NoteExisting(strNotes);
        WriteLogLine("Made Dir: %s\n", strNotes);
        for (CopyStage stage : {STAGE_RTF, STAGE_TXT}) {
            if (find.FindFile(StagePattern(stage, strSource)) && !CopyAllFound(stage, find))
                return;
            find.Close();
            m_progress.SetPos(0);
        }
    }

    // Takes back what a failed run made: the files it created (a file that
    // was there before stays, whatever it holds now) and then the folders
    // it created, when they are empty.
    void Undo()
    {
        for (auto it = created.rbegin(); it != created.rend(); ++it) {
            ::SetFileAttributesA(*it, FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(*it);
        }
        for (auto it = createdFolders.rbegin(); it != createdFolders.rend(); ++it)
            ::RemoveDirectoryA(*it);
    }

    std::vector<CString> createdFolders;   // in the order made
};

// The folders along pszFolder that are not there yet, the outermost first.
std::vector<CString> MissingFolders(const CString& strFolder)
{
    std::vector<CString> missing;
    CString strPath = strFolder;
    while (strPath.GetLength() > 3 && ::GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES) {
        missing.insert(missing.begin(), strPath);
        int nSlash = strPath.ReverseFind('\\');
        if (nSlash < 0)
            break;
        strPath = strPath.Left(nSlash);
    }
    return missing;
}

// The system's text for an error code, on one line; its number when it has
// none.
CString SystemErrorText(DWORD dwError)
{
    char* pszText = nullptr;
    DWORD cch = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, dwError, 0, reinterpret_cast<LPSTR>(&pszText), 0, nullptr);
    CString strText;
    for (LPCSTR p = cch ? pszText : nullptr; p && *p; ++p)
        strText += (*p == '\r' || *p == '\n') ? ' ' : *p;
    while (!strText.IsEmpty() && strText.GetAt(strText.GetLength() - 1) == ' ')
        strText = strText.Left(strText.GetLength() - 1);
    if (pszText)
        ::LocalFree(pszText);
    if (strText.IsEmpty())
        strText.Format("Fehler %lu", dwError);
    return strText;
}

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


// Shows a message of the installation with the exclamation icon.
void ShowInstallProblem(HWND hDlg, const CString& strMessage)
{
    CString strCaption;
    strCaption.LoadString(IDS_HELPER_CAPTION);
    ::MessageBoxA(hDlg, strMessage, strCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void COrdavinDlg::OnInstall()
{
    HWND hDlg = m_hWnd;
    // The run works on the clicked row, and only while it is still the
    // selected one: a selection moved with the keyboard is not what the
    // install section was enabled for.
    int nRow = g_nSelItem;
    if (nRow < 0 || m_listTitles.GetNextItem(-1, LVNI_SELECTED) != nRow ||
        m_listTitles.GetItemText(nRow, COL_STATUS) != TitleStatusText(TS_ON_CD)) {
        ShowInstallProblem(hDlg, "Keine Anwendung ausgewählt");
        FinishInstallRun(hDlg);
        return;
    }
    CString strRegistered = m_listTitles.GetItemText(nRow, COL_PATH);
    CString strFile = m_listTitles.GetItemText(nRow, COL_FILE);

    CString strText = m_editTarget.GetWindowText();
    if (CheckTargetFolder(strText, FALSE) != FOLDER_OK) {
        ::EnableWindow(GetDlgItem(IDC_TARGET), TRUE);
        FinishInstallRun(hDlg);
        return;
    }
    // A caption left by an earlier run would name another title's file until
    // this run's first copy reports (after a CD has spun up).
    m_progress.SetWindowText("");
    m_progress.SetShowText(TRUE);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);

    strText = m_editTarget.GetWindowText();
    QueryFreeSpace(strText);
    SetControlText(hDlg, IDC_FREE_SPACE, g_szFreeText);
    CString strTarget = TargetFolderOf(strText);
    if (!strTarget.IsEmpty())
        SetControlText(hDlg, IDC_TARGET_DRIVE, PathRoot(strTarget));

    // The source is the clicked row's CD, whichever CD the scan saw last.
    CString strCdDrive = PathRoot(strRegistered);
    CString strTitleFolder = CdTitleFolderOf(strRegistered);
    CString strLabel = IsCdRootFolder(strTitleFolder) ? VolumeLabelOf(strCdDrive) : CString();
    InstallPlace place = PlaceInstall(strTarget, strTitleFolder, strCdDrive, g_strTitleName, strLabel,
                                      FileNameOfPath(strRegistered));
    // A registered path with ".." components or refused characters, or a
    // label of that kind, would put the copies elsewhere: stop before
    // anything is written, with the folder check's invalid-entry message.
    if (!IsValidDestination(place.strDestination)) {
        CheckTargetFolder(place.strDestination, TRUE);
        ::EnableWindow(GetDlgItem(IDC_TARGET), TRUE);
        FinishInstallRun(hDlg);
        return;
    }
    // The title's folder is its own: removal empties it by pattern, and
    // the copies must not replace another title's files.
    std::vector<RegisteredTitle> titles = ReadRegisteredTitles();
    if (const RegisteredTitle* pOther = OtherTitleInFolder(titles, place.strDestination, strFile)) {
        CString strMessage;
        strMessage.Format("Die Installation von                 \n%s\nist nicht möglich.\n\n"
                          "Im Ordner\n%s\nliegt bereits der Titel\n%s\n\n"
                          "Bitte wählen Sie einen anderen Zielordner.",
                          g_strTitleName.GetString(), place.strDestination.GetString(),
                          TitleDisplayText(pOther->strTitle).GetString());
        ShowInstallProblem(hDlg, strMessage);
        ::EnableWindow(GetDlgItem(IDC_TARGET), TRUE);
        FinishInstallRun(hDlg);
        return;
    }

    g_bLogOpen = OpenInstallLog(CurrentInstallLogPath());
    // The source folder stays in m_strCdDrive until the next scan.
    m_strCdDrive = place.strSource;
    CopyRun run;
    run.createdFolders = MissingFolders(place.strDestination);
    CheckTargetFolder(place.strDestination, TRUE);   // a failure shows; the copies then fail

    // The bar takes the launch button's place while copying.
    ::EnableWindow(GetDlgItem(IDC_CLICK_HINT), FALSE);
    ::ShowWindow(GetDlgItem(IDC_LAUNCH), SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_PROGRESS), SW_SHOW);
    ::EnableWindow(GetDlgItem(IDC_PROGRESS), TRUE);
    EnableInstallSection(FALSE);
    WriteLogLine("Made Dir: %s\n", place.strDestination);

    HCURSOR hPrevCursor = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    run.strSource = place.strSource;
    run.strDestination = place.strDestination;
    run.strRegisteredName = FileNameOfPath(strRegistered);
    m_progress.BeginPacedPaints();
    run.CopyStages();
    m_progress.EndPacedPaints();
    m_progress.SetPos(100);

    // Only a run that copied every file of its sets, the title file among
    // them, installs the title. Otherwise the title stays registered on its
    // CD with no shortcut, and what the run made goes again. The
    // registration comes last: a run that ends early for any reason leaves
    // the title on its CD, never at a partial copy.
    BOOL bInstalled = !run.Failed() && !run.strTitleFile.IsEmpty();
    if (!bInstalled) {
        // After the undo: on a full disk the log has room again.
        run.Undo();
        if (run.Failed()) {
            CString strLine;
            strLine.Format("%s (%lu)", run.strFailedFile.GetString(), run.dwFailure);
            WriteLogLine("Copy Failed: %s\n", strLine);
        }
    } else {
        ::CoInitialize(nullptr);
        CreateTitleShortcut(run.strTitleFile, place.strLinkName);
        CString strSection;
        strSection.Format("%s\\Ifo", g_strTitleName.GetString());
        AfxGetApp()->WriteProfileString(strSection, TitlePathValueOf(strFile), run.strTitleFile);
        AfxGetApp()->WriteProfileString("ProjektPfad", "Nuvado", strTarget);
    }

    // The text goes first: the bar paints at the new position, and what it
    // shows then stays while the list is refilled (seconds for a long one).
    m_progress.SetShowText(FALSE);
    m_progress.SetPos(0);
    RefreshTitleList();
    CString strMessage;
    if (bInstalled) {
        CString strCaption;
        strCaption.LoadString(IDS_HELPER_CAPTION);
        strMessage.Format("Die Installation von                 \n%s\nist abgeschlossen.\n\n"
                          "Sie können nun den Titel durch Mausklick \nmarkieren und über den unteren "
                          "Schaltknopf:\n   >Beenden und Texorra-Titel laden<   \n starten!",
                          g_strTitleName.GetString());
        ::MessageBoxA(hDlg, strMessage, strCaption, MB_OK);
    } else if (run.Failed()) {
        strMessage.Format("Die Installation von                 \n%s\nist fehlgeschlagen.\n\n"
                          "Die Datei\n%s\nkonnte nicht kopiert werden:\n%s\n\n"
                          "Der Titel bleibt weiterhin von der CD aus verfügbar.",
                          g_strTitleName.GetString(), run.strFailedFile.GetString(),
                          SystemErrorText(run.dwFailure).GetString());
        ShowInstallProblem(hDlg, strMessage);
    } else {
        strMessage.Format("Die Installation von                 \n%s\nist fehlgeschlagen.\n\n"
                          "Die Titeldatei konnte nicht auf die Festplatte kopiert werden.\n"
                          "Der Titel bleibt weiterhin von der CD aus verfügbar.",
                          g_strTitleName.GetString());
        ShowInstallProblem(hDlg, strMessage);
    }
    WriteLogLine("%s", "User Rights: Admin\n");
    ::SetCursor(hPrevCursor);
    ::EnableWindow(GetDlgItem(IDC_TARGET), FALSE);
    FinishInstallRun(hDlg);
}
