// The demo's walk-through: drives the real Ordavin.exe from outside as a
// person would (tools/driver), through one installation, its removal, the
// dropping of a missing title and the start of the viewer, and leaves a
// picture of the screen after each step and the state of disk, registry,
// Start-menu group and logs at three points.
//
//   DemoWalk ORDAVIN_EXE OUT_DIR
//
// OUT_DIR gets NN-step.bmp for each step and state-before.txt,
// state-installed.txt, state-after.txt. The titles are the ones
// tools/demo.sh registers. Exit code 0 when every step did what it should,
// 1 (with the step and the reason on stdout) when one did not.
#include "ScreenShot.h"
#include "StateDump.h"
#include "../driver/WindowDriver.h"
#include "../../ordavin/catalogue/TitleCatalogue.h"
#include "../../ordavin/res/resource.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

using drive::Outcome;

namespace {

const char kCaption[] = "Zorvalia - Hilfsprogramm";
// The titles of tools/demo.sh, by their file names.
const char kCdTitle[] = "ZORVALIA.V30";
const char kHardDiskTitle[] = "BAND2.V30";
const char kMissingTitle[] = "BAND3.V60";

std::string ReadMachineValue(const char* pszName)
{
    char szValue[MAX_PATH] = "";
    DWORD cb = sizeof(szValue) - 1;
    HKEY h = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", 0, KEY_READ, &h) == ERROR_SUCCESS) {
        ::RegQueryValueExA(h, pszName, nullptr, nullptr, reinterpret_cast<BYTE*>(szValue), &cb);
        ::RegCloseKey(h);
    }
    return szValue;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The bytes of the files an installation copies from a title folder (or,
// given its copy, has copied so far): files ending in "0", ".UPC" files, and
// the notes.
long long InstalledBytes(const std::string& folder)
{
    long long total = 0;
    for (const char* pszPattern : {"\\*.??0", "\\*.UPC", "\\NOTE\\*.RTF", "\\NOTE\\*.TXT"}) {
        WIN32_FIND_DATAA fd;
        HANDLE h = ::FindFirstFileA((folder + pszPattern).c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        do
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                total += (static_cast<long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    return total;
}

bool FileContains(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::string content;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0)
        content.append(buf, n);
    fclose(f);
    return content.find(text) != std::string::npos;
}

class Walk
{
public:
    Walk(const std::string& exe, const std::string& outDir) : m_exe(exe), m_outDir(outDir)
    {
        m_places.targetFolder = ReadMachineValue("NuvadoDir");
        m_places.startMenu = ReadMachineValue("StartMenu");
        m_places.installLog = FolderOf(exe) + "\\Install.log";
        const char* pszViewerLog = getenv("ZORVALIA_VIEWER_LOG");
        m_places.viewerLog = pszViewerLog && *pszViewerLog ? pszViewerLog : "C:\\viewer-standin.log";
    }

    int Run()
    {
        bool ok = Step("state before the walk", [&] { return State("before"); }) &&
                  Step("start Ordavin.exe", [&] { return Start(); }) &&
                  Step("click the row of the title whose CD is in D:", [&] { return ClickCdRow(); }) &&
                  Step("click \"Installieren\" (the picture is taken while a file is copied)",
                       [&] { return Install(); }) &&
                  Step("answer the completion message", [&] { return AnswerCompletion(); }) &&
                  Step("state after the installation", [&] { return State("installed"); }) &&
                  Step("click the installed title's row", [&] { return ClickInstalledRow(); }) &&
                  Step("click \"Entfernen\" and confirm", [&] { return Remove(); }) &&
                  Step("click the missing title's row and drop it (\"Ja\")", [&] { return DropMissing(); }) &&
                  Step("click a hard-disk title's row", [&] { return ClickHardDiskRow(); }) &&
                  Step("click \"Beenden und Texorra-Titel laden ...\"", [&] { return Launch(); }) &&
                  Step("state after the walk", [&] { return State("after"); });
        return ok ? 0 : 1;
    }

private:
    bool Step(const char* pszWhat, const std::function<Outcome()>& action)
    {
        ++m_nStep;
        printf("step %2d: %s\n", m_nStep, pszWhat);
        fflush(stdout);
        Outcome outcome = action();
        if (!outcome) {
            printf("DemoWalk: step %d (%s) failed: %s\n", m_nStep, pszWhat, outcome.why.c_str());
            fflush(stdout);
        }
        return outcome.ok;
    }

    // A picture of the program's windows (dialog and message box) as the
    // screen shows them after nSettleMs: a program that reads messages
    // again has painted by then.
    Outcome Shot(const char* pszName, DWORD nSettleMs = 300)
    {
        ::Sleep(nSettleMs);
        char szFile[MAX_PATH];
        snprintf(szFile, sizeof(szFile), "%s\\%02d-%s.bmp", m_outDir.c_str(), ++m_nShot, pszName);
        RECT rc = demo::BoundsOf(m_ordavin.VisibleWindows(), 8);
        if (!demo::SaveScreenBmp(rc, szFile))
            return Outcome::Failure(std::string("cannot write the screenshot ") + szFile);
        printf("         picture %s\n", szFile);
        return Outcome::Success();
    }

    Outcome State(const char* pszName)
    {
        std::string file = m_outDir + "\\state-" + pszName + ".txt";
        if (!demo::WriteState(m_places, file))
            return Outcome::Failure("cannot write " + file);
        return Outcome::Success();
    }

    // A row by its title file name; the status it must show.
    Outcome FindRow(const char* pszFile, const char* pszStatus, int* pRow)
    {
        *pRow = -1;
        drive::WaitUntil([&] { return (*pRow = drive::FindListRow(m_hList, COL_FILE, pszFile)) >= 0; });
        if (*pRow < 0)
            return Outcome::Failure(std::string("no row for ") + pszFile);
        std::string status = drive::ListItemText(m_hList, *pRow, COL_STATUS);
        if (status != pszStatus)
            return Outcome::Failure(std::string("the row of ") + pszFile + " has the status " + status +
                                    ", not " + pszStatus + " (path " +
                                    drive::ListItemText(m_hList, *pRow, COL_PATH) + ")");
        return Outcome::Success();
    }

    Outcome ClickRow(const char* pszFile, const char* pszStatus)
    {
        int nRow;
        Outcome found = FindRow(pszFile, pszStatus, &nRow);
        if (!found)
            return found;
        Outcome clicked = drive::ClickListRow(m_hList, nRow);
        if (!clicked)
            return clicked;
        if (!drive::WaitUntil([&] { return drive::IsListRowSelected(m_hList, nRow); }))
            return Outcome::Failure(std::string("the click did not select the row of ") + pszFile);
        return Outcome::Success();
    }

    Outcome WaitEnabled(int id, const char* pszName)
    {
        if (!drive::WaitUntil([&] { return ::IsWindowEnabled(::GetDlgItem(m_hDlg, id)) != FALSE; }))
            return Outcome::Failure(std::string("\"") + pszName + "\" stayed disabled");
        return Outcome::Success();
    }

    // Waits for a message box, takes its picture and answers it.
    Outcome Answer(int nButton, const char* pszShot, const char* pszExpected)
    {
        HWND hBox = m_ordavin.WaitForMessageBox(60000);
        if (!hBox)
            return Outcome::Failure("no message box appeared");
        drive::MessageBoxSeen seen = drive::ReadMessageBox(hBox);
        if (seen.text.find(pszExpected) == std::string::npos)
            return Outcome::Failure("the message box said \"" + seen.text + "\"");
        Outcome shot = Shot(pszShot);
        if (!shot)
            return shot;
        return drive::AnswerMessageBox(hBox, nButton);
    }

    Outcome Start()
    {
        Outcome started = m_ordavin.Start(m_exe, "", FolderOf(m_exe));
        if (!started)
            return started;
        m_hDlg = m_ordavin.WaitForDialog(kCaption, 30000);
        if (!m_hDlg)
            return Outcome::Failure("no main dialog of Ordavin.exe");
        m_hList = ::GetDlgItem(m_hDlg, IDC_TITLE_LIST);
        if (!drive::WaitUntil([&] { return drive::ListRowCount(m_hList) > 0; }))
            return Outcome::Failure("the title list stayed empty");
        return Shot("start");
    }

    // A click on a title's row, which must enable the button named; then
    // the picture of the step.
    Outcome ClickRowThenShot(const char* pszFile, const char* pszStatus, int id, const char* pszButton,
                             const char* pszShot)
    {
        Outcome clicked = ClickRow(pszFile, pszStatus);
        if (!clicked)
            return clicked;
        Outcome enabled = WaitEnabled(id, pszButton);
        return enabled ? Shot(pszShot) : enabled;
    }

    Outcome ClickCdRow() { return ClickRowThenShot(kCdTitle, "2", IDC_INSTALL, "Installieren", "cd-row"); }

    Outcome Install()
    {
        int nRow;
        FindRow(kCdTitle, "2", &nRow);
        std::string source = FolderOf(drive::ListItemText(m_hList, nRow, COL_PATH));
        std::string title = source.substr(source.rfind('\\') + 1);
        std::string copy = drive::ControlText(m_hDlg, IDC_TARGET) + "\\" + title;
        const long long total = InstalledBytes(source);
        Outcome clicked = drive::ClickControl(m_hDlg, IDC_INSTALL);
        if (!clicked)
            return clicked;
        // The program copies on its one thread. While it copies, what it
        // draws reaches the screen under Wine only now and then (see
        // tools/demo.sh): wait until the screen shows the bar, without
        // pause, since the copies last milliseconds.
        HWND hProgress = ::GetDlgItem(m_hDlg, IDC_PROGRESS);
        HWND hBox = nullptr;
        bool bShown = false;
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 60000; ::Sleep(0)) {
            if ((hBox = m_ordavin.WaitForMessageBox(0)) != nullptr)
                break;
            if ((bShown = ::IsWindowVisible(hProgress) && IsBarOnScreen(hProgress)))
                break;
        }
        if (bShown) {
            long long done = InstalledBytes(copy);
            Outcome shot = Shot(done < total ? "copying" : "copied", 0);
            printf("         the bar on the screen after %lld of %lld bytes were copied\n", done, total);
            return shot;
        }
        if (!hBox)
            return Outcome::Failure("neither the progress bar nor the completion message appeared");
        printf("         the copies ended before the screen showed the bar\n");
        return Shot("copied");
    }

    // Whether the screen shows the bar (its colours at the left end of its
    // middle line) and not the launch button that was there before.
    static bool IsBarOnScreen(HWND hBar)
    {
        RECT rc;
        if (!::GetWindowRect(hBar, &rc))
            return false;
        COLORREF color = demo::ScreenPixel({rc.left + 4, (rc.top + rc.bottom) / 2});
        return color == ::GetSysColor(COLOR_HIGHLIGHT) || color == ::GetSysColor(COLOR_WINDOW);
    }

    Outcome AnswerCompletion()
    {
        return Answer(IDOK, "installed-message", "ist abgeschlossen");
    }

    Outcome ClickInstalledRow() { return ClickRowThenShot(kCdTitle, "0", IDC_REMOVE, "Entfernen", "installed-row"); }

    Outcome Remove()
    {
        Outcome clicked = drive::ClickControl(m_hDlg, IDC_REMOVE);
        if (!clicked)
            return clicked;
        Outcome answered = Answer(IDYES, "remove-question", "komplett entfernt");
        if (!answered)
            return answered;
        answered = Answer(IDOK, "removed-message", "ist abgeschlossen");
        if (!answered)
            return answered;
        int nRow;
        return FindRow(kCdTitle, "1", &nRow);   // registered at its deleted copy
    }

    Outcome DropMissing()
    {
        int nRows = drive::ListRowCount(m_hList);
        Outcome clicked = ClickRow(kMissingTitle, "1");
        if (!clicked)
            return clicked;
        Outcome answered = Answer(IDYES, "drop-question", "nicht mehr verf");
        if (!answered)
            return answered;
        if (!drive::WaitUntil([&] { return drive::ListRowCount(m_hList) == nRows - 1; }))
            return Outcome::Failure("the missing title is still listed");
        return Shot("dropped");
    }

    Outcome ClickHardDiskRow() { return ClickRowThenShot(kHardDiskTitle, "0", IDC_LAUNCH, "Beenden und Texorra-Titel laden ...", "harddisk-row"); }

    Outcome Launch()
    {
        Outcome clicked = drive::ClickControl(m_hDlg, IDC_LAUNCH);
        if (!clicked)
            return clicked;
        DWORD code = STILL_ACTIVE;
        if (!m_ordavin.WaitForExit(drive::kWaitMs, &code))
            return Outcome::Failure("Ordavin.exe did not end after the launch");
        if (code != 0)
            return Outcome::Failure("Ordavin.exe ended with exit code " + std::to_string(code));
        if (!drive::WaitUntil([&] { return FileContains(m_places.viewerLog, kHardDiskTitle); }))
            return Outcome::Failure("the viewer stand-in was not asked to open " + std::string(kHardDiskTitle));
        return Outcome::Success();
    }

    std::string m_exe, m_outDir;
    demo::StatePlaces m_places;
    drive::Process m_ordavin;
    HWND m_hDlg = nullptr, m_hList = nullptr;
    int m_nStep = 0, m_nShot = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: DemoWalk ORDAVIN_EXE OUT_DIR\n");
        return 2;
    }
    return Walk(argv[1], argv[2]).Run();
}
