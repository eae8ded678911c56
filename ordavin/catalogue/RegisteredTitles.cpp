#include "RegisteredTitles.h"

#include "TitleCatalogue.h"

#include <cstring>

std::vector<RegisteredTitle> ReadRegisteredTitles()
{
    std::vector<RegisteredTitle> titles;
    ReadCatalogue([&](TitleEntry& entry, const CRegKey&) { titles.push_back({entry.strFile, entry.strTitle, entry.strPath}); });
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
    // The attributes of the path itself (a search would cost twenty times
    // as much); a path of MAX_PATH characters or more counts as not there,
    // as the ANSI file functions of Windows have it.
    if (!pszPath || HasWildcard(pszPath) || strnlen(pszPath, MAX_PATH) >= MAX_PATH)
        return FALSE;
    DWORD dwAttributes = ::GetFileAttributesA(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
