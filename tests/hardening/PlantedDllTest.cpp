// Both programs run as separate processes with a recording stand-in library
// planted under the names an attacker would choose, beside the executable
// and in the current directory; every road that loads libraries is taken,
// and nothing planted may have been loaded.
//
// Wine differs from Windows in two ways that this test has to undo or live
// with:
// - Wine prefers its own builtin copy of a system library wherever a file
//   of that name lies, so a planted file is ignored unless the load order
//   says otherwise. "name=n,b" for each planted name gives Windows' order:
//   the first file found along the search path wins. It is set as the two
//   programs' own DllOverrides in the registry: WINEDLLOVERRIDES would
//   not do, since Wine reads it from the Unix environment a process inherits
//   from its Unix parent, not from the environment given to CreateProcess.
// - Wine has no known DLLs: with "n,b" it would take a planted
//   "kernel32.dll" beside the program, which Windows never does. So only
//   names that are not known DLLs on any supported Windows are planted,
//   and not "version" and "msimg32" either: Wine's own user32 loads
//   version.dll while the process starts, before the program's first line,
//   and Wine's uxtheme resolves its delayed import of msimg32.dll through
//   the start-up search path (program folder first), ignoring
//   SetDefaultDllDirectories. On Windows version.dll is a known DLL from
//   2000 to 7, and system libraries' delayed imports follow the narrowed
//   search.
// Wine's loader honours SetDefaultDllDirectories for LoadLibrary and the
// libraries those load, as Windows does, but SetDllDirectoryA("") keeps
// the current directory in Wine's search (an empty directory counts as
// none there), unlike Windows.
// Under Wine, installation (the shell link object), removal, the notes and
// About dialogs and the web link load no library after start-up: Wine's
// shell32, ole32 and comctl32 are in the process from its start. Their
// roads are taken for Windows, whose shell loads libraries on demand there.
#include "../support/ProcessDriver.h"
#include "../support/Registry.h"
#include "../support/TestEnv.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// Libraries the programs use that are not known DLLs, and what the shell,
// COM and MCI load on demand that an attacker would pick.
const char* const kPlantedNames[] = {
    "winmm", "comctl32", "mcicda", "uxtheme", "userenv", "setupapi", "apphelp", "propsys",
    "dwmapi", "cryptbase", "oleacc", "clbcatq", "comres", "linkinfo", "ntshrui", "mpr", "profapi",
    "ntmarta", "sspicli", "wtsapi32",
};

// Dialog ids of the programs (their resource headers clash, so repeated).
const int IDC_INSTALL = 1002;
const int IDC_WEB_LINK = 1004;
const int IDC_SELECT_FOLDER = 1006;
const int IDC_REMOVE = 1021;
const int IDC_NOTES = 1029;
const int IDC_CD_DOOR = 1027;
const int IDC_LAUNCH = 1031;
const int IDC_TITLE_LIST = 1000;
const int COL_FILE = 3;
const char kAboutCaption[] = "Installer f\xFCr Zorvalia-CD-ROMs";

// A visible dialog of the process other than hExcept, of that caption if
// one is given; waits up to maxMs.
HWND FindDialog(DWORD pid, HWND hExcept, DWORD maxMs, const char* pszCaption = nullptr)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < maxMs; ::Sleep(50)) {
        HWND hWnd = nullptr;
        while ((hWnd = ::FindWindowExA(nullptr, hWnd, "#32770", pszCaption)) != nullptr) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hWnd, &owner);
            if (owner == pid && hWnd != hExcept && ::IsWindowVisible(hWnd))
                return hWnd;
        }
    }
    return nullptr;
}

