// The paths of an installation, derived from the target text, the title's
// registered path on the CD and the CD itself.
#pragma once

#include "../../framework/String.h"

// The four file sets, copied in this order.
enum CopyStage
{
    STAGE_TITLE = 0,   // A: "*.??0" in the title folder, the title file among them
    STAGE_UPC = 1,     // B: "*.UPC"
    STAGE_RTF = 2,     // C: "NOTE\*.RTF"
    STAGE_TXT = 3      // D: "NOTE\*.TXT"
};

// Where a title goes and what its shortcut is called.
struct InstallPlace {
    CString strDestination;   // the folder that receives the copies
    CString strSource;        // the folder on the CD that holds the title
    CString strLinkName;      // title name, or the CD's volume label
    BOOL bTitleFolder;        // the title lies in a folder of the CD
};

// The target folder: the target text with one trailing backslash removed
// (the drive root C:\ becomes C:).
CString TargetFolderOf(LPCSTR pszTargetText);

// The part of the registered path between the drive and the file name:
// E:\TITEL\TITEL.V30 gives TITEL, E:\A\B\T.V30 gives A\B, and a title in
// the CD's root (E:\T.V30) gives E:.
CString CdTitleFolderOf(LPCSTR pszRegisteredPath);

// TRUE when a title folder so derived is the CD's root ("E:", or empty).
BOOL IsCdRootFolder(LPCSTR pszTitleFolder);

// A title in a folder of the CD goes below the target folder under that
// folder's name, read from pszCdDrive followed by it. A title in the CD's
// root (title folder "E:", or empty) goes into a folder named after the
// volume label, read from the drive itself, or on an unlabelled CD after
// the title file without its extension (TITEL for TITEL.V30): every title
// gets a folder of its own, which removal may empty.
InstallPlace PlaceInstall(LPCSTR pszTargetFolder, LPCSTR pszTitleFolder, LPCSTR pszCdDrive, LPCSTR pszTitleName,
                          LPCSTR pszVolumeLabel, LPCSTR pszTitleFileName);

// TRUE when pszFolder is a valid folder path to install into (the folder
// checks' rules; a bare drive "C:" counts as its root). A folder with ".."
// components or refused characters, or too long, is not.
BOOL IsValidDestination(LPCSTR pszFolder);

// The search pattern of a stage in the source folder.
CString StagePattern(CopyStage stage, LPCSTR pszSource);
// The source and destination paths of a found file; empty when a path
// would not fit MAX_PATH - 1 characters (such a file is not copied).
CString StageSourcePath(CopyStage stage, LPCSTR pszSource, LPCSTR pszName);
CString StageDestinationPath(CopyStage stage, LPCSTR pszDestination, LPCSTR pszName);

// Whether a found long name belongs to a stage's set. The file system also
// matches generated 8.3 names ("T.V301" is "T~1.V30"), which removal would
// never delete again: such files are not copied.
BOOL MatchesCopyStage(LPCSTR pszName, CopyStage stage);

// A copied file of the first stage is the title file when its name holds
// ".V30" or ".V60" (case-sensitive).
BOOL IsTitleFileName(LPCSTR pszName);
// The title file of a run: the copied file of the first stage that has
// the registered file's name (case ignored) and is a title file.
BOOL IsRegisteredTitleFile(LPCSTR pszName, LPCSTR pszRegisteredName);
// The profile value that names the title file: "Path60" when its name
// holds ".V60", otherwise "Path0".
LPCSTR TitlePathValueOf(LPCSTR pszTitleFileName);
