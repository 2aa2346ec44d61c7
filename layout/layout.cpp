// The one symbol geometry. Three styles place it: a file style in pixels of the bitmap (or
// in points, for vector pages, at 72 units per inch), a preview style at a fixed
// 1.5-point module centred in the view, and the EPS style at its one fixed size. A style
// only fixes the frame, the few lengths below; the bars, the digits, the add-on and the
// ISBN, ISSN or ISMN line are placed once, here, but for the EPS digit tables of the
// types whose files have always set them so.
//
// Single precision, operation by operation in the order written: bitmap sizes come out
// exactly (453 x 331 pixels for EAN-13 at 100% and 300 dpi, 14012 x 7920 for an ISBN
// with add-on at 197% and 3200 dpi).
#include "layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "geometry.h"
#include "gs1.h"
#include "prepress.h"
#include "shape.h"

namespace strimlo {

namespace {

// Every length the placement needs, in output units.
struct Frame {
  float m;           // one module
  float x0;          // centre of the main symbol's module 0
  float y0;          // bottom of the guard bars
  float top;         // where the data bars' length ends; bars reach band / 2 above it
  float band;        // guard bars reach band / 2 below the data bars
  float addonX;      // centre of the add-on's module 0
  float addonTop;    // where the add-on's bars end
  float addonDigitY;  // lower edge of the add-on digits' text boxes
  float lineY;       // lower edge of the ISBN line's and the price's text boxes
  float leadUnit;    // the leading digit stands leadUnit x leadFactor left of digit 1
  float leadFactor;
  float digitStart;  // x of the first digit drawn under the bars
  float digitY;      // lower edge of the digits' text boxes
  float lineShift;   // the ISBN line starts this far left of x0
  float digitFont;   // digits and add-on digits
  float lineFont;    // ISBN line and price
  float smallFont;   // UPC's number system and check digit
  bool epsTables;    // the texts from kEpsPositions instead of the placement below
};

// UPC's small digits stand this many modules clear of the bars.
constexpr float kSmallDigitGap = 1.5f;

// Each dark run scaled into the frame: its edges are module boundaries, so abutting
// modules never leave a seam inside a bar.
void addRuns(Layout& out, const std::vector<DarkRun>& runs, float x0, float m,
             float guardBottom, float dataBottom, float top) {
  for (const DarkRun& r : runs) {
    const float left = static_cast<float>(r.module) * m + x0;
    const float right = static_cast<float>(r.module + r.modules - 1) * m + x0;
    const float bottom = r.part == RunPart::Data ? dataBottom : guardBottom;
    const double half = static_cast<double>(m) * 0.5;
    out.runs.push_back({r.module, r.modules, r.part, left - half, right + half, bottom, top});
  }
}

// UPC's number system and check digit, small, left and right of the bars, on the other
// digits' baseline.
void addSmallDigits(Layout& out, const Symbol& sym, const Shape& shape, const Frame& f) {
  const float clear = f.m * kSmallDigitGap;
  const float left = f.x0 - f.m * 0.5f;
  const float right = f.x0 + f.m * (static_cast<float>(shape.modules) - 0.5f);
  const float width = f.smallFont * kDigitAdvance;
  const float y = f.digitY + (f.digitFont - f.smallFont) * kDescender;
  if (sym.digits.empty()) return;
  out.texts.push_back({sym.digits.substr(0, 1), left - clear - width, y, f.smallFont,
                       TextRole::SmallDigit});
  out.texts.push_back({sym.digits.substr(sym.digits.size() - 1), right + clear, y, f.smallFont,
                       TextRole::SmallDigit});
}

// Digits under the bars: the leading digit (EAN-13 family) left of the symbol, or UPC's
// small ones outside it; the others under the first module of their seven, from module
// firstUnder on, with the centre guard's five modules between.
void addDigits(Layout& out, const Symbol& sym, const Shape& shape, const Frame& f) {
  float x = f.m * static_cast<float>(shape.firstUnder - 3) + f.digitStart;
  int first = 0;
  int last = shape.digits;
  if (shape.outside == Outside::Leading) {
    const float p = f.leadUnit * (-f.leadFactor) + x;
    out.texts.push_back({sym.digits.substr(0, 1), p, f.digitY, f.digitFont, TextRole::Digit});
    x = f.leadUnit * f.leadFactor + p;
    first = 1;
  } else if (shape.outside == Outside::Small) {
    addSmallDigits(out, sym, shape, f);
    first = 1;
    last = shape.digits - 1;
  }
  // A digit string shorter than the type's (no completed symbol has one) draws what it has.
  for (int i = first; i < last && static_cast<std::size_t>(i) < sym.digits.size(); ++i) {
    out.texts.push_back({sym.digits.substr(i, 1), x, f.digitY, f.digitFont, TextRole::Digit});
    x = x + f.m * 7.0f;
    if (i == shape.centreAfter) x = x + f.m * 5.0f;
  }
}

// Add-on digits stand on the add-on's bars, one over the first module of each digit.
void addAddonDigits(Layout& out, const Symbol& sym, float xa, float y, const Frame& f) {
  std::size_t next = 0;
  for (int j = 3; j < static_cast<int>(sym.addon->size()) && next < sym.addonText.size(); j += 9)
    out.texts.push_back({sym.addonText.substr(next++, 1), static_cast<float>(j) * f.m + xa, y,
                         f.digitFont, TextRole::AddonDigit});
}

// A price without an add-on stands where the add-on would, with the room of a 5-digit one.
bool priceAlone(const Symbol& sym) {
  return takesPrice(sym.type) && !sym.addon && !sym.priceText.empty();
}

// The EPS style's origins, in points: the left edge of the main symbol's module 0 (EAN-8,
// all others) and of the add-on's, 7.6 modules after a 95-module symbol or UPC-E's 51;
// the bottom of the guard bars, of the data bars and of the add-on's bars.
constexpr float kEpsEan8BarsX = 2.0f;
constexpr float kEpsBarsX = 12.0f;
constexpr float kEpsAddonX = 98.0f;
constexpr float kEpsUpcEAddonX = 61.125f;
constexpr float kEpsGuardBottom = 5.0f;
constexpr float kEpsDataBottom = 10.0f;
// The bar heights the file's /height states: 0.8 inch, the add-on's 0.73 inch.
constexpr float kEpsBarHeight = 0.8f * 72.0f;
constexpr float kEpsAddonHeight = 0.73f * 72.0f;
// Its fonts (e1font, isbnfont, smallfont) and the baselines of the digits, the add-on
// digits and the line.
constexpr float kEpsDigitFont = 8.0f;
constexpr float kEpsLineFont = 7.0f;
constexpr float kEpsSmallFont = 6.0f;
constexpr float kEpsDigitBaseline = 3.0f;
constexpr float kEpsAddonDigitBaseline = 59.5f;
constexpr float kEpsLineBaseline = 69.5f;

// The EPS files of EAN-8, EAN-13 and the ISBNs: each digit at its table's position, the
// ISBN line at the bars' left edge and the price at the add-on's, always (an empty one
// too), and the add-on digits at theirs.
void placeFromEpsTables(Layout& out, const Symbol& sym, const Frame& f) {
  const bool ean8 = sym.type == kEAN8;
  const float* pos = ean8 ? kEpsPositions.lower_pos8 : kEpsPositions.lower_pos13;
  const std::size_t count =
      ean8 ? std::size(kEpsPositions.lower_pos8) : std::size(kEpsPositions.lower_pos13);
  if (sym.addon) {
    const std::size_t n =
        sym.addon->size() == kAddon2Modules ? 2 : std::size(kEpsPositions.addon_pos);
    for (std::size_t k = 0; k < n && k < sym.addonText.size(); ++k)
      out.texts.push_back({sym.addonText.substr(k, 1), kEpsPositions.addon_pos[k], f.addonDigitY,
                           f.digitFont, TextRole::AddonDigit});
  }
  for (std::size_t i = 0; i < count && i < sym.digits.size(); ++i)
    out.texts.push_back({sym.digits.substr(i, 1), pos[i], f.digitY, f.digitFont, TextRole::Digit});
  if (!hasTextLine(sym.type)) return;
  out.texts.push_back({sym.isbnLine, kEpsBarsX, f.lineY, f.lineFont, TextRole::Line});
  out.texts.push_back({sym.priceText, kEpsAddonX, f.lineY, f.lineFont, TextRole::Price});
}

void place(Layout& out, const Symbol& sym, const Shape& shape, const Frame& f) {
  out.digitY = f.digitY;
  out.digitFont = f.digitFont;
  const float top = f.band * 0.5f + f.top;
  addRuns(out, darkRuns(sym.pattern, sym.type, false), f.x0, f.m, f.y0, f.y0 + f.band * 0.5f, top);
  const bool addon = sym.addon.has_value();
  const float xa = f.addonX;
  if (addon) addRuns(out, darkRuns(*sym.addon, sym.type, true), xa, f.m, f.y0, f.y0, f.addonTop);
  if (f.epsTables) {
    placeFromEpsTables(out, sym, f);
    return;
  }
  if (addon) addAddonDigits(out, sym, xa, f.addonDigitY, f);
  addDigits(out, sym, shape, f);
  if (hasTextLine(sym.type)) {
    out.texts.push_back({sym.isbnLine, f.x0 - f.lineShift, f.lineY, f.lineFont, TextRole::Line});
    if ((addon || priceAlone(sym)) && !sym.priceText.empty())
      out.texts.push_back({sym.priceText, xa, f.lineY, f.lineFont, TextRole::Price});
  }
}

}  // namespace

std::vector<DarkRun> darkRuns(const ModulePattern& pattern, CodeType type, bool addon) {
  const Shape shape = shapeOf(type);
  std::vector<DarkRun> runs;
  const int n = static_cast<int>(pattern.size());
  for (int i = 0; i < n;) {
    if (!pattern[i]) {
      ++i;
      continue;
    }
    int j = i;
    while (j < n && pattern[j]) ++j;
    const RunPart part = addon ? RunPart::Addon : shape.isGuard(i) ? RunPart::Guard : RunPart::Data;
    runs.push_back({i, j - i, part, static_cast<double>(i), static_cast<double>(j), 0.0, 0.0});
    i = j;
  }
  return runs;
}

// Files: a 0.33 mm module times the magnification, a margin unit q of 0.1 inch and a text
// band T of 0.15 inch (both times the magnification); digits 0.14 inch, the ISBN line
// 0.11 inch, UPC's small digits 0.1 inch. Heights follow the symbol's length (/ 1.2,
// EAN-8 / 0.84, UPC-E as tall as UPC-A). An add-on begins q after the bars.
Geometry presetGeometry(SizeIndex size, ResolutionIndex res) {
  return {getScale(size), getResolution(res), 0, 0.0f};
}

double nominalBarHeight(CodeType type, double scale) {
  const Shape shape = shapeOf(type);
  return scale * (0.33 * shape.modules / shape.heightRatio - 0.15 * 25.4);
}

Layout fileLayout(const Symbol& sym, SizeIndex size, ResolutionIndex res) {
  return fileLayout(sym, presetGeometry(size, res));
}

Layout fileLayout(const Symbol& sym, const Geometry& g) {
  if (isMatrixType(sym.type)) return matrixLayout(sym, g.dpi, true);
  const Shape shape = shapeOf(sym.type);
  const bool ean8 = sym.type == kEAN8;
  const bool line = hasTextLine(sym.type);
  const bool addon = sym.addon.has_value();
  const float s = g.scale;
  const float d = g.dpi;
  const float fr = d / 100.0f;
  const float u = 2540.0f / d;  // one pixel in hundredths of a millimetre
  const float q = s * (fr * 10.0f);
  const float T = s * (fr * 15.0f);
  const float m = g.moduleDots > 0 ? static_cast<float>(g.moduleDots) : s * (33.0f / u);
  const float n = static_cast<float>(shape.modules);
  // On the dot grid: module 0's left edge, and so every bar edge, on a whole unit.
  auto onGrid = [&g, m](float centre) {
    return g.moduleDots > 0 ? std::nearbyint(centre - m * 0.5f) + m * 0.5f : centre;
  };

  Frame f{};
  f.m = m;
  f.x0 = onGrid(ean8 ? m * 3.0f : q + q);
  const float xe = f.x0 + m * n;
  const float A = addon          ? m * static_cast<float>(sym.addon->size()) + q
                  : priceAlone(sym) ? m * static_cast<float>(kAddon5Modules) + q
                                    : 0.0f;
  float W = ean8 ? m * n + m * 6.0f : (A + xe) + m * 6.0f;
  // UPC's check digit stands in the light margin right of the bars, which it keeps whole.
  if (shape.outside == Outside::Small && !addon)
    W = (xe - m * 0.5f) + m * static_cast<float>(lightMargins(sym.type)->right);
  // Nominal bar height, or the one asked for: a data bar's length plus the text band.
  const float Hb = g.barHeight > 0.0f ? g.barHeight * (d / 25.4f) + T
                                      : (m * n) / shape.heightRatio;
  const float H = line ? T + (m * 6.0f + Hb) : m * 6.0f + Hb;
  const float L = Hb - T;  // length of a data bar
  f.y0 = line ? m * 4.0f + ((H - L) * 0.5f - T) : m * 4.0f + (H - (T + L)) * 0.5f;
  f.top = L + f.y0;
  f.band = T;
  f.addonX = (g.moduleDots > 0 ? std::nearbyint(q) : q) + (f.x0 + m * n);
  f.addonTop = T * (-0.5f) + f.top;
  f.addonDigitY = f.addonTop;
  f.lineY = f.top + (T * 5.0f) * 0.125f;
  f.leadUnit = q;
  f.leadFactor = 1.75f;
  f.digitStart = m * 3.0f + f.x0;
  f.digitY = m;
  f.lineShift = m;
  f.digitFont = (fr * 14.0f) * s;
  f.lineFont = (fr * 11.0f) * s;
  f.smallFont = (fr * 10.0f) * s;

  Layout out;
  out.width = W;
  out.height = H;
  out.pixelsWide = static_cast<int>(W);
  out.pixelsHigh = static_cast<int>(H);
  out.pointsWide = W / (d / 72.0f);
  out.pointsHigh = H / (d / 72.0f);
  out.dpi = d;
  out.module = m;
  // Crisp bars where pixels are small; smoothed ones at 72 and 100 dpi.
  out.antialiasBars = d < 300.0f;
  place(out, sym, shape, f);
  return out;
}

namespace {

// Previews: a 1.5-point module; digits in 14-point Helvetica, the ISBN line in 13-point,
// UPC's small digits in 10-point.
constexpr float kPreviewModule = 1.5f;
constexpr float kPreviewDigitFont = 14.0f;
constexpr float kPreviewLineFont = 13.0f;
constexpr float kPreviewSmallFont = 10.0f;
// The add-on gap is the width of a "0", but for UPC 7.7 modules as in the files, which
// leaves room for the small check digit.
constexpr float kPreviewUpcAddonGap = 11.5f;
constexpr double kPreviewDigitOffset = 5.25;  // first digit right of module 0's centre
constexpr float kPreviewLeadFactor = 2.5f;    // leading digit: 2.5 widths of "0" further left

}  // namespace

Layout matrixPreview(const Symbol& sym, int width, int height);

Layout previewLayout(const Symbol& sym, int width, int height, float lineHeightPerEm) {
  if (isMatrixType(sym.type)) return matrixPreview(sym, width, height);
  const Shape shape = shapeOf(sym.type);
  const bool line = hasTextLine(sym.type);
  const bool addon = sym.addon.has_value();
  const float W = static_cast<float>(width);
  const float H = static_cast<float>(height);
  // The width and line height of a "0": every digit advances the same.
  const float tw = kDigitAdvance * kPreviewDigitFont;
  const float th = lineHeightPerEm * kPreviewDigitFont;

  const float length = static_cast<float>(shape.modules) * kPreviewModule;  // 142.5, 100.5 or 76.5
  const float K = length / shape.heightRatio;
  const float gap = shape.outside == Outside::Small ? kPreviewUpcAddonGap : tw;
  const float addonLength = addon          ? kPreviewModule * static_cast<float>(sym.addon->size())
                            : priceAlone(sym) ? kPreviewModule * static_cast<float>(kAddon5Modules)
                                              : 0.0f;
  const float total = addon || priceAlone(sym) ? (gap + addonLength) + length : length;
  const float B = K - th;

  Frame f{};
  f.m = kPreviewModule;
  f.x0 = (W - total) * 0.5f;
  f.y0 = line ? (H - B) * 0.5f + th * (-0.5f) : (H - (B + th)) * 0.5f;
  f.top = B + f.y0;
  f.band = th;
  f.addonX = gap + (f.x0 + kPreviewModule * static_cast<float>(shape.modules));
  f.addonTop = th * (-0.5f) + f.top;
  f.addonDigitY = f.addonTop;
  f.lineY = f.top + (th * 5.0f) * 0.125f;
  f.leadUnit = tw;
  f.leadFactor = kPreviewLeadFactor;
  // The only double-precision step, rounded back to single.
  f.digitStart = static_cast<float>(static_cast<double>(f.x0) + kPreviewDigitOffset);
  f.digitY = f.y0 + (th * 3.0f) * (-0.125f);
  f.lineShift = 0.0f;
  f.digitFont = kPreviewDigitFont;
  f.lineFont = kPreviewLineFont;
  f.smallFont = kPreviewSmallFont;

  Layout out;
  out.width = W;
  out.height = H;
  out.pixelsWide = width;
  out.pixelsHigh = height;
  out.pointsWide = W;
  out.pointsHigh = H;
  out.module = kPreviewModule;
  out.antialiasBars = true;
  place(out, sym, shape, f);
  return out;
}

namespace {

// The EPS boxes, in points: without an add-on, with a 2-digit and with a 5-digit one. They
// hold the bars, any add-on, UPC's small check digit and the line; a price above an
// ISMN's add-on may reach as far as a 5-digit add-on does, and an ISMN's 5-digit add-on
// keeps its light margin of 5 modules (it ends at 137.39, the margin at 141.58).
struct EpsBox {
  CodeType type;
  float width[3];
  float height;
};
constexpr EpsBox kEpsBoxes[] = {
    {kEAN8, {60.25f, 60.25f, 60.25f}, 70},  {kEAN13, {94, 94, 94}, 70},
    {kISBN10, {138, 142, 142}, 78},         {kISBN13, {138, 142, 142}, 78},
    {kUPCA, {99, 116, 138}, 70},            {kUPCE, {61, 79, 102}, 70},
    {kISSN, {94, 116, 138}, 78},            {kISMN, {94, 138, 142}, 78},
};

constexpr float kEpsPriceRoom = 138;

}  // namespace

Layout epsLayout(const Symbol& sym) {
  const Shape shape = shapeOf(sym.type);
  const bool ean8 = sym.type == kEAN8;
  const float m = kEpsModule;
  const float barsX = ean8 ? kEpsEan8BarsX : kEpsBarsX;
  const float addonBarsX = sym.type == kUPCE ? kEpsUpcEAddonX : kEpsAddonX;

  Frame f{};
  f.m = m;
  f.x0 = barsX + m * 0.5f;
  f.y0 = kEpsGuardBottom;
  f.band = (kEpsDataBottom - kEpsGuardBottom) * 2.0f;
  f.top = (kEpsDataBottom + kEpsBarHeight) - f.band * 0.5f;
  f.addonX = addonBarsX + m * 0.5f;
  f.addonTop = kEpsGuardBottom + kEpsAddonHeight;
  // The baselines are the file's; a text box's lower edge is a descent below.
  f.digitY = kEpsDigitBaseline - kDescender * kEpsDigitFont;
  f.addonDigitY = kEpsAddonDigitBaseline - kDescender * kEpsDigitFont;
  f.lineY = kEpsLineBaseline - kDescender * kEpsLineFont;
  // The file style's lengths in modules: a leading digit 1.75 x 0.1 inch at a 0.33 mm
  // module left of digit 1, the line half a module left of the bars.
  f.leadUnit = m * (2.54f / 0.33f);
  f.leadFactor = 1.75f;
  f.digitStart = m * 3.0f + f.x0;
  f.lineShift = m;
  f.digitFont = kEpsDigitFont;
  f.lineFont = kEpsLineFont;
  f.smallFont = kEpsSmallFont;
  f.epsTables = ean8 || sym.type == kEAN13 || isIsbn(sym.type);

  const std::size_t addonKind = !sym.addon ? 0 : sym.addon->size() == kAddon2Modules ? 1 : 2;
  float width = 94;  // a type outside the table is drawn as an EAN-13
  float height = 70;
  for (const EpsBox& box : kEpsBoxes) {
    if (box.type != sym.type) continue;
    width = box.width[addonKind];
    height = box.height;
  }
  // A price without an add-on stands where the add-on would: the box keeps the room the
  // ISBN's box gives it.
  if (sym.type == kISMN && priceAlone(sym)) width = kEpsPriceRoom;

  Layout out;
  out.width = width;
  out.height = height;
  out.pixelsWide = static_cast<int>(width);
  out.pixelsHigh = static_cast<int>(height);
  out.pointsWide = width;
  out.pointsHigh = height;
  out.dpi = 72;
  out.module = m;
  out.antialiasBars = true;
  EpsFrame eps;
  eps.barsX = barsX;
  eps.barsY = kEpsDataBottom;
  eps.addon = sym.addon.has_value();
  eps.addonX = addonBarsX;
  eps.addonY = kEpsGuardBottom;
  eps.textPerLine = ean8;
  out.eps = eps;
  place(out, sym, shape, f);
  return out;
}

}  // namespace strimlo

