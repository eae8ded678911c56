// CMemDC: an off-screen drawing context for one paint.
//
// Built over the real target, it draws into a bitmap the size of the
// target's clip box, in the target's own logical coordinates, and copies the
// picture to the target with a single BitBlt when it is destroyed; so the
// screen never shows a half-drawn state. A printer context (and a target for
// which no bitmap could be made) is drawn on directly.
//
// A window that repaints many times a second keeps a COffscreen and hands
// it to each CMemDC: the memory context and bitmap are then made once, not
// on every paint (under Wine each of them costs a trip to the X server,
// more than the drawing itself).
#pragma once

#include "../../framework/Gdi.h"

// A memory context with a bitmap, kept between the paints of one window.
// The bitmap grows to the largest picture asked for. It keeps the colour
// depth of the first paint's context (BitBlt converts, should the display
// change it): asking the context for its depth on every paint costs, under
// Wine, more than the bitmap saves.
class COffscreen
{
public:
    COffscreen() = default;
    ~COffscreen();
    COffscreen(const COffscreen&) = delete;
    COffscreen& operator=(const COffscreen&) = delete;

    // The memory context, holding a bitmap of at least cx by cy pixels
    // (made compatible with pDC when it is made); null when they cannot be
    // made. Borrowed.
    HDC Prepare(CDC* pDC, int cx, int cy);

private:
    void Release();

    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap = nullptr;   // the context's own, selected back before m_bitmap goes
    int m_cx = 0;
    int m_cy = 0;
};

class CMemDC : public CDC
{
public:
    // pOffscreen (borrowed, may be null) supplies the memory context and
    // bitmap instead of making them for this paint.
    explicit CMemDC(CDC* pDC, COffscreen* pOffscreen = nullptr);
    ~CMemDC() override;

    CBitmap m_bitmap;       // the off-screen picture
    HBITMAP m_oldBitmap;    // selected before m_bitmap; borrowed
    CDC* m_pDC;             // the target; borrowed
    RECT m_rect;            // the area drawn, in the target's coordinates
    BOOL m_bMemDC;          // TRUE: off-screen; FALSE: straight to m_pDC
    BOOL m_bKept;           // the context and bitmap are a COffscreen's
};
