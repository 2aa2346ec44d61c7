// JPEG read back with libjpeg, from memory, decoded to the colour space libjpeg picks
// for the file (CMYK for CMYK and YCCK, RGB for YCbCr, grey for grey).
// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <tuple>
#include <utility>

#include "readback.h"

namespace strimlo::test {

namespace {

struct JpegReadError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

[[noreturn]] void jpegFailed(j_common_ptr c) {
  std::longjmp(reinterpret_cast<JpegReadError*>(c->err)->jump, 1);
}

std::uint32_t bigEndian(ByteView b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | b[at + i];
  return v;
}

// Horizontal and vertical pixels per inch from a Photoshop APP13 block's
// ResolutionInfo resource (8BIM 0x03ED), or {0, 0} when there is none. Units other
// than pixels per inch (1) count as none.
std::pair<double, double> photoshopResolution(ByteView app13) {
  static constexpr char kSig[] = "Photoshop 3.0";
  if (app13.size() < sizeof kSig || std::memcmp(app13.data(), kSig, sizeof kSig) != 0) return {0, 0};
  std::size_t at = sizeof kSig;
  while (at + 12 <= app13.size() && std::memcmp(&app13[at], "8BIM", 4) == 0) {
    const std::uint32_t id = bigEndian(app13, at + 4, 2);
    std::size_t nameLength = app13[at + 6] + 1u;
    nameLength += nameLength % 2;
    const std::size_t data = at + 6 + nameLength + 4;
    if (data > app13.size()) break;
    const std::uint32_t size = bigEndian(app13, data - 4, 4);
    if (id == 0x03ED && size >= 16 && data + 16 <= app13.size()) {
      if (bigEndian(app13, data + 4, 2) != 1 || bigEndian(app13, data + 12, 2) != 1) return {0, 0};
      return {bigEndian(app13, data, 4) / 65536.0, bigEndian(app13, data + 8, 4) / 65536.0};
    }
    at = data + size + size % 2;
  }
  return {0, 0};
}

const char* colourOf(J_COLOR_SPACE space) {
  if (space == JCS_GRAYSCALE) return "gray";
  if (space == JCS_RGB || space == JCS_YCbCr) return "rgb";
  if (space == JCS_CMYK) return "cmyk";
  return space == JCS_YCCK ? "ycck" : "jpeg colour space unknown";
}

void readHeader(jpeg_decompress_struct& c, FileFacts& f) {
  jpeg_save_markers(&c, JPEG_APP0 + 13, 0xFFFF);
  jpeg_read_header(&c, TRUE);
  f.colour = colourOf(c.jpeg_color_space);
  f.bitDepth = c.data_precision;
  f.compression = "jpeg";
  // Adobe's CMYK is stored inverted; libjpeg hands the samples over as they are.
  f.inverted = c.saw_Adobe_marker != 0;
  for (jpeg_saved_marker_ptr m = c.marker_list; m != nullptr; m = m->next) {
    if (m->marker == JPEG_APP0 + 13) std::tie(f.xdpi, f.ydpi) = photoshopResolution({m->data, m->data_length});
  }
}

// No object with a destructor lives in this frame: libjpeg may long-jump out of it.
bool readJpegInto(jpeg_decompress_struct& c, JpegReadError& err, ByteView bytes, FileFacts& f) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&c);
  jpeg_mem_src(&c, bytes.data(), static_cast<unsigned long>(bytes.size()));
  readHeader(c, f);
  jpeg_start_decompress(&c);
  f.width = static_cast<int>(c.output_width);
  f.height = static_cast<int>(c.output_height);
  f.channels = c.output_components;
  const std::size_t rowBytes = static_cast<std::size_t>(f.width) * f.channels;
  f.samples.resize(rowBytes * f.height);
  while (c.output_scanline < c.output_height) {
    JSAMPROW row = f.samples.data() + c.output_scanline * rowBytes;
    jpeg_read_scanlines(&c, &row, 1);
  }
  jpeg_finish_decompress(&c);
  return true;
}

}  // namespace

std::optional<FileFacts> readJpeg(ByteView bytes) {
  jpeg_decompress_struct c{};
  JpegReadError err{};
  c.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = jpegFailed;
  FileFacts f;
  const bool ok = readJpegInto(c, err, bytes, f);
  jpeg_destroy_decompress(&c);
  if (!ok) return std::nullopt;
  f.grey = greyOf(f);
  return f;
}

}  // namespace strimlo::test
