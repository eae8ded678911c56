// The title catalogue: the viewer's registration of its titles and the
// classification of each title by where its file lies.
//
// Registry layout below the profile root
// HKEY_CURRENT_USER\Software\Quendramark\Texorra 3.0 - Professional:
//   V30            one REG_SZ value per title: name = title file name
//                  (contains ".V30" or ".V60"), data = title name
//   <title>\Ifo    Path0 (".V30" titles) or Path60 (the others): full path
//                  of the title file; iSel (REG_DWORD): 1 = marked for the
//                  viewer's search across titles; lnk: our shortcut's path
//   ProjektPfad    Nuvado: target folder of the last installation
// The viewer writes these keys at any time; nothing here is cached.
#pragma once

#include "../../framework/String.h"

#include <functional>

// The profile root and the catalogue key, below HKEY_CURRENT_USER.
#define PROFILE_KEY "Software\\Quendramark\\Texorra 3.0 - Professional"
#define CATALOGUE_KEY PROFILE_KEY "\\V30"
// The catalogue's section name for the profile functions.
#define CATALOGUE_SECTION "V30"
// Value names are read into a buffer of this many characters; a longer
// name cannot be read and its title is left out.
#define CATALOGUE_NAME_BUFFER 128

// Where a title's file lies and whether it is there. The list's status
// column holds the digit of the value ("0" to "5").
enum TitleStatus
{
    TS_HARDDISK = 0,          // found, not on a CD-ROM drive
    TS_MISSING = 1,           // not found, not on a CD-ROM drive
    TS_ON_CD = 2,             // found on a CD-ROM drive: the CD is in
    TS_CD_ABSENT = 3,         // not found on a CD-ROM drive: no CD in it
    TS_NETWORK = 4,           // found, path begins with a backslash
    TS_NETWORK_MISSING = 5    // not found, path begins with a backslash
};

// Row icons: indexes into the dialog's small-icon list.
enum TitleImage
{
    TI_HARDDISK = 0,
    TI_MISSING = 1,
    TI_CD = 2,
    TI_NETWORK = 3,
    TI_NETWORK_MISSING = 4
};

// The columns of a list row; only the title is visible.
enum TitleColumn
{
    COL_TITLE = 0,    // title name up to its first line break
    COL_PATH = 1,     // full path of the title file
    COL_STATUS = 2,   // TitleStatus as its digit
    COL_FILE = 3,     // title file name (the catalogue value's name)
    COL_MARK = 4      // the viewer's mark (iSel) as a decimal number
};

// One accepted catalogue value, as the scan derives it.
struct TitleEntry
{
    CString strFile;    // value name, at most 127 characters
    CString strTitle;   // value data
    CString strPath;    // Path0 or Path60 of the title's section
    CString strRoot;    // drive of strPath ("D:"); empty for a network path
    TitleStatus status = TS_MISSING;
    TitleImage image = TI_MISSING;
    UINT nMark = 0;     // iSel, 0 when absent
};

// The status text of a list row: "0" to "5".
LPCSTR TitleStatusText(TitleStatus status);

// The classification table.
TitleStatus ClassifyTitle(BOOL bFound, BOOL bNetwork, BOOL bCdRom);
TitleImage TitleImageOf(TitleStatus status);

// A network path is one whose first backslash is its first character.
BOOL IsNetworkPath(const CString& strPath);
// The drive a path lies on: the text before its first backslash cut to two
// characters, or the whole path when it has no backslash. Not meaningful
// for a network path.
CString PathRoot(const CString& strPath);
// The text a title shows in the list: up to its first "\n".
CString TitleDisplayText(const CString& strTitle);
// The state-image bits of a row for a mark: image nMark + 1 (1 an empty
// box, 2 a ticked one, higher indexes draw nothing). The field has four
// bits; a mark of 15 or more would wrap around into a box, so it gets no
// state image at all.
UINT StateImageOfMark(UINT nMark);

// Reads the catalogue in one pass and hands each title with a stored path
// to onTitle, classified, in the order in which the registry enumerates
// the values. A missing catalogue key is an empty catalogue.
void ScanCatalogue(const std::function<void(const TitleEntry&)>& onTitle);

// The same pass without looking at the disk: each title with a stored path,
// its file, title and path filled in, and its open "Ifo" key.
class CRegKey;
void ReadCatalogue(const std::function<void(TitleEntry&, const CRegKey& ifo)>& onTitle);

// Index of the list row whose title's CD is in a drive; -1 when none.
extern int g_nCdItem;
