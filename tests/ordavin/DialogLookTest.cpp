// How the programs' dialogs come out on the screen of the test prefix: every
// static text fits its control in the dialog's font, and the caption's close
// box shows the close symbol. Both depend on the fonts the system has.
#include "MainDialogFixture.h"

#include <algorithm>
#include <sstream>

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

// DrawText's format for the text of a static control as the control draws
// it; 0 for statics that show no text (icons, bitmaps, frames).
UINT TextFormat(LONG_PTR style)
{
    UINT format = DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    switch (style & SS_TYPEMASK) {
    case SS_LEFT: return format | DT_LEFT | DT_WORDBREAK;
    case SS_CENTER: return format | DT_CENTER | DT_WORDBREAK;
    case SS_RIGHT: return format | DT_RIGHT | DT_WORDBREAK;
    case SS_LEFTNOWORDWRAP: return format | DT_LEFT;
    case SS_SIMPLE: return format | DT_LEFT | DT_SINGLELINE;
    default: return 0;
    }
}

// Checks each static text of hDlg against its control's size; returns how
// many were measured.
int ExpectTextsFit(HWND hDlg)
{
    int measured = 0;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char cls[16] = "";
        ::GetClassNameA(h, cls, sizeof(cls));
        std::string text = gui::Text(h);
        UINT format = TextFormat(::GetWindowLongPtrA(h, GWL_STYLE));
        if (lstrcmpiA(cls, "Static") != 0 || text.empty() || format == 0)
            continue;
        RECT rcCtl = {};
        ::GetClientRect(h, &rcCtl);
        RECT rc = {0, 0, rcCtl.right, 0};
        HDC hdc = ::GetDC(h);
        HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageA(h, WM_GETFONT, 0, 0)));
        ::DrawTextA(hdc, text.c_str(), -1, &rc, format);
        ::SelectObject(hdc, hOld);
        ::ReleaseDC(h, hdc);
        ++measured;
        EXPECT_TRUE(rc.right <= rcCtl.right && rc.bottom <= rcCtl.bottom)
            << "control " << ::GetDlgCtrlID(h) << " \"" << text << "\" needs " << rc.right << "x" << rc.bottom
            << " px, has " << rcCtl.right << "x" << rcCtl.bottom;
    }
    return measured;
}

// Whether pixel (x, y) of the window's DC is dark (the symbol's colour).
bool Dark(HDC hdc, int x, int y)
{
    COLORREF c = ::GetPixel(hdc, x, y);
    return c != CLR_INVALID && GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
}

}  // namespace

// Each dialog as the executables carry it, made by the system from the
// template alone.
TEST(DialogLookTest, EveryStaticTextFitsItsControl)
{
    const struct {
        const char* exe;
        int id;
    } dialogs[] = {
        {ORDAVIN_EXE_PATH, IDD_ORDAVIN_DIALOG},
        {ORDAVIN_EXE_PATH, IDD_ABOUTBOX},
        {ORDAVIN_EXE_PATH, IDD_NOTES},
        {VELMORA_EXE_PATH, 102},   // Velmora's IDD_VELMORA_DIALOG
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(std::string(d.exe) + ", dialog " + std::to_string(d.id));
        HMODULE hExe = ::LoadLibraryExA(testenv::HostPath(d.exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, hExe);
        HWND hDlg = ::CreateDialogParamA(hExe, MAKEINTRESOURCEA(d.id), nullptr, PlainDialogProc, 0);
        EXPECT_NE(nullptr, hDlg);
        if (hDlg) {
            EXPECT_LT(0, ExpectTextsFit(hDlg));
            ::DestroyWindow(hDlg);
        }
        ::FreeLibrary(hExe);
    }
}

// The close box of the main dialog's caption holds an X: dark at the
// corners and the centre of its symbol, and the same when mirrored. A
// letter drawn in its place (as without the symbol font) is not.
TEST_F(MainDialogTest, CloseBoxShowsTheCloseSymbol)
{
    OpenDialog();
    ::RedrawWindow(hDlg, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    gui::Pump(100);
    // The button lies at the right end of the caption, inside the frame
    // (as wide as the client area's offset); its edges are left out.
    RECT rcWnd = {}, rcClient = {};
    ::GetWindowRect(hDlg, &rcWnd);
    ::GetClientRect(hDlg, &rcClient);
    ::MapWindowPoints(hDlg, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
    int frame = rcClient.left - rcWnd.left;
    int right = rcWnd.right - rcWnd.left - frame - 2;
    RECT box = {right - ::GetSystemMetrics(SM_CXSIZE) + 5, frame + 5, right - 3,
                frame + ::GetSystemMetrics(SM_CYSIZE) - 5};
    HDC hdc = ::GetWindowDC(hDlg);
    RECT sym = {box.right, box.bottom, box.left - 1, box.top - 1};   // the dark pixels' bounds
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (Dark(hdc, x, y)) {
                sym.left = std::min<LONG>(sym.left, x), sym.right = std::max<LONG>(sym.right, x);
                sym.top = std::min<LONG>(sym.top, y), sym.bottom = std::max<LONG>(sym.bottom, y);
            }
    std::ostringstream picture;   // the box as text, for the failure message
    int asymmetric = 0;
    for (int y = box.top; y < box.bottom; ++y, picture << "\n")
        for (int x = box.left; x < box.right; ++x) {
            bool dark = Dark(hdc, x, y);
            picture << (dark ? '#' : '.');
            int mx = sym.left + sym.right - x;
            if (dark && !Dark(hdc, mx, y) && !Dark(hdc, mx - 1, y) && !Dark(hdc, mx + 1, y))
                ++asymmetric;
        }
    auto darkNear = [&](int x, int y) {
        return Dark(hdc, x, y) || Dark(hdc, x + 1, y) || Dark(hdc, x - 1, y) || Dark(hdc, x, y + 1) ||
               Dark(hdc, x, y - 1);
    };
    int cx = (sym.left + sym.right) / 2, cy = (sym.top + sym.bottom) / 2;
    EXPECT_TRUE(sym.right - sym.left >= 4 && sym.bottom - sym.top >= 4 && asymmetric == 0 && darkNear(cx, cy) &&
                darkNear(sym.left, sym.top) && darkNear(sym.right, sym.top) && darkNear(sym.left, sym.bottom) &&
                darkNear(sym.right, sym.bottom))
        << asymmetric << " pixels without a mirror image; the close box:\n" << picture.str();
    ::ReleaseDC(hDlg, hdc);
}
