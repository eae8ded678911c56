// CString: an 8-bit (ANSI, system code page) string with the handful of
// operations the programs use. It owns a std::string; every formatting
// operation grows its buffer, so nothing here can overrun.
#pragma once

#include <windows.h>

#include <string>

class CString
{
public:
    CString() = default;
    CString(LPCSTR psz) : m_str(psz ? psz : "") {}
    CString(LPCSTR pch, int nLength) : m_str(pch ? std::string(pch, nLength > 0 ? nLength : 0) : std::string()) {}
    CString(const std::string& str) : m_str(str) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator LPCSTR() const { return m_str.c_str(); }
    LPCSTR GetString() const { return m_str.c_str(); }
    char GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }

    CString& operator=(LPCSTR psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(LPCSTR psz) { if (psz) m_str += psz; return *this; }
    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(char ch) { m_str += ch; return *this; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, LPCSTR b) { return CString(a.m_str + (b ? b : "")); }
    friend CString operator+(LPCSTR a, const CString& b) { return CString((a ? a : "") + b.m_str); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCSTR b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }

    // Index of the first occurrence at or after nStart, or -1.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    // Index of the last occurrence, or -1.
    int ReverseFind(char ch) const;
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;

    // printf-style formatting into a buffer that grows until the text fits.
    void Format(LPCSTR pszFormat, ...);

    // Loads a string resource of the running module; FALSE (and an empty
    // string) when the resource does not exist.
    BOOL LoadString(UINT nID);

    // Direct buffer access for APIs that write text: the buffer holds at
    // least nMinLength characters plus a terminator. ReleaseBuffer cuts the
    // string at its first zero (or at nNewLength when that is given).
    LPSTR GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    std::string m_str;
};
