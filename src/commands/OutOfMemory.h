// Copy and paste make temporary blocks as large as the selection or the
// clipboard's text: the clipboard text, the bytes read from it, the text for
// the clipboard. When one cannot be allocated, the operation ends where it
// stands, before it has changed anything, and says nothing, as when the
// clipboard cannot be read. A failed reallocation of the image itself is not
// such a case: InsertBytes reports it and unloads the image.
#pragma once

#include <new>

/// Runs operation; a std::bad_alloc from it ends it silently.
template <typename Operation>
void IfMemoryAllows(Operation&& operation) {
    try {
        operation();
    } catch (const std::bad_alloc&) {}
}
