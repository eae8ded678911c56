#include "CommonControls.h"

namespace comctl {

namespace {

HMODULE Library()
{
    static HMODULE s_hLibrary = ::LoadLibraryA("comctl32.dll");
    return s_hLibrary;
}

template <class PFN> PFN Proc(LPCSTR pszName)
{
    HMODULE hLibrary = Library();
    return hLibrary ? reinterpret_cast<PFN>(reinterpret_cast<void*>(::GetProcAddress(hLibrary, pszName))) : nullptr;
}

}  // namespace

void InitCommonControls()
{
    typedef void(WINAPI * PFN)();
    if (PFN pfn = Proc<PFN>("InitCommonControls"))
        pfn();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* pIcc)
{
    typedef BOOL(WINAPI * PFN)(const INITCOMMONCONTROLSEX*);
    PFN pfn = Proc<PFN>("InitCommonControlsEx");
    return pfn ? pfn(pIcc) : FALSE;
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    typedef HIMAGELIST(WINAPI * PFN)(int, int, UINT, int, int);
    PFN pfn = Proc<PFN>("ImageList_Create");
    return pfn ? pfn(cx, cy, nFlags, nInitial, nGrow) : nullptr;
}

int ImageList_AddMasked(HIMAGELIST hList, HBITMAP hbm, COLORREF crMask)
{
    typedef int(WINAPI * PFN)(HIMAGELIST, HBITMAP, COLORREF);
    PFN pfn = Proc<PFN>("ImageList_AddMasked");
    return pfn ? pfn(hList, hbm, crMask) : -1;
}

int ImageList_ReplaceIcon(HIMAGELIST hList, int nIndex, HICON hIcon)
{
    typedef int(WINAPI * PFN)(HIMAGELIST, int, HICON);
    PFN pfn = Proc<PFN>("ImageList_ReplaceIcon");
    return pfn ? pfn(hList, nIndex, hIcon) : -1;
}

int ImageList_GetImageCount(HIMAGELIST hList)
{
    typedef int(WINAPI * PFN)(HIMAGELIST);
    PFN pfn = Proc<PFN>("ImageList_GetImageCount");
    return pfn ? pfn(hList) : 0;
}

BOOL ImageList_Destroy(HIMAGELIST hList)
{
    typedef BOOL(WINAPI * PFN)(HIMAGELIST);
    PFN pfn = Proc<PFN>("ImageList_Destroy");
    return pfn ? pfn(hList) : FALSE;
}

}  // namespace comctl
