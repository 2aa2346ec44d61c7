#pragma once
// A symbol as an SVG image at its print size: bars as rectangles and the text as glyph
// outlines, so it looks the same in every browser and layout program whatever fonts
// they have.
#include <string>
#include <string_view>

#include "layout.h"
#include "font.h"

namespace strimlo {

// The whole file of a layout in points (fileLayout at 72 dpi). title (Windows-1252) is
// what a screen reader says: the <title> and the aria-label; note (what prepress applied,
// if anything) goes into a <desc>. Without background the image is clear around the marks.
std::string makeSvg(const Layout& layout, const Font& font, std::string_view title,
                    std::string_view note = {}, bool background = true);

}  // namespace strimlo
