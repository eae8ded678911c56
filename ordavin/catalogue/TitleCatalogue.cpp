#include "TitleCatalogue.h"

#include "RegisteredTitles.h"
#include "../../framework/RegKey.h"
#include "../../framework/WinApp.h"

#include <commctrl.h>

LPCSTR TitleStatusText(TitleStatus status)
{
    static const char* const s_texts[] = {"0", "1", "2", "3", "4", "5"};
    return s_texts[status];
}

TitleStatus ClassifyTitle(BOOL bFound, BOOL bNetwork, BOOL bCdRom)
{
    if (bNetwork)
        return bFound ? TS_NETWORK : TS_NETWORK_MISSING;
    if (bCdRom)
        return bFound ? TS_ON_CD : TS_CD_ABSENT;
    return bFound ? TS_HARDDISK : TS_MISSING;
}

TitleImage TitleImageOf(TitleStatus status)
{
    switch (status) {
    case TS_HARDDISK:
        return TI_HARDDISK;
    case TS_ON_CD:
        return TI_CD;
    case TS_NETWORK:
        return TI_NETWORK;
    case TS_NETWORK_MISSING:
        return TI_NETWORK_MISSING;
    case TS_MISSING:
    case TS_CD_ABSENT:
        break;
    }
    return TI_MISSING;
}

BOOL IsNetworkPath(const CString& strPath)
{
    return strPath.Find('\\') == 0;
}

CString PathRoot(const CString& strPath)
{
    int nSlash = strPath.Find('\\');
    return nSlash < 0 ? strPath : strPath.Left(nSlash).Left(2);
}

CString TitleDisplayText(const CString& strTitle)
{
    int nBreak = strTitle.Find('\n');
    return nBreak < 0 ? strTitle : strTitle.Left(nBreak);
}

UINT StateImageOfMark(UINT nMark)
{
    return nMark < 15 ? INDEXTOSTATEIMAGEMASK(nMark + 1) : 0;
}

void ScanCatalogue(const std::function<void(const TitleEntry&)>& onTitle)
{
    CWinApp* pApp = AfxGetApp();
    CRegKey catalogue;
    if (!pApp || catalogue.Open(HKEY_CURRENT_USER, CATALOGUE_KEY, KEY_READ) != ERROR_SUCCESS)
        return;
    DWORD nValues = 0;
    if (::RegQueryInfoKeyA(catalogue.m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nValues,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        nValues = 0;

    for (DWORD i = 0; i < nValues; ++i) {
        // A name that does not fit the buffer, or an index that vanished
        // because the viewer deleted a value meanwhile, cannot be read: the
        // value is left out.
        char szName[CATALOGUE_NAME_BUFFER];
        DWORD cchName = CATALOGUE_NAME_BUFFER;
        if (::RegEnumValueA(catalogue.m_hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            continue;
        szName[cchName < CATALOGUE_NAME_BUFFER ? cchName : CATALOGUE_NAME_BUFFER - 1] = '\0';

        TitleEntry entry;
        entry.strFile = szName;
        // Case matters: a name with ".v30" is no title file.
        BOOL bV30 = entry.strFile.Find(".V30") >= 0;
        if (!bV30 && entry.strFile.Find(".V60") < 0)
            continue;

        // Data that is no string reads as the empty title. An empty title has
        // no section of its own ("\Ifo" is none), so it is left out like a
        // title without a path.
        entry.strTitle = pApp->GetProfileString(CATALOGUE_SECTION, szName);
        if (entry.strTitle.IsEmpty())
            continue;
        const CString strSection = entry.strTitle + "\\Ifo";
        entry.strPath = pApp->GetProfileString(strSection, bV30 ? "Path0" : "Path60");
        if (entry.strPath.IsEmpty())
            continue;

        // Found is the registered file itself: a pattern, a folder or
        // another file that a search returns would let a title look
        // installed where it is not.
        BOOL bFound = IsTitleFileThere(entry.strPath);
        BOOL bNetwork = IsNetworkPath(entry.strPath);
        BOOL bCdRom = FALSE;
        if (!bNetwork) {
            entry.strRoot = PathRoot(entry.strPath);
            bCdRom = ::GetDriveTypeA(entry.strRoot) == DRIVE_CDROM;
        }
        entry.status = ClassifyTitle(bFound, bNetwork, bCdRom);
        entry.image = TitleImageOf(entry.status);
        entry.nMark = pApp->GetProfileInt(strSection, "iSel", 0);
        onTitle(entry);
    }
}
