// CTProgrCtrl: a progress bar that paints itself, with a centred text whose
// colour flips where it crosses the bar's edge.
//
// The object borrows a common progress control's window (subclassed through
// data exchange) and keeps position and range itself; the control never
// learns them. The text is the caption set with the window-text function or,
// while there is none, the percentage. SetPos paints at once, and only when
// the bar's width in pixels changes (or the bar was shown or resized since
// its last paint), so a copy loop that pumps no messages may call it as
// often as it likes.
//
// While files are copied the paints are paced to the display's frames: a
// repaint costs as much whether the eye can see it or not, and two per file
// cost more than copying a small file. Between BeginPacedPaints and
// EndPacedPaints a change paints at once only when the last paint is a
// frame old; otherwise it waits for the next call of SetPos after that
// frame, or for ShowWaiting, which a caller about to be busy for longer
// than a frame calls first: a state that stays is then on the screen, and
// one that lasts less than a frame may never be. (A thread of the bar that
// painted a waiting change by itself crashed the 32-bit program under the
// emulator that runs the release's tests: qemu-i386.)
#pragma once

#include "../../framework/Controls.h"
#include "../../framework/Gdi.h"
#include "MemDC.h"

class CTProgrCtrl : public CProgressCtrl
{
public:
    CTProgrCtrl();
    ~CTProgrCtrl() override;

    // Stores the range; no repaint.
    void SetRange(int nLower, int nUpper);
    // Stores the position (not clamped) and repaints at once when the bar
    // width changed. Returns the previous position; -1 and no change when
    // the object has no window.
    int SetPos(int nPos);
    // SetPos(m_nPos + m_nStepSize).
    int StepIt();
    // Turns the text on or off; invalidates the window on a change.
    void SetShowText(BOOL bShow);
    // Paces the paints of SetPos to kFrameMs until EndPacedPaints, which
    // paints a change still waiting. Calls do not nest.
    void BeginPacedPaints();
    void EndPacedPaints();
    // Paints a change that waits for its frame, now, and puts what the bar
    // shows on the screen.
    void ShowWaiting();
    static const int kFrameMs = 16;

    // Paints the whole bar for the client rectangle rcClient onto pDC.
    // Nothing is drawn while the range is empty.
    void Draw(CDC* pDC, const RECT& rcClient);

    // The text font's height for a context with nLogPixelsY pixels per
    // logical inch: 8 points.
    static int FontHeightForDpi(int nLogPixelsY);
    // Copies at most nSize - 1 bytes of pszText to pBuf without splitting a
    // double-byte character of code page nCodePage, terminates, and returns
    // the bytes copied. A null buffer or size 0 copies nothing.
    static int CopyTextBounded(LPCSTR pszText, LPSTR pBuf, size_t nSize, UINT nCodePage);

    int m_nPos;
    int m_nStepSize;
    int m_nMax;
    int m_nMin;
    CString m_strText;
    BOOL m_bShowText;
    int m_nBarWidth;            // at the last repaint request; -1 forces the next
    COLORREF m_crBar;
    COLORREF m_crBackground;
    COLORREF m_crTextOnBackground;
    COLORREF m_crTextOnBar;

    // Diagnostic: the paints of this object (its WM_PAINT messages and the
    // paced paints straight into its context).
    int m_nPaintCount = 0;

protected:
    // Kept for the object's life, since the bar repaints twice per copied
    // file: the text font, made again only for a context of other pixels
    // per inch, and the off-screen picture of the paints.
    CFont m_font;
    int m_nFontDpi = 0;
    COffscreen m_offscreen;

    BOOL m_bPaced = FALSE;
    BOOL m_bWaiting = FALSE;      // a change not painted yet
    BOOL m_bInvalidated = FALSE;  // invalidated by the bar since its last paint
    BOOL m_bOffScreen = FALSE;    // a paced paint not put on the screen yet
    LONGLONG m_llLastPaint = 0;   // performance-counter time of the last paint
    int m_cxPaced = 0;            // client width while pacing

    void RedrawNow();
    // Counts a paint and draws the whole client area into pDC (null, or an
    // empty range: nothing to draw).
    void PaintClient(CDC* pDC);

    // (position - min) / (max - min); 0 for an empty range.
    double Fraction(int nPos) const;
    // The client width times the fraction, truncated toward zero.
    static int BarWidth(const RECT& rcClient, double fraction);

    BOOL OnEraseBkgnd(HDC hdc);
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The program's one progress bar, bound to the main dialog's control 1028.
extern CTProgrCtrl m_progress;
