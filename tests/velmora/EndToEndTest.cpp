// The real Velmora.exe, started as a process of its own against the system's
// common-controls library (Wine's own comctl32; the program asks for no
// particular version in a manifest).
#include "VelmoraFixture.h"

#include "../../framework/String.h"
#include "resource.h"

#include <iostream>

TEST(VelmoraExe, ShowsTheSystemLibraryVersionAndEndsOnCancel)
{
    // What the program must show: the same library read in this process.
    DLLVERSIONINFO dvi;
    ReadComCtlVersion(&dvi);
    CString strExpected;
    strExpected.Format("ComCtl32.dll Version ist %lu.%lu.%lu.%lu", dvi.dwMajorVersion, dvi.dwMinorVersion,
                       dvi.dwBuildNumber, dvi.dwPlatformID);

    std::string exe = velmora_test::HostPath(VELMORA_EXE_PATH);
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << exe << " error " << ::GetLastError();

    // Its dialog, by caption and owning process.
    HWND hDlg = nullptr;
    for (DWORD start = ::GetTickCount(); !hDlg && ::GetTickCount() - start < 15000;) {
        while ((hDlg = ::FindWindowExA(nullptr, hDlg, "#32770", "Velmora")) != nullptr) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hDlg, &pid);
            if (pid == pi.dwProcessId && ::IsWindowVisible(hDlg))
                break;
        }
        if (!hDlg && ::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0)
            break;
    }
    EXPECT_NE(nullptr, hDlg) << "no window of Velmora.exe";
    if (hDlg) {
        char szLine[256] = "";
        ::GetDlgItemTextA(hDlg, IDC_VERSION, szLine, sizeof(szLine));
        std::cout << "Velmora.exe shows: " << szLine << std::endl;
        EXPECT_STREQ(strExpected.GetString(), szLine);
        EXPECT_EQ(ComparableVersion(dvi) <= VERSION_UPDATE_THRESHOLD, ::IsWindowEnabled(::GetDlgItem(hDlg, IDOK)) != 0);
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
