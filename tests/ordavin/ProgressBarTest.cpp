// The text progress bar and its off-screen context, checked by the pixels
// they produce: on screen through the window's own paint, and in bitmaps
// through Draw. The bar gets four colours of its own, so that every pixel
// tells which of them it came from, whatever the system colour scheme.
#include "../../ordavin/ui/MemDC.h"
#include "../../ordavin/ui/TProgrCtrl.h"
#include "../support/Gui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kWidth = 152;   // the bar's width in the main dialog
const int kHeight = 15;
const COLORREF kBar = RGB(0, 0, 255);
const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kTextOnBar = RGB(255, 255, 0);
const COLORREF kTextOnBackground = RGB(255, 0, 0);

// The test prefix draws text without smoothing, so every pixel is one of
// the four colours: a pixel over the bar is bar or its text colour, one
// over the background is background or its text colour.
bool OnBar(COLORREF c)
{
    return c == kBar || c == kTextOnBar;
}
bool OnBackground(COLORREF c)
{
    return c == kBackground || c == kTextOnBackground;
}

// A 24-bit picture in a memory context, to draw into and read back.
class Canvas
{
public:
    Canvas(int cx = kWidth, int cy = kHeight, COLORREF crFill = RGB(128, 128, 128))
        : m_cx(cx), m_cy(cy)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = cx;
        bi.bmiHeader.biHeight = -cy;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        m_hBitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        dc.CreateCompatibleDC(nullptr);
        m_hOld = dc.SelectObject(m_hBitmap);
        RECT rc = {0, 0, cx, cy};
        dc.FillSolidRect(&rc, crFill);
    }
    ~Canvas()
    {
        dc.SelectObject(m_hOld);
        ::DeleteObject(m_hBitmap);
    }
    COLORREF At(int x, int y) const
    {
        const BYTE* p = m_pBits + y * ((m_cx * 3 + 3) & ~3) + x * 3;
        return RGB(p[2], p[1], p[0]);
    }
    std::vector<COLORREF> Pixels() const
    {
        ::GdiFlush();
        std::vector<COLORREF> pixels;
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                pixels.push_back(At(x, y));
        return pixels;
    }
    int Count(COLORREF c) const
    {
        std::vector<COLORREF> p = Pixels();
        return static_cast<int>(std::count(p.begin(), p.end(), c));
    }

    CDC dc;

private:
    int m_cx, m_cy;
    HBITMAP m_hBitmap;
    BYTE* m_pBits = nullptr;
    HGDIOBJ m_hOld;
};

void UseTestColours(CTProgrCtrl& bar)
{
    bar.m_crBar = kBar;
    bar.m_crBackground = kBackground;
    bar.m_crTextOnBar = kTextOnBar;
    bar.m_crTextOnBackground = kTextOnBackground;
}

std::vector<COLORREF> Render(CTProgrCtrl& bar)
{
    Canvas canvas;
    bar.Draw(&canvas.dc, RECT{0, 0, kWidth, kHeight});
    return canvas.Pixels();
}

}  // namespace

// A progress control of the main dialog's size, shown in a pop-up and
// subclassed by the bar under test.
class ProgressBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hParent = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, 220, 60, nullptr,
                                    nullptr, nullptr, nullptr);
        hBar = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 10, kWidth, kHeight, hParent,
                                 reinterpret_cast<HMENU>(1028), nullptr, nullptr);
        ASSERT_TRUE(hBar);
        UseTestColours(bar);
        ASSERT_TRUE(bar.SubclassWindow(hBar));
        gui::Pump(50);
    }
    void TearDown() override { ::DestroyWindow(hParent); }

    // What the window shows now.
    std::vector<COLORREF> Screen(Canvas& canvas)
    {
        HDC hdc = ::GetDC(hBar);
        ::BitBlt(canvas.dc, 0, 0, kWidth, kHeight, hdc, 0, 0, SRCCOPY);
        ::ReleaseDC(hBar, hdc);
        return canvas.Pixels();
    }
    bool HasUpdate() { return ::GetUpdateRect(hBar, nullptr, FALSE) != FALSE; }
    // What the display shows of the bar (under Wine: the X screen, which a
    // window's picture reaches only when it is copied there); false when
    // another window covers it.
    bool Displayed(Canvas& canvas)
    {
        POINT corners[] = {{0, 0}, {kWidth - 1, kHeight - 1}};
        for (POINT& pt : corners) {
            ::ClientToScreen(hBar, &pt);
            if (::WindowFromPoint(pt) != hBar)
                return false;
        }
        HDC hdc = ::GetDC(nullptr);
        ::BitBlt(canvas.dc, 0, 0, kWidth, kHeight, hdc, corners[0].x, corners[0].y, SRCCOPY);
        ::ReleaseDC(nullptr, hdc);
        return true;
    }

    HWND hParent = nullptr;
    HWND hBar = nullptr;
    CTProgrCtrl bar;
};

