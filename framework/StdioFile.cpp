#include "StdioFile.h"

#include <string>

BOOL CFile::Open(LPCSTR pszFileName, UINT nOpenFlags, void*)
{
    Close();
    DWORD dwAccess = GENERIC_READ;
    switch (nOpenFlags & 0x3) {
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    }
    DWORD dwCreation = (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    if (!pszFileName)
        return FALSE;
    m_hFile = ::CreateFileA(pszFileName, dwAccess, dwShare, nullptr, dwCreation, FILE_ATTRIBUTE_NORMAL, nullptr);
    return IsOpen();
}

LONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LARGE_INTEGER distance, position;
    distance.QuadPart = lOff;
    if (!IsOpen() || !::SetFilePointerEx(m_hFile, distance, &position, nFrom))
        return -1;
    return position.QuadPart;
}

BOOL CFile::Write(const void* pBuffer, DWORD nCount)
{
    if (!IsOpen())
        return FALSE;
    LARGE_INTEGER zero = {}, start = {};
    if (!::SetFilePointerEx(m_hFile, zero, &start, FILE_CURRENT))
        return FALSE;
    DWORD dwWritten = 0;
    if (::WriteFile(m_hFile, pBuffer, nCount, &dwWritten, nullptr) && dwWritten == nCount)
        return TRUE;
    // Part of it may have gone out before the disk was full: cut it off
    // again, keeping the error of the write for the caller.
    DWORD dwError = ::GetLastError();
    if (dwWritten != 0 && ::SetFilePointerEx(m_hFile, start, nullptr, FILE_BEGIN))
        ::SetEndOfFile(m_hFile);
    ::SetLastError(dwError ? dwError : ERROR_DISK_FULL);
    return FALSE;
}

BOOL CFile::Close()
{
    if (!IsOpen())
        return TRUE;
    BOOL bClosed = ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    return bClosed;
}

BOOL CStdioFile::Open(LPCSTR pszFileName, UINT nOpenFlags, void* pError)
{
    m_bText = (nOpenFlags & typeBinary) == 0;
    return CFile::Open(pszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
}

BOOL CStdioFile::WriteString(LPCSTR pszText)
{
    if (!pszText)
        return FALSE;
    std::string out;
    for (const char* p = pszText; *p; ++p) {
        if (*p == '\n' && m_bText)
            out += '\r';
        out += *p;
    }
    return Write(out.data(), static_cast<DWORD>(out.size()));
}
