#include "PlainGdi.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "hosts/win32/FontCache.h"
#include "hosts/win32/GdiSurface.h"
#include "platform/StatefulSurface.h"
#include "platform/TextLayout.h"

using platform::Rect;

namespace bench {

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(),
                                        int(wide.size()));
    wide.resize(size_t(std::max(n, 0)));
    return wide;
}

/// A surface that keeps what is drawn on it instead of drawing it: the
/// fills in order, the characters gathered by row, font and colour.
class Recorder final : public platform::StatefulSurface {
public:
    Recorder(HDC dc, GdiFrame& frame) : m_dc(dc), m_frame(frame) { FontChanged(); }

    int DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) override {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(m_dc, &metrics);
        const std::vector<platform::TextLine> lines =
            platform::LayoutText(text, rect, format, metrics.tmHeight,
                                 [&](const std::string& shown) { return Extent(shown).cx; });
        for (const platform::TextLine& line : lines) {
            if (m_mode == platform::BkMode::Opaque) {
                const Rect area = line.extent.Intersect(rect);
                if (!area.IsEmpty()) FillArea(area, m_bk);
            }
            int x = line.extent.left;
            for (char c : line.shown) {
                const std::string one(1, c);
                const int advance = Extent(one).cx;
                Add(Wide(one), POINT{x, line.extent.top}, advance);
                x += advance;
            }
        }
        return int(lines.size()) * metrics.tmHeight;
    }
    platform::Size GetTextExtent(const std::string& text) override {
        const SIZE size = Extent(platform::VisibleText(text, true));
        return {int(size.cx), int(size.cy)};
    }

    /// The text runs after the fills, which is where they end up.
    void Finish() {
        for (auto& [key, step] : m_runs) m_frame.steps.push_back(std::move(step));
        m_runs.clear();
    }

private:
    SIZE Extent(const std::string& shown) {
        const std::wstring wide = Wide(shown);
        SIZE size{};
        ::GetTextExtentPoint32W(m_dc, wide.data(), int(wide.size()), &size);
        return size;
    }
    void Add(const std::wstring& text, POINT at, int advance) {
        if (text.empty()) return;
        const COLORREF colour = win32host::ToColorRef(m_text);
        GdiFrame::Step& run = m_runs[{at.y, m_fontIndex, colour}];
        if (run.text.empty()) {
            run.origin = at;
            run.colour = colour;
            run.font = m_fontIndex;
        } else {
            run.dx.back() = at.x - m_lastX[{at.y, m_fontIndex, colour}];
        }
        m_lastX[{at.y, m_fontIndex, colour}] = at.x;
        run.text += text;
        run.dx.push_back(advance);
    }
    void FillArea(const Rect& r, platform::Color c) override {
        GdiFrame::Step step;
        step.fill = win32host::ToRect(r);
        step.colour = win32host::ToColorRef(c);
        m_frame.steps.push_back(step);
    }
    void FontChanged() override {
        const auto known = std::find(m_frame.fonts.begin(), m_frame.fonts.end(), CurrentFont());
        m_fontIndex = size_t(known - m_frame.fonts.begin());
        if (known == m_frame.fonts.end()) m_frame.fonts.push_back(CurrentFont());
        if (HFONT font = m_fonts.Get(CurrentFont())) ::SelectObject(m_dc, font);
    }

    using RunKey = std::tuple<int, size_t, COLORREF>;
    HDC m_dc;
    GdiFrame& m_frame;
    win32host::FontCache m_fonts;
    size_t m_fontIndex = 0;
    std::map<RunKey, GdiFrame::Step> m_runs;
    std::map<RunKey, int> m_lastX;
};

}  // namespace

GdiFrame Record(HWND window, const std::function<void(platform::Surface&)>& paint) {
    GdiFrame frame;
    HDC screen = ::GetDC(window);
    HDC dc = ::CreateCompatibleDC(screen);
    const HGDIOBJ original = ::GetCurrentObject(dc, OBJ_FONT);
    {
        Recorder recorder(dc, frame);
        paint(recorder);
        recorder.Finish();
    }
    ::SelectObject(dc, original);
    ::DeleteDC(dc);
    ::ReleaseDC(window, screen);
    return frame;
}

void DrawPlain(HWND window, SIZE size, const GdiFrame& frame) {
    static win32host::FontCache fonts;  // made once, as a program keeps its fonts
    HDC screen = ::GetDC(window);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
    const HGDIOBJ previousBitmap = ::SelectObject(dc, bitmap);
    const HGDIOBJ previousFont = ::GetCurrentObject(dc, OBJ_FONT);
    ::SetBkMode(dc, TRANSPARENT);
    for (const GdiFrame::Step& step : frame.steps) {
        if (step.text.empty()) {
            ::SetBkColor(dc, step.colour);
            ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &step.fill, nullptr, 0, nullptr);
            continue;
        }
        ::SelectObject(dc, fonts.Get(frame.fonts[step.font]));
        ::SetTextColor(dc, step.colour);
        ::ExtTextOutW(dc, step.origin.x, step.origin.y, 0, nullptr, step.text.data(),
                      UINT(step.text.size()), step.dx.data());
    }
    ::BitBlt(screen, 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY);
    ::SelectObject(dc, previousFont);
    ::SelectObject(dc, previousBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(window, screen);
}

}  // namespace bench
