// The yardstick for the Windows repaint: the same screen drawn the plain way
// with GDI. A paint of the view is recorded once; the replay makes the same
// fills into a memory device context, draws the same characters with one
// ExtTextOutW per row and colour run, and copies the bitmap to the window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Font.h"
#include "platform/Surface.h"

namespace bench {

struct GdiFrame {
    struct Step {
        RECT fill{};  // filled with colour when text is empty
        COLORREF colour = 0;
        std::wstring text;    // one row and colour run
        std::vector<INT> dx;  // the advance after each character
        POINT origin{};       // top left of the run's first character
        size_t font = 0;      // index into fonts
    };
    std::vector<platform::Font> fonts;
    std::vector<Step> steps;
};

/// Records what paint draws, measured in window's fonts: every fill, and
/// every run of characters of one row, colour and font.
GdiFrame Record(HWND window, const std::function<void(platform::Surface&)>& paint);

/// Draws a recorded frame of the given size into a new memory device
/// context compatible with window's and copies it to the window.
void DrawPlain(HWND window, SIZE size, const GdiFrame& frame);

}  // namespace bench
