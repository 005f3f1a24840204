// What a window of the core offers its host: the host hands every message
// addressed to the window to WindowProc, after offering key and character
// messages to PreTranslateMessage.
#pragma once

#include "platform/Message.h"

namespace platform {

class WindowClient {
public:
    virtual ~WindowClient() = default;
    /// Dispatches one message through the window's message table.
    virtual LResult WindowProc(const Message& message) = 0;
    /// Sees a message before it is dispatched; may change it. True means it
    /// was consumed and is not dispatched.
    virtual bool PreTranslateMessage(Message& message) = 0;
};

}  // namespace platform
