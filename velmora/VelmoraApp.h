// Velmora's application object: the optional silent check, the modal run of
// the dialog and the start of the update package.
#pragma once

#include "../framework/WinApp.h"

class CVelmoraApp : public CWinApp
{
public:
    CVelmoraApp() = default;
    // The program's whole run. A command line beginning with 'S' (upper case
    // only) ends at once, without any window, when the library is 5.80 or
    // newer. Always FALSE: no message loop follows.
    BOOL InitInstance() override;
};

// The update package, opened by its relative name through the shell: the
// process's current directory first, then the usual search.
extern const char g_szUpdatePackage[];

extern CVelmoraApp theApp;
