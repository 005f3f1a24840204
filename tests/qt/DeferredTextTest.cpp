// The Qt surface holds text back and draws it in runs of one colour when the
// picture is taken or when something would paint over it. Every screen of
// the view, and every order of fills and overlapping texts, must come out
// pixel for pixel as when each text is drawn the moment it is asked for, at
// the device pixel ratios of ordinary, fractionally scaled and doubled
// screens.
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <fstream>
#include <functional>
#include <vector>

#include "app/MainDlg.h"
#include "hosts/qt/LatinGlyphs.h"
#include "hosts/qt/QtApplication.h"
#include "hosts/qt/QtFonts.h"
#include "hosts/qt/QtSurface.h"
#include "hosts/qt/ViewWidget.h"

using namespace platform;
using qthost::QtSurface;

namespace {

/// A Qt surface that takes its picture after every text, so each one lands
/// before the next operation: the reference the batching must reproduce.
class DrawnAtOnce final : public Surface {
public:
    DrawnAtOnce(QSize size, qreal ratio) : m_surface(size, ratio) {}

    void FillSolidRect(const Rect& r, Color c) override { m_surface.FillSolidRect(r, c); }
    void FrameRect(const Rect& r, Color c) override { m_surface.FrameRect(r, c); }
    void Draw3dRect(const Rect& r, Color a, Color b) override { m_surface.Draw3dRect(r, a, b); }
    Color SetTextColor(Color c) override { return m_surface.SetTextColor(c); }
    Color SetBkColor(Color c) override { return m_surface.SetBkColor(c); }
    BkMode SetBkMode(BkMode m) override { return m_surface.SetBkMode(m); }
    Font SelectFont(const Font& f) override { return m_surface.SelectFont(f); }
    Size GetTextExtent(const std::string& text) override { return m_surface.GetTextExtent(text); }
    int DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) override {
        const int height = m_surface.DrawTextInRect(text, rect, format);
        m_surface.Image();
        return height;
    }
    const QImage& Image() { return m_surface.Image(); }

private:
    QtSurface m_surface;
};

constexpr qreal kRatios[] = {1.0, 1.5, 2.0};

/// Paints with both surfaces at each ratio and compares; on a difference,
/// says where.
void ExpectSamePicture(QSize size, const std::function<void(Surface&)>& paint, const char* name) {
    for (const qreal ratio : kRatios) {
        QtSurface batched(size, ratio);
        DrawnAtOnce reference(size, ratio);
        paint(batched);
        paint(reference);
        const QImage& got = batched.Image();
        const QImage& want = reference.Image();
        int differing = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < got.height(); ++y) {
            for (int x = 0; x < got.width(); ++x) {
                if (got.pixel(x, y) == want.pixel(x, y)) continue;
                if (differing++ == 0) first = QPoint(x, y);
            }
        }
        const QByteArray where =
            QByteArray(name) + " at ratio " + QByteArray::number(ratio) + ": " +
            QByteArray::number(differing) + " device pixels differ, the first at " +
            QByteArray::number(first.x()) + "," + QByteArray::number(first.y());
        QVERIFY2(differing == 0, where.constData());
    }
}

/// How many colours a picture holds: a screen with text has dozens.
int ColoursIn(const QImage& image) {
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
    }
    return int(seen.size());
}

/// The main window at a given size, its view showing an image that holds
/// every byte value next to many different neighbours.
struct ShownView {
    ShownView(int width, int height) {
        host = app.Open(dlg);
        host->Widget()->show();
        host->Widget()->resize(width + SCROLLBAR_WIDTH,
                               height + host->Widget()->MenuBarHeight(width));
        QCoreApplication::processEvents();
        const QString path = dir.filePath("all-bytes.bin");
        std::vector<char> bytes(64 * 1024);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 97 / 2 + i / 256);
        std::ofstream(path.toStdString(), std::ios::binary)
            .write(bytes.data(), std::streamsize(bytes.size()));
        loaded = view().LoadFile(path.toStdString());
    }
    ~ShownView() { host->Destroy(); }
    CHexView& view() { return dlg.m_hexView; }
    QSize size() {
        const Rect r = view().DumpRect();
        return QSize(r.Width(), r.Height());
    }
    void Expect(const char* name) {
        ExpectSamePicture(
            size(), [&](Surface& s) { view().DrawScreen(s); }, name);
    }

    QTemporaryDir dir;
    qthost::QtApplication app;
    CMainDlg dlg;
    qthost::QtMainWindowHost* host = nullptr;
    bool loaded = false;
};

}  // namespace

class DeferredTextTest : public QObject {
    Q_OBJECT
private slots:
    void dumpScreens();
    void panelsAndWelcome();
    void fillsAndOverlappingTextsKeepTheirOrder();
    void everyCharacterStaysInsideItsMeasuredInk();
};

void DeferredTextTest::dumpScreens() {
    ShownView shown(1700, 520);
    QVERIFY(shown.loaded);
    CHexView& v = shown.view();
    for (int bytesPerRow : {16, 48}) {
        while (v.m_nBytesPerRow < bytesPerRow) v.ChangeColumns(+1);
        v.m_wndScrollBar->SetScrollPos(3, true);
        v.m_nSelStart = uint32_t(3 * bytesPerRow + 5);
        v.m_nSelEnd = v.m_nSelStart + uint32_t(4 * bytesPerRow);
        v.m_nCaret = v.m_nSelStart + 9;
        v.m_ptMouse = {v.m_nCharLeft + 3, v.m_nCellWidth + 2 * v.m_nRowHeight + 3};
        for (int fade : {1, 2, 0}) {
            v.SetFadeMode(fade);
            const QByteArray name = "dump " + QByteArray::number(bytesPerRow) +
                                    " bytes per row, fading " + QByteArray::number(fade);
            shown.Expect(name.constData());
        }
    }
    v.m_ptMouse = {-1, -1};
    shown.Expect("dump with a ready status line");

    QtSurface screen(shown.size());
    v.DrawScreen(screen);
    QVERIFY(ColoursIn(screen.Image()) > 100);  // faded text, not a blank picture
}

