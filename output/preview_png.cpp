#include "preview_png.h"

#include <png.h>

#include "atomic_file.h"

namespace strimlo {

namespace {

[[noreturn]] void onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onPngWarning(png_structp, png_const_charp) {}

// Previews are opaque, so cairo's premultiplied ARGB32 (B, G, R, A in memory on this
// little-endian machine) is plain RGB once libpng drops the fourth byte and swaps B and R:
// the rows go out as they are, without a copy.
bool writeRows(png_structp png, png_infop info, const PreviewImage& image, std::FILE* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, out);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_set_bgr(png);
  for (int y = 0; y < image.height; ++y)
    png_write_row(png, image.pixels.data() + static_cast<std::size_t>(y) * image.stride);
  png_write_end(png, info);
  return true;
}

}  // namespace

bool writePreviewPng(const PreviewImage& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0) return false;
  AtomicFile file(path);
  if (!file.ok()) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const bool written = info != nullptr && writeRows(png, info, image, file.file());
  png_destroy_write_struct(&png, &info);
  if (!written) {
    file.fail();
    return false;
  }
  return file.commit();
}

}  // namespace strimlo
