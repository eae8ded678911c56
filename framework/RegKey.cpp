#include "RegKey.h"

#include <cstring>
#include <vector>

LONG CRegKey::Open(HKEY hParent, LPCSTR pszSubKey, REGSAM access)
{
    Close();
    return ::RegOpenKeyExA(hParent, pszSubKey, 0, access, &m_hKey);
}

BOOL CRegKey::CreateBelow(const CRegKey& parent, LPCSTR pszSubKey, REGSAM access)
{
    Close();
    DWORD dwDisposition = 0;
    return ::RegCreateKeyExA(parent.m_hKey, pszSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                             &m_hKey, &dwDisposition) == ERROR_SUCCESS;
}

void CRegKey::Close()
{
    if (m_hKey) {
        ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

HKEY CRegKey::Detach()
{
    HKEY hKey = m_hKey;
    m_hKey = nullptr;
    return hKey;
}

BOOL CRegKey::QueryString(LPCSTR pszValue, CString& value) const
{
    // The value may grow between the two queries (another process writes the
    // same keys); try again a few times with the new size.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD dwType = 0;
        DWORD cb = 0;
        if (::RegQueryValueExA(m_hKey, pszValue, nullptr, &dwType, nullptr, &cb) != ERROR_SUCCESS)
            return FALSE;
        if (dwType != REG_SZ && dwType != REG_EXPAND_SZ)
            return FALSE;
        std::vector<char> data(cb + 1, '\0');
        DWORD cbRead = cb;
        LONG rc = ::RegQueryValueExA(m_hKey, pszValue, nullptr, &dwType,
                                     reinterpret_cast<BYTE*>(data.data()), &cbRead);
        if (rc == ERROR_MORE_DATA)
            continue;
        if (rc != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
            return FALSE;
        if (cbRead > cb)
            cbRead = cb;
        data[cbRead] = '\0';
        value = CString(data.data(), static_cast<int>(strnlen(data.data(), cbRead)));
        return TRUE;
    }
    return FALSE;
}

BOOL CRegKey::QueryString(LPCSTR pszValue, char* pszBuffer, DWORD cchBuffer) const
{
    if (!pszBuffer || cchBuffer == 0)
        return FALSE;
    pszBuffer[0] = '\0';
    CString value;
    if (!QueryString(pszValue, value) || static_cast<DWORD>(value.GetLength()) >= cchBuffer)
        return FALSE;
    memcpy(pszBuffer, value.GetString(), static_cast<size_t>(value.GetLength()) + 1);
    return TRUE;
}
