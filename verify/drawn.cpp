#include "drawn.h"

#include <cstring>

#include "font.h"
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

DrawnGrade gradeDrawn(const Symbol& symbol, FileFormat format, SizeIndex size,
                      ResolutionIndex res, const Prepress& prepress, InkBitmap* keep,
                      const FreeSize& free) {
  const bool raster = format == kPNG || format == kTIFF || format == kJPEG;
  // Vector files at 600 dpi; EPS keeps a module near 91 % unless a size is chosen.
  Geometry g = presetGeometry(format == kEPS ? 1 : size, raster ? res : 3);
  if (free.any()) {
    const Geometry chosen = geometryFor(size, res, free, raster);
    if (raster) g = chosen;
    if (!raster && (format != kEPS || free.sizeGiven() || free.snapDpi)) g.scale = chosen.scale;
    if (!raster) g.barHeight = chosen.barHeight;
  }
  Layout layout = fileLayout(symbol, g);
  applyPrepress(layout, symbol.type, prepress, true);
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
  drawn.verification = verifyImage(image);
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
