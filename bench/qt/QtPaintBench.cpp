// A full repaint of a 1920 x 1080 view in the Qt front end (offscreen
// platform), at 16 and 48 bytes per row and, at 16, also at a device pixel
// ratio of 2, next to the same screen drawn the plain way: one QPainter on a
// new QImage of the same size and ratio, with the same fills and one
// drawText per row and colour run (PlainPainter.h). Each is timed in turns
// in the same run, so a busy machine slows both alike.
//
// Prints rows of the benchmark table for our drawing into the off-screen
// image, which is what the plain way does too; the whole paint event
// (drawing, copying the image to the window, the scroll bar) is shown on a
// comment line beside it.
#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "../Table.h"
#include "PlainPainter.h"
#include "app/MainDlg.h"
#include "hosts/qt/QtApplication.h"
#include "hosts/qt/QtSurface.h"
#include "hosts/qt/QtViewHost.h"
#include "hosts/qt/ViewWidget.h"

namespace {

constexpr int kRounds = 100;

template <typename F>
double Milliseconds(F f) {
    QElapsedTimer timer;
    timer.start();
    f();
    return double(timer.nsecsElapsed()) / 1e6;
}

double MedianSeconds(const std::vector<double>& milliseconds) {
    return bench::Median(milliseconds) / 1e3;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qapp(argc, argv);

    const std::string path =
        (std::filesystem::temp_directory_path() / "bytewren-qt-paint.bin").string();
    {
        std::mt19937 random(7);
        std::vector<char> bytes(32 << 20);
        for (char& b : bytes) b = char(random());
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }

    qthost::QtApplication app;
    CMainDlg dlg;
    qthost::QtMainWindowHost* host = app.Open(dlg);
    if (!host) return 1;
    host->Widget()->show();
    host->Widget()->resize(1920 + 18, 1080 + host->Widget()->MenuBarHeight(1920));
    QApplication::processEvents();
    CHexView& view = dlg.m_hexView;
    if (!view.LoadFile(path)) return 1;
    std::filesystem::remove(path);

    QWidget* widget = host->View().Widget();
    const platform::Rect dump = view.DumpRect();
    const QSize size(dump.Width(), dump.Height());
    std::printf("# Qt view %dx%d, medians of %d repaints\n", widget->width(), widget->height(),
                kRounds);
    bool ok = true;
    // The screen as drawn for an ordinary display, and for one at twice its
    // logical size (QT_SCALE_FACTOR=2), where both ways draw four times the
    // pixels.
    const struct {
        int bytesPerRow;
        qreal ratio;
    } cases[] = {{16, 1.0}, {16, 2.0}, {48, 1.0}};
    for (const auto& c : cases) {
        const int bytesPerRow = c.bytesPerRow;
        while (view.m_nBytesPerRow < bytesPerRow) view.ChangeColumns(+1);
        view.m_wndScrollBar->SetScrollPos(1000, true);
        view.m_nSelStart = 1000 * bytesPerRow + 40;
        view.m_nSelEnd = view.m_nSelStart + 200;
        view.m_nCaret = view.m_nSelStart + 70;
        view.m_ptMouse = {view.m_nHexLeft + 4, view.m_nCellWidth + 4};
        const bench::PlainFrame frame =
            bench::Record([&](platform::Surface& s) { view.DrawScreen(s); });

        std::vector<double> repaint, draw, plain;
        for (int i = 0; i < kRounds; ++i) {
            if (c.ratio == 1.0) repaint.push_back(Milliseconds([&] { widget->repaint(); }));
            draw.push_back(Milliseconds([&] {
                qthost::QtSurface buffer(size, c.ratio);
                view.DrawScreen(buffer);
                buffer.Image();
            }));
            plain.push_back(Milliseconds([&] {
                QImage image(size * c.ratio, QImage::Format_RGB32);
                image.setDevicePixelRatio(c.ratio);
                bench::DrawPlain(image, frame);
            }));
        }
        const std::string figure = std::string("Qt repaint 1920 x 1080") +
                                   (c.ratio == 1.0 ? "" : " logical at ratio 2") + ", " +
                                   std::to_string(bytesPerRow) + " bytes per row";
        const std::string baseline =
            c.ratio == 1.0 ? "plain QPainter" : "plain QPainter at ratio 2";
        ok &= bench::TimeRow(figure, {MedianSeconds(draw), MedianSeconds(plain)}, baseline, 1.5);
        if (!repaint.empty()) {
            std::printf("# %s, the whole paint event: %.2f ms\n", figure.c_str(),
                        bench::Median(repaint));
        }
    }
    host->Destroy();
    return ok ? 0 : 1;
}