// A program run from the planted folder, with the folder of planted
// copies as its current directory.
class PlantedRun
{
public:
    PlantedRun(const std::string& exe, const std::string& args, const std::string& cwd)
    {
        std::string cmd = "\"" + exe + "\" " + args;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        started = ::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si,
                                   &m_pi) != FALSE;
        EXPECT_TRUE(started) << exe << " error " << ::GetLastError();
    }
    ~PlantedRun()
    {
        if (started && !Ended(5000)) {
            ADD_FAILURE() << "the program did not end";
            ::TerminateProcess(m_pi.hProcess, 1);
        }
        if (started) {
            ::CloseHandle(m_pi.hThread);
            ::CloseHandle(m_pi.hProcess);
        }
    }
    PlantedRun(const PlantedRun&) = delete;
    PlantedRun& operator=(const PlantedRun&) = delete;

    bool Ended(DWORD maxMs) { return ::WaitForSingleObject(m_pi.hProcess, maxMs) == WAIT_OBJECT_0; }
    HWND MainDialog(DWORD maxMs = 15000)
    {
        if (!m_hMain)
            m_hMain = FindDialog(m_pi.dwProcessId, nullptr, maxMs);
        return m_hMain;
    }
    // Presses a button of the main dialog and waits until the handler ran.
    void Press(int id)
    {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(MainDialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0, SMTO_NORMAL, 20000, &result);
    }
    // A command from a control of a dialog of the program (a button's
    // click, a link's STN_CLICKED), posted: a modal loop it opens runs on.
    static void Post(HWND hDlg, int id, int code = BN_CLICKED)
    {
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, id)));
    }
    // A dialog or message box above the main dialog, of that caption if
    // one is given.
    HWND Modal(const char* pszCaption = nullptr)
    {
        HWND hModal = FindDialog(m_pi.dwProcessId, MainDialog(), 15000, pszCaption);
        EXPECT_NE(nullptr, hModal) << "no dialog " << (pszCaption ? pszCaption : "");
        return hModal;
    }
    // Presses button id of the dialog or message box above the main dialog
    // and waits until it is gone.
    void Answer(int id, const char* pszCaption = nullptr)
    {
        HWND hModal = Modal(pszCaption);
        if (!hModal)
            return;
        Post(hModal, id);
        EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindow(hModal); })) << "button " << id << " left its dialog";
    }
    // Presses a button that opens a modal dialog, then cancels that dialog.
    void OpenAndCancel(int id)
    {
        Post(MainDialog(), id);
        Answer(IDCANCEL);
    }
    // The row of a title file, or -1.
    int RowOf(const char* pszFile)
    {
        return e2e::FindListRow(::GetDlgItem(MainDialog(), IDC_TITLE_LIST), COL_FILE, pszFile);
    }
    // Clicks list row nRow with mouse messages at its rectangle, read from
    // the list through memory of the program's own.
    void ClickRow(int nRow)
    {
        HWND hList = ::GetDlgItem(MainDialog(), IDC_TITLE_LIST);
        void* pRemote = ::VirtualAllocEx(m_pi.hProcess, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
        ASSERT_NE(nullptr, pRemote);
        RECT rc = {LVIR_LABEL, 0, 0, 0};
        SIZE_T cb = 0;
        ::WriteProcessMemory(m_pi.hProcess, pRemote, &rc, sizeof(rc), &cb);
        ::SendMessageA(hList, LVM_GETITEMRECT, nRow, reinterpret_cast<LPARAM>(pRemote));
        ::ReadProcessMemory(m_pi.hProcess, pRemote, &rc, sizeof(rc), &cb);
        ::VirtualFreeEx(m_pi.hProcess, pRemote, 0, MEM_RELEASE);
        LPARAM at = MAKELPARAM(rc.left + 4, (rc.top + rc.bottom) / 2);
        ::PostMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(hList, WM_LBUTTONUP, 0, at);
        ::Sleep(500);
    }

    bool started = false;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hMain = nullptr;
};

class PlantedDllTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szTemp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, szTemp);
        m_root = std::string(szTemp) + "planted-" + std::to_string(::GetCurrentProcessId());
        testenv::RemoveTree(m_root);
        m_log = m_root + "\\loaded.log";
        std::string dll = testenv::HostPath(PLANTED_DLL_PATH);
        for (const std::string& dir : {m_root, ProgramDir(), CurrentDir()}) {
            ASSERT_TRUE(::CreateDirectoryA(dir.c_str(), nullptr)) << dir;
            for (const char* pszName : kPlantedNames)
                ASSERT_TRUE(dir == m_root || ::CopyFileA(dll.c_str(), (dir + "\\" + pszName + ".dll").c_str(), FALSE));
        }
        // Windows' order for the planted names, for the two programs only.
        for (const char* pszExe : {"Ordavin.exe", "Velmora.exe"})
            for (const char* pszName : kPlantedNames)
                ASSERT_TRUE(reg::SetString(HKEY_CURRENT_USER, OverridesKey(pszExe), pszName, "native,builtin"));
        ::SetEnvironmentVariableA("ZORVALIA_PLANTED_LOG", m_log.c_str());
    }
    void TearDown() override
    {
        for (const char* pszExe : {"Ordavin.exe", "Velmora.exe"})
            reg::DeleteTree(HKEY_CURRENT_USER, std::string("Software\\Wine\\AppDefaults\\") + pszExe);
        ::SetEnvironmentVariableA("ZORVALIA_PLANTED_LOG", nullptr);
        ::SetEnvironmentVariableA("ZORVALIA_VIEWER_LOG", nullptr);
        if (m_bSetHttp && m_bHadHttp)
            reg::SetString(HKEY_CLASSES_ROOT, kHttpCommand, nullptr, m_httpCommand);
        else if (m_bSetHttp)
            reg::DeleteValue(HKEY_CLASSES_ROOT, kHttpCommand, nullptr);
        testenv::RemoveTree(m_root);   // the programs have ended (PlantedRun waits)
        // What the viewer stand-in registered and the titles Ordavin.exe installed.
        testenv::RemoveTree("C:\\HD\\planted");
        testenv::RemoveTree(testenv::HostFolder("cd-d") + "\\PLANTED");
        reg::ResetProgramKeys();
        for (const char* pszKey : {".V30", ".V60", "Texorra.Titel"})
            reg::DeleteTree(HKEY_CLASSES_ROOT, pszKey);
    }

    static std::string OverridesKey(const char* pszExe)
    {
        return std::string("Software\\Wine\\AppDefaults\\") + pszExe + "\\DllOverrides";
    }
    std::string ProgramDir() const { return m_root + "\\prog"; }
    std::string CurrentDir() const { return m_root + "\\cwd"; }
    // The executable, copied beside the planted libraries.
    std::string Plant(const char* pszUnixExe, const char* pszName)
    {
        std::string exe = ProgramDir() + "\\" + pszName;
        EXPECT_TRUE(::CopyFileA(testenv::HostPath(pszUnixExe).c_str(), exe.c_str(), FALSE)) << exe;
        return exe;
    }
    // What was loaded, one full path a line.
    std::string Loaded() const
    {
        std::ifstream in(m_log);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void RunViewer(const std::string& args)
    {
        PlantedRun viewer(testenv::HostPath(VIEWER_EXE_PATH), args, m_root);
    }

    static constexpr const char* kHttpCommand = "http\\shell\\open\\command";
    std::string m_root, m_log;
    // The prefix's handler of web links, put back after.
    std::string m_httpCommand;
    bool m_bHadHttp = false, m_bSetHttp = false;
};

}  // namespace