TEST(ProgressBarObject, IgnoresPositionsWithoutWindow)
{
    CTProgrCtrl bar;
    // Each text colour is the other field's colour.
    EXPECT_EQ(bar.m_crBar, bar.m_crTextOnBackground);
    EXPECT_EQ(bar.m_crBackground, bar.m_crTextOnBar);

    EXPECT_EQ(-1, bar.SetPos(40));
    EXPECT_EQ(-1, bar.StepIt());
    EXPECT_EQ(0, bar.m_nPos);
    bar.SetShowText(FALSE);   // stored for later, nothing to invalidate
    EXPECT_FALSE(bar.m_bShowText);
}

TEST_F(ProgressBarTest, EmptyAndFullBarShowTheirTextInTheContrastingColour)
{
    Canvas canvas;
    bar.SetPos(0);
    std::vector<COLORREF> empty = Screen(canvas);
    EXPECT_EQ(0, canvas.Count(kBar));
    EXPECT_LT(0, canvas.Count(kTextOnBackground)) << "no text over the background";
    EXPECT_EQ(0, std::count_if(empty.begin(), empty.end(), [](COLORREF c) { return !OnBackground(c); }));

    bar.SetPos(100);
    std::vector<COLORREF> full = Screen(canvas);
    EXPECT_EQ(0, canvas.Count(kBackground));
    EXPECT_LT(0, canvas.Count(kTextOnBar)) << "no text over the bar";
    EXPECT_EQ(0, std::count_if(full.begin(), full.end(), [](COLORREF c) { return !OnBar(c); }));
}

TEST_F(ProgressBarTest, TheBarEndsAtItsPositionAndSplitsTheTextThere)
{
    Canvas canvas;
    bar.SetPos(50);
    Screen(canvas);
    EXPECT_EQ(kBar, canvas.At(75, kHeight - 1));
    EXPECT_EQ(kBackground, canvas.At(76, kHeight - 1));
    int nTextLeft = 0, nTextRight = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            COLORREF c = canvas.At(x, y);
            if (x < 76) {
                EXPECT_TRUE(OnBar(c)) << x << "," << y << " " << std::hex << c;
                nTextLeft += c == kTextOnBar;
            } else {
                EXPECT_TRUE(OnBackground(c)) << x << "," << y << " " << std::hex << c;
                nTextRight += c == kTextOnBackground;
            }
        }
    EXPECT_LT(0, nTextLeft);
    EXPECT_LT(0, nTextRight);

    // The same rule wherever the edge cuts through the text's strokes: a
    // split one pixel off shows a stroke pixel in the other field's colour.
    int nStrokesCut = 0;
    for (int nPos = 30; nPos <= 70; ++nPos) {
        bar.SetPos(nPos);
        Canvas drawn;
        bar.Draw(&drawn.dc, RECT{0, 0, kWidth, kHeight});
        ::GdiFlush();
        int nEdge = 0;
        while (nEdge < kWidth && drawn.At(nEdge, kHeight - 1) == kBar)
            ++nEdge;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                ASSERT_TRUE(x < nEdge ? OnBar(drawn.At(x, y)) : OnBackground(drawn.At(x, y)))
                    << "position " << nPos << ", pixel " << x << "," << y;
            nStrokesCut += nEdge > 0 && drawn.At(nEdge - 1, y) == kTextOnBar && drawn.At(nEdge, y) == kTextOnBackground;
        }
    }
    EXPECT_LT(0, nStrokesCut) << "no position put the edge through the text";
}

TEST_F(ProgressBarTest, CaptionReplacesThePercentageUntilItIsEmptied)
{
    const char kCaption[] = "D:\\NOTE\\LIESMICH.TXT";
    bar.SetRange(0, 1000);
    bar.SetPos(999);   // 99.9 %
    std::vector<COLORREF> percentage = Render(bar);

    ::SetWindowTextA(hBar, "99%");
    EXPECT_EQ(percentage, Render(bar)) << "the percentage is cut, not rounded";
    ::SetWindowTextA(hBar, "100%");
    EXPECT_NE(percentage, Render(bar));

    EXPECT_TRUE(::SetWindowTextA(hBar, kCaption));
    EXPECT_NE(percentage, Render(bar));
    EXPECT_EQ(kCaption, gui::Text(hBar));
    EXPECT_EQ(static_cast<int>(sizeof(kCaption)) - 1, ::GetWindowTextLengthA(hBar));

    ::SetWindowTextA(hBar, "");
    EXPECT_EQ(percentage, Render(bar));
    ::SetWindowTextA(hBar, "x");
    ::SendMessageA(hBar, WM_SETTEXT, 0, 0);   // no text at all counts as empty
    EXPECT_EQ(percentage, Render(bar));
    EXPECT_EQ("", gui::Text(hBar));
}

