#include "Gdi.h"

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    BOOL bDeleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return bDeleted;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int cx, int cy)
{
    return Own(::CreateCompatibleBitmap(pDC->m_hDC, cx, cy));
}

void CDC::Attach(HDC hDC)
{
    DeleteDC();
    m_hDC = m_hAttribDC = hDC;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    m_bOwned = FALSE;
    return hDC;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    DeleteDC();
    m_hDC = m_hAttribDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    m_bOwned = m_hDC != nullptr;
    return m_bOwned;
}

void CDC::DeleteDC()
{
    if (m_bOwned)
        ::DeleteDC(m_hDC);
    m_hDC = m_hAttribDC = nullptr;
    m_bOwned = FALSE;
}

POINT CDC::SetWindowOrg(int x, int y)
{
    POINT previous = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &previous);
    return previous;
}

void CDC::FillSolidRect(const RECT* pRect, COLORREF cr)
{
    COLORREF crOld = ::SetBkColor(m_hDC, cr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, pRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, crOld);
}

CPaintDC::CPaintDC(CWnd* pWnd)
    : m_hWnd(pWnd->m_hWnd)
{
    m_hDC = m_hAttribDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    // The context belongs to the paint cycle: EndPaint releases it.
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}
