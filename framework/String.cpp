#include "String.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    if (!pszSub || nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(pszSub, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int nCount) const
{
    if (nCount <= 0)
        return CString();
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Mid(int nFirst) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= GetLength())
        return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst)));
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= GetLength() || nCount <= 0)
        return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

void CString::Format(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        std::string out(static_cast<size_t>(n) + 1, '\0');
        vsnprintf(&out[0], out.size(), pszFormat, args);
        out.resize(static_cast<size_t>(n));
        m_str.swap(out);
    }
    va_end(args);
}

BOOL CString::LoadString(UINT nID)
{
    // A string table entry is counted UTF-16; LoadStringA converts it to the
    // ANSI code page. Grow the buffer until the text is shorter than it.
    for (int size = 256; size <= 65536; size *= 2) {
        std::string buf(static_cast<size_t>(size), '\0');
        int n = ::LoadStringA(::GetModuleHandleA(nullptr), nID, &buf[0], size);
        if (n <= 0) {
            m_str.clear();
            return FALSE;
        }
        if (n < size - 1) {
            buf.resize(static_cast<size_t>(n));
            m_str.swap(buf);
            return TRUE;
        }
    }
    return FALSE;
}

LPSTR CString::GetBuffer(int nMinLength)
{
    if (nMinLength < GetLength())
        nMinLength = GetLength();
    m_str.resize(static_cast<size_t>(nMinLength) + 1, '\0');
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0 || static_cast<size_t>(nNewLength) > m_str.size())
        nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(nNewLength));
    // A zero written inside the given length also ends the string.
    m_str.resize(strnlen(m_str.c_str(), m_str.size()));
}
