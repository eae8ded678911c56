// The titles the viewer has registered, read without looking at the disk,
// and the checks of installation and removal that one title's folder
// belongs to that title alone.
#pragma once

#include "../../framework/String.h"

#include <vector>

// One catalogue value with its stored path (empty when it has none).
struct RegisteredTitle
{
    CString strFile;    // value name: the title file name
    CString strTitle;   // value data: the title name
    CString strPath;    // Path0 (".V30" names) or Path60
};

// Every catalogue value whose name holds ".V30" or ".V60" and whose title
// has a stored path, in the order in which the registry enumerates them.
std::vector<RegisteredTitle> ReadRegisteredTitles();

// The folder of a path, made full and compared without regard to case by
// SameFolder: "C:\A\.\B\" and "c:\a\b" are one folder.
CString FolderOfPath(LPCSTR pszPath);
BOOL SameFolder(LPCSTR pszFolder1, LPCSTR pszFolder2);

// The title, other than the catalogue value pszOwnFile, whose registered
// file is there, directly in pszFolder; null when there is none.
const RegisteredTitle* OtherTitleInFolder(const std::vector<RegisteredTitle>& titles, LPCSTR pszFolder,
                                          LPCSTR pszOwnFile);

// The last component of a path ("T.V30" of "C:\A\T.V30").
CString FileNameOfPath(LPCSTR pszPath);
// TRUE when a path holds a wildcard ("*" or "?"), which a registered title
// path never may: a search for it would find other files.
BOOL HasWildcard(LPCSTR pszPath);
// TRUE when pszPath names a file that is there: no wildcard, no folder.
BOOL IsTitleFileThere(LPCSTR pszPath);
