#include "FolderCheck.h"

#include "../../framework/WinApp.h"

#include <cstring>

namespace {

bool IsPresent(LPCSTR pszPath)
{
    // A file counts as well as a folder.
    return ::GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES;
}

bool IsEdgeChar(char ch)
{
    return ch == '\t' || ch == ' ' || ch == '.';
}

bool IsDriveLetter(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

}  // namespace

BOOL IsValidFolderName(LPCSTR pszName)
{
    if (!pszName || !*pszName)
        return FALSE;
    size_t nLen = std::strlen(pszName);
    if (IsEdgeChar(pszName[0]) || IsEdgeChar(pszName[nLen - 1]))
        return FALSE;
    return std::strpbrk(pszName, "\"*/:<>?\\|") == nullptr;
}

int CreateFolderPath(LPCSTR pszPath, BOOL bCheckOnly)
{
    if (!pszPath)
        return FOLDER_INVALID;
    // An invalid entry leaves no trace: the whole form is checked before
    // the first folder is made.
    if (!bCheckOnly) {
        int nForm = CreateFolderPath(pszPath, TRUE);
        if (nForm != FOLDER_OK)
            return nForm;
    }
    // The working copy must hold the whole path; a longer one could only be
    // checked or created cut short, so it is refused.
    char szPath[MAX_PATH];
    size_t nLen = 0;
    while (nLen < MAX_PATH && pszPath[nLen])
        ++nLen;
    if (nLen >= MAX_PATH)
        return FOLDER_INVALID;
    std::memcpy(szPath, pszPath, nLen + 1);

    if (nLen < 3 || !IsDriveLetter(szPath[0]) || szPath[1] != ':' || szPath[2] != '\\')
        return FOLDER_INVALID;
    if (nLen == 3) {
        // The drive root: its existence is only tested when creating.
        if (bCheckOnly)
            return FOLDER_OK;
        return IsPresent(szPath) ? FOLDER_OK : FOLDER_NOT_CREATED;
    }

    size_t nStart = 3;
    while (nStart < nLen) {
        size_t nEnd = nStart;
        while (nEnd < nLen && szPath[nEnd] != '\\')
            ++nEnd;
        // szPath now holds the prefix up to and including this component,
        // and szPath + nStart the component alone (empty for "\\\\").
        szPath[nEnd] = '\0';
        if (!IsValidFolderName(szPath + nStart))
            return FOLDER_INVALID;
        if (!bCheckOnly) {
            // An existing folder makes CreateDirectoryA fail; only whether the
            // prefix is there afterwards counts.
            ::CreateDirectoryA(szPath, nullptr);
            if (!IsPresent(szPath))
                return FOLDER_NOT_CREATED;
        }
        if (nEnd == nLen)
            return FOLDER_OK;
        szPath[nEnd] = '\\';
        nStart = nEnd + 1;
    }
    // A backslash after a folder name with nothing behind it.
    return FOLDER_INVALID;
}

int CheckTargetFolder(LPCSTR pszPath, BOOL bNoPrompt)
{
    LPCSTR pszShown = pszPath ? pszPath : "";
    CString strMsg;
    int nCode = CreateFolderPath(pszPath, TRUE);
    if (nCode == FOLDER_OK) {
        if (IsPresent(pszPath))
            return FOLDER_OK;
        if (!bNoPrompt) {
            strMsg.Format("Der Ordner:\n\n%s\n\nist nicht vorhanden. Soll der Ordner erstellt werden?", pszShown);
            if (AfxMessageBox(strMsg, MB_YESNO | MB_ICONQUESTION) != IDYES)
                return FOLDER_DECLINED;
        }
        nCode = CreateFolderPath(pszPath, FALSE);
        if (nCode == FOLDER_OK)
            return FOLDER_OK;
    }
    if (nCode == FOLDER_INVALID)
        strMsg.Format("Der Ordnereingabe:\n\n%s\n\nist ungültig. Bitte neu eingeben.", pszShown);
    else
        strMsg.Format("Der Ordner:\n\n%s\n\nkann nicht erstellt werden. Bitte überprüfen Sie die Eingabe.", pszShown);
    AfxMessageBox(strMsg, MB_OK | MB_ICONEXCLAMATION);
    return nCode;
}