TEST_F(PlantedDllTest, OrdavinLoadsNothingPlanted)
{
    // A title on the hard disk, so that the launch button starts the viewer,
    // and one whose CD is in D:, to be installed into a folder of the test's
    // and removed again.
    const std::string cdHost = testenv::HostFolder("cd-d") + "\\PLANTED";
    const char kLink[] = "C:\\HD\\planted\\Gruppe\\Titel CD (HD).lnk";
    ASSERT_TRUE(testenv::MakeFile("C:\\HD\\planted\\T.V30") && testenv::MakeFile(cdHost + "\\CD.V30"));
    ASSERT_TRUE(::CreateDirectoryA("C:\\HD\\planted\\Ziel", nullptr));
    RunViewer("/associate");
    RunViewer("/register C:\\HD\\planted\\T.V30 \"Titel P\" 0");
    RunViewer("/register D:\\PLANTED\\CD.V30 \"Titel CD\" 0");
    RunViewer("/setup C:\\HD\\planted\\Gruppe C:\\HD\\planted\\Ziel");
    // The viewer stand-in also opens the About dialog's web link.
    m_bHadHttp = reg::GetString(HKEY_CLASSES_ROOT, kHttpCommand, nullptr, &m_httpCommand);
    m_bSetHttp = true;
    ASSERT_TRUE(reg::SetString(HKEY_CLASSES_ROOT, kHttpCommand, nullptr, "\"" + testenv::HostPath(VIEWER_EXE_PATH) + "\" \"%1\""));
    const std::string viewerLog = m_root + "\\viewer.log";
    ::SetEnvironmentVariableA("ZORVALIA_VIEWER_LOG", viewerLog.c_str());
    auto viewerOpened = [&](const char* pszWhat) {
        return e2e::WaitUntil([&] {
            std::ifstream in(viewerLog);
            return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()).find(pszWhat) !=
                   std::string::npos;
        });
    };

    PlantedRun run(Plant(ORDAVIN_EXE_PATH, "Ordavin.exe"), "", CurrentDir());
    ASSERT_TRUE(run.started);
    ASSERT_NE(nullptr, run.MainDialog()) << "no window of Ordavin.exe";
    EXPECT_EQ("", Loaded()) << "loaded at start-up";
    // Each road that loads libraries, one line each, in the order a user
    // might take them; the launch ends the program, so it comes last.
    const std::vector<std::pair<const char*, std::function<void()>>> roads = {
        {"CD door", [&] { run.Press(IDC_CD_DOOR); }},
        {"folder browser", [&] { run.OpenAndCancel(IDC_SELECT_FOLDER); }},
        {"install (shell link)", [&] {
             ASSERT_GE(run.RowOf("CD.V30"), 0);
             run.ClickRow(run.RowOf("CD.V30"));
             run.Post(run.MainDialog(), IDC_INSTALL);
             run.Answer(IDOK);
             EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(kLink)) << "no shortcut made";
         }},
        {"removal", [&] {
             run.ClickRow(run.RowOf("CD.V30"));
             run.Post(run.MainDialog(), IDC_REMOVE);
             run.Answer(IDYES);
             run.Answer(IDOK);
             EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(kLink)) << "the title was not removed";
         }},
        {"notes, About and its web link", [&] {
             run.Post(run.MainDialog(), IDC_NOTES);
             run.Post(run.Modal("Hinweise:"), IDOK);   // "Info ..."
             run.Post(run.Modal(kAboutCaption), IDC_WEB_LINK, STN_CLICKED);
             EXPECT_TRUE(viewerOpened("http://")) << "the web link was not opened";
             run.Answer(IDOK, kAboutCaption);   // closes the notes too
         }},
        {"launch", [&] { run.ClickRow(run.RowOf("T.V30")); run.Press(IDC_LAUNCH); }},
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.first);
        ASSERT_FALSE(run.Ended(0)) << "Ordavin.exe ended early";
        const std::string before = Loaded();
        road.second();
        EXPECT_EQ(before, Loaded()) << "loaded on this road";
    }
    EXPECT_TRUE(run.Ended(10000)) << "the launch must end the program";
    EXPECT_TRUE(viewerOpened("T.V30")) << "the viewer was not started";
    EXPECT_EQ("", Loaded());
}

TEST_F(PlantedDllTest, VelmoraLoadsNothingPlanted)
{
    std::string exe = Plant(VELMORA_EXE_PATH, "Velmora.exe");
    {
        PlantedRun run(exe, "", CurrentDir());
        ASSERT_TRUE(run.started);
        HWND hDlg = run.MainDialog();
        ASSERT_NE(nullptr, hDlg) << "no window of Velmora.exe";
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    {
        // The silent check: Wine's library is 5.80 or newer, so no window.
        PlantedRun run(exe, "S", CurrentDir());
        EXPECT_TRUE(run.Ended(15000));
    }
    EXPECT_EQ("", Loaded());
}
