#include "encode.h"

#include <cmath>
#include <memory>

#include <sys/mman.h>
#include <unistd.h>

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
std::optional<std::string> readBack(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return std::nullopt;
  const long size = std::ftell(f);
  if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
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

// Through an anonymous file in memory (memfd): TIFF needs a seekable stream, and one path
// for all three formats keeps the bytes identical to what a file would get. Nothing
// touches the disk.
namespace {

std::unique_ptr<std::FILE, FileCloser> memoryFile() {
  const int fd = memfd_create("strimlo-image", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "w+b");
  if (f == nullptr) close(fd);
  return std::unique_ptr<std::FILE, FileCloser>(f);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encodeImage(const RasterSource& source,
                                                     FileFormat format) {
  std::optional<std::string> bytes = encodeImageBytes(source, format);
  if (!bytes) return std::nullopt;
  return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
}

std::optional<std::string> encodeImageBytes(const RasterSource& source, FileFormat format) {
  if (!takes(format, source) || !detail::sourceIsEncodable(source)) return std::nullopt;
  std::unique_ptr<std::FILE, FileCloser> file = memoryFile();
  if (!file || !encodeImage(source, format, file.get())) return std::nullopt;
  return readBack(file.get());
}

}  // namespace strimlo
