#include "FileFind.h"

#include <cstring>

BOOL CFileFind::FindFile(LPCSTR pszName)
{
    Close();
    if (!pszName || strnlen(pszName, MAX_PATH) >= MAX_PATH)
        return FALSE;
    m_hFind = ::FindFirstFileA(pszName, &m_data);
    return m_hFind != INVALID_HANDLE_VALUE;
}

BOOL CFileFind::FindNextFile()
{
    return m_hFind != INVALID_HANDLE_VALUE && ::FindNextFileA(m_hFind, &m_data);
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        ::FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
}
