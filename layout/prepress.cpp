// The prepress pass: it moves and narrows what the layout already placed and adds the
// light-margin marks; it never places a bar or a digit of its own.
#include "prepress.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "gs1.h"

namespace strimlo {

namespace {

// Where the bars are: the first bar's left edge, the main symbol's and the add-on's
// right edges, and the top of the add-on's bars, on which its digits stand.
struct Extent {
  double left = std::numeric_limits<double>::max();
  double mainRight = std::numeric_limits<double>::lowest();
  double addonRight = std::numeric_limits<double>::lowest();
  float addonTop = 0;
  bool addon = false;
};

Extent extentOf(const Layout& layout) {
  Extent e;
  for (const DarkRun& run : layout.runs) {
    if (run.part == RunPart::Addon) {
      e.addon = true;
      e.addonRight = std::max(e.addonRight, run.x1);
      e.addonTop = std::max(e.addonTop, static_cast<float>(run.y1));
    } else {
      e.left = std::min(e.left, run.x0);
      e.mainRight = std::max(e.mainRight, run.x1);
    }
  }
  return e;
}

// The symbol with its light margins, and where the marks go.
struct QuietBox {
  double left, right;
  double barsLeft, barsRight;  // the outermost bar edges
  float rightMarkY;  // the digit line, or the add-on's digits when there is an add-on
  bool leftMark;
};

std::optional<QuietBox> quietBox(const Layout& layout, CodeType type) {
  const std::optional<LightMargins> margins = lightMargins(type);
  if (!margins || layout.runs.empty()) return std::nullopt;
  const Extent e = extentOf(layout);
  if (e.mainRight < e.left) return std::nullopt;  // an add-on alone
  const double x = layout.module;
  const double barsRight = e.addon ? e.addonRight : e.mainRight;
  // ">" stands on the add-on digits' line when there is an add-on (on its bars when it has
  // no digits), else on the digits'.
  float addonDigitY = e.addonTop;
  for (const TextItem& text : layout.texts)
    if (text.role == TextRole::AddonDigit) addonDigitY = text.y;
  QuietBox box{e.left - margins->left * x,
               barsRight + (e.addon ? kAddonRightMargin : margins->right) * x,
               e.left, barsRight, e.addon ? addonDigitY : layout.digitY, margins->leftMark};
  // A digit that already stands further left (the EPS's leading digit) stays inside.
  for (const TextItem& text : layout.texts) box.left = std::min(box.left, static_cast<double>(text.x));
  // A digit in the right margin on the mark's line (UPC's small check digit) stays clear
  // of ">": the box grows until the mark's ink begins half a module after the digit.
  for (const TextItem& text : layout.texts) {
    if (e.addon || text.x < barsRight || std::abs(text.y - layout.digitY) > layout.digitFont)
      continue;
    const double digitRight = text.x + kDigitAdvance * text.size * static_cast<float>(text.text.size());
    box.right = std::max(box.right, digitRight + markClearance(x, layout.digitFont));
  }
  // A price without an add-on stands right of the bars, above the digits, where the
  // add-on would: the box keeps the room of a 5-digit add-on and its margin, as the EPS
  // box does.
  for (const TextItem& text : layout.texts) {
    if (e.addon || text.text.empty() || text.x < e.mainRight ||
        text.y <= layout.digitY + layout.digitFont)
      continue;
    box.right = std::max(box.right, text.x + (kAddon5Modules + kAddonRightMargin) * x);
  }
  return box;
}

void shift(Layout& layout, double dx) {
  for (DarkRun& run : layout.runs) {
    run.x0 += dx;
    run.x1 += dx;
  }
  for (TextItem& text : layout.texts) text.x = static_cast<float>(text.x + dx);
}

// Each mark with its tip on the box's edge, in the digit font.
void addMarks(Layout& layout, const QuietBox& box) {
  const float size = layout.digitFont;
  layout.texts.push_back({">", static_cast<float>(box.right) - kGreaterTip * size, box.rightMarkY,
                          size, TextRole::Mark});
  if (box.leftMark)
    layout.texts.push_back({"<", static_cast<float>(box.left) - kLessTip * size, layout.digitY,
                            size, TextRole::Mark});
}

}  // namespace

std::optional<LightMargins> lightMargins(CodeType type) {
  const SymbologyRow* row = symbology(type);
  // A 2D symbol's quiet zones are part of its layout, without marks.
  if (row == nullptr || isMatrixType(type)) return std::nullopt;
  return row->margins;
}

bool reductionInRange(int microns) { return microns >= 0 && microns <= kMaxBarReductionMicrons; }

bool allowsTransparency(FileFormat format) { return format != kTIFF && format != kJPEG; }

bool quietZonesByDefault(FileFormat format) { return format == kPDF || format == kSVG; }

void addQuietZones(Layout& layout, CodeType type, bool bitmap) {
  std::optional<QuietBox> box = quietBox(layout, type);
  if (!box) return;
  if (layout.eps) {
    // The EPS keeps its coordinates and states one translate; the marks go in with them.
    layout.eps->lightMargins = true;
    layout.eps->translateX = -box->left;
    layout.width = static_cast<float>(box->right - box->left);
    layout.pixelsWide = static_cast<int>(std::ceil(layout.width));
    layout.pointsWide = layout.width;
    addMarks(layout, *box);
    return;
  }
  double dx = -box->left;
  double width = box->right - box->left;
  if (bitmap) {
    // A bar's edge falls on the nearest pixel boundary: the margins are whole pixels from
    // there, never less than the minimum. The shift is whole pixels too, so every bar
    // keeps the pixels it has without the option.
    dx = std::ceil(box->barsLeft - box->left - std::nearbyint(box->barsLeft));
    width = std::nearbyint(box->barsRight) + dx + std::ceil(box->right - box->barsRight);
  }
  shift(layout, dx);
  box->left = 0;
  box->right = width;
  layout.width = static_cast<float>(width);
  // Rounded up: the file never ends inside the light margin.
  layout.pixelsWide = static_cast<int>(std::ceil(layout.width));
  layout.pointsWide = layout.width / (layout.dpi / 72.0f);
  addMarks(layout, *box);
}

void addPreviewQuietZones(Layout& layout, CodeType type) {
  std::optional<QuietBox> box = quietBox(layout, type);
  if (!box) return;
  // Centred, the box's left edge on a whole pixel.
  const double dx = std::nearbyint((layout.width - (box->right - box->left)) * 0.5) - box->left;
  shift(layout, dx);
  box->left += dx;
  box->right += dx;
  layout.lightX0 = static_cast<float>(box->left);
  layout.lightX1 = static_cast<float>(std::nearbyint(box->right));
  addMarks(layout, *box);
}

void narrowRuns(Layout& layout, double left, double right) {
  for (DarkRun& run : layout.runs) {
    run.x0 += left;
    run.x1 -= right;
  }
}

int reductionPixels(int microns, double dpi) {
  return static_cast<int>(std::lround(reductionLength(microns, dpi)));
}

double reductionLength(int microns, double unitsPerInch) {
  return microns * unitsPerInch / 25400.0;
}

void applyPrepress(Layout& layout, CodeType type, const Prepress& prepress, bool bitmap) {
  if (prepress.quietZones) addQuietZones(layout, type, bitmap);
  const int microns = std::clamp(prepress.barReductionMicrons, 0, kMaxBarReductionMicrons);
  if (microns == 0) return;
  if (bitmap) {
    const int pixels = reductionPixels(microns, layout.dpi);
    narrowRuns(layout, (pixels + 1) / 2, pixels / 2);
  } else {
    const double length = reductionLength(microns, layout.dpi);
    narrowRuns(layout, length * 0.5, length * 0.5);
  }
}

std::string reductionNote(int microns, std::optional<double> bitmapDpi) {
  if (microns <= 0) return {};
  std::string note = "Bar width reduction: " + std::to_string(microns) + " um per bar";
  if (!bitmapDpi) return note + ", exact";
  return note + ", applied as " + std::to_string(reductionPixels(microns, *bitmapDpi)) +
         " px at " + std::to_string(std::lround(*bitmapDpi)) + " dpi";
}

}  // namespace strimlo
