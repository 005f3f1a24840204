// The last line between the Windows message loop and the core. The core
// handles its own failures; an exception that still escapes it must not
// unwind through the system's window procedures, which do not support
// exceptions. It is reported on standard error and to the debugger, and the
// message that raised it is dropped.
#pragma once

#include <exception>

namespace win32host {

/// Reports a message dropped because handling it threw.
void ReportDroppedMessage(unsigned message, const char* what);

/// call(), or fallback when it throws.
template <typename Call, typename Result>
Result Guarded(unsigned message, Call call, Result fallback) {
    try {
        return call();
    } catch (const std::exception& e) {
        ReportDroppedMessage(message, e.what());
    } catch (...) {
        ReportDroppedMessage(message, "unknown exception");
    }
    return fallback;
}

}  // namespace win32host
