// Removal of an installed title from the hard disk, and the dropping of an
// unreachable title from the viewer's catalogue. The handlers are members of
// COrdavinDlg (TitleRemoval.cpp, UnreachableTitle.cpp); the derivations
// below take strings and touch nothing.
//
// Removal deletes only the files an installation copies, found by four
// fixed patterns in the title folder and its notes folder, the shortcut the
// installation recorded, and folders that have become empty.
#pragma once

#include "../../framework/String.h"

// The search patterns, in the order removal runs them.
enum RemovalStep
{
    RS_NOTES_TXT = 0,   // "<title folder>\NOTE\*.TXT"
    RS_NOTES_RTF,       // "<title folder>\NOTE\*.RTF"
    RS_UPC,             // "<title folder>\*.UPC"
    RS_TITLE_FILES,     // "<title folder>\*.??0": ".V30", ".V60", ".D10" ...
    REMOVAL_STEPS
};

// The folder of a title file: its path up to its last backslash; empty when
// the path has none.
CString TitleFolderOf(const CString& strTitlePath);
// "<title folder>\NOTE".
CString NotesFolderOf(const CString& strTitleFolder);
// The folder that holds the title folder (the installation's target): up to
// the title folder's last backslash, or the title folder itself when it has
// none. Empty when that would be a bare drive such as "C:": a drive root is
// never removed, and "C:" alone names the drive's current directory.
CString ParentFolderOf(const CString& strTitleFolder);
// The search pattern of a step for a title folder.
CString RemovalPattern(const CString& strTitleFolder, RemovalStep step);
// The full path of a name that the search of pszPattern returned: the
// searched folder, a backslash and the name.
CString FoundFilePath(const CString& strPattern, LPCSTR pszName);
// Whether a found (long) name really matches the step's pattern. The file
// system also matches the generated 8.3 names, so "T.V301" (short name
// "T~1.V30") is returned for "*.??0"; such files are not the installer's.
BOOL MatchesRemovalStep(LPCSTR pszName, RemovalStep step);

// Whether removal may work on a title path: its title folder is a
// drive-letter path below a drive root whose every folder name
// IsValidFolderName accepts ("..", refused characters and empty names
// refused). The path comes from the per-user registry while the program
// runs elevated, so nothing else may steer the deletions.
BOOL IsRemovableTitlePath(const CString& strTitlePath);
// Whether the recorded shortcut path may be deleted: a full path (drive
// letter or network) of a file ending in ".lnk".
BOOL IsShortcutPath(LPCSTR pszPath);

// The change of the current directory; tests put a stand-in here.
typedef BOOL(WINAPI* PFN_SETCURRENTDIRECTORYA)(LPCSTR);
extern PFN_SETCURRENTDIRECTORYA g_pfnSetCurrentDirectory;