namespace strimlo {

namespace {

// The GTIN line's font: 7 points, smaller for a small symbol, never below 5 points.
constexpr float kMatrixTextPoints = 7.0f;
constexpr float kMatrixTextMinPoints = 5.0f;

// The advance of the GTIN line "(01) 09780306406157" in ems: Helvetica's parentheses
// advance 0.333, its space 0.278, its digits 0.556.
float hriEms(const std::string& text) {
  float ems = 0;
  for (char c : text) ems += c == '(' || c == ')' ? 0.333f : c == ' ' ? 0.278f : kDigitAdvance;
  return ems;
}

struct MatrixBox {
  double m;       // one module
  double width;   // the matrix and its quiet zones
  double height;
  float font;     // the GTIN line's size; 0 without one
  double textBand;  // height the line takes under the quiet zone
};

MatrixBox matrixBox(const Matrix& mx, float dpi, bool wholeDots) {
  MatrixBox b{};
  b.m = wholeDots ? matrixModuleDots(mx.moduleMm, dpi) : mx.moduleMm * dpi / 25.4;
  b.width = (mx.cols + 2 * mx.quiet) * b.m;
  b.height = (mx.rows + 2 * mx.quiet) * b.m;
  if (mx.text) {
    const float perPoint = dpi / 72.0f;
    const float fit = static_cast<float>(b.width) / hriEms(mx.hri);
    b.font = std::clamp(fit, kMatrixTextMinPoints * perPoint, kMatrixTextPoints * perPoint);
    // The parentheses reach about 0.95 em above the box's lower edge and the descent.
    b.textBand = b.font * 1.3;
    if (wholeDots) b.textBand = std::ceil(b.textBand);
  }
  return b;
}

// The matrix with its lower-left quiet-zone corner at (x, y), and its GTIN line centred
// under it with its box's lower edge at textY.
void addMatrix(Layout& out, const Matrix& mx, const MatrixBox& b, double x, double y) {
  const double left = x + mx.quiet * b.m;
  const double top = y + (mx.quiet + mx.rows) * b.m;
  for (int r = 0; r < mx.rows; ++r) {
    for (int c = 0; c < mx.cols;) {
      if (!mx.at(r, c)) {
        ++c;
        continue;
      }
      int e = c;
      while (e < mx.cols && mx.at(r, e)) ++e;
      out.runs.push_back({c, e - c, RunPart::Matrix, left + c * b.m, left + e * b.m,
                          top - (r + 1) * b.m, top - r * b.m});
      c = e;
    }
  }
}

void addMatrixText(Layout& out, const Matrix& mx, const MatrixBox& b, double centreX, double y) {
  if (!mx.text) return;
  const float width = hriEms(mx.hri) * b.font;
  out.texts.push_back({mx.hri, static_cast<float>(centreX) - width * 0.5f,
                       static_cast<float>(y + b.font * 0.1), b.font});
}

}  // namespace

int matrixModuleDots(double mm, double dpi) {
  if (!(dpi > 0) || !(mm > 0)) return 1;
  const double perDot = 25.4 / dpi;
  int dots = std::max(1, static_cast<int>(std::nearbyint(mm / perDot)));
  // The nearest whole dots may leave GS1's table at a coarse grid (0.4 mm at 150 dpi is
  // 2.36 dots; 2 are 0.339 mm): then the nearest count inside it.
  if (dots * perDot < kMatrixModuleMin - 1e-9) dots = static_cast<int>(std::ceil(kMatrixModuleMin / perDot - 1e-9));
  if (dots * perDot > kMatrixModuleMax + 1e-9) dots = std::max(1, static_cast<int>(std::floor(kMatrixModuleMax / perDot + 1e-9)));
  return dots;
}

Layout matrixLayout(const Symbol& sym, float dpi, bool wholeDots) {
  Layout out;
  if (!sym.matrix) return out;
  const Matrix& mx = *sym.matrix;
  const MatrixBox b = matrixBox(mx, dpi, wholeDots);
  const double textWidth = mx.text ? hriEms(mx.hri) * b.font + 2.0 * b.m : 0.0;
  double W = std::max(b.width, textWidth);
  if (wholeDots) W = std::ceil(W);
  double x = (W - b.width) * 0.5;
  if (wholeDots) x = std::floor(x);
  const double H = b.textBand + b.height;
  addMatrix(out, mx, b, x, b.textBand);
  addMatrixText(out, mx, b, W * 0.5, 0.0);
  out.width = static_cast<float>(W);
  out.height = static_cast<float>(H);
  out.pixelsWide = static_cast<int>(std::ceil(W));
  out.pixelsHigh = static_cast<int>(std::ceil(H));
  out.pointsWide = out.width / (dpi / 72.0f);
  out.pointsHigh = out.height / (dpi / 72.0f);
  out.dpi = dpi;
  out.module = static_cast<float>(b.m);
  out.antialiasBars = !wholeDots;
  out.digitY = 0;
  out.digitFont = b.font;
  return out;
}

void placeCompanion(Layout& layout, const Symbol& sym, bool wholeDots) {
  if (!sym.matrix || layout.runs.empty()) return;
  const Matrix& mx = *sym.matrix;
  const MatrixBox b = matrixBox(mx, layout.dpi, wholeDots);
  double barsRight = 0;
  double barsBottom = layout.runs.front().y0;
  for (const DarkRun& r : layout.runs) {
    barsRight = std::max(barsRight, r.x1);
    barsBottom = std::min(barsBottom, r.y0);
  }
  // The linear symbol's right light margin (5X after an add-on) or the matrix's quiet
  // zone, whichever is larger, between the last bar and the first module.
  const bool addon = std::any_of(layout.runs.begin(), layout.runs.end(),
                                 [](const DarkRun& r) { return r.part == RunPart::Addon; });
  const LightMargins* margins = nullptr;
  const SymbologyRow* row = symbology(sym.type);
  if (row) margins = &row->margins;
  const double linearRight = layout.module * (addon ? 5 : margins ? margins->right : 7);
  double gap = std::max(linearRight, mx.quiet * b.m);
  double x = barsRight + gap - mx.quiet * b.m;  // the matrix's quiet zone starts here
  // Never over the linear symbol's texts (a price or an add-on's digits).
  for (const TextItem& t : layout.texts)
    if (t.x >= barsRight) x = std::max(x, static_cast<double>(t.x) + t.size * kDigitAdvance * t.text.size());
  double y = barsBottom - mx.quiet * b.m;  // the matrix's bottom on the bars' bottom
  if (wholeDots) {
    x = std::ceil(x);
    y = std::floor(y);
  }
  double lift = b.textBand - y;  // room for the GTIN line under the quiet zone
  if (wholeDots) lift = std::ceil(lift);
  if (lift > 0) {
    for (DarkRun& r : layout.runs) {
      r.y0 += lift;
      r.y1 += lift;
    }
    for (TextItem& t : layout.texts) t.y = static_cast<float>(t.y + lift);
    layout.digitY = static_cast<float>(layout.digitY + lift);
    y += lift;
    layout.height = static_cast<float>(layout.height + lift);
  }
  // A GTIN line wider than the matrix and its quiet zones is centred under it, the file
  // growing to hold it.
  const double textWidth = mx.text ? hriEms(mx.hri) * b.font + 2.0 * b.m : 0.0;
  double slot = std::max(b.width, textWidth);
  if (wholeDots) slot = std::ceil(slot);
  const double slotX = x;
  x += wholeDots ? std::floor((slot - b.width) * 0.5) : (slot - b.width) * 0.5;
  addMatrix(layout, mx, b, x, y);
  addMatrixText(layout, mx, b, x + b.width * 0.5, y - b.textBand);
  double W = std::max(static_cast<double>(layout.width), slotX + slot);
  double H = std::max(static_cast<double>(layout.height), y + b.height);
  if (wholeDots) {
    W = std::ceil(W);
    H = std::ceil(H);
  }
  layout.width = static_cast<float>(W);
  layout.height = static_cast<float>(H);
  layout.pixelsWide = static_cast<int>(std::ceil(W));
  layout.pixelsHigh = static_cast<int>(std::ceil(H));
  layout.pointsWide = layout.width / (layout.dpi / 72.0f);
  layout.pointsHigh = layout.height / (layout.dpi / 72.0f);
}

}  // namespace strimlo

