#include "WinApp.h"

#include "RegKey.h"

#include <cstring>

namespace {
CWinApp* g_pApp = nullptr;
const UINT kIdsAppTitle = 57344;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWinApp::CWinApp(LPCSTR pszAppName)
{
    if (pszAppName) {
        m_strAppName = pszAppName;
        m_pszAppName = m_strAppName.c_str();
    }
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::InitApplicationName()
{
    if (m_pszAppName)
        return;
    CString name;
    if (name.LoadString(kIdsAppTitle)) {
        m_strAppName = name.GetString();
    } else {
        char szPath[MAX_PATH] = "";
        ::GetModuleFileNameA(m_hInstance, szPath, MAX_PATH);
        szPath[MAX_PATH - 1] = '\0';
        const char* pszBase = strrchr(szPath, '\\');
        pszBase = pszBase ? pszBase + 1 : szPath;
        m_strAppName = pszBase;
        size_t dot = m_strAppName.rfind('.');
        if (dot != std::string::npos)
            m_strAppName.resize(dot);
    }
    m_pszAppName = m_strAppName.c_str();
}

void CWinApp::SetRegistryKey(LPCSTR pszRegistryKey)
{
    InitApplicationName();
    m_strRegistryKey = pszRegistryKey ? pszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey.c_str();
    m_pszProfileName = m_pszAppName;
}

HKEY CWinApp::GetSectionKey(LPCSTR pszSection)
{
    if (!m_pszRegistryKey || !m_pszProfileName || !pszSection)
        return nullptr;
    const REGSAM access = KEY_READ | KEY_WRITE;
    CRegKey software, company, app;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, access, &software.m_hKey) != ERROR_SUCCESS)
        return nullptr;
    if (!company.CreateBelow(software, m_pszRegistryKey, access))
        return nullptr;
    if (!app.CreateBelow(company, m_pszProfileName, access))
        return nullptr;
    CRegKey section;
    if (!section.CreateBelow(app, pszSection, access))
        return nullptr;
    return section.Detach();
}

CString CWinApp::GetProfileString(LPCSTR pszSection, LPCSTR pszEntry, LPCSTR pszDefault)
{
    CRegKey key(GetSectionKey(pszSection));
    CString value;
    if (!key.m_hKey || !key.QueryString(pszEntry, value))
        return CString(pszDefault);
    return value;
}

UINT CWinApp::GetProfileInt(LPCSTR pszSection, LPCSTR pszEntry, int nDefault)
{
    CRegKey key(GetSectionKey(pszSection));
    if (!key.m_hKey)
        return static_cast<UINT>(nDefault);
    // Fewer than four bytes of data fill the low bytes of a zeroed number.
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwCount = sizeof(dwValue);
    if (::RegQueryValueExA(key.m_hKey, pszEntry, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue),
                           &dwCount) != ERROR_SUCCESS)
        return static_cast<UINT>(nDefault);
    return dwValue;
}

BOOL CWinApp::WriteProfileString(LPCSTR pszSection, LPCSTR pszEntry, LPCSTR pszValue)
{
    CRegKey key(GetSectionKey(pszSection));
    if (!key.m_hKey || !pszEntry)
        return FALSE;
    if (!pszValue)
        return ::RegDeleteValueA(key.m_hKey, pszEntry) == ERROR_SUCCESS;
    return ::RegSetValueExA(key.m_hKey, pszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue),
                            static_cast<DWORD>(strlen(pszValue) + 1)) == ERROR_SUCCESS;
}

int AfxMessageBox(LPCSTR pszText, UINT nType, UINT)
{
    HWND hOwner = ::GetActiveWindow();
    if (!hOwner)
        hOwner = CWnd::GetSafeOwner(nullptr);
    CWinApp* pApp = AfxGetApp();
    LPCSTR pszCaption = pApp && pApp->m_pszAppName ? pApp->m_pszAppName : "";
    return ::MessageBoxA(hOwner, pszText, pszCaption, nType);
}
