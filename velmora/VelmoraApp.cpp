#include "VelmoraApp.h"

#include "DllVersion.h"
#include "VelmoraDlg.h"
#include "../framework/DllSearch.h"

#include <shellapi.h>

const char g_szUpdatePackage[] = "50COMUPD.EXE";

CVelmoraApp theApp;

BOOL CVelmoraApp::InitInstance()
{
    // The three-dimensional control look needs no switch since Windows 95;
    // the common controls only need registering. Velmora has no manifest
    // that would send comctl32 to the side-by-side store, so it is not
    // imported (it would be taken from the program's folder first) but
    // loaded here from the system folder.
    typedef void(WINAPI * PFN_INITCOMMONCONTROLS)();
    if (HMODULE hComCtl = LoadSystemLibrary("comctl32.dll")) {
        PFN_INITCOMMONCONTROLS pfnInit = reinterpret_cast<PFN_INITCOMMONCONTROLS>(
            reinterpret_cast<void*>(::GetProcAddress(hComCtl, "InitCommonControls")));
        if (pfnInit)
            pfnInit();
    }

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
