// Reading a library's version through its DllGetVersion export, and the
// rule that turns it into Velmora's verdict.
#pragma once

#include <windows.h>
#include <shlwapi.h>

// The library whose version Velmora checks: "comctl32.dll" of the system
// folder. Tests point it at stand-in libraries by full path.
extern LPCSTR g_pszComCtlDll;

// A bare name (no folder) is loaded from the system folder by full path,
// never from the program's folder or the current directory; a path is
// loaded as given. Null when it cannot be loaded.
HMODULE LoadCheckedLibrary(LPCSTR pszDllName);

// From this comparable version on (5.80) the viewer needs no update.
const int VERSION_UPDATE_THRESHOLD = 580;

// Loads the library and asks its DllGetVersion. TRUE when the export
// answered with a success code. When the library cannot be loaded or has no
// such export, FALSE and *pdvi is left as it was; when the export fails,
// FALSE and *pdvi is zeroed apart from cbSize (20). The library stays
// loaded.
BOOL GetDllVersion(LPCSTR pszDllName, DLLVERSIONINFO* pdvi);

// The version of g_pszComCtlDll. A library that cannot be loaded or has no
// export (older than 4.71) counts as 0.0.0.0, like a failing export.
void ReadComCtlVersion(DLLVERSIONINFO* pdvi);

// major * 100 + minor (5.80 gives 580). Absurdly large fields give INT_MAX
// rather than wrapping into a negative, "old" number.
int ComparableVersion(const DLLVERSIONINFO& dvi);
