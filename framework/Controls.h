// Thin wrappers of the standard and common controls. They borrow the
// dialog's control windows (bound by DDX_Control) and never destroy them.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CStatic : public CWnd
{
};

class CEdit : public CWnd
{
};

class CButton : public CWnd
{
};

// The common progress control; CTProgrCtrl builds on it.
class CProgressCtrl : public CWnd
{
};

class CListCtrl : public CWnd
{
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int GetNextItem(int nItem, UINT nFlags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
    }
    int InsertColumn(int nCol, LPCSTR pszHeading, int nFormat, int nWidth, int nSubItem);
    // Inserts a row with the text of column 0 and an item image; returns its
    // index or -1.
    int InsertItem(int nItem, LPCSTR pszText, int nImage);
    // The same with the members of nMask (LVIF_*) set at once, states too.
    int InsertItem(UINT nMask, int nItem, LPCSTR pszText, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR pszText);
    // The whole text of a cell, however long.
    CString GetItemText(int nItem, int nSubItem) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), nMask));
    }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
    }
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageListType)
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                                                        reinterpret_cast<LPARAM>(hImageList)));
    }
};
