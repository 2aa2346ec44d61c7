#pragma once
// Painting a Layout with cairo in the face of the font: into a preview image, or into
// strips of ink coverage for the image encoders.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "font.h"
#include "layout.h"

namespace strimlo {

// A preview image: premultiplied ARGB32 as cairo keeps it, top row first.
struct PreviewImage {
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes per row
  std::vector<std::uint8_t> pixels;

  std::uint32_t pixel(int x, int y) const;  // 0xAARRGGBB, y from the top
};

// cairo's limit on the width and height of an image surface.
inline constexpr int kMaxSurfaceSide = 32767;

// Every layout keeps Helvetica's boxes, whatever the face. In another face a one-digit
// text moves so that its digit stands centred in the box Helvetica's fills (OCR-B's
// digits are wider) and stays under its character's bars; a longer text wider than in
// Helvetica is set smaller until it is not, on the same baseline, so that it runs into
// nothing. Nothing changes in Helvetica.
TextItem inFace(const TextItem& text, const Font& font);
void setInFace(Layout& layout, const Font& font);

// Paints the whole layout into a new image of pixelsWide x pixelsHigh, white first.
std::optional<PreviewImage> paintPreview(const Layout& layout, const Font& font);

// Paints rows [firstRow, firstRow + rowCount) (counted from the top) of the layout as ink
// coverage, 0 no ink .. 255 full. The bytes equal those of one full-size painting.
bool paintInkStrip(const Layout& layout, const Font& font, int firstRow, int rowCount,
                   std::uint8_t* dst, std::size_t stride);

}  // namespace strimlo
