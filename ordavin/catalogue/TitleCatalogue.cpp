#include "TitleCatalogue.h"

#include "RegisteredTitles.h"
#include "../../framework/RegKey.h"

#include <commctrl.h>

#include <cstring>

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

namespace {

// The text of string data read into a buffer of MAX_PATH + 1 bytes, of
// which cb were filled; empty when it is no string. The data need not end
// with its terminator.
CString TextOfData(DWORD dwType, char (&szData)[MAX_PATH + 1], DWORD cb)
{
    if (dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        return CString();
    szData[cb < MAX_PATH ? cb : MAX_PATH] = '\0';
    return CString(szData, static_cast<int>(strnlen(szData, cb)));
}

// A string value of an open key, read in one call where it fits a path
// buffer; the framework's reader (which also handles growing data)
// otherwise. Empty when it is no string.
CString QueryText(const CRegKey& key, LPCSTR pszValue)
{
    char szData[MAX_PATH + 1];
    DWORD dwType = 0;
    DWORD cb = MAX_PATH;
    LONG lResult = ::RegQueryValueExA(key.m_hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szData), &cb);
    if (lResult == ERROR_SUCCESS)
        return TextOfData(dwType, szData, cb);
    CString value;
    if (lResult == ERROR_MORE_DATA)
        key.QueryString(pszValue, value);
    return value;
}

// A drive's type, asked once per scan for each drive letter: the query
// costs more than all the rest of a title's classification.
class DriveTypes
{
public:
    UINT Of(const CString& strRoot)
    {
        char ch = strRoot.GetLength() == 2 && strRoot.GetAt(1) == ':' ? strRoot.GetAt(0) : '\0';
        int i = ch >= 'a' && ch <= 'z' ? ch - 'a' : ch >= 'A' && ch <= 'Z' ? ch - 'A' : -1;
        if (i < 0)
            return ::GetDriveTypeA(strRoot);
        if (!m_bKnown[i]) {
            m_nType[i] = ::GetDriveTypeA(strRoot);
            m_bKnown[i] = true;
        }
        return m_nType[i];
    }

private:
    UINT m_nType[26] = {};
    bool m_bKnown[26] = {};
};

}  // namespace

void ReadCatalogue(const std::function<void(TitleEntry&, const CRegKey& ifo)>& onTitle)
{
    // The profile's keys stay open for the whole pass: each title needs
    // only its own "Ifo" key opened.
    CRegKey profile;
    CRegKey catalogue;
    if (profile.Open(HKEY_CURRENT_USER, PROFILE_KEY, KEY_READ) != ERROR_SUCCESS ||
        catalogue.Open(profile.m_hKey, CATALOGUE_SECTION, KEY_READ) != ERROR_SUCCESS)
        return;
    DWORD nValues = 0;
    if (::RegQueryInfoKeyA(catalogue.m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nValues,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        nValues = 0;

    for (DWORD i = 0; i < nValues; ++i) {
        // The title comes with its name in the same call where it fits a
        // path buffer: one trip to the registry less per title. A name that
        // does not fit its buffer, or an index that vanished because the
        // viewer deleted a value meanwhile, cannot be read: the value is
        // left out.
        char szName[CATALOGUE_NAME_BUFFER];
        DWORD cchName = CATALOGUE_NAME_BUFFER;
        char szData[MAX_PATH + 1];
        DWORD dwType = 0;
        DWORD cbData = MAX_PATH;
        LONG lResult = ::RegEnumValueA(catalogue.m_hKey, i, szName, &cchName, nullptr, &dwType,
                                       reinterpret_cast<BYTE*>(szData), &cbData);
        BOOL bDataRead = lResult == ERROR_SUCCESS;
        if (lResult == ERROR_MORE_DATA) {
            // The name or the data is too long: the name alone tells which.
            cchName = CATALOGUE_NAME_BUFFER;
            lResult = ::RegEnumValueA(catalogue.m_hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        }
        if (lResult != ERROR_SUCCESS)
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
        entry.strTitle = bDataRead ? TextOfData(dwType, szData, cbData) : QueryText(catalogue, szName);
        if (entry.strTitle.IsEmpty())
            continue;
        CRegKey ifo;
        if (ifo.Open(profile.m_hKey, entry.strTitle + "\\Ifo", KEY_READ) != ERROR_SUCCESS)
            continue;
        entry.strPath = QueryText(ifo, bV30 ? "Path0" : "Path60");
        if (entry.strPath.IsEmpty())
            continue;
        onTitle(entry, ifo);
    }
}

void ScanCatalogue(const std::function<void(const TitleEntry&)>& onTitle)
{
    DriveTypes drives;
    ReadCatalogue([&](TitleEntry& entry, const CRegKey& ifo) {
        // Found is the registered file itself: a pattern, a folder or
        // another file that a search returns would let a title look
        // installed where it is not.
        BOOL bFound = IsTitleFileThere(entry.strPath);
        BOOL bNetwork = IsNetworkPath(entry.strPath);
        BOOL bCdRom = FALSE;
        if (!bNetwork) {
            entry.strRoot = PathRoot(entry.strPath);
            bCdRom = drives.Of(entry.strRoot) == DRIVE_CDROM;
        }
        entry.status = ClassifyTitle(bFound, bNetwork, bCdRom);
        entry.image = TitleImageOf(entry.status);
        // Fewer than four bytes of data fill the low bytes of a zeroed
        // number; anything else that cannot be read is no mark.
        DWORD dwMark = 0;
        DWORD cb = sizeof(dwMark);
        if (::RegQueryValueExA(ifo.m_hKey, "iSel", nullptr, nullptr, reinterpret_cast<BYTE*>(&dwMark), &cb) !=
            ERROR_SUCCESS)
            dwMark = 0;
        entry.nMark = dwMark;
        onTitle(entry);
    });
}
