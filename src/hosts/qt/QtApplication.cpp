#include "hosts/qt/QtApplication.h"

namespace qthost {

QtApplication::QtApplication(platform::CommandLine commandLine, Presenters presenters)
    : m_commandLine(std::move(commandLine)), m_presenters(presenters) {}

QtApplication::~QtApplication() = default;

QtMainWindowHost* QtApplication::Open(platform::DialogClient& dialog) {
    auto host = std::make_unique<QtMainWindowHost>(dialog, m_commandLine, m_presenters);
    if (!host->Open()) return nullptr;
    m_windows.push_back(std::move(host));
    return m_windows.back().get();
}

int QtApplication::RunModal(platform::DialogClient& dialog) {
    QtMainWindowHost* host = Open(dialog);
    if (!host) return -1;
    const int result = host->Exec();
    host->Destroy();
    return result;
}

}  // namespace qthost