TEST_F(ProgressBarTest, OnlyAChangedCaptionOrTextSwitchInvalidates)
{
    ::ValidateRect(hBar, nullptr);
    ::SetWindowTextA(hBar, "TITEL.V30");
    EXPECT_TRUE(HasUpdate());
    ::ValidateRect(hBar, nullptr);
    ::SetWindowTextA(hBar, "TITEL.V30");
    EXPECT_FALSE(HasUpdate()) << "the same caption again";

    bar.SetShowText(FALSE);
    EXPECT_TRUE(HasUpdate());
    ::ValidateRect(hBar, nullptr);
    bar.SetShowText(FALSE);
    EXPECT_FALSE(HasUpdate());
    bar.SetShowText(TRUE);
    EXPECT_TRUE(HasUpdate());
}

TEST_F(ProgressBarTest, SetPosRepaintsOnlyWhenThePixelWidthChanges)
{
    Canvas canvas;
    bar.SetRange(0, 1000);
    EXPECT_EQ(0, bar.SetPos(500));
    int nPaints = bar.m_nPaintCount;
    std::vector<COLORREF> shown = Screen(canvas);

    EXPECT_EQ(500, bar.SetPos(503));   // 76.5 pixels: still 76
    EXPECT_EQ(nPaints, bar.m_nPaintCount);
    EXPECT_FALSE(HasUpdate());
    EXPECT_EQ(shown, Screen(canvas)) << "the old percentage stays until the width changes";

    EXPECT_EQ(503, bar.StepIt());
    EXPECT_EQ(504, bar.SetPos(507));   // 77 pixels
    EXPECT_EQ(nPaints + 1, bar.m_nPaintCount);
    EXPECT_NE(shown, Screen(canvas));

    // Moved back, the bar is painted shorter at once: 80 % to 10 % ends it
    // at pixel 15.
    bar.SetPos(800);
    bar.SetPos(100);
    Screen(canvas);
    EXPECT_EQ(kBar, canvas.At(14, kHeight - 1));
    EXPECT_EQ(kBackground, canvas.At(15, kHeight - 1));
    EXPECT_EQ(kBackground, canvas.At(121, kHeight - 1));
}

// While paced, a burst of changes paints about once per frame; a change
// that waits shows with the first call after its frame, or at once when
// asked for or when the pacing ends.
TEST_F(ProgressBarTest, PacedPaintsKeepToFramesAndShowWhatStays)
{
    Canvas canvas;
    bar.SetRange(0, kWidth);
    bar.SetPos(0);
    bar.BeginPacedPaints();
    int nPaints = bar.m_nPaintCount;
    LARGE_INTEGER freq, t0, t1;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&t0);
    for (int nPos = 1; nPos <= kWidth; ++nPos) {
        bar.SetPos(nPos);
        ::Sleep(nPos % 8 ? 0 : 1);
    }
    ::QueryPerformanceCounter(&t1);
    double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
    EXPECT_GE(1 + static_cast<int>(ms / CTProgrCtrl::kFrameMs), bar.m_nPaintCount - nPaints)
        << kWidth << " changes in " << ms << " ms";

    // The same position once more, a frame later: the full bar shows.
    ::Sleep(2 * CTProgrCtrl::kFrameMs);
    bar.SetPos(kWidth);
    Screen(canvas);
    EXPECT_EQ(kBar, canvas.At(kWidth - 1, kHeight - 1)) << "the waiting change shows with the next report";
    // A paced paint draws the whole bar: what a new caption invalidated is
    // done with it, not painted once more.
    ::SetWindowTextA(hBar, "D:\\TITEL\\X.D10");
    ::Sleep(2 * CTProgrCtrl::kFrameMs);
    bar.SetPos(kWidth - 1);
    EXPECT_FALSE(HasUpdate());

    // Each shows the change that waits, or else the frame's last paint.
    const struct {
        const char* what;
        void (CTProgrCtrl::*pfnShow)();
        bool bWaiting;
    } shows[] = {{"ShowWaiting", &CTProgrCtrl::ShowWaiting, true},
                 {"ShowWaiting", &CTProgrCtrl::ShowWaiting, false},
                 {"EndPacedPaints", &CTProgrCtrl::EndPacedPaints, false},
                 {"EndPacedPaints", &CTProgrCtrl::EndPacedPaints, true}};
    int nPainted = kWidth / 2;
    for (const auto& show : shows) {
        bar.BeginPacedPaints();
        ::Sleep(2 * CTProgrCtrl::kFrameMs);
        bar.SetPos(++nPainted);   // a frame after the last paint: painted at once
        if (show.bWaiting)
            bar.SetPos(kWidth / 4);   // waits for its frame
        (bar.*show.pfnShow)();
        std::vector<COLORREF> shown = Screen(canvas);
        int nEdge = show.bWaiting ? kWidth / 4 : nPainted;
        EXPECT_EQ(kBar, canvas.At(nEdge - 1, kHeight - 1)) << show.what;
        EXPECT_EQ(kBackground, canvas.At(nEdge, kHeight - 1)) << show.what << " shows the waiting change";
        Canvas display;
        if (Displayed(display))
            EXPECT_EQ(shown, display.Pixels()) << show.what << " leaves the display behind";
        else
            printf("another window covers the bar: what the display shows is not checked\n");
    }
    EXPECT_FALSE(HasUpdate());
}

