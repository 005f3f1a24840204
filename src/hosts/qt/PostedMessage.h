// A window message posted to a window's queue: a Qt event that carries it
// until the window's event handler hands it to the core.
#pragma once

#include <QEvent>

#include "platform/DropFiles.h"
#include "platform/Message.h"

namespace qthost {

class PostedMessageEvent final : public QEvent {
public:
    explicit PostedMessageEvent(const platform::Message& message)
        : QEvent(EventType()), m_message(message) {}
    const platform::Message& Message() const { return m_message; }

    static QEvent::Type EventType() {
        static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
        return type;
    }

private:
    platform::Message m_message;
};

/// Files dropped on a window, handed over once the drag has finished.
class PostedDropEvent final : public QEvent {
public:
    explicit PostedDropEvent(platform::DroppedFiles files)
        : QEvent(EventType()), m_files(std::move(files)) {}
    platform::DroppedFiles& Files() { return m_files; }

    static QEvent::Type EventType() {
        static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
        return type;
    }

private:
    platform::DroppedFiles m_files;
};

}  // namespace qthost
