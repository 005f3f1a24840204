// The glyphs of the 256 Latin-1 characters in one font, with their advances
// and the pixels each one touches, so that drawing a short string needs no
// text layout and text held back for later knows what it will cover. Places
// and advances are in logical pixels; the glyphs are drawn at a device pixel
// ratio, which decides what they touch.
#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>

#include <array>
#include <string>

#include "platform/Shapes.h"

namespace qthost {

struct LatinGlyphs {
    QRawFont raw;
    std::array<quint32, 256> glyph{};
    std::array<int, 256> advance{};
    /// The logical pixels the glyph changes (in part) when drawn with its
    /// origin at (0, 0) on the baseline; empty when it has no ink.
    std::array<platform::Rect, 256> ink{};
    bool complete = true;  // every printable character has a glyph of its own

    /// The advance of a line of visible characters.
    int WidthOf(const std::string& shown) const;
    /// The pixels a line of visible characters changes, drawn from baseline.
    platform::Rect InkOf(const std::string& shown, QPoint baseline) const;
    /// Appends the glyphs of a line drawn from baseline, with their places
    /// in image coordinates; characters without ink are left out.
    void Place(const std::string& shown, QPoint baseline, QList<quint32>& indexes,
               QList<QPointF>& positions) const;
};

/// The table of a font drawn at a device pixel ratio, built on first use and
/// kept for the process.
const LatinGlyphs& LatinGlyphsOf(const QFont& font, qreal ratio = 1.0);

}  // namespace qthost
