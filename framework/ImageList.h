// CImageList: owns an image list and destroys it, unless it was handed to a
// control that destroys it itself (Detach).
#pragma once

#include "CommonControls.h"

class CImageList
{
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
    {
        DeleteImageList();
        m_hImageList = comctl::ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
        return m_hImageList != nullptr;
    }
    // Adds an icon; returns its index or -1.
    int Add(HICON hIcon) { return m_hImageList ? comctl::ImageList_ReplaceIcon(m_hImageList, -1, hIcon) : -1; }
    int GetImageCount() const { return m_hImageList ? comctl::ImageList_GetImageCount(m_hImageList) : 0; }
    HIMAGELIST Detach()
    {
        HIMAGELIST h = m_hImageList;
        m_hImageList = nullptr;
        return h;
    }
    void DeleteImageList()
    {
        if (m_hImageList) {
            comctl::ImageList_Destroy(m_hImageList);
            m_hImageList = nullptr;
        }
    }
};
