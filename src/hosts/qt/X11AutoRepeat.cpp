#include "hosts/qt/X11AutoRepeat.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
// The header names two fields "explicit", a keyword of C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>

namespace qthost {
namespace {

/// A reply of xcb, freed with free().
template <typename T>
struct Reply {
    explicit Reply(T* reply) : p(reply) {}
    ~Reply() { std::free(p); }
    Reply(const Reply&) = delete;
    Reply& operator=(const Reply&) = delete;
    T* p;
};

}  // namespace

bool RequestDetectableAutoRepeat() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return false;
    // A request of an extension the server lacks would close the connection.
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    if (!xkb || !xkb->present) return false;
    // The server answers XKB requests only after this handshake; repeating
    // it on a connection that made it already changes nothing.
    Reply use(xcb_xkb_use_extension_reply(
        c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
    if (!use.p || !use.p->supported) return false;
    const uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    Reply flags(xcb_xkb_per_client_flags_reply(
        c, xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0), nullptr));
    return flags.p && (flags.p->supported & flag) && (flags.p->value & flag);
}

}  // namespace qthost
