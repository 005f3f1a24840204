// A font selected into a surface for the life of a scope; the font that was
// selected before comes back whichever way the scope ends.
#pragma once

#include "platform/Font.h"
#include "platform/Surface.h"

class ScopedFont {
public:
    ScopedFont(platform::Surface& dc, const platform::Font& font)
        : m_dc(dc), m_previous(dc.SelectFont(font)) {}
    ~ScopedFont() { m_dc.SelectFont(m_previous); }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

private:
    platform::Surface& m_dc;
    platform::Font m_previous;
};
