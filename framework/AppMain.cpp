// The entry point of a program built on the framework: it runs the one
// application object's InitInstance. Both programs return FALSE from it, so
// there is no message loop here; the program ends when InitInstance returns.
#include "WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->InitApplicationName();
    pApp->InitInstance();
    return pApp->ExitInstance();
}
