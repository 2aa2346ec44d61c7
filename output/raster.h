#pragma once
// What the image encoders read: a grid of ink coverage (0 no ink .. 255 full ink), top
// row first, produced strip by strip so that no full-size copy is ever needed.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace strimlo {

struct RasterSource {
  int width = 0;
  int height = 0;
  double dpi = 300.0;  // pixels per inch, stated in the file
  int stripRows = 256; // rows the source prefers to produce at once
  bool transparent = false;  // PNG only: grey + alpha, where no ink is fully transparent
  std::string comment;       // ASCII stated in the file (PNG tEXt, TIFF tag, JPEG COM)
  // Fills rows [firstRow, firstRow + rowCount) into dst, rows `stride` bytes apart.
  std::function<bool(int firstRow, int rowCount, std::uint8_t* dst, std::size_t stride)> rows;
};

// A whole bitmap of ink coverage in memory: the small case, and tests.
struct InkBitmap {
  int width = 0;
  int height = 0;
  double dpi = 300.0;
  std::vector<std::uint8_t> ink;  // width * height bytes, top row first

  RasterSource source() const;
};

}  // namespace strimlo
