// The last line between Qt's event loop and the core. The core handles its
// own failures; an exception that still escapes it must not unwind through
// Qt's event handling, which does not support exceptions. It is reported on
// standard error as a warning (which fails the Qt tests) and the message
// that raised it is dropped.
#pragma once

#include "platform/WindowClient.h"

namespace qthost {

class GuardedClient final : public platform::WindowClient {
public:
    explicit GuardedClient(platform::WindowClient& client) : m_client(client) {}

    /// The client's WindowProc; 0 when it threw.
    platform::LResult WindowProc(const platform::Message& message) override;
    /// The client's PreTranslateMessage; consumed when it threw, so that
    /// nothing further acts on the message.
    bool PreTranslateMessage(platform::Message& message) override;

private:
    platform::WindowClient& m_client;
};

}  // namespace qthost
