// PNG: 8-bit grey, grey = 255 - ink. Our bitmaps hold only black ink, so grey is exact.
#include <png.h>
#include <zlib.h>

#include <cmath>
#include <vector>

#include "encode_detail.h"

namespace strimlo::detail {

namespace {

// The "Up" filter turns every row inside the bars into zeros. Run-length matching
// codes those runs as well as full deflate does, at the speed of its fastest level,
// and the file comes out a quarter of level 1's size.
constexpr int kZlibLevel = 1;
constexpr int kZlibStrategy = Z_RLE;

// libpng's default handlers print to stderr; ours only unwind (errors) or stay quiet.
[[noreturn]] void onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onPngWarning(png_structp, png_const_charp) {}

struct PngWriter {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError,
                                            onPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  PngWriter() = default;
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;
  ~PngWriter() { png_destroy_write_struct(&png, &info); }
};

void setHeader(png_structp png, png_infop info, const RasterSource& source) {
  png_set_IHDR(png, info, static_cast<png_uint_32>(source.width),
               static_cast<png_uint_32>(source.height), 8, PNG_COLOR_TYPE_GRAY,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  const auto perMetre = static_cast<png_uint_32>(std::lround(source.dpi / 0.0254));
  png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(png, kZlibLevel);
  png_set_compression_strategy(png, kZlibStrategy);
}

// Every failure, libpng's or the source's, lands at the one setjmp. Nothing in this
// frame has a destructor, so the long jump skips no cleanup.
bool writePng(png_structp png, png_infop info, const RasterSource& source,
              StripReader& reader, png_bytep grey, std::FILE* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, out);
  setHeader(png, info, source);
  png_write_info(png, info);
  for (int y = 0; y < source.height; ++y) {
    const std::uint8_t* ink = reader.row(y);
    if (ink == nullptr) png_error(png, "source failed");
    for (int x = 0; x < source.width; ++x) grey[x] = static_cast<png_byte>(255 - ink[x]);
    png_write_row(png, grey);
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool encodePng(const RasterSource& source, std::FILE* out) {
  PngWriter writer;
  if (writer.info == nullptr) return false;
  StripReader reader(source);
  std::vector<png_byte> grey(static_cast<std::size_t>(source.width));
  return writePng(writer.png, writer.info, source, reader, grey.data(), out);
}

}  // namespace strimlo::detail
