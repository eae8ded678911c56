// The folders, patterns and names that a title removal works on.
#include "TitleRemoval.h"

#include "../ui/FolderCheck.h"

#include <cstring>

namespace {

// The patterns as the installer names the copied files; the mask is the
// last component, always "*." and three characters.
const LPCSTR s_pszPatterns[REMOVAL_STEPS] = {
    "%s\\NOTE\\*.TXT",
    "%s\\NOTE\\*.RTF",
    "%s\\*.UPC",
    "%s\\*.??0",
};

char UpperAscii(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

}  // namespace

CString TitleFolderOf(const CString& strTitlePath)
{
    int nSlash = strTitlePath.ReverseFind('\\');
    return nSlash >= 0 ? strTitlePath.Left(nSlash) : CString();
}

CString NotesFolderOf(const CString& strTitleFolder)
{
    CString strNotes;
    strNotes.Format("%s\\NOTE", strTitleFolder.GetString());
    return strNotes;
}

CString ParentFolderOf(const CString& strTitleFolder)
{
    int nSlash = strTitleFolder.ReverseFind('\\');
    CString strParent = nSlash >= 0 ? strTitleFolder.Left(nSlash) : strTitleFolder;
    if (strParent.GetLength() == 2 && strParent.GetAt(1) == ':')
        return CString();
    return strParent;
}

CString RemovalPattern(const CString& strTitleFolder, RemovalStep step)
{
    CString strPattern;
    strPattern.Format(s_pszPatterns[step], strTitleFolder.GetString());
    return strPattern;
}

CString FoundFilePath(const CString& strPattern, LPCSTR pszName)
{
    return TitleFolderOf(strPattern) + "\\" + pszName;
}

BOOL MatchesRemovalStep(LPCSTR pszName, RemovalStep step)
{
    // "*.XYZ" matches a name whose part after its last dot is three
    // characters, each equal to the mask's ('?' any), case ignored.
    LPCSTR pszMask = std::strrchr(s_pszPatterns[step], '.') + 1;
    LPCSTR pszDot = pszName ? std::strrchr(pszName, '.') : nullptr;
    if (!pszDot || std::strlen(pszDot + 1) != 3)
        return FALSE;
    for (int i = 0; i < 3; ++i)
        if (pszMask[i] != '?' && UpperAscii(pszDot[1 + i]) != pszMask[i])
            return FALSE;
    return TRUE;
}

BOOL IsRemovableTitlePath(const CString& strTitlePath)
{
    // Past the form check the title folder has a drive, a colon, a
    // backslash and at least one sound folder name.
    CString strFolder = TitleFolderOf(strTitlePath);
    return strFolder.GetLength() > 3 && CreateFolderPath(strFolder, TRUE) == FOLDER_OK;
}

BOOL IsShortcutPath(LPCSTR pszPath)
{
    if (!pszPath)
        return FALSE;
    size_t nLen = std::strlen(pszPath);
    BOOL bFull = (nLen > 3 && pszPath[1] == ':' && pszPath[2] == '\\') ||
                 (nLen > 2 && pszPath[0] == '\\' && pszPath[1] == '\\');
    return bFull && nLen > 4 && lstrcmpiA(pszPath + nLen - 4, ".lnk") == 0;
}
