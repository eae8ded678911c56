// The progress of the file being copied, shown on the main dialog's bar.
#pragma once

#include "../../framework/String.h"

// Source path of the file being copied: the bar's caption.
extern CString g_strCopyCaption;

// The percentage of a copy: transferred * 100 / total over the full 64-bit
// sizes, held at 100. An empty file is done: 100.
int CopyPercent(ULONGLONG ullTotal, ULONGLONG ullTransferred);

// The progress routine handed to CopyFileExA: puts the percentage and
// g_strCopyCaption on the bar (which repaints only when its width changes).
// Always PROGRESS_CONTINUE. Wine's CopyFileExA never calls it.
DWORD CALLBACK CopyProgress(LARGE_INTEGER totalFileSize, LARGE_INTEGER totalBytesTransferred,
                            LARGE_INTEGER streamSize, LARGE_INTEGER streamBytesTransferred, DWORD dwStreamNumber,
                            DWORD dwCallbackReason, HANDLE hSourceFile, HANDLE hDestinationFile, LPVOID lpData);

// The copy itself: CopyFileExA; tests put a stand-in here (one that
// reports progress as Windows does, or that fails).
typedef BOOL(WINAPI* PFN_COPYFILEEXA)(LPCSTR, LPCSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
extern PFN_COPYFILEEXA g_pfnCopyFileEx;
