#include "hosts/qt/XcbClipboard.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace qthost {
namespace {

using Clock = std::chrono::steady_clock;

/// Property values are read in pieces of this many 32-bit units (4 MiB).
constexpr uint32_t kReadLongs = 1u << 20;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

/// One connection to the display, closed when it goes.
class Connection {
public:
    explicit Connection(const char* display) : m_c(xcb_connect(display, &m_screen)) {}
    ~Connection() { xcb_disconnect(m_c); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    xcb_connection_t* get() const { return m_c; }
    bool Failed() const { return xcb_connection_has_error(m_c) != 0; }

    /// The root window of the connection's screen, or XCB_NONE.
    xcb_window_t Root() const {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_c));
        for (int i = 0; i < m_screen && it.rem; ++i) xcb_screen_next(&it);
        return it.rem ? it.data->root : XCB_NONE;
    }

private:
    int m_screen = 0;
    xcb_connection_t* m_c;
};

struct Atoms {
    xcb_atom_t clipboard = XCB_NONE;
    xcb_atom_t utf8 = XCB_NONE;
    xcb_atom_t incr = XCB_NONE;
    xcb_atom_t property = XCB_NONE;  // where owners put their answers for us
};

std::optional<Atoms> InternAtoms(xcb_connection_t* c) {
    const char* names[] = {"CLIPBOARD", "UTF8_STRING", "INCR", "BYTEWREN_CLIPBOARD"};
    xcb_intern_atom_cookie_t cookies[4];
    for (int i = 0; i < 4; ++i) {
        cookies[i] = xcb_intern_atom(c, 0, uint16_t(std::strlen(names[i])), names[i]);
    }
    xcb_atom_t atoms[4];
    for (int i = 0; i < 4; ++i) {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
        if (!reply) return std::nullopt;
        atoms[i] = reply->atom;
    }
    return Atoms{atoms[0], atoms[1], atoms[2], atoms[3]};
}

/// The next event that `wanted` accepts, or null once the deadline has
/// passed or the connection has failed. Other events are dropped.
template <typename Wanted>
Reply<xcb_generic_event_t> WaitForEvent(xcb_connection_t* c, Clock::time_point deadline,
                                        Wanted wanted) {
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            Reply<xcb_generic_event_t> owned(event);
            if (wanted(*owned)) return owned;
        }
        if (xcb_connection_has_error(c)) return nullptr;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return nullptr;
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&fd, 1, int(left.count()));
    }
}

uint8_t EventType(const xcb_generic_event_t& event) { return event.response_type & 0x7F; }

/// Reads a property whole and deletes it, appending its value to out.
/// Returns its type (XCB_NONE when there is no such property), or none when
/// the server gave no answer.
std::optional<xcb_atom_t> TakeProperty(xcb_connection_t* c, xcb_window_t window,
                                       xcb_atom_t property, std::pmr::string& out) {
    for (uint32_t offset = 0;;) {
        // The server deletes the property with the read that reaches its end.
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c,
            xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, offset, kReadLongs),
            nullptr));
        if (!reply) return std::nullopt;
        const int length = xcb_get_property_value_length(reply.get());
        out.append(static_cast<const char*>(xcb_get_property_value(reply.get())), size_t(length));
        if (reply->bytes_after == 0) return reply->type;
        offset += uint32_t(length) / 4;
    }
}

/// Receives a text sent in pieces: the owner writes each piece once we
/// have deleted the previous one, and an empty piece ends the text.
bool ReceiveIncrementally(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                          std::chrono::milliseconds patience, std::pmr::string& out) {
    for (;;) {
        const auto newValue = [&](const xcb_generic_event_t& event) {
            if (EventType(event) != XCB_PROPERTY_NOTIFY) return false;
            const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            return notify.window == window && notify.atom == property &&
                   notify.state == XCB_PROPERTY_NEW_VALUE;
        };
        if (!WaitForEvent(c, Clock::now() + patience, newValue)) return false;
        const size_t before = out.size();
        if (!TakeProperty(c, window, property, out)) return false;
        if (out.size() == before) return true;
    }
}

