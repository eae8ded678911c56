// Where the programs take their libraries from. Both run from folders that
// others may write to (a download folder, a copied CD), and the installer
// runs elevated: no library may come from the program's folder or the
// current directory.
//
// Imported at load time are only libraries that the system always takes
// from its own folder, before WinMain can do anything about it:
// - kernel32, user32, gdi32, advapi32, shell32, ole32, oleaut32: known DLLs
//   on every NT system from 2000 on (HKLM\...\Session Manager\KnownDLLs).
// - msvcrt (the C runtime of MinGW): listed from Windows 7 on; before that
//   it is a dependency of the listed ones (shell32 -> shlwapi -> msvcrt),
//   and the system's \KnownDlls holds the listed libraries together with
//   everything they import.
// comctl32 is not a known DLL. Ordavin loads it by name at its first use
// (framework/CommonControls.h), after NarrowDllSearch, so that its
// manifest's Common-Controls 6.0 still comes from the side-by-side store
// (XP on; a ".local" redirection is ignored for a program with a manifest)
// and what it loads in turn (uxtheme, msimg32) finds the narrowed search.
// Windows 2000 has no side-by-side store: there it is loaded from the
// system folder first. Velmora has no such manifest and loads it by full
// path.
// Everything else (winmm) is loaded at run time by full path.
#pragma once

#include <windows.h>

// Loads a library of the system folder by its full path; its own imports
// are searched from there first. Null when the path would not fit or the
// library cannot be loaded.
HMODULE LoadSystemLibrary(LPCSTR pszName);

// What NarrowDllSearch does on a system of the given version, where
// SetDefaultDllDirectories is or is not available.
struct DllSearchPlan {
    BOOL bSystemOnly;   // SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)
    BOOL bPreload;      // load the libraries the shell takes later, by full path
    BOOL bPreloadComCtl;   // no side-by-side store: comctl32 by full path too
};
DllSearchPlan PlanDllSearch(DWORD dwMajor, DWORD dwMinor, BOOL bHasSetDefaultDllDirectories);

// Called first in WinMain: removes the current directory from the search
// where the system allows it, restricts later loads to the system folder
// where it can (Windows 8, or Vista SP2/7 with KB2533623), and otherwise
// loads what the shell, COM and MCI load on demand from the system folder
// now, so that a later load by name finds it already loaded.
void NarrowDllSearch();