void DeferredTextTest::panelsAndWelcome() {
    ShownView shown(1000, 400);
    QVERIFY(shown.loaded);
    CHexView& v = shown.view();
    v.m_nSelStart = v.m_nSelEnd = v.m_nCaret = 0x41;

    v.m_bLoading = true;
    v.m_nFileProgress = 37;
    shown.Expect("loading");
    v.m_bLoading = false;
    v.m_bSaving = true;
    v.m_nFileProgress = 100;
    shown.Expect("saving");
    v.m_bSaving = false;

    v.m_bBitEdit = true;
    std::strcpy(v.m_szBits, "0110 1");
    shown.Expect("bit edit");
    v.m_bBitEdit = false;

    v.m_bInputPanel = true;
    v.m_nSearchMode = SEARCH_TEXT;
    v.m_strInput = "Tom & Jerry";
    v.m_strPanelMsg = "Searching...";
    v.m_bSearching = true;
    v.m_dSearchProgress = 42.5;
    shown.Expect("search running");
    v.m_bSearching = false;
    v.m_nSearchMode = SEARCH_OFFSET;
    v.m_strInput = "1F0";
    v.m_strPanelMsg = "Offset not found";
    shown.Expect("jump to offset");
    v.LeaveAllModes();

    v.m_image.Release();
    shown.Expect("welcome");
}

void DeferredTextTest::fillsAndOverlappingTextsKeepTheirOrder() {
    const Color red = Rgb(255, 0, 0), green = Rgb(0, 200, 0), blue = Rgb(40, 40, 255);
    ExpectSamePicture(
        QSize(160, 60),
        [&](Surface& s) {
            s.SelectFont({"Lucida Console", 100});
            s.FillSolidRect({0, 0, 160, 60}, Rgb(0, 0, 0));
            s.SetBkMode(BkMode::Transparent);
            // Texts of two colours over each other, then the first colour again.
            s.SetTextColor(red);
            s.DrawTextInRect("WWWW", {10, 10, 160, 60}, dt::Left);
            s.SetTextColor(green);
            s.DrawTextInRect("MMMM", {13, 12, 160, 60}, dt::Left);
            s.SetTextColor(red);
            s.DrawTextInRect("OOOO", {15, 11, 160, 60}, dt::Left);
            // A text cut by its rectangle, drawn over held-back text.
            s.SetTextColor(green);
            s.DrawTextInRect("WWWWWW", {8, 14, 30, 22}, dt::Left);
            // A fill over part of a glyph, an opaque text over another, and a
            // frame through a third.
            s.SetTextColor(blue);
            s.DrawTextInRect("gjy_", {50, 30, 160, 60}, dt::Left);
            s.FillSolidRect({52, 34, 58, 48}, green);
            s.SetBkMode(BkMode::Opaque);
            s.SetTextColor(red);
            s.DrawTextInRect("Ay", {60, 38, 160, 60}, dt::Left);
            s.FrameRect({66, 28, 90, 50}, blue);
        },
        "overlaps");
}

void DeferredTextTest::everyCharacterStaysInsideItsMeasuredInk() {
    // Each character, then a frame hugging the pixels it was measured to
    // change: a glyph reaching past them is painted over by its frame when
    // drawn at once, but would be drawn over the frame if held back. The
    // characters stand at odd and even places, which at a fractional ratio
    // fall on and between device pixels.
    for (const Font& font : {Font{"Lucida Console", 100}, Font{qthost::kDialogFace, 80}}) {
        const QFont qfont = qthost::ResolveFont(font);
        const int pitch = 3 * QFontMetrics(qfont).height() + 1;
        for (const qreal ratio : kRatios) {
            const qthost::LatinGlyphs& glyphs = qthost::LatinGlyphsOf(qfont, ratio);
            const QSize size(16 * pitch, 16 * pitch);
            QtSurface batched(size, ratio);
            DrawnAtOnce reference(size, ratio);
            for (Surface* s :
                 {static_cast<Surface*>(&batched), static_cast<Surface*>(&reference)}) {
                s->SelectFont(font);
                s->FillSolidRect({0, 0, size.width(), size.height()}, Rgb(0, 0, 0));
                s->SetBkMode(BkMode::Transparent);
                for (int c = 0x20; c < 0x100; ++c) {
                    const int x = (c % 16) * pitch + pitch / 3 + c % 2;
                    const int y = (c / 16) * pitch + pitch / 3 + c / 16 % 2;
                    s->SetTextColor(Rgb(0, 75 + c % 180, 0));
                    s->DrawTextInRect(std::string(1, char(c)), {x, y, x + pitch, y + pitch},
                                      dt::NoPrefix);
                    const Rect ink = glyphs.ink[size_t(c)];
                    const int baseline = y + QFontMetrics(qfont).ascent();
                    if (ink.IsEmpty()) continue;
                    s->FrameRect({x + ink.left - 1, baseline + ink.top - 1, x + ink.right + 1,
                                  baseline + ink.bottom + 1},
                                 Rgb(200, 0, 200));
                }
            }
            const QByteArray name =
                QByteArray(font.face.c_str()) + " at ratio " + QByteArray::number(ratio);
            QVERIFY2(batched.Image() == reference.Image(), name.constData());
        }
    }
}

QTEST_MAIN(DeferredTextTest)
#include "DeferredTextTest.moc"
