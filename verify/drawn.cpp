#include "drawn.h"

#include "font.h"
#include "layout.h"
#include "paint.h"

namespace strimlo::verify {

DrawnGrade gradeDrawn(const Symbol& symbol, FileFormat format, SizeIndex size,
                      ResolutionIndex res, const Prepress& prepress) {
  const bool raster = format == kPNG || format == kTIFF || format == kJPEG;
  Layout layout = fileLayout(symbol, format == kEPS ? 1 : size, raster ? res : 3);
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
  for (std::uint8_t& p : image.pixels) p = static_cast<std::uint8_t>(255 - p);  // ink to reflectance
  drawn.verification = verifyImage(image);
  return drawn;
}

}  // namespace strimlo::verify
