// The test programs' entry: the application object (each program links its
// own) gets its instance and name as the real entry point would give them.
#include "../../framework/WinApp.h"

#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::InitCommonControls();
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->m_hInstance = ::GetModuleHandleA(nullptr);
        pApp->InitApplicationName();
    }
    return RUN_ALL_TESTS();
}
