// The installer's application object: platform gate, common controls,
// profile root, and the modal run of the main dialog.
#pragma once

#include "../../framework/WinApp.h"

class COrdavinApp : public CWinApp
{
public:
    COrdavinApp() = default;
    // Always FALSE: the program ends when the main dialog has closed.
    BOOL InitInstance() override;
};

extern COrdavinApp theApp;
