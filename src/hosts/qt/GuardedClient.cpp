#include "hosts/qt/GuardedClient.h"

#include <QtGlobal>

#include <exception>

using namespace platform;

namespace qthost {
namespace {

template <typename Call, typename Result>
Result Guard(const Message& message, Call call, Result dropped) {
    try {
        return call();
    } catch (const std::exception& e) {
        qWarning("bytewren: message %u dropped: %s", message.message, e.what());
    } catch (...) {
        qWarning("bytewren: message %u dropped: unknown exception", message.message);
    }
    return dropped;
}

}  // namespace

LResult GuardedClient::WindowProc(const Message& message) {
    return Guard(
        message, [&] { return m_client.WindowProc(message); }, LResult(0));
}

bool GuardedClient::PreTranslateMessage(Message& message) {
    return Guard(
        message, [&] { return m_client.PreTranslateMessage(message); }, true);
}

}  // namespace qthost
