// Checks of a target folder path, and its creation on request.
//
// Only drive-letter paths are accepted: a letter, a colon, a backslash, then
// folder names separated by single backslashes. Network (UNC) paths,
// relative names and virtual shell folders are refused.
#pragma once

#include <windows.h>

// Result codes of CreateFolderPath and CheckTargetFolder.
enum
{
    FOLDER_OK = 0,          // the folder exists, or (create mode) exists now
    FOLDER_INVALID = 1,     // the entry is not a valid folder path
    FOLDER_NOT_CREATED = 2, // the folder, or one of its parents, cannot be created
    FOLDER_DECLINED = -1    // CheckTargetFolder only: the user did not want it created
};

// TRUE if pszName may be one component of a folder path: not empty, no
// leading or trailing tab, space or dot, none of the characters " * / : < > ? \ |.
// Other control characters and all characters from 0x80 on are accepted.
BOOL IsValidFolderName(LPCSTR pszName);

// Checks the form of pszPath and, unless bCheckOnly, creates each missing
// folder along it from the root down. Returns FOLDER_OK, FOLDER_INVALID or
// FOLDER_NOT_CREATED and shows nothing. Check-only mode never touches the
// disk; an invalid entry creates nothing in either mode. Folders created
// before a level that cannot be created stay in place. A path of MAX_PATH
// (260) characters or more is invalid.
int CreateFolderPath(LPCSTR pszPath, BOOL bCheckOnly);

// Checks pszPath; a missing folder is created, after a question unless
// bNoPrompt. Invalid entries and failed creations are reported in a message
// box. Returns FOLDER_OK, FOLDER_INVALID, FOLDER_NOT_CREATED, or
// FOLDER_DECLINED when the user answered the question with anything but Yes
// (then nothing else is shown). A path naming an existing file counts as
// present.
int CheckTargetFolder(LPCSTR pszPath, BOOL bNoPrompt);
