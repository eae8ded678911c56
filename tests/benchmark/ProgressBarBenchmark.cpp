// How the progress bar bears a copy callback's pace: a million rising
// positions on a bar of the main dialog's width. Prints the figures.
#include "../../ordavin/ui/TProgrCtrl.h"
#include "../support/Gui.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(ProgressBarBenchmark, MillionRisingPositionsPaintOncePerPixel)
{
    const int kWidth = 152;
    const int kCalls = 1000000;
    HWND hParent = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, 220, 60,
                                     nullptr, nullptr, nullptr, nullptr);
    HWND hBar = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 10, kWidth, 15, hParent,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(hBar);
    CTProgrCtrl bar;
    ASSERT_TRUE(bar.SubclassWindow(hBar));
    ::SetWindowTextA(hBar, "D:\\TITEL\\TITEL.V30");
    bar.SetRange(0, kCalls);
    bar.SetPos(0);
    gui::Pump(50);

    int nPaintsBefore = bar.m_nPaintCount;
    LARGE_INTEGER freq, start, end;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&start);
    for (int i = 1; i <= kCalls; ++i)
        bar.SetPos(i);
    ::QueryPerformanceCounter(&end);
    int nPaints = bar.m_nPaintCount - nPaintsBefore;
    double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);

    printf("SetPos calls: %d, paints: %d, total: %.1f ms, per call: %.1f ns\n", kCalls, nPaints, ms,
           ms * 1e6 / kCalls);
    RecordProperty("paints", nPaints);
    RecordProperty("ns_per_call", static_cast<int>(ms * 1e6 / kCalls));
    // Widths 1 to 152 each appear once: one paint each, never more.
    EXPECT_LE(nPaints, kWidth + 1);
    EXPECT_EQ(kWidth, nPaints) << "a width change that did not paint";
    ::DestroyWindow(hParent);
}
