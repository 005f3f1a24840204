#include "PlainPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <map>
#include <tuple>

#include "hosts/qt/LatinGlyphs.h"
#include "hosts/qt/QtFonts.h"
#include "hosts/qt/TextConversion.h"
#include "platform/StatefulSurface.h"
#include "platform/TextLayout.h"

using platform::Rect;

namespace bench {

namespace {

struct TextLine {
    size_t order;  // where it was drawn among the fills
    Rect extent;
    std::string shown;
    QColor colour;
    int font;
};

/// A surface that keeps what is drawn on it instead of drawing it.
class Recorder final : public platform::StatefulSurface {
public:
    explicit Recorder(PlainFrame& frame) : m_frame(frame) { FontChanged(); }

    int DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) override {
        const QFontMetrics metrics(m_frame.fonts[size_t(m_font)]);
        const std::vector<platform::TextLine> lines = platform::LayoutText(
            text, rect, format, metrics.height(),
            [&](const std::string& shown) { return m_glyphs->WidthOf(shown); });
        for (const platform::TextLine& line : lines) {
            if (m_mode == platform::BkMode::Opaque && line.extent.Width() > 0) {
                FillArea(line.extent, m_bk);
            }
            if (line.shown.empty()) continue;
            texts.push_back({m_frame.steps.size(), line.extent, line.shown,
                             QColor(m_text.r, m_text.g, m_text.b), m_font});
            m_frame.steps.emplace_back();  // the run's place, filled in later
        }
        return int(lines.size()) * metrics.height();
    }
    platform::Size GetTextExtent(const std::string& text) override {
        return {m_glyphs->WidthOf(platform::VisibleText(text, true)),
                QFontMetrics(m_frame.fonts[size_t(m_font)]).height()};
    }

    std::vector<TextLine> texts;

private:
    void FillArea(const Rect& r, platform::Color c) override {
        PlainFrame::Step step;
        step.fill = QRect(r.left, r.top, r.Width(), r.Height());
        step.colour = QColor(c.r, c.g, c.b);
        m_frame.steps.push_back(step);
    }
    void FontChanged() override {
        const auto known = std::find(m_known.begin(), m_known.end(), CurrentFont());
        m_font = int(known - m_known.begin());
        if (known == m_known.end()) {
            m_known.push_back(CurrentFont());
            m_frame.fonts.push_back(qthost::ResolveFont(CurrentFont()));
        }
        m_glyphs = &qthost::LatinGlyphsOf(m_frame.fonts[size_t(m_font)]);
    }

    PlainFrame& m_frame;
    std::vector<platform::Font> m_known;
    int m_font = 0;
    const qthost::LatinGlyphs* m_glyphs = nullptr;
};

/// Joins the lines of each row into runs of one colour, left to right, with
/// spaces standing in for the gaps; a run is drawn where its last line was,
/// after the fills behind all of its lines.
void JoinRuns(std::vector<TextLine> texts, PlainFrame& frame) {
    std::stable_sort(texts.begin(), texts.end(), [](const TextLine& a, const TextLine& b) {
        return std::tie(a.extent.top, a.font, a.extent.left) <
               std::tie(b.extent.top, b.font, b.extent.left);
    });
    for (size_t first = 0; first < texts.size();) {
        const TextLine& head = texts[first];
        const QFontMetrics metrics(frame.fonts[size_t(head.font)]);
        const int space = metrics.horizontalAdvance(QLatin1Char(' '));
        QString run = qthost::FromLatin1(head.shown);
        int right = head.extent.right;
        size_t last = first + 1;
        size_t order = head.order;
        for (; last < texts.size(); ++last) {
            const TextLine& next = texts[last];
            const int gap = next.extent.left - right;
            if (next.extent.top != head.extent.top || next.font != head.font ||
                next.colour != head.colour || gap < 0 || gap % space != 0) {
                break;
            }
            run += QString(gap / space, QLatin1Char(' ')) + qthost::FromLatin1(next.shown);
            right = next.extent.right;
            order = std::max(order, next.order);
        }
        PlainFrame::Step& step = frame.steps[order];
        step.colour = head.colour;
        step.text = run;
        step.baseline = QPoint(head.extent.left, head.extent.top + metrics.ascent());
        step.font = head.font;
        first = last;
    }
}

}  // namespace

PlainFrame Record(const std::function<void(platform::Surface&)>& paint) {
    PlainFrame frame;
    Recorder recorder(frame);
    paint(recorder);
    JoinRuns(std::move(recorder.texts), frame);
    // Places of lines that joined a run drawn later stay empty.
    std::erase_if(frame.steps,
                  [](const PlainFrame::Step& s) { return s.text.isEmpty() && s.fill.isNull(); });
    return frame;
}

void DrawPlain(QImage& image, const PlainFrame& frame) {
    QPainter p(&image);
    int font = -1;
    for (const PlainFrame::Step& step : frame.steps) {
        if (step.text.isEmpty()) {
            p.fillRect(step.fill, step.colour);
            continue;
        }
        if (step.font != font) p.setFont(frame.fonts[size_t(font = step.font)]);
        p.setPen(step.colour);
        p.drawText(step.baseline, step.text);
    }
}

}  // namespace bench
