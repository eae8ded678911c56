#include "TitleCatalogue.h"

#include "RegisteredTitles.h"
#include "../../framework/RegKey.h"

#include <commctrl.h>

#include <cstring>
#include <map>
#include <string>

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
// otherwise. Empty when it is no string. The first call's result goes to
// *plResult.
CString QueryText(const CRegKey& key, LPCSTR pszValue, LONG* plResult = nullptr)
{
    char szData[MAX_PATH + 1];
    DWORD dwType = 0;
    DWORD cb = MAX_PATH;
    LONG lResult = ::RegQueryValueExA(key.m_hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szData), &cb);
    if (plResult)
        *plResult = lResult;
    if (lResult == ERROR_SUCCESS)
        return TextOfData(dwType, szData, cb);
    CString value;
    if (lResult == ERROR_MORE_DATA)
        key.QueryString(pszValue, value);
    return value;
}

// The "Ifo" keys of the titles of the last pass, kept open for the next
// one: a refresh then reads a title in three trips to the registry instead
// of five (under Wine each trip is a call to its server). Only the keys
// are kept, never their values, which every pass reads again. A key that
// the viewer deleted meanwhile, and perhaps made anew, answers
// ERROR_KEY_DELETED: any failure of a kept key has it opened again by name.
class IfoKeys
{
public:
    void BeginPass() { ++m_nPass; }

    // The title's open "Ifo" key, or null; *pbKept tells whether it was
    // kept from an earlier pass.
    const CRegKey* Open(HKEY hProfile, const CString& strTitle, BOOL bAgain, BOOL* pbKept)
    {
        Slot& slot = m_slots[strTitle.GetString()];
        slot.nPass = m_nPass;
        if (bAgain)
            slot.key.Close();
        *pbKept = slot.key.m_hKey != nullptr;
        if (!slot.key.m_hKey && slot.key.Open(hProfile, strTitle + "\\Ifo", KEY_READ) != ERROR_SUCCESS)
            return nullptr;
        return &slot.key;
    }

    // Closes the keys that this pass did not use, and those that failed.
    void EndPass()
    {
        for (auto it = m_slots.begin(); it != m_slots.end();) {
            if (it->second.nPass != m_nPass || !it->second.key.m_hKey)
                it = m_slots.erase(it);
            else
                ++it;
        }
    }

    void CloseAll() { m_slots.clear(); }

private:
    struct Slot {
        CRegKey key;
        unsigned nPass = 0;
    };
    std::map<std::string, Slot> m_slots;
    unsigned m_nPass = 0;
};

IfoKeys s_ifoKeys;

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
    // The profile's keys stay open for the whole pass, and each title's
    // "Ifo" key from one pass to the next.
    CRegKey profile;
    CRegKey catalogue;
    if (profile.Open(HKEY_CURRENT_USER, PROFILE_KEY, KEY_READ) != ERROR_SUCCESS ||
        catalogue.Open(profile.m_hKey, CATALOGUE_SECTION, KEY_READ) != ERROR_SUCCESS) {
        s_ifoKeys.CloseAll();
        return;
    }
    DWORD nValues = 0;
    if (::RegQueryInfoKeyA(catalogue.m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nValues,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        nValues = 0;

    s_ifoKeys.BeginPass();
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
        LPCSTR pszPathValue = bV30 ? "Path0" : "Path60";
        BOOL bKept = FALSE;
        const CRegKey* pIfo = s_ifoKeys.Open(profile.m_hKey, entry.strTitle, FALSE, &bKept);
        LONG lPath = ERROR_SUCCESS;
        if (pIfo)
            entry.strPath = QueryText(*pIfo, pszPathValue, &lPath);
        if (pIfo && bKept && lPath != ERROR_SUCCESS && lPath != ERROR_MORE_DATA) {
            pIfo = s_ifoKeys.Open(profile.m_hKey, entry.strTitle, TRUE, &bKept);
            if (pIfo)
                entry.strPath = QueryText(*pIfo, pszPathValue);
        }
        if (!pIfo || entry.strPath.IsEmpty())
            continue;
        onTitle(entry, *pIfo);
    }
    s_ifoKeys.EndPass();
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
