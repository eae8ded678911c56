// Pictures of the screen for the demo's walk-through.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace demo {

// The smallest rectangle that holds the windows, widened by nMargin pixels
// and kept on the screen; empty when no window is given.
RECT BoundsOf(const std::vector<HWND>& windows, int nMargin);

// Copies that rectangle of the screen (GDI: the screen's device context
// into a 24-bit DIB section) and writes it as a BMP file; false when the
// file cannot be written.
bool SaveScreenBmp(const RECT& rc, const std::string& path);

// The colour the screen shows at a point (CLR_INVALID off the screen).
COLORREF ScreenPixel(POINT pt);

}  // namespace demo
