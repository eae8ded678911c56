#include "CopyProgress.h"

#include "../ui/TProgrCtrl.h"

CString g_strCopyCaption;
PFN_COPYFILEEXA g_pfnCopyFileEx = &::CopyFileExA;

int CopyPercent(ULONGLONG ullTotal, ULONGLONG ullTransferred)
{
    if (ullTotal == 0 || ullTransferred >= ullTotal)
        return 100;
    // transferred < total, so the quotient is below 100; the product cannot
    // wrap for any file a disk can hold (below 2^57 bytes), and above that
    // the division goes first.
    if (ullTransferred <= ~0ULL / 100)
        return static_cast<int>(ullTransferred * 100 / ullTotal);
    return static_cast<int>(ullTransferred / (ullTotal / 100 + 1));
}

DWORD CALLBACK CopyProgress(LARGE_INTEGER totalFileSize, LARGE_INTEGER totalBytesTransferred, LARGE_INTEGER,
                            LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE, LPVOID)
{
    m_progress.SetPos(CopyPercent(static_cast<ULONGLONG>(totalFileSize.QuadPart),
                                  static_cast<ULONGLONG>(totalBytesTransferred.QuadPart)));
    // A new caption invalidates the bar once per file; it shows with the
    // next change of the bar's width.
    m_progress.SetWindowText(g_strCopyCaption);
    return PROGRESS_CONTINUE;
}
