// A full repaint of a 1920 x 1080 view in the Qt front end (offscreen
// platform), at 16 and 48 bytes per row: median and spread of the paint
// event, which draws the whole screen into the off-screen image and copies it.
#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "app/MainDlg.h"
#include "hosts/qt/QtApplication.h"
#include "hosts/qt/QtViewHost.h"
#include "hosts/qt/ViewWidget.h"

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    std::printf("view %dx%d\n", widget->width(), widget->height());
    for (int bytesPerRow : {16, 48}) {
        while (view.m_nBytesPerRow < bytesPerRow) view.ChangeColumns(+1);
        view.m_wndScrollBar->SetScrollPos(1000, true);
        view.m_nSelStart = 1000 * bytesPerRow + 40;
        view.m_nSelEnd = view.m_nSelStart + 200;
        std::vector<double> ms;
        for (int i = 0; i < 60; ++i) {
            QElapsedTimer timer;
            timer.start();
            widget->repaint();
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::printf("Qt repaint 1920x1080, %d bytes per row: median %.2f ms, min %.2f, max %.2f\n",
                    bytesPerRow, Median(ms), *std::min_element(ms.begin(), ms.end()),
                    *std::max_element(ms.begin(), ms.end()));
    }
    host->Destroy();
    return 0;
}
