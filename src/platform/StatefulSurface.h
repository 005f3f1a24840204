// The device-context state every surface keeps (text and background colours,
// background mode, font) and the frames, built on one unclipped fill.
#pragma once

#include "platform/Surface.h"

namespace platform {

class StatefulSurface : public Surface {
public:
    void FillSolidRect(const Rect& rect, Color colour) override;
    void FrameRect(const Rect& rect, Color colour) override;
    void Draw3dRect(const Rect& rect, Color topLeft, Color bottomRight) override;
    Color SetTextColor(Color colour) override;
    Color SetBkColor(Color colour) override;
    BkMode SetBkMode(BkMode mode) override;
    Font SelectFont(const Font& font) override;

    Color TextColor() const { return m_text; }
    Color BkColor() const { return m_bk; }
    BkMode Mode() const { return m_mode; }
    const Font& CurrentFont() const { return m_font; }

protected:
    /// Fills rect with colour; changes no state.
    virtual void FillArea(const Rect& rect, Color colour) = 0;
    /// Called after SelectFont changed m_font.
    virtual void FontChanged() {}

    Color m_text{};
    Color m_bk = Rgb(255, 255, 255);
    BkMode m_mode = BkMode::Opaque;
    Font m_font{"System", 100};
};

}  // namespace platform
