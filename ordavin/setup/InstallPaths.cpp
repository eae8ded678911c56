#include "InstallPaths.h"

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

InstallPlace PlaceInstall(LPCSTR pszTargetFolder, LPCSTR pszTitleFolder, LPCSTR pszCdDrive, LPCSTR pszTitleName,
                          LPCSTR pszVolumeLabel)
{
    CString strTarget = pszTargetFolder ? pszTargetFolder : "";
    CString strTitleFolder = pszTitleFolder ? pszTitleFolder : "";
    CString strDrive = pszCdDrive ? pszCdDrive : "";
    CString strLabel = pszVolumeLabel ? pszVolumeLabel : "";
    InstallPlace place;
    place.bTitleFolder = strTitleFolder.GetLength() > 2;
    if (place.bTitleFolder) {
        place.strDestination = strTarget + "\\" + strTitleFolder;
        place.strSource = strDrive + "\\" + strTitleFolder;
        place.strLinkName = pszTitleName ? pszTitleName : "";
    } else {
        // Without a label the copies go straight into the target folder,
        // whose paths then carry no doubled backslash.
        place.strDestination = strLabel.IsEmpty() ? strTarget : strTarget + "\\" + strLabel;
        place.strSource = strDrive;
        place.strLinkName = strLabel;
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

BOOL IsTitleFileName(LPCSTR pszName)
{
    return pszName && (std::strstr(pszName, ".V30") || std::strstr(pszName, ".V60"));
}

LPCSTR TitlePathValueOf(LPCSTR pszTitleFileName)
{
    return pszTitleFileName && std::strstr(pszTitleFileName, ".V60") ? "Path60" : "Path0";
}
