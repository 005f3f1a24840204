// The drawing contract of platform::Surface, run against both the headless
// RasterSurface and the Qt surface, the latter at device pixel ratios 1 and
// 2: what each operation may and may not touch. Glyph shapes differ between
// them; the places they land do not.
#include <QTest>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <memory>

#include "hosts/headless/RasterSurface.h"
#include "hosts/qt/QtFonts.h"
#include "hosts/qt/QtSurface.h"

using namespace platform;

namespace {

const Color kCanvas = Rgb(0, 0, 255);
const Color kBack = Rgb(255, 0, 0);
const Color kInk = Rgb(0, 255, 0);
const Color kEdge = Rgb(40, 40, 40);
const Font kView{"Lucida Console", 100};
constexpr int kW = 200;
constexpr int kH = 120;

/// A surface under test with a way to read its pixels back.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual Surface& S() = 0;
    virtual Color At(int x, int y) = 0;

    /// Pixels inside r (clipped to the canvas) not of the canvas colour.
    int Touched(const Rect& r) {
        int n = 0;
        for (int y = std::max(0, r.top); y < std::min(kH, r.bottom); ++y) {
            for (int x = std::max(0, r.left); x < std::min(kW, r.right); ++x)
                n += !(At(x, y) == kCanvas);
        }
        return n;
    }
    int Count(const Rect& r, Color c) {
        int n = 0;
        for (int y = std::max(0, r.top); y < std::min(kH, r.bottom); ++y) {
            for (int x = std::max(0, r.left); x < std::min(kW, r.right); ++x) n += At(x, y) == c;
        }
        return n;
    }
    int TouchedOutside(const Rect& r) { return Touched({0, 0, kW, kH}) - Touched(r); }
};

class RasterCanvas final : public Canvas {
public:
    RasterCanvas() : m_raster(kW, kH, kCanvas), m_surface(&m_raster) {}
    Surface& S() override { return m_surface; }
    Color At(int x, int y) override { return m_raster.At(x, y); }

private:
    headless::Raster m_raster;
    headless::RasterSurface m_surface;
};

/// At a ratio of 2, a logical pixel is four device pixels: it reads as
/// their colour when all four agree, else as kMixed.
class QtCanvas final : public Canvas {
public:
    explicit QtCanvas(int ratio) : m_ratio(ratio), m_surface(QSize(kW, kH), ratio) {
        m_surface.FillSolidRect({0, 0, kW, kH}, kCanvas);
    }
    Surface& S() override { return m_surface; }
    Color At(int x, int y) override {
        const QImage& image = m_surface.Image();
        const QRgb p = image.pixel(x * m_ratio, y * m_ratio);
        for (int dy = 0; dy < m_ratio; ++dy) {
            for (int dx = 0; dx < m_ratio; ++dx) {
                if (image.pixel(x * m_ratio + dx, y * m_ratio + dy) != p) return kMixed;
            }
        }
        return Rgb(qRed(p), qGreen(p), qBlue(p));
    }

    static constexpr Color kMixed = Rgb(1, 2, 3);

private:
    const int m_ratio;
    qthost::QtSurface m_surface;
};

std::unique_ptr<Canvas> Make(const QString& kind) {
    std::unique_ptr<Canvas> c;
    if (kind == "raster") c = std::make_unique<RasterCanvas>();
    else c = std::make_unique<QtCanvas>(kind == "qt at ratio 2" ? 2 : 1);
    c->S().SelectFont(kView);
    c->S().SetBkColor(kBack);
    c->S().SetTextColor(kInk);
    return c;
}

}  // namespace

class SurfaceContractTest : public QObject {
    Q_OBJECT
private slots:
    void opaqueTextFillsExactlyItsExtent_data() { Surfaces(); }
    void opaqueTextFillsExactlyItsExtent();
    void transparentTextFillsNothing_data() { Surfaces(); }
    void transparentTextFillsNothing();
    void framesAreOnePixelInsideTheRect_data() { Surfaces(); }
    void framesAreOnePixelInsideTheRect();
    void threeDFramesColourTopLeftAndBottomRight_data() { Surfaces(); }
    void threeDFramesColourTopLeftAndBottomRight();
    void textIsClippedToItsRect_data() { Surfaces(); }
    void textIsClippedToItsRect();
    void alignment_data() { Surfaces(); }
    void alignment();
    void prefixesLinesAndControlCharacters_data() { Surfaces(); }
    void prefixesLinesAndControlCharacters();
    void viewFontHasWholePixelCells();
    void textAtRatioTwoIsDrawnInDevicePixels();

private:
    void Surfaces() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("raster") << QString("raster");
        QTest::newRow("qt") << QString("qt");
        QTest::newRow("qt at ratio 2") << QString("qt at ratio 2");
    }
};

