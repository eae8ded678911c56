#include "MemDC.h"

COffscreen::~COffscreen()
{
    Release();
}

void COffscreen::Release()
{
    // A bitmap still selected into a context cannot be deleted.
    if (m_hOldBitmap)
        m_dc.SelectObject(m_hOldBitmap);
    m_hOldBitmap = nullptr;
    m_bitmap.DeleteObject();
    m_dc.DeleteDC();
    m_cx = m_cy = 0;
}

HDC COffscreen::Prepare(CDC* pDC, int cx, int cy)
{
    if (m_dc.GetSafeHdc() && cx <= m_cx && cy <= m_cy)
        return m_dc.GetSafeHdc();
    // As large as the old and the new picture together, so that a window
    // that paints in parts of changing sizes settles on one bitmap.
    cx = cx > m_cx ? cx : m_cx;
    cy = cy > m_cy ? cy : m_cy;
    Release();
    if (!m_dc.CreateCompatibleDC(pDC) || !m_bitmap.CreateCompatibleBitmap(pDC, cx, cy)) {
        Release();
        return nullptr;
    }
    m_hOldBitmap = m_dc.SelectObject(&m_bitmap);
    m_cx = cx;
    m_cy = cy;
    return m_dc.GetSafeHdc();
}

CMemDC::CMemDC(CDC* pDC, COffscreen* pOffscreen)
    : m_oldBitmap(nullptr), m_pDC(pDC), m_rect{0, 0, 0, 0}, m_bMemDC(!pDC->IsPrinting()), m_bKept(FALSE)
{
    if (m_bMemDC) {
        pDC->GetClipBox(&m_rect);
        int cx = m_rect.right - m_rect.left;
        int cy = m_rect.bottom - m_rect.top;
        if (pOffscreen) {
            HDC hMemDC = pOffscreen->Prepare(pDC, cx, cy);
            if (hMemDC) {
                Attach(hMemDC);
                m_bKept = TRUE;
                SetWindowOrg(m_rect.left, m_rect.top);
                return;
            }
        } else if (CreateCompatibleDC(pDC) && m_bitmap.CreateCompatibleBitmap(pDC, cx, cy)) {
            // The bitmap must match the target, not the new memory context
            // (whose default bitmap is 1x1 monochrome).
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
        if (m_bKept) {
            // The context stays with its COffscreen, bitmap selected.
            Detach();
            return;
        }
        SelectObject(m_oldBitmap);
    } else {
        // The handles are the target's: forget them, release nothing.
        Detach();
    }
    // m_bitmap, no longer selected, and the owned memory context go with
    // the members and the base.
}
