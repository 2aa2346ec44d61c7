#pragma once
// A symbol as plain geometry, before anything is drawn: dark runs as rectangles and text
// anchors in the output's units (pixels of a file bitmap, points of a preview or of a
// vector page), origin at the lower-left corner, y upward. Every back end only scales
// and draws this; none places a bar or a digit of its own.
#include <cstdint>
#include <optional>
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

// What a text is: a writer picks its font and how it states the position from this.
enum class TextRole : std::uint8_t {
  Digit,       // a digit under the bars, the EAN-13 family's leading one too
  SmallDigit,  // UPC's number system and check digit, smaller, outside the bars
  Line,        // the ISBN, ISSN or ISMN line above the bars
  Price,       // the price, on the line's baseline
  AddonDigit,  // a digit above the add-on's bars
  Mark,        // a light margin's "<" or ">"
};

struct TextItem {
  std::string text;  // Windows-1252
  float x;           // lower-left corner of the text's layout box
  float y;
  float size;        // font size in output units
  TextRole role = TextRole::Digit;
};

// What an EPS file states besides its runs and texts. Its bars are drawn from a moveto per
// pattern (the left edge of module 0 and the bottom of a data bar, or of the add-on's
// bars); with light margins the prepress pass leaves the coordinates as placed and moves
// the whole drawing by one translate, which the file states.
struct EpsFrame {
  float barsX = 0, barsY = 0;    // the main symbol's moveto
  float addonX = 0, addonY = 0;  // the add-on's, when there is one
  bool addon = false;
  bool textPerLine = false;  // EAN-8's files give each text command a line of its own
  bool lightMargins = false;  // set by the prepress pass
  double translateX = 0;      // likewise: how far the drawing moves right
  // A chosen size: the whole drawing scaled (1: the fixed size), and the sentence the
  // file's comments carry about it.
  double scale = 1.0;
  std::string sizeNote;
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
  std::optional<EpsFrame> eps;  // the EPS style's, set by epsLayout only
};

// The EPS style's digit tables, in points from the file's left edge: EAN-8's, EAN-13's
// and the ISBNs' files have always set their digits here, and their bytes are kept. The
// other types' EPS digits follow the one placement.
struct EpsPositions {
  float lower_pos8[8];    // each EAN-8 digit under the bars
  float lower_pos13[13];  // each EAN-13 or ISBN digit; the first left of the bars
  float addon_pos[5];     // each add-on digit above an add-on's bars beginning at 98
};
inline constexpr EpsPositions kEpsPositions = {
    {5.5f, 11.5f, 17.5f, 23.5f, 32.5f, 38.5f, 44.5f, 50.5f},
    {2.0f, 15.5f, 21.5f, 27.5f, 33.5f, 39.5f, 45.5f, 54.0f, 60.0f, 66.0f, 72.0f, 78.0f, 84.0f},
    {100.0f, 108.0f, 116.0f, 124.0f, 132.0f},
};
// The EPS style's module: 0.011640 inch, as the file's /module says.
inline constexpr float kEpsModule = 0.011640f * 72.0f;

// Helvetica's digits all advance 0.556 em and its descender is 0.271 em, so a digit's
// width and baseline are known without the font.
inline constexpr float kDigitAdvance = 0.556f;
inline constexpr float kDescender = 0.271f;

// How large a file layout is drawn. The fixed lists' choices are one case of it.
struct Geometry {
  float scale = 1.0f;   // magnification of the nominal 0.33 mm module
  float dpi = 300.0f;   // output units per inch: a bitmap's pixels, 72 for vector pages
  int moduleDots = 0;   // > 0: the module is exactly this many units and every bar edge
                        // falls on a whole unit (the printer's dot grid); scale agrees
  float barHeight = 0;  // > 0: the normal bars' length in millimetres; else the nominal
};

// The geometry of an index of each fixed list.
Geometry presetGeometry(SizeIndex size, ResolutionIndex res);

// The normal bars' nominal length in millimetres at a magnification.
double nominalBarHeight(CodeType type, double scale);

// The layouts of a completed symbol: a file's at a magnification and resolution (pixels,
// or points at 72 dpi for vector pages), and a preview's centred in a view of width x
// height points. lineHeightPerEm: the face's line height in ems (Font::lineHeightPerEm).
Layout fileLayout(const Symbol& symbol, SizeIndex size, ResolutionIndex res);
Layout fileLayout(const Symbol& symbol, const Geometry& geometry);
Layout previewLayout(const Symbol& symbol, int width, int height, float lineHeightPerEm);
// The EPS style, in points at one fixed size (a 0.83808-point module, 8-point digits):
// the file's own origins and boxes, the digit tables above for EAN-8, EAN-13 and the
// ISBNs (with their line at 12 points and the price at 98, always, even empty), the one
// placement for every other type.
Layout epsLayout(const Symbol& symbol);

// A 2D module of `mm` on a grid of `dpi` dots: the nearest whole dots (at least one) that
// stay inside GS1's retail table (0.396 to 0.990 mm) where the grid allows.
int matrixModuleDots(double mm, double dpi);

// A 2D type's file layout: the matrix at its X dimension inside its quiet zones (4X QR
// Code, 1X DataMatrix), the GTIN line under it. dpi: output units per inch (72 for
// pages); wholeDots makes the module and every edge whole pixels.
Layout matrixLayout(const Symbol& symbol, float dpi, bool wholeDots);
// A linear symbol's 2D companion right of its file layout (prepress applied), separated
// by the larger of the two quiet zones, the matrix's bottom on the guard bars' bottom.
void placeCompanion(Layout& layout, const Symbol& symbol, bool wholeDots);

// A linear preview's 2D companion: placed as in a file, at the preview's scale (the
// linear module's 0.33 mm drawn as the preview's module), then both symbols centred in
// the view together. Nothing happens for a symbol without one.
void placePreviewCompanion(Layout& preview, const Symbol& symbol);

// The dark runs of a main symbol of `type`, or of an add-on, in module units: x0 and x1
// are the module boundaries, y0 and y1 are 0. Every back end's runs are these, scaled.
std::vector<DarkRun> darkRuns(const ModulePattern& pattern, CodeType type, bool addon);

}  // namespace strimlo
