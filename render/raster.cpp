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

StripReader::StripReader(const RasterSource& source) : source_(source) {
  const auto width = static_cast<std::size_t>(std::max(1, source.width));
  const auto byBudget = static_cast<int>(std::max<std::size_t>(1, kMaxStripBytes / width));
  stripRows_ = std::clamp(source.stripRows, 1, std::max(1, std::min(source.height, byBudget)));
}

const std::uint8_t* StripReader::row(int y) {
  if (y < 0 || y >= source_.height) return nullptr;
  const auto width = static_cast<std::size_t>(source_.width);
  if (y < first_ || y >= first_ + count_) {
    first_ = y;
    count_ = std::min(stripRows_, source_.height - y);
    strip_.resize(width * static_cast<std::size_t>(count_));
    if (!source_.rows(first_, count_, strip_.data(), width)) {
      count_ = 0;
      return nullptr;
    }
  }
  return strip_.data() + static_cast<std::size_t>(y - first_) * width;
}

}  // namespace detail
}  // namespace strimlo
