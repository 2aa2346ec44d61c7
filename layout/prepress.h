#pragma once
// Prepress controls, applied as a pass over a finished Layout: the light margins with
// their "<" / ">" marks, bar width reduction against ink spread, and a transparent
// background (which only the encoders and page writers see).
#include <optional>
#include <string>

#include "codetypes.h"
#include "layout.h"
#include "symbologies.h"

namespace strimlo {

struct Prepress {
  bool quietZones = false;      // the box grown to the light margins, the marks drawn
  int barReductionMicrons = 0;  // every dark run this much narrower, its centre kept
  bool transparent = false;     // no background: PNG gets alpha (EPS paints none anyway)
  bool operator==(const Prepress&) const = default;
};

inline constexpr int kMaxBarReductionMicrons = 100;

// None for a code type outside the table.
std::optional<LightMargins> lightMargins(CodeType type);
// After an add-on's last bar, whatever the main symbol.
inline constexpr int kAddonRightMargin = 5;

// The marks' ink in ems of the digit font, from the left edge of their text box: ">"
// ends at kGreaterTip, "<" begins at kLessTip (Nimbus Sans; Helvetica is within 0.003).
inline constexpr float kGreaterTip = 0.539f;
inline constexpr float kLessTip = 0.045f;

// How far right of a digit in the right margin (UPC's small check digit) the box must end
// for ">" to clear it: half a module of white, then the mark's ink.
inline constexpr double markClearance(double module, double digitFont) {
  return 0.5 * module + (kGreaterTip - kLessTip) * digitFont;
}

// A bar width reduction outside 0..kMaxBarReductionMicrons, or a transparent background
// asked of an opaque CMYK format (TIFF, JPEG).
bool reductionInRange(int microns);
bool allowsTransparency(FileFormat format);
// The light margins are on unless the user says otherwise in PDF and SVG, pages of our
// own making; the other formats keep the fixed sizes files and layouts rely on.
bool quietZonesByDefault(FileFormat format);

// File layouts: the box becomes the symbol and its light margins (further out on the
// left only where a text already stands further out) and the marks are added. Bitmaps
// get margins of whole pixels from where the bars' edges fall, and a whole-pixel shift.
// The EPS style keeps its coordinates: the shift is recorded as its translate.
void addQuietZones(Layout& layout, CodeType type, bool bitmap);
// Previews: the symbol and its light margins centred in the view, their edges recorded
// in lightX0 / lightX1, the marks added.
void addPreviewQuietZones(Layout& layout, CodeType type);

// Narrows every dark run: `left` output units off its left edge, `right` off its right.
void narrowRuns(Layout& layout, double left, double right);

// A reduction in whole pixels at dpi: the nearest whole number.
int reductionPixels(int microns, double dpi);
// The same as an exact length at `unitsPerInch` (72 for points).
double reductionLength(int microns, double unitsPerInch);

// A file layout with the options applied. Bitmaps lose whole pixels (the odd one off the
// left edge, so the centre moves by half a pixel at most); vector pages lose the exact
// length, half on each side.
void applyPrepress(Layout& layout, CodeType type, const Prepress& prepress, bool bitmap);

// The sentence a file carries about its reduction, in ASCII; empty when none was asked.
// bitmapDpi: the resolution a bitmap was reduced at, in whole pixels.
std::string reductionNote(int microns, std::optional<double> bitmapDpi);

}  // namespace strimlo
