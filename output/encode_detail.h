#pragma once
// Shared by the three encoders: the checks every source passes first, the reader that
// pulls its rows strip by strip, and one entry point per format.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "raster.h"

namespace strimlo::detail {

// Highest resolution we state; it keeps every format's resolution field in range
// (JPEG's Photoshop block holds 16.16 fixed point).
inline constexpr double kMaxDpi = 65535.0;

// Width and height positive, rows() set, a finite resolution in (0, kMaxDpi].
bool sourceIsEncodable(const RasterSource& source);

// Hands out the source's rows one at a time, top first, asking the source for a strip
// whenever the next row is not in the one it holds. It never holds more than one strip.
class StripReader {
 public:
  explicit StripReader(const RasterSource& source);
  // Ink row y, width bytes; rows must be asked for in increasing order. Null when the
  // source fails or y is out of range. One reader at a time per thread: the strip
  // buffer is the thread's.
  const std::uint8_t* row(int y);

 private:
  const RasterSource& source_;
  std::size_t stride_;  // bytes from one row to the next
  int stripRows_;
  int first_ = 0;  // first row held
  int count_ = 0;  // rows held
  std::uint8_t* strip_ = nullptr;  // the calling thread's strip buffer
};

// Each writes one whole file to out from the current position; false on any failure.
// The source has passed sourceIsEncodable.
bool encodePng(const RasterSource& source, std::FILE* out);
bool encodeTiff(const RasterSource& source, std::FILE* out);
bool encodeJpeg(const RasterSource& source, std::FILE* out);

}  // namespace strimlo::detail
