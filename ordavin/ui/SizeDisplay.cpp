#include "SizeDisplay.h"

#include <shlwapi.h>

ULONGLONG g_ullFreeBytes = 0;
char g_szFreeText[128] = "";

BOOL QueryFreeSpace(const char* pszDir)
{
    ULARGE_INTEGER avail, total;
    if (!::GetDiskFreeSpaceExA(pszDir, &avail, &total, nullptr)) {
        ::lstrcpynA(g_szFreeText, "n.V. GB", sizeof(g_szFreeText));
        return FALSE;
    }
    g_ullFreeBytes = avail.QuadPart;
    ::wnsprintfA(g_szFreeText, sizeof(g_szFreeText), "%u MB", static_cast<unsigned>(avail.QuadPart >> 20));
    g_szFreeText[sizeof(g_szFreeText) - 1] = '\0';
    return TRUE;
}
