#include "RegisteredTitles.h"

#include "TitleCatalogue.h"
#include "../../framework/FileFind.h"
#include "../../framework/RegKey.h"
#include "../../framework/WinApp.h"

#include <cstring>

std::vector<RegisteredTitle> ReadRegisteredTitles()
{
    std::vector<RegisteredTitle> titles;
    CWinApp* pApp = AfxGetApp();
    CRegKey catalogue;
    if (!pApp || catalogue.Open(HKEY_CURRENT_USER, CATALOGUE_KEY, KEY_READ) != ERROR_SUCCESS)
        return titles;
    for (DWORD i = 0;; ++i) {
        char szName[CATALOGUE_NAME_BUFFER];
        DWORD cchName = CATALOGUE_NAME_BUFFER;
        LONG lResult = ::RegEnumValueA(catalogue.m_hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr);
        if (lResult == ERROR_NO_MORE_ITEMS)
            break;
        if (lResult != ERROR_SUCCESS)
            continue;
        szName[cchName < CATALOGUE_NAME_BUFFER ? cchName : CATALOGUE_NAME_BUFFER - 1] = '\0';
        RegisteredTitle title;
        title.strFile = szName;
        BOOL bV30 = title.strFile.Find(".V30") >= 0;
        if (!bV30 && title.strFile.Find(".V60") < 0)
            continue;
        title.strTitle = pApp->GetProfileString(CATALOGUE_SECTION, szName);
        if (!title.strTitle.IsEmpty())
            title.strPath = pApp->GetProfileString(title.strTitle + "\\Ifo", bV30 ? "Path0" : "Path60");
        titles.push_back(title);
    }
    return titles;
}

CString FolderOfPath(LPCSTR pszPath)
{
    CString strPath = pszPath ? pszPath : "";
    int nSlash = strPath.ReverseFind('\\');
    return nSlash >= 0 ? strPath.Left(nSlash) : CString();
}

namespace {
// The full form of a folder without a trailing backslash; the text itself
// when it has none.
CString FullFolder(LPCSTR pszFolder)
{
    char szFull[MAX_PATH];
    DWORD cch = pszFolder && *pszFolder ? ::GetFullPathNameA(pszFolder, MAX_PATH, szFull, nullptr) : 0;
    CString strFull = cch > 0 && cch < MAX_PATH ? CString(szFull) : CString(pszFolder ? pszFolder : "");
    while (strFull.GetLength() > 3 && strFull.GetAt(strFull.GetLength() - 1) == '\\')
        strFull = strFull.Left(strFull.GetLength() - 1);
    return strFull;
}
}  // namespace

BOOL SameFolder(LPCSTR pszFolder1, LPCSTR pszFolder2)
{
    CString str1 = FullFolder(pszFolder1);
    return !str1.IsEmpty() && lstrcmpiA(str1, FullFolder(pszFolder2)) == 0;
}

const RegisteredTitle* OtherTitleInFolder(const std::vector<RegisteredTitle>& titles, LPCSTR pszFolder,
                                          LPCSTR pszOwnFile)
{
    for (const RegisteredTitle& title : titles) {
        if (title.strPath.IsEmpty() || title.strFile == (pszOwnFile ? pszOwnFile : ""))
            continue;
        if (SameFolder(FolderOfPath(title.strPath), pszFolder) && IsTitleFileThere(title.strPath))
            return &title;
    }
    return nullptr;
}

CString FileNameOfPath(LPCSTR pszPath)
{
    CString strPath = pszPath ? pszPath : "";
    return strPath.Mid(strPath.ReverseFind('\\') + 1);
}

BOOL HasWildcard(LPCSTR pszPath)
{
    return pszPath && std::strpbrk(pszPath, "*?") != nullptr;
}

BOOL IsTitleFileThere(LPCSTR pszPath)
{
    if (!pszPath || HasWildcard(pszPath))
        return FALSE;
    CFileFind finder;
    if (!finder.FindFile(pszPath) || finder.IsDirectory())
        return FALSE;
    CString strName = FileNameOfPath(pszPath);
    return lstrcmpiA(finder.GetFileName(), strName) == 0 || lstrcmpiA(finder.GetShortName(), strName) == 0;
}
