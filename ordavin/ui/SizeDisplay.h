// The size of the title CD, the free space of the target drive, and the
// texts the main dialog shows for them ("1.234 MB", "4 GB", "n.V. GB").
#pragma once

#include <windows.h>

#include <cstddef>

// Room the target drive must have beyond the CD's size: when the target
// field changes, and when the CD row is clicked.
const ULONGLONG INSTALL_MARGIN_EDIT = 100000000;
const ULONGLONG INSTALL_MARGIN_CLICK = 1000000;

// Size of the title CD's content (total minus free bytes of its volume).
extern ULONGLONG g_ullCdBytes;
// Bytes of the target drive available to the user.
extern ULONGLONG g_ullFreeBytes;
// The texts of the CD size (control 1011) and of the free space (1008).
extern char g_szCdSizeText[128];
extern char g_szFreeText[128];
// Number layout of every size text: no decimals, "." between groups of
// three digits (1234 is written 1.234).
extern NUMBERFMTA g_numFmt;

// Writes the size text of a byte count into pszOut (always terminated):
// whole GB (2^30 bytes) from 2,500,000,000 bytes on, whole MB (2^20 bytes)
// below, both rounded down.
void FormatSizeText(ULONGLONG ullBytes, char* pszOut, size_t cchOut);

// Queries the volume that holds pszDir. On success sets g_ullFreeBytes and
// g_szFreeText and returns TRUE; on failure g_szFreeText is "n.V. GB",
// g_ullFreeBytes keeps its value, and the result is FALSE. Touches no
// control.
BOOL QueryFreeSpace(const char* pszDir);

// Queries the CD volume that holds pszDir (a drive such as "D:") and sets
// g_ullCdBytes and g_szCdSizeText. When the volume cannot be queried, the
// size is 0 and the text "n.V. GB". Returns TRUE.
BOOL QueryCdSize(const char* pszDir);

// Whether the target drive has room for the CD plus a margin:
// g_ullFreeBytes > g_ullCdBytes + ullMargin (strictly greater). Never for
// a CD whose size could not be read (its text is "n.V. GB").
BOOL HasRoomForCd(ULONGLONG ullMargin);

// The volume query both use; tests put a stand-in here.
typedef BOOL(WINAPI* PFN_GETDISKFREESPACEEXA)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
extern PFN_GETDISKFREESPACEEXA g_pfnGetDiskFreeSpaceEx;

// Shows pszText in the dialog's control nID (a drive or size display). A
// static control repaints on every new text, under Wine at once: a text it
// shows already is not sent again.
void SetControlText(HWND hDlg, int nID, LPCSTR pszText);
