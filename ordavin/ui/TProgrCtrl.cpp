#include "TProgrCtrl.h"

#include "MemDC.h"

#include <climits>
#include <cstring>

CTProgrCtrl m_progress;

namespace {

// Truncates toward zero; positions far outside the range give values no int
// can hold, which are held at the ends instead of overflowing.
int TruncateToInt(double value)
{
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

const UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

LONGLONG Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// A frame in performance-counter ticks; GetTickCount steps in 10 to 16 ms
// on Windows, too coarse for it.
LONGLONG FrameTicks()
{
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return freq.QuadPart * CTProgrCtrl::kFrameMs / 1000;
}

// Puts what was painted on the screen before the caller goes on copying.
// On Windows a paint is on the screen once GDI's batch of the thread is
// flushed. Wine paints into a picture of the window in the process's memory
// and copies it to the X screen only when a paint ends in EndPaint and the
// thread has not waited for messages for 50 ms, when the thread waits for
// messages, or when a paint comes 50 ms after the first one not copied yet:
// a paint straight into the window's context, or one that ends soon after
// the click that started a run, stayed off the screen until then. A wait of
// no time for no input returns at once and takes no message; under Wine it
// copies the picture, which costs about as much as the paint.
void ShowOnScreen()
{
    ::GdiFlush();
    ::MsgWaitForMultipleObjectsEx(0, nullptr, 0, 0, 0);
}

}  // namespace

CTProgrCtrl::CTProgrCtrl()
    : m_nPos(0), m_nStepSize(1), m_nMax(100), m_nMin(0), m_bShowText(TRUE), m_nBarWidth(-1),
      m_crBar(::GetSysColor(COLOR_HIGHLIGHT)), m_crBackground(::GetSysColor(COLOR_WINDOW)),
      m_crTextOnBackground(::GetSysColor(COLOR_HIGHLIGHT)), m_crTextOnBar(::GetSysColor(COLOR_WINDOW))
{
}

CTProgrCtrl::~CTProgrCtrl() = default;

// BOOL OnEraseBkgnd(HDC hdc)
// void OnPaint()
// void OnSize(UINT nType, int cx, int cy)
// LRESULT OnShowWindow(WPARAM, LPARAM)
// LRESULT OnSetText(WPARAM, LPARAM) / LRESULT OnGetText(WPARAM, LPARAM)
BEGIN_MESSAGE_MAP(CTProgrCtrl, CProgressCtrl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SHOWWINDOW, OnShowWindow)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
END_MESSAGE_MAP()

void CTProgrCtrl::SetRange(int nLower, int nUpper)
{
    m_nMin = nLower;
    m_nMax = nUpper;
}

int CTProgrCtrl::SetPos(int nPos)
{
    // While pacing the window is there, and its client width known.
    if (!m_bPaced && !::IsWindow(m_hWnd))
        return -1;
    int nPrevious = m_nPos;
    m_nPos = nPos;
    RECT rcClient = {0, 0, m_cxPaced, 0};
    if (!m_bPaced)
        GetClientRect(&rcClient);
    int nBarWidth = BarWidth(rcClient, Fraction(nPos));
    if (nBarWidth != m_nBarWidth) {
        m_nBarWidth = nBarWidth;
        if (!m_bPaced || Now() - m_llLastPaint >= FrameTicks())
            RedrawNow();
        else
            m_bWaiting = TRUE;
    } else if (m_bWaiting && Now() - m_llLastPaint >= FrameTicks()) {
        // A report that changes nothing shows the change that waited.
        RedrawNow();
    }
    return nPrevious;
}

void CTProgrCtrl::RedrawNow()
{
    // Paints before returning: the callers' loops pump no messages.
    if (!m_bPaced) {
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ShowOnScreen();
        m_bOffScreen = FALSE;
        return;
    }
    // While paced, the paints come many times a second: the whole client
    // area goes straight into the window's context, and an update that the
    // bar asked for (a new caption) is done with it. Under Wine an
    // invalidation and its WM_PAINT are a dozen trips to the server and
    // this a few: the paint costs a third to a half. An update that others
    // asked for is painted once more when the window's messages are next
    // pumped.
    BOOL bInvalidated = m_bInvalidated;
    HDC hdc = ::GetDC(m_hWnd);
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    PaintClient(&dc);
    dc.Detach();
    ::ReleaseDC(m_hWnd, hdc);
    if (bInvalidated)
        ::ValidateRect(m_hWnd, nullptr);
    // A frame's paint is put on the screen when it is to stay there
    // (ShowWaiting); until then Wine shows it by itself when a paint comes
    // 50 ms after it.
    m_bOffScreen = TRUE;
}

void CTProgrCtrl::BeginPacedPaints()
{
    if (m_bPaced || !::IsWindow(m_hWnd))
        return;
    RECT rcClient;
    GetClientRect(&rcClient);
    m_cxPaced = rcClient.right - rcClient.left;
    m_bWaiting = FALSE;
    m_bPaced = TRUE;
}

void CTProgrCtrl::ShowWaiting()
{
    if (m_bWaiting && ::IsWindow(m_hWnd))
        RedrawNow();
    m_bWaiting = FALSE;
    if (m_bOffScreen)
        ShowOnScreen();
    m_bOffScreen = FALSE;
}

void CTProgrCtrl::EndPacedPaints()
{
    if (!m_bPaced)
        return;
    m_bPaced = FALSE;
    ShowWaiting();
}

int CTProgrCtrl::StepIt()
{
    return SetPos(m_nPos + m_nStepSize);
}

void CTProgrCtrl::SetShowText(BOOL bShow)
{
    if (::IsWindow(m_hWnd) && !bShow != !m_bShowText) {
        Invalidate(TRUE);
        m_bInvalidated = TRUE;
    }
    m_bShowText = bShow ? TRUE : FALSE;
}

double CTProgrCtrl::Fraction(int nPos) const
{
    if (m_nMax <= m_nMin)
        return 0.0;
    // In double: max - min overflows an int for ranges wider than half of it.
    return (static_cast<double>(nPos) - m_nMin) / (static_cast<double>(m_nMax) - m_nMin);
}

int CTProgrCtrl::BarWidth(const RECT& rcClient, double fraction)
{
    return TruncateToInt((rcClient.right - rcClient.left) * fraction);
}

int CTProgrCtrl::FontHeightForDpi(int nLogPixelsY)
{
    return -(8 * nLogPixelsY) / 72;
}

int CTProgrCtrl::CopyTextBounded(LPCSTR pszText, LPSTR pBuf, size_t nSize, UINT nCodePage)
{
    if (!pBuf || nSize == 0)
        return 0;
    if (!pszText)
        pszText = "";
    size_t nCopied = 0;
    while (pszText[nCopied]) {
        size_t nChar = 1;
        if (::IsDBCSLeadByteEx(nCodePage, static_cast<BYTE>(pszText[nCopied])) && pszText[nCopied + 1])
            nChar = 2;
        if (nCopied + nChar > nSize - 1)
            break;
        nCopied += nChar;
    }
    memcpy(pBuf, pszText, nCopied);
    pBuf[nCopied] = '\0';
    return static_cast<int>(nCopied);
}

BOOL CTProgrCtrl::OnEraseBkgnd(HDC)
{
    // The paint covers the whole client area; erasing first would flicker.
    return TRUE;
}

void CTProgrCtrl::OnPaint()
{
    if (m_nMin >= m_nMax) {
        PaintClient(nullptr);
        ::ValidateRect(m_hWnd, nullptr);
        return;
    }
    CPaintDC dc(this);
    PaintClient(&dc);
}

void CTProgrCtrl::PaintClient(CDC* pDC)
{
    ++m_nPaintCount;
    m_llLastPaint = Now();
    m_bWaiting = FALSE;
    m_bInvalidated = FALSE;
    if (!pDC || m_nMin >= m_nMax)
        return;
    RECT rcClient;
    GetClientRect(&rcClient);
    CMemDC memDC(pDC, &m_offscreen);
    Draw(&memDC, rcClient);
}

void CTProgrCtrl::Draw(CDC* pDC, const RECT& rcClient)
{
    if (m_nMin >= m_nMax)
        return;
    double fraction = Fraction(m_nPos);
    // A position outside the range shows an empty or a full bar; the
    // percentage still tells the position.
    int nEdge = rcClient.left + BarWidth(rcClient, fraction);
    if (nEdge < rcClient.left)
        nEdge = rcClient.left;
    if (nEdge > rcClient.right)
        nEdge = rcClient.right;
    RECT rcDone = {rcClient.left, rcClient.top, nEdge, rcClient.bottom};
    RECT rcRest = {nEdge, rcClient.top, rcClient.right, rcClient.bottom};
    pDC->FillSolidRect(&rcDone, m_crBar);
    pDC->FillSolidRect(&rcRest, m_crBackground);
    if (!m_bShowText)
        return;

    CString text = m_strText;
    if (text.IsEmpty())
        text.Format("%d%%", TruncateToInt(fraction * 100.0));   // 0.999 shows 99%

    int nSavedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    // A font that could not be made is tried again at the next paint; the
    // text then comes in the context's current font.
    int nDpi = pDC->GetDeviceCaps(LOGPIXELSY);
    if (!m_font.GetSafeHandle() || nDpi != m_nFontDpi) {
        m_font.CreateFont(FontHeightForDpi(nDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, nullptr);
        m_nFontDpi = nDpi;
    }
    HGDIOBJ hOldFont = nullptr;
    if (m_font.GetSafeHandle())
        hOldFont = pDC->SelectObject(&m_font);

    // Clip regions are in device coordinates, while an off-screen context
    // draws with its window origin at the clip box: convert, or the two
    // halves of the text would not meet at the edge on a partial repaint.
    RECT rcDoneDevice = rcDone;
    RECT rcRestDevice = rcRest;
    pDC->LPtoDP(&rcDoneDevice);
    pDC->LPtoDP(&rcRestDevice);
    CRgn rgnDone;
    CRgn rgnRest;
    rgnDone.CreateRectRgnIndirect(&rcDoneDevice);
    rgnRest.CreateRectRgnIndirect(&rcRestDevice);

    // An empty or a full bar shows the text in one colour only: while the
    // copies report no progress (Wine's never do) that is every paint.
    RECT rcText = rcClient;
    if (nEdge > rcClient.left) {
        pDC->SelectClipRgn(&rgnDone);
        pDC->SetTextColor(m_crTextOnBar);
        pDC->DrawText(text, -1, &rcText, kTextFormat);
    }
    rcText = rcClient;
    if (nEdge < rcClient.right) {
        pDC->SelectClipRgn(&rgnRest);
        pDC->SetTextColor(m_crTextOnBackground);
        pDC->DrawText(text, -1, &rcText, kTextFormat);
    }

    if (hOldFont)
        pDC->SelectObject(hOldFont);
    // Clipping, text colour and background mode as the caller had them.
    pDC->RestoreDC(nSavedDC);
}

void CTProgrCtrl::OnSize(UINT, int cx, int)
{
    Default();
    m_nBarWidth = -1;
    m_cxPaced = cx;
}

LRESULT CTProgrCtrl::OnShowWindow(WPARAM wParam, LPARAM)
{
    // A bar just shown holds what was there before until it paints, and a
    // loop that pumps no messages paints it only through SetPos: the next
    // position paints even when it leaves the width as it was (the
    // installation shows the bar at 0, and its first copy may wait for a
    // CD to spin up).
    if (wParam)
        m_nBarWidth = -1;
    return Default();
}

LRESULT CTProgrCtrl::OnSetText(WPARAM, LPARAM lParam)
{
    // The window keeps its own copy as usual (WM_GETTEXTLENGTH answers
    // from it).
    LRESULT result = Default();
    LPCSTR pszText = reinterpret_cast<LPCSTR>(lParam);
    if (m_strText != (pszText ? pszText : "")) {
        m_strText = pszText;
        Invalidate(TRUE);
        m_bInvalidated = TRUE;
    }
    return result;
}

LRESULT CTProgrCtrl::OnGetText(WPARAM wParam, LPARAM lParam)
{
    return CopyTextBounded(m_strText, reinterpret_cast<LPSTR>(lParam), static_cast<size_t>(wParam), CP_ACP);
}
