#include "Shortcut.h"

#include "InstallLog.h"
#include "../../framework/RegKey.h"
#include "../../framework/WinApp.h"
#include "../ui/TitleClick.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstring>

char g_szStartGroup[MAX_PATH] = "";

namespace {

const char kShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kGroupSuffix[] = "\\Texorra - Quendramark";
// Icon group 32583 (an open book), counted among the executable's icon
// groups in ascending id order.
const int kShortcutIconIndex = 7;

BOOL ReadFolderValue(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue, char (&szValue)[MAX_PATH])
{
    CRegKey key;
    return key.Open(hRoot, pszKey, KEY_READ) == ERROR_SUCCESS && key.QueryString(pszValue, szValue, MAX_PATH);
}

// Copies text into the group buffer only when it fits whole: a cut folder
// would be another folder.
void SetStartGroup(const CString& strGroup)
{
    if (strGroup.GetLength() < MAX_PATH)
        lstrcpynA(g_szStartGroup, strGroup, MAX_PATH);
}

// Releases a COM interface when the scope ends.
template <class T> struct ComPtr {
    T* p = nullptr;
    ~ComPtr()
    {
        if (p)
            p->Release();
    }
};

}  // namespace

void DiscoverStartGroup()
{
    g_szStartGroup[0] = '\0';
    char szValue[MAX_PATH];
    if (ReadFolderValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quendramark\\Texorra", "StartMenu", szValue))
        SetStartGroup(szValue);
    else if (ReadFolderValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", szValue))
        SetStartGroup(CString(szValue) + kGroupSuffix);
    else if (ReadFolderValue(HKEY_CURRENT_USER, kShellFolders, "Programs", szValue))
        SetStartGroup(CString(szValue) + kGroupSuffix);
}

CString SafeLinkName(LPCSTR pszName)
{
    CString strName = pszName ? pszName : "";
    if (strName.GetLength() > LINK_NAME_MAX)
        strName = strName.Left(LINK_NAME_MAX);
    CString strSafe;
    int nLen = strName.GetLength();
    for (int i = 0; i < nLen; ++i) {
        char ch = strName.GetAt(i);
        bool bDotRun = ch == '.' && ((i > 0 && strName.GetAt(i - 1) == '.') ||
                                     (i + 1 < nLen && strName.GetAt(i + 1) == '.'));
        bool bRefused = static_cast<unsigned char>(ch) < 0x20 || std::strchr("\\/:*?\"<>|", ch) != nullptr;
        strSafe += (bDotRun || bRefused) ? '_' : ch;
    }
    return strSafe;
}

CString ShortcutPath(LPCSTR pszGroup, LPCSTR pszLinkName)
{
    CString strPath;
    strPath.Format("%s\\%s (HD).lnk", pszGroup ? pszGroup : "", pszLinkName ? pszLinkName : "");
    return strPath.GetLength() < MAX_PATH ? strPath : CString();
}

CString ShortcutIconPath(LPCSTR pszModulePath)
{
    CString strPath = pszModulePath ? pszModulePath : "";
    int nDot = strPath.ReverseFind('.');
    if (nDot > strPath.ReverseFind('\\'))
        strPath = strPath.Left(nDot);
    return strPath + ".exe";
}

void CreateTitleShortcut(LPCSTR pszTitleFile, LPCSTR pszLinkName)
{
    // Without a group the shortcut would land in the root of the current
    // drive: none is made.
    if (!g_szStartGroup[0])
        return;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link.p))))
        return;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))))
        return;
    if (FAILED(link.p->SetPath(pszTitleFile)))
        return;

    // Only the group's last level can be made here; it usually exists.
    ::CreateDirectoryA(g_szStartGroup, nullptr);
    WriteLogLine("Made Dir: %s\n", g_szStartGroup);

    CString strLink = ShortcutPath(g_szStartGroup, SafeLinkName(pszLinkName));
    WCHAR wszLink[MAX_PATH];
    if (strLink.IsEmpty() || !::MultiByteToWideChar(CP_ACP, 0, strLink, -1, wszLink, MAX_PATH))
        return;
    if (FAILED(file.p->Save(wszLink, TRUE)))
        return;
    CString strSection;
    strSection.Format("%s\\Ifo", g_strTitleName.GetString());
    AfxGetApp()->WriteProfileString(strSection, "lnk", strLink);
    WriteLogLine("Shell Link: %s\n", strLink);

    // The icon goes in with a second save.
    char szModule[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    szModule[MAX_PATH - 1] = '\0';
    if (FAILED(link.p->SetIconLocation(ShortcutIconPath(szModule), kShortcutIconIndex)))
        return;
    char szIcon[256];
    int nIcon = 0;
    if (FAILED(link.p->GetIconLocation(szIcon, sizeof(szIcon), &nIcon)))
        return;
    file.p->Save(wszLink, TRUE);
}
