#pragma once
// A symbol as a print-ready PDF page (PDF/X-1a:2001): the page is the symbol's box, bars
// are filled rectangles and the text is real text in embedded Nimbus Sans, every mark in
// 100 % K on unpainted paper.
#include <optional>
#include <string>
#include <string_view>

#include "layout.h"
#include "font.h"

namespace strimlo {

// Nimbus Sans as Type 1 outlines and metrics, the form the PDF library embeds.
struct Type1Font {
  std::string metrics;   // .afm
  std::string outlines;  // .t1: clear text, then the binary eexec part
};

// The remembered file while it is still the font, else found once through fontconfig;
// nullptr when fonts-urw-base35 is not installed.
const Type1Font* helveticaType1();
// Fontconfig's answer alone, for when the remembered file turns out unreadable.
const Type1Font* helveticaType1Found();

// The whole file of a layout in points (fileLayout at 72 dpi); title is the Info title,
// note (what prepress applied, if anything) its Subject. Without type1 every text is the
// font's glyph outlines, filled, and the file holds no font.
// Nothing when the PDF library fails, with fontUnreadable (when given) set when it was
// the font file it could not read; std::bad_alloc when memory runs out.
std::optional<std::string> makePdf(const Layout& layout, const Font& font,
                                   const Type1Font* type1, std::string_view title,
                                   std::string_view note = {}, bool* fontUnreadable = nullptr);

}  // namespace strimlo
