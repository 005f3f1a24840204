// bytewren: the desktop program. The whole life of the program is one modal
// run of the main window, which the application object starts.
#include <QApplication>

#include <string>
#include <vector>

#include "app/MainApp.h"
#include "app/Resources.h"
#include "hosts/qt/Icons.h"
#include "hosts/qt/QtApplication.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);  // takes Qt's own options out of argv
    QApplication::setWindowIcon(qthost::IconForId(IDR_MAINFRAME));
    QGuiApplication::setDesktopFileName(QStringLiteral("bytewren"));

    // The shell has split and unquoted the arguments already.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    qthost::QtApplication app(platform::CommandLine::FromArguments(std::move(arguments)));

    CMainApp theApp;
    theApp.InitInstance(app);
    return 0;
}
