// CMemDC: an off-screen drawing context for one paint.
//
// Built over the real target, it draws into a bitmap the size of the
// target's clip box, in the target's own logical coordinates, and copies the
// picture to the target with a single BitBlt when it is destroyed; so the
// screen never shows a half-drawn state. A printer context (and a target for
// which no bitmap could be made) is drawn on directly.
#pragma once

#include "../../framework/Gdi.h"

class CMemDC : public CDC
{
public:
    explicit CMemDC(CDC* pDC);
    ~CMemDC() override;

    CBitmap m_bitmap;       // the off-screen picture
    HBITMAP m_oldBitmap;    // selected before m_bitmap; borrowed
    CDC* m_pDC;             // the target; borrowed
    RECT m_rect;            // the area drawn, in the target's coordinates
    BOOL m_bMemDC;          // TRUE: off-screen; FALSE: straight to m_pDC
};
