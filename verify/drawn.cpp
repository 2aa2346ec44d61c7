#include "drawn.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "font.h"
#include "gs1.h"
#include "layout.h"
#include "paint.h"
#include "raster.h"

namespace strimlo::verify {

// Eight bytes at a time: byte by byte it was a tenth of a verified batch's time.
void invertInk(std::vector<std::uint8_t>& pixels) {
  std::size_t i = 0;
  for (; i + 8 <= pixels.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, pixels.data() + i, 8);
    word = ~word;
    std::memcpy(pixels.data() + i, &word, 8);
  }
  for (; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(~pixels[i]);
}

namespace {

// The layout as the file's: a 2D type alone in its quiet zones (whole dots in a raster, a
// page's exact module at 600 dpi), a linear symbol with prepress and its companion.
Layout drawnLayout(const Symbol& symbol, const Geometry& g, const Prepress& prepress, bool raster) {
  if (isMatrixType(symbol.type)) return matrixLayout(symbol, g.dpi, raster);
  Layout layout = fileLayout(symbol, g);
  applyPrepress(layout, symbol.type, prepress, true);
  placeCompanion(layout, symbol, raster);
  return layout;
}

// The matrix's modules and quiet zone in the drawn image (top row 0), from its runs.
PixelBox matrixRegion(const Layout& layout, const Matrix& mx) {
  double x0 = layout.width, x1 = 0, y0 = layout.height, y1 = 0;
  for (const DarkRun& r : layout.runs)
    if (r.part == RunPart::Matrix) {
      x0 = std::min(x0, r.x0), x1 = std::max(x1, r.x1);
      y0 = std::min(y0, r.y0), y1 = std::max(y1, r.y1);
    }
  if (x1 <= x0 || mx.cols <= 0) return {};
  const double quiet = mx.quiet * (x1 - x0) / mx.cols;
  return {static_cast<int>(std::floor(x0 - quiet)), static_cast<int>(std::floor(layout.pixelsHigh - y1 - quiet)),
          static_cast<int>(std::ceil(x1 + quiet)), static_cast<int>(std::ceil(layout.pixelsHigh - y0 + quiet))};
}

}  // namespace

DrawnGrade gradeDrawn(const Symbol& symbol, FileFormat format, SizeIndex size,
                      ResolutionIndex res, const Prepress& prepress, InkBitmap* keep,
                      const FreeSize& free) {
  const bool raster = format == kPNG || format == kTIFF || format == kJPEG;
  // Vector files at 600 dpi; EPS keeps a module near 91 % unless a size is chosen.
  // An EPS with a companion is drawn from the page's layout at its size.
  Geometry g = presetGeometry(format == kEPS && !symbol.matrix ? 1 : size, raster ? res : 3);
  if (free.any()) {
    const Geometry chosen = geometryFor(size, res, free, raster);
    if (raster) g = chosen;
    if (!raster && (format != kEPS || free.sizeGiven() || free.snapDpi)) g.scale = chosen.scale;
    if (!raster) g.barHeight = chosen.barHeight;
  }
  const Layout layout = drawnLayout(symbol, g, prepress, raster);
  DrawnGrade drawn;
  drawn.dpi = layout.dpi;
  const Font* font = Font::helvetica();
  if (!font) {
    drawn.problem = "Nimbus Sans is not installed: the symbol cannot be drawn to be checked";
    return drawn;
  }
  if (layout.pixelsWide <= 0 || layout.pixelsHigh <= 0 || layout.pixelsWide > kMaxSurfaceSide ||
      layout.pixelsHigh > kMaxSurfaceSide) {
    drawn.problem = "the symbol is too large to be checked";
    return drawn;
  }
  Image image;
  image.width = layout.pixelsWide;
  image.height = layout.pixelsHigh;
  image.pixelsPerMm = layout.dpi / 25.4;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  if (!paintInkStrip(layout, *font, 0, image.height, image.pixels.data(), image.width)) {
    drawn.problem = "the symbol could not be drawn to be checked";
    return drawn;
  }
  invertInk(image.pixels);
  if (!isMatrixType(symbol.type)) drawn.verification = verifyImage(image);
  if (symbol.matrix) drawn.matrix = checkMatrix(image, *symbol.matrix, matrixRegion(layout, *symbol.matrix));
  // The raster as drawn is the file's own layout (the same as layOut's): handed back in
  // place, so a large image is not held twice.
  if (raster && keep) {
    invertInk(image.pixels);
    keep->width = image.width;
    keep->height = image.height;
    keep->dpi = layout.dpi;
    keep->ink = std::move(image.pixels);
  }
  return drawn;
}

}  // namespace strimlo::verify
