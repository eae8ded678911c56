// CFileFind: owns one file search handle and closes it.
#pragma once

#include "String.h"

class CFileFind
{
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search for a name (wildcards allowed); TRUE when it returned
    // an entry, which GetFileName then describes. A name of MAX_PATH
    // characters or more is not searched and counts as nothing found: that
    // is the limit of the ANSI file functions on Windows, applied here so
    // that a system which would accept longer names behaves alike.
    BOOL FindFile(LPCSTR pszName);
    // Moves to the next entry; FALSE when there is none.
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const { return CString(m_data.cFileName); }
    ULONGLONG GetLength() const
    {
        return (static_cast<ULONGLONG>(m_data.nFileSizeHigh) << 32) | m_data.nFileSizeLow;
    }
    // The entry's 8.3 name where the file system made one; empty otherwise.
    CString GetShortName() const { return CString(m_data.cAlternateFileName); }
    BOOL IsDirectory() const { return (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // The entry's attributes as the search found them.
    DWORD GetAttributes() const { return m_data.dwFileAttributes; }

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_data = {};
};