void SurfaceContractTest::opaqueTextFillsExactlyItsExtent() {
    QFETCH(QString, kind);
    auto c = Make(kind);
    const Size e = c->S().GetTextExtent("AB");
    QCOMPARE(e.cx, 2 * c->S().GetTextExtent("A").cx);
    const int height = c->S().DrawTextInRect("AB", {10, 20, 150, 100}, dt::Left);
    QCOMPARE(height, e.cy);
    const Rect extent{10, 20, 10 + e.cx, 20 + e.cy};
    QCOMPARE(c->Touched(extent), e.cx * e.cy);
    QCOMPARE(c->TouchedOutside(extent), 0);
    QVERIFY(c->Count(extent, kBack) > 0);
    QVERIFY(c->Count(extent, kBack) < e.cx * e.cy);  // the glyphs are in the ink
}

void SurfaceContractTest::transparentTextFillsNothing() {
    QFETCH(QString, kind);
    auto c = Make(kind);
    QCOMPARE(c->S().SetBkMode(BkMode::Transparent), BkMode::Opaque);
    const Size e = c->S().GetTextExtent("A B");
    c->S().DrawTextInRect("A B", {10, 20, 150, 100}, dt::Left);
    QCOMPARE(c->Count({0, 0, kW, kH}, kBack), 0);
    QVERIFY(c->Touched({10, 20, 10 + e.cx / 3, 20 + e.cy}) > 0);
    QCOMPARE(c->Touched({10 + e.cx / 3, 20, 10 + 2 * e.cx / 3, 20 + e.cy}), 0);  // the space
    QCOMPARE(c->TouchedOutside({10, 20, 10 + e.cx, 20 + e.cy}), 0);
}

void SurfaceContractTest::framesAreOnePixelInsideTheRect() {
    QFETCH(QString, kind);
    auto c = Make(kind);
    const Rect r{5, 6, 25, 16};
    c->S().FrameRect(r, kEdge);
    QCOMPARE(c->Count(r, kEdge), 2 * 20 + 2 * 8);
    QCOMPARE(c->Touched({6, 7, 24, 15}), 0);
    QCOMPARE(c->TouchedOutside(r), 0);
    QCOMPARE(c->S().SetBkColor(kBack), kBack);  // a frame leaves the background colour
    c->S().FrameRect({40, 40, 40, 60}, kEdge);  // empty: nothing
    QCOMPARE(c->Count({0, 0, kW, kH}, kEdge), 56);

    c->S().FillSolidRect({50, 50, 60, 55}, kInk);
    QCOMPARE(c->Count({50, 50, 60, 55}, kInk), 50);
    QCOMPARE(c->S().SetBkColor(kBack), kInk);  // a fill leaves its colour as background
}

void SurfaceContractTest::threeDFramesColourTopLeftAndBottomRight() {
    QFETCH(QString, kind);
    auto c = Make(kind);
    const Rect r{10, 10, 20, 18};
    c->S().Draw3dRect(r, kInk, kEdge);
    for (int x = 10; x < 19; ++x) QCOMPARE(c->At(x, 10), kInk);
    for (int y = 10; y < 17; ++y) QCOMPARE(c->At(10, y), kInk);
    for (int y = 10; y < 18; ++y) QCOMPARE(c->At(19, y), kEdge);
    for (int x = 10; x < 20; ++x) QCOMPARE(c->At(x, 17), kEdge);
    QCOMPARE(c->Touched({11, 11, 19, 17}), 0);
    QCOMPARE(c->TouchedOutside(r), 0);
    QCOMPARE(c->S().SetBkColor(kBack), kEdge);
}

void SurfaceContractTest::textIsClippedToItsRect() {
    QFETCH(QString, kind);
    auto c = Make(kind);
    const Rect r{10, 10, 30, 20};
    c->S().DrawTextInRect("WWWWWWWWWW", r, dt::Left);
    QCOMPARE(c->TouchedOutside(r), 0);
    QCOMPARE(c->Touched(r), r.Width() * r.Height());
    c->S().DrawTextInRect("text", {50, 50, 50, 80}, dt::Left);  // an empty rect shows nothing
    QCOMPARE(c->TouchedOutside(r), 0);
}

