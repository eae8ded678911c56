// CFile and CStdioFile: own one open file handle and close it.
//
// No exceptions: every operation reports failure through its result, and
// the caller decides what a failed write means. CStdioFile adds text lines:
// in text mode each "\n" reaches the disk as CR LF.
#pragma once

#include <windows.h>

class CFile
{
public:
    // Open flags, as the programs pass them.
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,        // no sharing, like shareExclusive
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,         // without it only an existing file opens
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };

    CFile() = default;
    virtual ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

    // Opens pszFileName with the flags above; FALSE (and the system's error
    // in GetLastError) when it cannot. The error object of the framework it
    // stands in for is not supported: pass null.
    virtual BOOL Open(LPCSTR pszFileName, UINT nOpenFlags, void* pError = nullptr);
    // Moves the file position; the new position, or -1 on failure.
    LONGLONG Seek(LONGLONG lOff, UINT nFrom);
    // Writes all nCount bytes or, on failure, nothing: a short write (a full
    // disk) is undone, so the file keeps its former length. FALSE then.
    BOOL Write(const void* pBuffer, DWORD nCount);
    // Closes the file, if open; FALSE when the system reported an error.
    BOOL Close();
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
};

class CStdioFile : public CFile
{
public:
    // Text mode unless typeBinary is given.
    BOOL Open(LPCSTR pszFileName, UINT nOpenFlags, void* pError = nullptr) override;

    // Writes the text as it is, except that in text mode each "\n" becomes
    // CR LF. Each call reaches the disk before it returns (the programs
    // write a few short lines), whole or not at all; FALSE when it failed.
    BOOL WriteString(LPCSTR pszText);

private:
    BOOL m_bText = FALSE;
};
