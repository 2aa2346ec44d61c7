#include "encode.h"

#include <cmath>
#include <memory>

#include "encode_detail.h"

namespace strimlo {

namespace detail {

bool sourceIsEncodable(const RasterSource& source) {
  return source.width > 0 && source.height > 0 && static_cast<bool>(source.rows) &&
         std::isfinite(source.dpi) && source.dpi > 0.0 && source.dpi <= kMaxDpi;
}

}  // namespace detail

namespace {

bool encodeFormat(const RasterSource& source, FileFormat format, std::FILE* out) {
  switch (format) {
    case kPNG: return detail::encodePng(source, out);
    case kTIFF: return detail::encodeTiff(source, out);
    case kJPEG: return detail::encodeJpeg(source, out);
    default: return false;
  }
}

bool isImageFormat(FileFormat format) {
  return format == kPNG || format == kTIFF || format == kJPEG;
}

// TIFF and JPEG are opaque CMYK: a transparent source is refused, not flattened.
bool takes(FileFormat format, const RasterSource& source) {
  return isImageFormat(format) && (format == kPNG || !source.transparent);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// The whole of a file that is open for reading and writing, read from its start.
std::optional<std::vector<std::uint8_t>> readBack(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return std::nullopt;
  const long size = std::ftell(f);
  if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) return std::nullopt;
  return bytes;
}

}  // namespace

bool encodeImage(const RasterSource& source, FileFormat format, std::FILE* out) {
  if (!takes(format, source) || out == nullptr || !detail::sourceIsEncodable(source)) {
    return false;
  }
  // The encoders write through stdio; a late write error only shows at the flush.
  return encodeFormat(source, format, out) && std::fflush(out) == 0 && !std::ferror(out);
}

// Through an anonymous temporary file: TIFF needs a seekable stream, and one path for
// all three formats keeps the bytes identical to what a file would get.
std::optional<std::vector<std::uint8_t>> encodeImage(const RasterSource& source,
                                                     FileFormat format) {
  if (!takes(format, source) || !detail::sourceIsEncodable(source)) return std::nullopt;
  std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
  if (!file || !encodeImage(source, format, file.get())) return std::nullopt;
  return readBack(file.get());
}

}  // namespace strimlo
