#pragma once
// A symbol as plain geometry, before anything is drawn: dark runs as rectangles and text
// anchors in the output's units (pixels of a file bitmap, points of a preview or of a
// vector page), origin at the lower-left corner, y upward. Every back end only scales
// and draws this; none places a bar or a digit of its own.
#include <string>
#include <vector>

#include "codetypes.h"
#include "patterns.h"
#include "symbol.h"

namespace strimlo {

enum class RunPart {
  Guard,  // a bar of the start, centre or end guard: it reaches lower than data bars
  Data,   // a bar of a symbol character
  Addon,  // a bar of the 2- or 5-digit add-on
  Matrix, // dark modules of a 2D symbol's row, side by side: x0..x1 by y0..y1
};

// One dark run: adjacent bar modules of one pattern, drawn as a single rectangle so that
// no seam can fall inside a bar.
struct DarkRun {
  int module;   // first module, counted in its own pattern (main symbol or add-on)
  int modules;  // width in modules
  RunPart part;
  // Double precision: the edges are a module's centre plus or minus half a module, to
  // the last bit, so that a pixel centre on a bar's edge falls the same way in every file.
  double x0, x1;  // left and right edge: module boundaries
  double y0, y1;  // bottom and top
};

struct TextItem {
  std::string text;  // Windows-1252
  float x;           // lower-left corner of the text's layout box
  float y;
  float size;        // font size in output units
};

struct Layout {
  float width = 0;   // exact size in output units
  float height = 0;
  int pixelsWide = 0;  // the target's size: the exact size truncated
  int pixelsHigh = 0;
  float pointsWide = 0;  // the size stated in points (72 per inch)
  float pointsHigh = 0;
  float dpi = 72;        // file bitmaps: the resolution stated in the file
  float module = 0;      // one module in output units
  bool antialiasBars = true;  // text is always anti-aliased
  std::vector<DarkRun> runs;
  std::vector<TextItem> texts;
  float digitY = 0;     // lower edge of the digit line's text boxes
  float digitFont = 0;  // the digits' font size
  // Previews with quiet zones: the file's box (symbol and light margins) spans lightX0 to
  // lightX1 and the view beside it is shaded; both 0 when not shown.
  float lightX0 = 0;
  float lightX1 = 0;
};

// The EPS files keep one fixed size (a 0.83808 pt module) and these exact positions, in
// points from the file's left edge; only their bars come from the runs.
struct EpsPositions {
  float lower_pos8[8];    // each EAN-8 digit under the bars
  float lower_pos13[13];  // each EAN-13, ISBN, ISSN or ISMN digit; the first left of the bars
  float addon_pos[5];     // each add-on digit above an add-on's bars beginning at 98
  float upca_pos[12];     // each UPC-A digit; the first and last small, outside the bars
  float upce_pos[8];      // each UPC-E digit, likewise
};
inline constexpr EpsPositions kEpsPositions = {
    {5.5f, 11.5f, 17.5f, 23.5f, 32.5f, 38.5f, 44.5f, 50.5f},
    {2.0f, 15.5f, 21.5f, 27.5f, 33.5f, 39.5f, 45.5f, 54.0f, 60.0f, 66.0f, 72.0f, 78.0f, 84.0f},
    {100.0f, 108.0f, 116.0f, 124.0f, 132.0f},
    {7.5f, 21.5f, 27.5f, 33.5f, 39.5f, 45.5f, 54.0f, 60.0f, 66.0f, 72.0f, 78.0f, 93.0f},
    {7.5f, 15.5f, 21.5f, 27.5f, 33.5f, 39.5f, 45.5f, 56.0f},
};

// Helvetica's digits all advance 0.556 em and its descender is 0.271 em, so a digit's
// width and baseline are known without the font.
inline constexpr float kDigitAdvance = 0.556f;
inline constexpr float kDescender = 0.271f;

// The layouts of a completed symbol: a file's at a magnification and resolution (pixels,
// or points at 72 dpi for vector pages), and a preview's centred in a view of width x
// height points. lineHeightPerEm: the face's line height in ems (Font::lineHeightPerEm).
Layout fileLayout(const Symbol& symbol, SizeIndex size, ResolutionIndex res);
Layout previewLayout(const Symbol& symbol, int width, int height, float lineHeightPerEm);

// A 2D type's file layout: the matrix at its X dimension inside its quiet zones (4X QR
// Code, 1X DataMatrix), the GTIN line under it. dpi: output units per inch (72 for
// pages); wholeDots makes the module and every edge whole pixels.
Layout matrixLayout(const Symbol& symbol, float dpi, bool wholeDots);
// A linear symbol's 2D companion right of its file layout (prepress applied), separated
// by the larger of the two quiet zones, the matrix's bottom on the guard bars' bottom.
void placeCompanion(Layout& layout, const Symbol& symbol, bool wholeDots);

// The dark runs of a main symbol of `type`, or of an add-on, in module units: x0 and x1
// are the module boundaries, y0 and y1 are 0. Every back end's runs are these, scaled.
std::vector<DarkRun> darkRuns(const ModulePattern& pattern, CodeType type, bool addon);

}  // namespace strimlo
