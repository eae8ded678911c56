// The entry point of a program built on the framework: it runs the one
// application object's InitInstance. Both programs return FALSE from it, so
// there is no message loop here; the program ends when InitInstance returns.
#include "DllSearch.h"
#include "WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    // Before anything can load a library by name.
    NarrowDllSearch();
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->InitApplicationName();
    pApp->InitInstance();
    return pApp->ExitInstance();
}
