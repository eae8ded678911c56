// The common-controls functions the installer uses, taken at run time from
// the library that the name "comctl32.dll" gives this process. The first
// call loads it, after WinMain narrowed the library search: by name, so
// that the manifest's Common-Controls 6.0 still comes from the side-by-side
// store, and what it loads in turn (uxtheme, msimg32) finds the narrowed
// search. Imported, the loader would take it (and uxtheme with it) before
// WinMain. Each function does nothing and reports failure when the library
// or the function is missing.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace comctl {

void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* pIcc);
HIMAGELIST ImageList_Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
int ImageList_AddMasked(HIMAGELIST hList, HBITMAP hbm, COLORREF crMask);
// ImageList_AddIcon of the header is this call with index -1.
int ImageList_ReplaceIcon(HIMAGELIST hList, int nIndex, HICON hIcon);
int ImageList_GetImageCount(HIMAGELIST hList);
BOOL ImageList_Destroy(HIMAGELIST hList);

}  // namespace comctl
