#include "MemDC.h"

CMemDC::CMemDC(CDC* pDC)
    : m_oldBitmap(nullptr), m_pDC(pDC), m_rect{0, 0, 0, 0}, m_bMemDC(!pDC->IsPrinting())
{
    if (m_bMemDC) {
        pDC->GetClipBox(&m_rect);
        // The bitmap must match the target, not the new memory context
        // (whose default bitmap is 1x1 monochrome).
        if (CreateCompatibleDC(pDC) &&
            m_bitmap.CreateCompatibleBitmap(pDC, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top)) {
            m_oldBitmap = static_cast<HBITMAP>(SelectObject(&m_bitmap));
            SetWindowOrg(m_rect.left, m_rect.top);
            return;
        }
        // Out of memory for the picture: a flickering paint is better than
        // copying an empty bitmap over the target.
        DeleteDC();
        m_bitmap.DeleteObject();
        m_bMemDC = FALSE;
    }
    m_bPrinting = pDC->m_bPrinting;
    m_hDC = pDC->m_hDC;
    m_hAttribDC = pDC->m_hAttribDC;
}

CMemDC::~CMemDC()
{
    if (m_bMemDC) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, this,
                      m_rect.left, m_rect.top, SRCCOPY);
        SelectObject(m_oldBitmap);
    } else {
        // The handles are the target's: forget them, release nothing.
        Detach();
    }
    // m_bitmap, no longer selected, and the owned memory context go with
    // the members and the base.
}