enum class Conversion { Done, Refused, Failed };

/// Asks the owner to convert the clipboard to target and reads the answer
/// into out. Refused: the owner has no text of that type. Failed: it did
/// not answer in time, or the transfer broke off.
Conversion Convert(xcb_connection_t* c, xcb_window_t window, const Atoms& atoms, xcb_atom_t target,
                   std::chrono::milliseconds patience, std::pmr::string& out) {
    xcb_convert_selection(c, window, atoms.clipboard, target, atoms.property, XCB_CURRENT_TIME);
    xcb_flush(c);
    const auto answer = [&](const xcb_generic_event_t& event) {
        if (EventType(event) != XCB_SELECTION_NOTIFY) return false;
        const auto& notify = reinterpret_cast<const xcb_selection_notify_event_t&>(event);
        return notify.requestor == window && notify.selection == atoms.clipboard;
    };
    Reply<xcb_generic_event_t> event = WaitForEvent(c, Clock::now() + patience, answer);
    if (!event) return Conversion::Failed;
    const auto& notify = reinterpret_cast<const xcb_selection_notify_event_t&>(*event);
    if (notify.property == XCB_NONE) return Conversion::Refused;

    const std::optional<xcb_atom_t> type = TakeProperty(c, window, atoms.property, out);
    if (!type) return Conversion::Failed;
    if (*type == atoms.incr) {
        // The value is a lower bound of the text's length; the text follows.
        uint32_t hint = 0;
        if (out.size() >= sizeof hint) std::memcpy(&hint, out.data(), sizeof hint);
        out.clear();
        out.reserve(hint);
        const bool whole = ReceiveIncrementally(c, window, atoms.property, patience, out);
        return whole ? Conversion::Done : Conversion::Failed;
    }
    return *type == target ? Conversion::Done : Conversion::Refused;
}

}  // namespace

std::optional<std::pmr::string> ReadXcbClipboard(const char* display,
                                                 std::chrono::milliseconds patience,
                                                 std::pmr::memory_resource* memory) {
    Connection connection(display);
    if (connection.Failed()) return std::nullopt;
    xcb_connection_t* c = connection.get();
    const xcb_window_t root = connection.Root();
    const std::optional<Atoms> atoms = InternAtoms(c);
    if (root == XCB_NONE || !atoms) return std::nullopt;

    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atoms->clipboard), nullptr));
    if (!owner || owner->owner == XCB_NONE) return std::nullopt;

    // A window only to receive the answers; it goes with the connection.
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, 0, window, root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);

    std::pmr::string text(memory);
    Conversion result = Convert(c, window, *atoms, XCB_ATOM_STRING, patience, text);
    if (result == Conversion::Refused) {
        text.clear();
        result = Convert(c, window, *atoms, atoms->utf8, patience, text);
        if (result == Conversion::Done) Utf8ToLatin1(text);
    }
    if (result != Conversion::Done) return std::nullopt;
    if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

void Utf8ToLatin1(std::pmr::string& text) {
    // Every character takes at least as many bytes in UTF-8 as in Latin-1,
    // so the output never overtakes the input.
    const size_t size = text.size();
    size_t out = 0;
    for (size_t i = 0; i < size;) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80                   ? 1
                              : lead >= 0xC2 && lead < 0xE0 ? 2
                              : lead >= 0xE0 && lead < 0xF0 ? 3
                              : lead >= 0xF0 && lead < 0xF5 ? 4
                                                            : 0;
        bool whole = length > 0 && i + length <= size;
        for (size_t k = 1; whole && k < length; ++k) {
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        }
        if (!whole) {
            text[out++] = '?';
            ++i;
            continue;
        }
        unsigned code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        }
        text[out++] = code <= 0xFF ? char(code) : '?';
        i += length;
    }
    text.resize(out);
}

}  // namespace qthost
