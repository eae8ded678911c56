#include "OrdavinApp.h"

#include "PlatformGate.h"
#include "../res/resource.h"
#include "../ui/OrdavinDlg.h"

#include "../../framework/CommonControls.h"

COrdavinApp theApp;

BOOL COrdavinApp::InitInstance()
{
    if (!IsSupportedOsVersion()) {
        // A missing string shows as an empty caption or text.
        CString strCaption;
        CString strText;
        strCaption.LoadString(IDS_HELPER_CAPTION);
        strText.LoadString(IDS_PLATFORM_WARNING);
        ::MessageBoxA(nullptr, strText, strCaption, MB_OK | MB_ICONWARNING);
        return FALSE;
    }

    comctl::InitCommonControls();
    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_DATE_CLASSES | ICC_INTERNET_CLASSES;
    comctl::InitCommonControlsEx(&icc);

    SetRegistryKey("Quendramark");

    {
        COrdavinDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
