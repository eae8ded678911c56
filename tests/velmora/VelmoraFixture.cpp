#include "VelmoraFixture.h"

#include "../../velmora/VelmoraApp.h"
#include "../support/Gui.h"
#include "../support/TestEnv.h"
#include "resource.h"

namespace velmora_test {

std::string StandIn(const char* pszName)
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    szPath[MAX_PATH - 1] = '\0';
    std::string path = szPath;
    path.resize(path.rfind('\\') + 1);
    return path + pszName + ".dll";
}

bool WaitForFile(const std::string& path, DWORD maxMs)
{
    DWORD start = ::GetTickCount();
    while (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (::GetTickCount() - start >= maxMs)
            return false;
        ::Sleep(50);
    }
    return true;
}

ScratchCurrentDir::ScratchCurrentDir()
{
    ::GetCurrentDirectoryA(MAX_PATH, m_szPrevious);
    char szTemp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, szTemp);
    path = std::string(szTemp) + "velmora-" + std::to_string(::GetCurrentProcessId());
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    testenv::RemoveTree(path);
    ::CreateDirectoryA(path.c_str(), nullptr);
    EXPECT_TRUE(::SetCurrentDirectoryA(path.c_str())) << path << " error " << ::GetLastError();
}

ScratchCurrentDir::~ScratchCurrentDir()
{
    ::SetCurrentDirectoryA(m_szPrevious);
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 10000; ::Sleep(200)) {
        testenv::RemoveTree(path);
        if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            break;
    }
}

RunResult RunVelmora(const char* pszCmdLine, const std::string& dll, Answer answer)
{
    static std::string s_dll;
    static std::string s_cmdLine;
    s_dll = dll;
    g_pszComCtlDll = s_dll.c_str();
    if (pszCmdLine) {
        s_cmdLine = pszCmdLine;
        theApp.m_lpCmdLine = &s_cmdLine[0];
    } else {
        theApp.m_lpCmdLine = nullptr;
    }

    RunResult r;
    gui::DialogDriver driver([&](HWND hDlg) {
        r.shown = true;
        r.verdict = gui::ControlText(hDlg, IDC_MESSAGE);
        switch (answer) {
        case Answer::Update:
            ::PostMessageA(::GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
            break;
        case Answer::Cancel:
            ::PostMessageA(::GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
            break;
        case Answer::CloseBox:
            ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
    });
    DWORD start = ::GetTickCount();
    r.returned = theApp.InitInstance();
    r.elapsedMs = ::GetTickCount() - start;
    r.timedOut = driver.timedOut;
    return r;
}

void VelmoraTest::TearDown()
{
    g_pszComCtlDll = "comctl32.dll";
    theApp.m_lpCmdLine = nullptr;
    theApp.m_pMainWnd = nullptr;
}

}  // namespace velmora_test
