#include "VelmoraApp.h"

#include "DllVersion.h"
#include "VelmoraDlg.h"

#include <commctrl.h>
#include <shellapi.h>

const char g_szUpdatePackage[] = "50COMUPD.EXE";

CVelmoraApp theApp;

BOOL CVelmoraApp::InitInstance()
{
    // The three-dimensional control look needs no switch since Windows 95;
    // the common controls only need registering.
    ::InitCommonControls();

    // Only the first character after the program name counts.
    if (m_lpCmdLine && m_lpCmdLine[0] == 'S') {
        DLLVERSIONINFO dvi;
        ReadComCtlVersion(&dvi);
        if (ComparableVersion(dvi) >= VERSION_UPDATE_THRESHOLD)
            return FALSE;
    }

    INT_PTR nResponse;
    {
        CVelmoraDlg dlg;
        m_pMainWnd = &dlg;
        nResponse = dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    if (nResponse == IDOK) {
        // Neither a missing package nor its end concerns us: the result is
        // not examined, and nothing waits for the package.
        ::ShellExecuteA(nullptr, "open", g_szUpdatePackage, nullptr, nullptr, SW_SHOWNORMAL);
    }
    return FALSE;
}
