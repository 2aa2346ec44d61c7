#pragma once
// The complete Encapsulated PostScript text of one symbol, drawn at one fixed size: the
// EPS style of the one layout (epsLayout), written out.
#include <optional>
#include <string>
#include <string_view>

#include "codetypes.h"
#include "layout.h"
#include "font.h"
#include "patterns.h"
#include "prepress.h"

namespace strimlo {

// The "%%Creator:" line's address.
inline constexpr std::string_view kHomePage = "https://strimlo.example/";

// The scale that gives the fixed drawing's module (0.011640 inch) a length in points.
inline constexpr double epsScaleFor(double modulePoints) { return modulePoints / (0.011640 * 72.0); }

// The file of an EPS-style layout (epsLayout, the prepress pass applied): its runs and
// texts as the file's procedures draw them, each text in the font and number format of its
// role; nothing placed here. title goes in the %%Title comment; reductionMicrons is the
// bar width reduction the runs carry, which the file applies as a narrower stroke. No text
// for a layout of another style, or when memory runs out.
// With outlines every text is that face's glyph outlines, filled, and no font is named;
// without, Helvetica is.
std::optional<std::string> writeEps(const Layout& layout, std::string_view title,
                                    int reductionMicrons, const Font* outlines = nullptr);

// The same from the parts of a symbol, through epsLayout and the prepress pass.
// isbnLine, addonText and priceText may be absent. The line is drawn for the ISBN, ISSN
// and ISMN types, the price for ISBN and ISMN, the add-on for every type that takes one.
// addonPattern is the 20- or 47-module add-on or nullptr for none. With quiet zones the
// drawing is moved onto the light margins' box and the marks are added; a bar width
// reduction thins every stroke by the exact amount. With outlines every text is that
// face's glyph outlines, filled, and no font is named; without, Helvetica is. Returns no
// text only for a code type outside the eight symbologies or when memory runs out.
std::optional<std::string> makeEPS(CodeType type, std::string_view digits,
                                   std::optional<std::string_view> isbnLine,
                                   std::optional<std::string_view> addonText,
                                   std::optional<std::string_view> priceText,
                                   const ModulePattern& pattern,
                                   const ModulePattern* addonPattern,
                                   const Prepress& prepress = {},
                                   const Font* outlines = nullptr);

struct Layout;

// A 2D symbol, or a linear symbol with its 2D companion, from its file layout in points:
// every dark run a rectangle of one path filled once (no seam between a matrix's rows),
// then the texts in Helvetica, or as filled outlines in the face of `outlines` when one is
// given (OCR-B, or texts as outlines). None only when memory runs out.
std::optional<std::string> makeMatrixEPS(const Layout& layout, std::string_view title,
                                         const Font* outlines = nullptr);

}  // namespace strimlo