void SurfaceContractTest::alignment() {
    QFETCH(QString, kind);
    const struct {
        unsigned format;
        const char* name;
    } cases[] = {
        {dt::Center, "centre"},
        {dt::Right, "right"},
        {dt::Center | dt::VCenter | dt::SingleLine, "middle"},
        {dt::Right | dt::Bottom | dt::SingleLine, "bottom right"},
        {dt::VCenter, "vcenter needs single line"},
    };
    for (const auto& k : cases) {
        auto c = Make(kind);
        const Size e = c->S().GetTextExtent("abc");
        const Rect r{20, 10, 180, 110};
        c->S().DrawTextInRect("abc", r, k.format);
        int x = r.left;
        if (k.format & dt::Center) x = r.left + (r.Width() - e.cx) / 2;
        if (k.format & dt::Right) x = r.right - e.cx;
        int y = r.top;
        if ((k.format & dt::SingleLine) && (k.format & dt::VCenter))
            y = r.top + (r.Height() - e.cy) / 2;
        if ((k.format & dt::SingleLine) && (k.format & dt::Bottom)) y = r.bottom - e.cy;
        const Rect extent{x, y, x + e.cx, y + e.cy};
        QVERIFY2(c->Touched(extent) == e.cx * e.cy, k.name);
        QVERIFY2(c->TouchedOutside(extent) == 0, k.name);
    }
}

void SurfaceContractTest::prefixesLinesAndControlCharacters() {
    QFETCH(QString, kind);
    const int cw = Make(kind)->S().GetTextExtent("M").cx;
    const int ch = Make(kind)->S().GetTextExtent("M").cy;
    const struct {
        const char* text;
        unsigned format;
        int widthInCells;
        int lines;
    } cases[] = {
        {"&&A", dt::Left, 2, 1},
        {"&A", dt::Left, 1, 1},
        {"&A", dt::NoPrefix, 2, 1},
        {"A&", dt::Left, 1, 1},
        {"A\x01\x7f"
         "B",
         dt::Left, 2, 1},
        {"AB\r\nC\nDEF", dt::Left, 3, 3},
        {"AB\rC", dt::Left, 2, 2},
        {"AB\r\nC", dt::SingleLine, 3, 1},
    };
    for (const auto& k : cases) {
        auto c = Make(kind);
        const int height = c->S().DrawTextInRect(k.text, {0, 0, kW, kH}, k.format);
        QCOMPARE(height, k.lines * ch);
        // The background shows where text stands: its box is the widest
        // line's cells over all lines.
        int right = 0, bottom = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                if (c->At(x, y) == kCanvas) continue;
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
        }
        QVERIFY2(right == k.widthInCells * cw, k.text);
        QVERIFY2(bottom == k.lines * ch, k.text);
    }
}

void SurfaceContractTest::viewFontHasWholePixelCells() {
    qthost::QtSurface measure;
    measure.SelectFont(kView);
    QCOMPARE(QFontInfo(measure.CurrentQFont()).family(), QString("DejaVu Sans Mono"));
    const Size zero = measure.GetTextExtent("0");
    QCOMPARE(zero.cx, 8);
    QCOMPARE(measure.GetTextExtent(std::string(100, '0')).cx, 800);  // no drift
    const headless::FontMetrics fixed = headless::MetricsFor(kView);
    QCOMPARE(zero.cy, fixed.cellHeight);
}

void SurfaceContractTest::textAtRatioTwoIsDrawnInDevicePixels() {
    // The same text drawn by a plain QPainter on an image of that ratio: its
    // glyphs have edges one device pixel wide, not the 2 x 2 blocks of a
    // picture drawn at logical size and scaled up.
    const std::string text = "Offset 0x2E, hex B3 & Wg";
    const QPoint at(3, 2);
    qthost::QtSurface ours(QSize(kW, 20), 2.0);
    ours.SelectFont(kView);
    ours.FillSolidRect({0, 0, kW, 20}, Rgb(0, 0, 0));
    ours.SetBkMode(BkMode::Transparent);
    ours.SetTextColor(Rgb(255, 255, 255));
    ours.DrawTextInRect(text, {at.x(), at.y(), kW, 20}, dt::NoPrefix);
    const QImage& got = ours.Image();
    QCOMPARE(got.size(), QSize(2 * kW, 40));

    QImage plain(got.size(), QImage::Format_RGB32);
    plain.setDevicePixelRatio(2.0);
    plain.fill(Qt::black);
    {
        QPainter p(&plain);
        const QFont font = qthost::ResolveFont(kView);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(at + QPoint(0, QFontMetrics(font).ascent()), QString::fromStdString(text));
    }
    QCOMPARE(got, plain);

    int blocksOfTwoShades = 0;
    for (int y = 0; y < got.height(); y += 2) {
        for (int x = 0; x < got.width(); x += 2) {
            const QRgb p = got.pixel(x, y);
            blocksOfTwoShades += got.pixel(x + 1, y) != p || got.pixel(x, y + 1) != p ||
                                 got.pixel(x + 1, y + 1) != p;
        }
    }
    QVERIFY(blocksOfTwoShades > 50);
}

QTEST_MAIN(SurfaceContractTest)
#include "SurfaceContractTest.moc"
