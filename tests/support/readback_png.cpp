// PNG read back with libpng, from memory.
#include <png.h>

#include <cstring>

#include "readback.h"

namespace strimlo::test {

namespace {

struct MemoryReader {
  ByteView bytes;
  std::size_t at = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (r->bytes.size() - r->at < n) png_error(png, "truncated");
  std::memcpy(out, r->bytes.data() + r->at, n);
  r->at += n;
}

[[noreturn]] void pngFailed(png_structp png, png_const_charp) { png_longjmp(png, 1); }

std::string colourOf(int type) {
  if (type == PNG_COLOR_TYPE_GRAY) return "gray";
  if (type == PNG_COLOR_TYPE_RGB) return "rgb";
  if (type == PNG_COLOR_TYPE_GRAY_ALPHA) return "gray+alpha";
  return "png colour type " + std::to_string(type);
}

// What the header states; the number of passes over the rows. Samples come out 8-bit,
// palettes expanded, alpha dropped except beside grey.
int readHeader(png_structp png, png_infop info, FileFacts& f) {
  png_read_info(png, info);
  f.width = static_cast<int>(png_get_image_width(png, info));
  f.height = static_cast<int>(png_get_image_height(png, info));
  f.bitDepth = png_get_bit_depth(png, info);
  f.colour = colourOf(png_get_color_type(png, info));
  f.compression = "deflate";
  png_uint_32 rx = 0, ry = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &rx, &ry, &unit) && unit == PNG_RESOLUTION_METER) {
    f.xdpi = rx * 0.0254;
    f.ydpi = ry * 0.0254;
  }
  png_set_expand(png);
  png_set_strip_16(png);
  if (png_get_color_type(png, info) != PNG_COLOR_TYPE_GRAY_ALPHA) png_set_strip_alpha(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  f.channels = png_get_channels(png, info);
  return passes;
}

// No object with a destructor lives in this frame: libpng may long-jump out of it.
bool readPngInto(png_structp png, png_infop info, MemoryReader& reader, FileFacts& f) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &reader, readFromMemory);
  const int passes = readHeader(png, info, f);
  const std::size_t rowBytes = static_cast<std::size_t>(f.width) * f.channels;
  f.samples.resize(rowBytes * f.height);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < f.height; ++y) png_read_row(png, f.samples.data() + y * rowBytes, nullptr);
  }
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

std::optional<FileFacts> readPng(ByteView bytes) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailed, nullptr);
  png_infop info = png_create_info_struct(png);
  MemoryReader reader{bytes};
  FileFacts f;
  const bool ok = readPngInto(png, info, reader, f);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return std::nullopt;
  f.grey = greyOf(f);
  return f;
}

}  // namespace strimlo::test
