#include "InstallPaths.h"

#include "TitleRemoval.h"
#include "../ui/FolderCheck.h"

#include <cstring>

CString TargetFolderOf(LPCSTR pszTargetText)
{
    CString strFolder = pszTargetText ? pszTargetText : "";
    int nLen = strFolder.GetLength();
    if (nLen > 0 && strFolder.GetAt(nLen - 1) == '\\')
        strFolder = strFolder.Left(nLen - 1);
    return strFolder;
}

CString CdTitleFolderOf(LPCSTR pszRegisteredPath)
{
    CString strFolder = pszRegisteredPath ? pszRegisteredPath : "";
    int nSlash = strFolder.ReverseFind('\\');
    strFolder = nSlash >= 0 ? strFolder.Left(nSlash) : CString();
    int nFirst = strFolder.Find('\\');
    return nFirst >= 0 ? strFolder.Mid(nFirst + 1) : strFolder;
}

BOOL IsCdRootFolder(LPCSTR pszTitleFolder)
{
    // A folder name holds no colon: "E:" is the CD's root, whereas a folder
    // of one or two characters ("AB") is a folder like any other.
    return !pszTitleFolder || !*pszTitleFolder || std::strchr(pszTitleFolder, ':') != nullptr;
}

InstallPlace PlaceInstall(LPCSTR pszTargetFolder, LPCSTR pszTitleFolder, LPCSTR pszCdDrive, LPCSTR pszTitleName,
                          LPCSTR pszVolumeLabel, LPCSTR pszTitleFileName)
{
    CString strTarget = pszTargetFolder ? pszTargetFolder : "";
    CString strTitleFolder = pszTitleFolder ? pszTitleFolder : "";
    CString strDrive = pszCdDrive ? pszCdDrive : "";
    CString strLabel = pszVolumeLabel ? pszVolumeLabel : "";
    InstallPlace place;
    place.bTitleFolder = !IsCdRootFolder(strTitleFolder);
    if (place.bTitleFolder) {
        place.strDestination = strTarget + "\\" + strTitleFolder;
        place.strSource = strDrive + "\\" + strTitleFolder;
        place.strLinkName = pszTitleName ? pszTitleName : "";
    } else {
        CString strFolder = strLabel;
        if (strFolder.IsEmpty()) {
            strFolder = pszTitleFileName ? pszTitleFileName : "";
            int nDot = strFolder.ReverseFind('.');
            if (nDot >= 0)
                strFolder = strFolder.Left(nDot);
        }
        place.strDestination = strTarget + "\\" + strFolder;
        place.strSource = strDrive;
        place.strLinkName = strFolder;
    }
    return place;
}

BOOL IsValidDestination(LPCSTR pszFolder)
{
    CString strFolder = pszFolder ? pszFolder : "";
    if (strFolder.GetLength() == 2)
        strFolder += "\\";
    return CreateFolderPath(strFolder, TRUE) == FOLDER_OK;
}

CString StagePattern(CopyStage stage, LPCSTR pszSource)
{
    static const char* const s_patterns[] = {"%s\\*.??0", "%s\\*.UPC", "%s\\NOTE\\*.RTF", "%s\\NOTE\\*.TXT"};
    CString strPattern;
    strPattern.Format(s_patterns[stage], pszSource ? pszSource : "");
    return strPattern;
}

namespace {
CString FormatPath(LPCSTR pszFormat, LPCSTR pszFolder, LPCSTR pszName)
{
    CString strPath;
    strPath.Format(pszFormat, pszFolder ? pszFolder : "", pszName ? pszName : "");
    return strPath.GetLength() < MAX_PATH ? strPath : CString();
}
}  // namespace

CString StageSourcePath(CopyStage stage, LPCSTR pszSource, LPCSTR pszName)
{
    return FormatPath(stage >= STAGE_RTF ? "%s\\Note\\%s" : "%s\\%s", pszSource, pszName);
}

CString StageDestinationPath(CopyStage stage, LPCSTR pszDestination, LPCSTR pszName)
{
    return FormatPath(stage >= STAGE_RTF ? "%s\\note\\%s" : "%s\\%s", pszDestination, pszName);
}

BOOL MatchesCopyStage(LPCSTR pszName, CopyStage stage)
{
    static const RemovalStep s_steps[] = {RS_TITLE_FILES, RS_UPC, RS_NOTES_RTF, RS_NOTES_TXT};
    return MatchesRemovalStep(pszName, s_steps[stage]);
}

BOOL IsRegisteredTitleFile(LPCSTR pszName, LPCSTR pszRegisteredName)
{
    return IsTitleFileName(pszName) && pszRegisteredName && lstrcmpiA(pszName, pszRegisteredName) == 0;
}

BOOL IsTitleFileName(LPCSTR pszName)
{
    return pszName && (std::strstr(pszName, ".V30") || std::strstr(pszName, ".V60"));
}

LPCSTR TitlePathValueOf(LPCSTR pszTitleFileName)
{
    return pszTitleFileName && std::strstr(pszTitleFileName, ".V60") ? "Path60" : "Path0";
}