TEST_F(ProgressBarTest, ResizeForcesTheNextRepaint)
{
    bar.SetPos(50);
    ::SetWindowPos(hBar, nullptr, 0, 0, kWidth, kHeight + 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    gui::Pump(50);
    int nPaints = bar.m_nPaintCount;
    bar.SetPos(50);   // same width as before the resize
    EXPECT_EQ(nPaints + 1, bar.m_nPaintCount);
}

TEST_F(ProgressBarTest, WithoutTextOnlyTheTwoFieldsArePainted)
{
    Canvas canvas;
    bar.SetShowText(FALSE);
    bar.SetPos(50);
    Screen(canvas);
    EXPECT_EQ(76 * kHeight, canvas.Count(kBar));
    EXPECT_EQ((kWidth - 76) * kHeight, canvas.Count(kBackground));
    for (int y = 0; y < kHeight; ++y)
        ASSERT_EQ(kBar, canvas.At(75, y)) << y;
}

TEST_F(ProgressBarTest, EmptyRangePaintsNothingAndLeavesNoUpdate)
{
    bar.SetRange(7, 7);
    Canvas canvas(kWidth, kHeight, RGB(1, 2, 3));
    bar.m_nPos = 7;
    bar.Draw(&canvas.dc, RECT{0, 0, kWidth, kHeight});
    EXPECT_EQ(kWidth * kHeight, canvas.Count(RGB(1, 2, 3)));

    // A paint that left the window invalid would be repeated for ever.
    ::InvalidateRect(hBar, nullptr, TRUE);
    ::SendMessageA(hBar, WM_PAINT, 0, 0);
    ASSERT_FALSE(HasUpdate());
    EXPECT_EQ(7, bar.SetPos(7));
}

TEST(ProgressBarText, FontHeightFollowsPixelsPerInch)
{
    EXPECT_EQ(-10, CTProgrCtrl::FontHeightForDpi(96));
    EXPECT_EQ(-13, CTProgrCtrl::FontHeightForDpi(120));
    EXPECT_EQ(-16, CTProgrCtrl::FontHeightForDpi(144));

    // The paint asks its own context: the text equals one drawn with the
    // height for that context's resolution, and differs from a neighbour.
    CTProgrCtrl bar;
    UseTestColours(bar);
    bar.m_strText = "Mmmm Wwww 0123";
    std::vector<COLORREF> drawn = Render(bar);
    // Which face the font mapper gave the reference, and whether it scales:
    // a failure says so (this test once failed on a busy machine; not
    // reproduced in 30 runs beside other Wine processes, on fresh prefixes
    // too).
    auto face = [](HDC hdc) {
        char szFace[LF_FACESIZE] = "";
        ::GetTextFaceA(hdc, LF_FACESIZE, szFace);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(hdc, &tm);
        return std::string(szFace) + ((tm.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) ? "" : " (bitmap)") +
               " height " + std::to_string(tm.tmHeight);
    };
    std::string referenceFace;
    auto reference = [&](int nHeight) {
        Canvas canvas(kWidth, kHeight, kBackground);
        HFONT hFont = ::CreateFontA(nHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0,
                                    VARIABLE_PITCH | FF_SWISS, nullptr);
        HGDIOBJ hOld = canvas.dc.SelectObject(hFont);
        referenceFace = face(canvas.dc);
        canvas.dc.SetBkMode(TRANSPARENT);
        canvas.dc.SetTextColor(kTextOnBackground);
        RECT rc = {0, 0, kWidth, kHeight};
        canvas.dc.DrawText("Mmmm Wwww 0123", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        canvas.dc.SelectObject(hOld);
        ::DeleteObject(hFont);
        return canvas.Pixels();
    };
    int nDpi = ::GetDeviceCaps(Canvas().dc, LOGPIXELSY);
    EXPECT_EQ(reference(CTProgrCtrl::FontHeightForDpi(nDpi)), drawn)
        << nDpi << " dpi; the reference's font: " << referenceFace;
    EXPECT_NE(reference(CTProgrCtrl::FontHeightForDpi(nDpi) - 3), drawn)
        << "the smaller reference's font: " << referenceFace;
}

TEST_F(ProgressBarTest, GetTextFillsSmallBuffersTerminatedAndNoFurther)
{
    ::SetWindowTextA(hBar, "Kopiere TITEL.V30");
    char buf[16];
    memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(7, ::SendMessageA(hBar, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(buf)));
    EXPECT_STREQ("Kopiere", buf);
    EXPECT_EQ('x', buf[8]);
    EXPECT_EQ(0, ::SendMessageA(hBar, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(buf)));
    EXPECT_EQ('\0', buf[0]);
    buf[0] = 'x';
    EXPECT_EQ(0, ::SendMessageA(hBar, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buf)));
    EXPECT_EQ('x', buf[0]);
    EXPECT_EQ(0, ::SendMessageA(hBar, WM_GETTEXT, 10, 0));

    // A double-byte character is copied whole or not at all.
    const char kShiftJis[] = "\x82\xa0\x82\xa2z";
    EXPECT_EQ(2, CTProgrCtrl::CopyTextBounded(kShiftJis, buf, 4, 932));
    EXPECT_STREQ("\x82\xa0", buf);
    EXPECT_EQ(4, CTProgrCtrl::CopyTextBounded(kShiftJis, buf, 5, 932));
    EXPECT_EQ(3, CTProgrCtrl::CopyTextBounded(kShiftJis, buf, 4, 1252));
    EXPECT_EQ(2, CTProgrCtrl::CopyTextBounded("a\x82", buf, sizeof(buf), 932)) << "lone lead byte at the end";
}

TEST(ProgressBarMemDC, CopiesTheClipBoxOnceAndLeavesTheRestAlone)
{
    CTProgrCtrl bar;
    UseTestColours(bar);
    bar.m_nPos = 50;
    std::vector<COLORREF> direct = Render(bar);

    // A partial repaint: only x >= 40 is to be drawn; into a picture of its
    // own, and into a kept one that a smaller paint made first.
    COffscreen kept;
    {
        Canvas first(8, 8);
        CMemDC memDC(&first.dc, &kept);
        RECT rc = {0, 0, 8, 8};
        memDC.FillSolidRect(&rc, RGB(9, 9, 9));
    }
    for (COffscreen* pOffscreen : {static_cast<COffscreen*>(nullptr), &kept}) {
        SCOPED_TRACE(pOffscreen ? "kept picture" : "picture of its own");
        Canvas target;
        ::IntersectClipRect(target.dc, 40, 0, kWidth, kHeight);
        std::vector<COLORREF> before = target.Pixels();
        {
            CMemDC memDC(&target.dc, pOffscreen);
            ASSERT_TRUE(memDC.m_bMemDC);
            bar.Draw(&memDC, RECT{0, 0, kWidth, kHeight});
            EXPECT_EQ(before, target.Pixels()) << "drawn off-screen, not on the target";
        }
        std::vector<COLORREF> after = target.Pixels();
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                size_t i = static_cast<size_t>(y * kWidth + x);
                ASSERT_EQ(x < 40 ? before[i] : direct[i], after[i]) << x << "," << y;
            }
    }
}

TEST(ProgressBarMemDC, PrinterContextIsDrawnOnDirectlyAndKept)
{
    Canvas target;
    target.dc.m_bPrinting = TRUE;
    {
        CMemDC memDC(&target.dc);
        EXPECT_FALSE(memDC.m_bMemDC);
        RECT rc = {0, 0, 10, 10};
        memDC.FillSolidRect(&rc, kBar);
        EXPECT_EQ(kBar, target.At(5, 5));
    }
    EXPECT_EQ(OBJ_MEMDC, ::GetObjectType(target.dc)) << "the target's context was released";
}
