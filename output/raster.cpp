#include "raster.h"

#include <algorithm>
#include <cstring>

#include "encode_detail.h"

namespace strimlo {

// The source reads the bitmap in place, so the bitmap must outlive it. It keeps the
// default strip height: the encoders copy a strip, never the whole bitmap.
RasterSource InkBitmap::source() const {
  RasterSource s;
  s.width = width;
  s.height = height;
  s.dpi = dpi;
  s.rows = [this](int firstRow, int rowCount, std::uint8_t* dst, std::size_t stride) {
    const auto w = static_cast<std::size_t>(width);
    if (width <= 0 || firstRow < 0 || rowCount < 0 || rowCount > height - firstRow ||
        ink.size() != w * static_cast<std::size_t>(height)) {
      return false;
    }
    for (int r = 0; r < rowCount; ++r) {
      std::memcpy(dst + r * stride, ink.data() + (firstRow + r) * w, w);
    }
    return true;
  };
  return s;
}

namespace detail {

namespace {
// A strip never takes more than this, whatever the source prefers.
constexpr std::size_t kMaxStripBytes = std::size_t{16} << 20;
}  // namespace

// Rows are kept four-byte aligned, as cairo keeps its A8 surfaces, so a strip is painted
// in place with no copy; the strip's memory is the thread's own and outlives the file, so
// a batch does not map, clear and hand back fresh memory for every file.
StripReader::StripReader(const RasterSource& source) : source_(source) {
  const auto width = static_cast<std::size_t>(std::max(1, source.width));
  stride_ = (width + 3) & ~std::size_t{3};
  const auto byBudget = static_cast<int>(std::max<std::size_t>(1, kMaxStripBytes / stride_));
  stripRows_ = std::clamp(source.stripRows, 1, std::max(1, std::min(source.height, byBudget)));
}

const std::uint8_t* StripReader::row(int y) {
  if (y < 0 || y >= source_.height) return nullptr;
  thread_local std::vector<std::uint8_t> strip;
  if (y < first_ || y >= first_ + count_) {
    first_ = y;
    count_ = std::min(stripRows_, source_.height - y);
    const std::size_t bytes = stride_ * static_cast<std::size_t>(count_);
    if (strip.size() < bytes) strip.resize(bytes);
    strip_ = strip.data();
    if (!source_.rows(first_, count_, strip_, stride_)) {
      count_ = 0;
      return nullptr;
    }
  }
  return strip_ + static_cast<std::size_t>(y - first_) * stride_;
}

}  // namespace detail
}  // namespace strimlo
