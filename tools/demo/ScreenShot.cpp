#include "ScreenShot.h"

namespace demo {

RECT BoundsOf(const std::vector<HWND>& windows, int nMargin)
{
    RECT bounds = {};
    for (HWND h : windows) {
        RECT rc;
        if (::GetWindowRect(h, &rc))
            ::UnionRect(&bounds, &bounds, &rc);
    }
    if (::IsRectEmpty(&bounds))
        return bounds;
    ::InflateRect(&bounds, nMargin, nMargin);
    RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::IntersectRect(&bounds, &bounds, &screen);
    return bounds;
}

bool SaveScreenBmp(const RECT& rc, const std::string& path)
{
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0)
        return false;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;   // bottom-up, as a BMP file stores it
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    const DWORD cbRow = (static_cast<DWORD>(cx) * 3 + 3) & ~3u;
    const DWORD cbBits = cbRow * static_cast<DWORD>(cy);
    bmi.bmiHeader.biSizeImage = cbBits;

    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    bool ok = false;
    if (hMem && hBitmap) {
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        ok = ::BitBlt(hMem, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY) != FALSE;
        ::SelectObject(hMem, hOld);
        ::GdiFlush();
    }
    if (ok) {
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;   // "BM"
        file.bfOffBits = sizeof(file) + sizeof(bmi.bmiHeader);
        file.bfSize = file.bfOffBits + cbBits;
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ok = h != INVALID_HANDLE_VALUE && ::WriteFile(h, &file, sizeof(file), &written, nullptr) &&
             ::WriteFile(h, &bmi.bmiHeader, sizeof(bmi.bmiHeader), &written, nullptr) &&
             ::WriteFile(h, pBits, cbBits, &written, nullptr) && written == cbBits;
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
    if (hBitmap)
        ::DeleteObject(hBitmap);
    if (hMem)
        ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return ok;
}

COLORREF ScreenPixel(POINT pt)
{
    HDC hScreen = ::GetDC(nullptr);
    COLORREF color = ::GetPixel(hScreen, pt.x, pt.y);
    ::ReleaseDC(nullptr, hScreen);
    return color;
}

}  // namespace demo
