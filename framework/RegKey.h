// CRegKey: owns one open registry key and closes it.
#pragma once

#include "String.h"

class CRegKey
{
public:
    CRegKey() = default;
    explicit CRegKey(HKEY hKey) : m_hKey(hKey) {}
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    HKEY m_hKey = nullptr;

    LONG Open(HKEY hParent, LPCSTR pszSubKey, REGSAM access);
    // Creates or opens pszSubKey below parent; TRUE on success.
    BOOL CreateBelow(const CRegKey& parent, LPCSTR pszSubKey, REGSAM access);
    void Close();
    HKEY Detach();

    // Reads a REG_SZ or REG_EXPAND_SZ value (not expanded) of any length.
    // The registry does not promise a terminating zero: the text ends at the
    // first zero or at the end of the data. Other types do not read as text.
    BOOL QueryString(LPCSTR pszValue, CString& value) const;
    // The same with the fixed buffer that some readers use on purpose: the
    // text is cut to cchBuffer - 1 characters and always terminated. Fails
    // where QueryString fails, and when the data does not fit the buffer.
    BOOL QueryString(LPCSTR pszValue, char* pszBuffer, DWORD cchBuffer) const;
};
