#include "preview_png.h"

#include <png.h>

#include <vector>

#include "atomic_file.h"

namespace strimlo {

bool writePreviewPng(const PreviewImage& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0) return false;
  // Previews are opaque, so premultiplied ARGB is plain RGB.
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(image.width) * image.height * 3);
  std::size_t k = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t p = image.pixel(x, y);
      rgb[k++] = static_cast<std::uint8_t>(p >> 16);
      rgb[k++] = static_cast<std::uint8_t>(p >> 8);
      rgb[k++] = static_cast<std::uint8_t>(p);
    }
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  AtomicFile file(path);
  if (!file.ok()) return false;
  if (!png_image_write_to_stdio(&png, file.file(), 0, rgb.data(), 0, nullptr)) {
    file.fail();
    return false;
  }
  return file.commit();
}

}  // namespace strimlo
