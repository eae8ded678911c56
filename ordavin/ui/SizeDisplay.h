// Free space of the target drive.
#pragma once

#include <windows.h>

// Free bytes of the target drive available to the user; 0 until queried.
extern ULONGLONG g_ullFreeBytes;
// The free space as shown in the main dialog.
extern char g_szFreeText[128];

// Queries the volume that holds pszDir. On success stores g_ullFreeBytes and
// g_szFreeText and returns TRUE; on failure g_szFreeText is "n.V. GB",
// g_ullFreeBytes stays, and the result is FALSE.
BOOL QueryFreeSpace(const char* pszDir);
