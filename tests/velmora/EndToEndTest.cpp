// The real Velmora.exe, started as its own process against the system's
// common-controls library.
#include "VelmoraFixture.h"

#include "resource.h"

#include <iostream>

using namespace velmora_test;

namespace {
// The program's dialog, once process dwPid shows it; null when the process
// ended or the time ran out first.
HWND WaitForVelmoraWindow(const PROCESS_INFORMATION& pi, DWORD maxMs)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < maxMs;) {
        HWND hWnd = nullptr;
        while ((hWnd = ::FindWindowExA(nullptr, hWnd, "#32770", "Velmora")) != nullptr) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hWnd, &pid);
            if (pid == pi.dwProcessId && ::IsWindowVisible(hWnd))
                return hWnd;
        }
        if (::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

bool StartVelmora(const char* pszArgs, PROCESS_INFORMATION* ppi)
{
    std::string exe = HostPath(VELMORA_EXE_PATH);
    std::string cmd = "\"" + exe + "\"" + pszArgs;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    return ::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, ppi) != FALSE;
}

std::string DlgText(HWND hDlg, int id)
{
    char sz[512] = "";
    ::GetDlgItemTextA(hDlg, id, sz, sizeof(sz));
    return sz;
}

std::string ExpectedLine(DLLVERSIONINFO* pdvi)
{
    g_pszComCtlDll = "comctl32.dll";
    ReadComCtlVersion(pdvi);
    char sz[128];
    wsprintfA(sz, "ComCtl32.dll Version ist %lu.%lu.%lu.%lu", pdvi->dwMajorVersion, pdvi->dwMinorVersion,
              pdvi->dwBuildNumber, pdvi->dwPlatformID);
    return sz;
}
}  // namespace

TEST(VelmoraExe, ShowsTheSystemLibraryVersionAndEndsOnCancel)
{
    DLLVERSIONINFO dvi;
    const std::string expected = ExpectedLine(&dvi);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(StartVelmora("", &pi)) << "error " << ::GetLastError();
    HWND hDlg = WaitForVelmoraWindow(pi, 15000);
    EXPECT_NE(nullptr, hDlg);
    if (hDlg) {
        const std::string line = DlgText(hDlg, IDC_VERSION);
        std::cout << "Velmora.exe shows: " << line << std::endl;
        ::testing::Test::RecordProperty("VersionLine", line);
        EXPECT_EQ(expected, line);
        EXPECT_EQ(ComparableVersion(dvi) > VERSION_UPDATE_THRESHOLD, !::IsWindowEnabled(::GetDlgItem(hDlg, IDOK)));
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pi.hProcess, 10000));
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
    if (code == STILL_ACTIVE)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

TEST(VelmoraExe, SilentCheckFollowsTheSystemLibrary)
{
    DLLVERSIONINFO dvi;
    ExpectedLine(&dvi);
    const bool current = ComparableVersion(dvi) >= VERSION_UPDATE_THRESHOLD;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(StartVelmora(" S", &pi)) << "error " << ::GetLastError();
    HWND hDlg = WaitForVelmoraWindow(pi, 15000);
    EXPECT_EQ(current, hDlg == nullptr);
    if (hDlg)
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pi.hProcess, 10000));
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(pi.hProcess, &code);
    if (code == STILL_ACTIVE)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}
