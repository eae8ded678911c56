#include "SizeDisplay.h"

#include "OrdavinDlg.h"
#include "../catalogue/TitleCatalogue.h"
#include "../res/resource.h"

#include <cstdio>
#include <cstring>

namespace {
char s_szDecimalSep[] = ",";
char s_szThousandSep[] = ".";
const char kNotAvailableSize[] = "n.V. GB";

// Copies text into a fixed buffer, cut to fit and always terminated.
void CopyText(char* pszOut, size_t cchOut, const char* pszText)
{
    _snprintf(pszOut, cchOut, "%s", pszText);
    pszOut[cchOut - 1] = '\0';
}
}  // namespace

ULONGLONG g_ullCdBytes = 0;
ULONGLONG g_ullFreeBytes = 0;
char g_szCdSizeText[128] = "";
char g_szFreeText[128] = "";
NUMBERFMTA g_numFmt = {0, 0, 3, s_szDecimalSep, s_szThousandSep, 0};
PFN_GETDISKFREESPACEEXA g_pfnGetDiskFreeSpaceEx = &::GetDiskFreeSpaceExA;

void FormatSizeText(ULONGLONG ullBytes, char* pszOut, size_t cchOut)
{
    if (!pszOut || cchOut == 0)
        return;
    // The switch point is decimal, the units are powers of two: 2,499,999,999
    // bytes are 2.384 MB, 2,500,000,000 bytes are 2 GB.
    const bool bGiga = ullBytes >= 2500000000ULL;
    ULONGLONG ullUnits = bGiga ? ullBytes >> 30 : ullBytes >> 20;

    char szDigits[24];
    char* p = szDigits + sizeof(szDigits) - 1;
    *p = '\0';
    do {
        *--p = static_cast<char>('0' + ullUnits % 10);
        ullUnits /= 10;
    } while (ullUnits);

    // Wine writes nothing for a zero without a leading zero (LeadingZero 0);
    // an empty or failed result falls back to the plain digits.
    char szNumber[32];
    if (::GetNumberFormatA(0, 0, p, &g_numFmt, szNumber, sizeof(szNumber)) <= 1)
        CopyText(szNumber, sizeof(szNumber), p);
    _snprintf(pszOut, cchOut, bGiga ? "%s GB" : "%s MB", szNumber);
    pszOut[cchOut - 1] = '\0';
}

BOOL QueryFreeSpace(const char* pszDir)
{
    ULARGE_INTEGER available = {}, total = {}, totalFree = {};
    if (!pszDir || !g_pfnGetDiskFreeSpaceEx(pszDir, &available, &total, &totalFree)) {
        CopyText(g_szFreeText, sizeof(g_szFreeText), kNotAvailableSize);
        return FALSE;
    }
    g_ullFreeBytes = available.QuadPart;
    FormatSizeText(g_ullFreeBytes, g_szFreeText, sizeof(g_szFreeText));
    return TRUE;
}

BOOL QueryCdSize(const char* pszDir)
{
    ULARGE_INTEGER available = {}, total = {}, totalFree = {};
    if (!pszDir || !g_pfnGetDiskFreeSpaceEx(pszDir, &available, &total, &totalFree)) {
        // The scan has just found the title file on this drive, so this is
        // rare (the CD taken out in between); show the size as unknown.
        g_ullCdBytes = 0;
        CopyText(g_szCdSizeText, sizeof(g_szCdSizeText), kNotAvailableSize);
        return TRUE;
    }
    // A pressed CD has no free bytes. A volume that reports more available
    // than total bytes gets size 0, not a wrapped-around number.
    g_ullCdBytes = total.QuadPart > available.QuadPart ? total.QuadPart - available.QuadPart : 0;
    FormatSizeText(g_ullCdBytes, g_szCdSizeText, sizeof(g_szCdSizeText));
    return TRUE;
}

void COrdavinDlg::OnChangeTarget()
{
    // The edit control reports every change, the program's own included.
    CString strTarget = m_editTarget.GetWindowText();
    if (strTarget.IsEmpty())
        return;
    g_ullFreeBytes = 0;
    CString strDrive = PathRoot(strTarget);
    // A target without a drive (a UNC path, a bare name) is not queried.
    if (strTarget.Find(':') >= 0) {
        QueryFreeSpace(strDrive);
        SetControlText(m_hWnd, IDC_FREE_SPACE, g_szFreeText);
        if (strncmp(g_szFreeText, "n.V", 3) == 0)
            strDrive = "n.V.";
        SetControlText(m_hWnd, IDC_TARGET_DRIVE, strDrive);
    }
    BOOL bRoom = HasRoomForCd(INSTALL_MARGIN_EDIT);
    ::EnableWindow(GetDlgItem(IDC_INSTALL_READY), bRoom);
    ::EnableWindow(GetDlgItem(IDC_INSTALL), bRoom);
}

BOOL HasRoomForCd(ULONGLONG ullMargin)
{
    // A CD whose size could not be read counts as 0 bytes: no room is known
    // for it, and the installation would not check the space again.
    if (strcmp(g_szCdSizeText, kNotAvailableSize) == 0)
        return FALSE;
    // g_ullFreeBytes > g_ullCdBytes + ullMargin, without the sum wrapping.
    return g_ullFreeBytes > g_ullCdBytes && g_ullFreeBytes - g_ullCdBytes > ullMargin;
}

void SetControlText(HWND hDlg, int nID, LPCSTR pszText)
{
    HWND hControl = ::GetDlgItem(hDlg, nID);
    if (!pszText)
        pszText = "";
    // One byte more than the longest size text: a longer text never
    // compares equal.
    char szShown[sizeof(g_szFreeText) + 1] = "";
    int cch = ::GetWindowTextA(hControl, szShown, sizeof(szShown));
    if (cch < static_cast<int>(sizeof(szShown)) - 1 && strcmp(szShown, pszText) == 0)
        return;
    ::SendMessageA(hControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszText));
}
