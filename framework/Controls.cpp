#include "Controls.h"

int CListCtrl::InsertColumn(int nCol, LPCSTR pszHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = nFormat;
    col.cx = nWidth;
    col.pszText = const_cast<LPSTR>(pszHeading);
    col.iSubItem = nSubItem;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&col)));
}

int CListCtrl::InsertItem(int nItem, LPCSTR pszText, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, pszText, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCSTR pszText, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam)
{
    LVITEMA item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(pszText);
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR pszText)
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(pszText);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // LVM_GETITEMTEXT does not tell the full length: grow the buffer until
    // the text no longer fills it.
    CString text;
    for (int size = 256;; size *= 2) {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = size;
        item.pszText = text.GetBuffer(size);
        int n = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
        if (n < size - 1 || size >= (1 << 20)) {
            text.ReleaseBuffer(n < size ? n : size - 1);
            return text;
        }
    }
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}