namespace strimlo {

// A 2D preview: three points to a module, whole pixels, centred in the view.
namespace {

// Every run and text, and the digit line, moved by (dx, dy).
void moveDrawing(Layout& layout, double dx, double dy) {
  for (DarkRun& r : layout.runs) {
    r.x0 += dx;
    r.x1 += dx;
    r.y0 += dy;
    r.y1 += dy;
  }
  for (TextItem& t : layout.texts) {
    t.x = static_cast<float>(t.x + dx);
    t.y = static_cast<float>(t.y + dy);
  }
  layout.digitY = static_cast<float>(layout.digitY + dy);
}

}  // namespace

void placePreviewCompanion(Layout& layout, const Symbol& sym) {
  if (!sym.matrix || isMatrixType(sym.type) || layout.runs.empty()) return;
  struct {
    float width, height;
    int pixelsWide, pixelsHigh;
    float pointsWide, pointsHigh, dpi;
  } const view{layout.width,      layout.height,     layout.pixelsWide, layout.pixelsHigh,
               layout.pointsWide, layout.pointsHigh, layout.dpi};
  layout.dpi = static_cast<float>(kPreviewModule * 25.4 / kNominalModule);
  placeCompanion(layout, sym, false);
  // The view keeps its size: what was drawn, both symbols, is centred in it.
  double left = layout.runs.front().x0, right = layout.runs.front().x1;
  double bottom = layout.runs.front().y0, top = layout.runs.front().y1;
  for (const DarkRun& r : layout.runs) {
    left = std::min(left, r.x0);
    right = std::max(right, r.x1);
    bottom = std::min(bottom, r.y0);
    top = std::max(top, r.y1);
  }
  for (const TextItem& t : layout.texts) {
    left = std::min(left, static_cast<double>(t.x));
    right = std::max(right, t.x + static_cast<double>(t.size) * kDigitAdvance * t.text.size());
    bottom = std::min(bottom, static_cast<double>(t.y));
    top = std::max(top, static_cast<double>(t.y + t.size));
  }
  // Shaded light margins reach round the companion's quiet zone too.
  double matrixRight = right;
  for (const DarkRun& r : layout.runs)
    if (r.part == RunPart::Matrix)
      matrixRight = std::max(matrixRight, r.x1 + sym.matrix->quiet * sym.matrix->moduleMm * layout.dpi / 25.4);
  const double dx = std::nearbyint((view.width - (right - left)) * 0.5 - left);
  const double dy = std::nearbyint((view.height - (top - bottom)) * 0.5 - bottom);
  moveDrawing(layout, dx, dy);
  if (layout.lightX1 > layout.lightX0) {
    layout.lightX0 = static_cast<float>(layout.lightX0 + dx);
    layout.lightX1 = static_cast<float>(std::nearbyint(std::max<double>(layout.lightX1, matrixRight) + dx));
  }
  layout.width = view.width;
  layout.height = view.height;
  layout.pixelsWide = view.pixelsWide;
  layout.pixelsHigh = view.pixelsHigh;
  layout.pointsWide = view.pointsWide;
  layout.pointsHigh = view.pointsHigh;
  layout.dpi = view.dpi;
}

Layout matrixPreview(const Symbol& sym, int width, int height) {
  Layout out = matrixLayout(sym, static_cast<float>(3.0 * 25.4 / (sym.matrix ? sym.matrix->moduleMm : 1.0)), true);
  const double dx = std::floor((width - out.width) * 0.5);
  const double dy = std::floor((height - out.height) * 0.5);
  moveDrawing(out, dx, dy);
  out.width = static_cast<float>(width);
  out.height = static_cast<float>(height);
  out.pixelsWide = width;
  out.pixelsHigh = height;
  out.pointsWide = out.width;
  out.pointsHigh = out.height;
  out.dpi = 72;
  return out;
}

}  // namespace strimlo
