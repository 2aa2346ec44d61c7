// PNG, TIFF and JPEG read into reflectance with their own libraries, from memory. A
// scanner sees a symbol in red light (670 nm), so colour becomes reflectance through its
// red: RGB's red channel, CMYK's cyan and black. Every size is checked before anything
// is allocated for it.
#include <png.h>
#include <tiffio.h>
#include <sys/mman.h>
#include <unistd.h>
// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <memory>

#include "image.h"

namespace strimlo::verify {

namespace {

using Bytes = std::span<const std::uint8_t>;

bool tooLarge(std::uint64_t w, std::uint64_t h) { return w == 0 || h == 0 || w * h > kMaxImagePixels; }

std::string sizeError(std::uint64_t w, std::uint64_t h) {
  if (w == 0 || h == 0) return "the image is empty";
  return "the image is too large: " + std::to_string(w) + " x " + std::to_string(h) +
         " pixels (at most 100 million are read)";
}

// ---- PNG ----

struct PngSource {
  Bytes bytes;
  std::size_t at = 0;
};

void pngRead(png_structp png, png_bytep out, png_size_t n) {
  auto* s = static_cast<PngSource*>(png_get_io_ptr(png));
  if (s->bytes.size() - s->at < n) png_error(png, "truncated");
  std::memcpy(out, s->bytes.data() + s->at, n);
  s->at += n;
}

[[noreturn]] void pngFailed(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngWarned(png_structp, png_const_charp) {}

// Red (or grey) and alpha; no object with a destructor lives in this frame, which libpng
// may leave by a long jump.
bool readPngInto(png_structp png, png_infop info, PngSource& source, ReadImage& out,
                 std::vector<std::uint8_t>& row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &source, pngRead);
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  if (tooLarge(w, h)) {
    out.error = sizeError(w, h);
    return false;
  }
  png_uint_32 rx = 0, ry = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &rx, &ry, &unit) && unit == PNG_RESOLUTION_METER && rx > 0)
    out.image.pixelsPerMm = rx / 1000.0;
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  out.image.width = static_cast<int>(w);
  out.image.height = static_cast<int>(h);
  out.image.pixels.assign(static_cast<std::size_t>(w) * h, 255);
  // Interlaced images need every pass over the whole image: RGBA kept until the last.
  std::vector<std::uint8_t>& rgba = row;
  rgba.resize(static_cast<std::size_t>(w) * h * 4);
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < h; ++y) png_read_row(png, rgba.data() + std::size_t{y} * w * 4, nullptr);
  for (std::size_t i = 0; i < out.image.pixels.size(); ++i)  // over white
    out.image.pixels[i] = static_cast<std::uint8_t>(255 - (255 - rgba[i * 4]) * rgba[i * 4 + 3] / 255);
  return true;
}

ReadImage readPng(Bytes bytes) {
  ReadImage out;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailed, pngWarned);
  if (!png) return {{}, "not enough memory to read the PNG"};
  png_infop info = png_create_info_struct(png);
  PngSource source{bytes};
  std::vector<std::uint8_t> buffer;
  const bool ok = info && readPngInto(png, info, source, out, buffer);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) {
    out.image = {};
    if (out.error.empty()) out.error = "a damaged or truncated PNG file";
  }
  return out;
}

// ---- TIFF ----

void tiffQuiet(const char*, const char*, va_list) {}

ReadImage readTiff(Bytes bytes) {
  TIFFSetErrorHandler(tiffQuiet);
  TIFFSetWarningHandler(tiffQuiet);
  const int fd = memfd_create("check.tif", 0);
  if (fd < 0) return {{}, "could not read the TIFF into memory"};
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  TIFF* tif = done == bytes.size() && lseek(fd, 0, SEEK_SET) == 0 ? TIFFFdOpen(fd, "check.tif", "r") : nullptr;
  if (!tif) {
    close(fd);
    return {{}, "a damaged or truncated TIFF file"};
  }
  const std::unique_ptr<TIFF, decltype(&TIFFClose)> owner(tif, TIFFClose);
  std::uint32_t w = 0, h = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  if (tooLarge(w, h)) return {{}, sizeError(w, h)};
  ReadImage out;
  float xr = 0;
  std::uint16_t unit = RESUNIT_INCH;
  TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
  if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xr) && xr > 0 && std::isfinite(xr)) {
    if (unit == RESUNIT_INCH) out.image.pixelsPerMm = xr / 25.4;
    if (unit == RESUNIT_CENTIMETER) out.image.pixelsPerMm = xr / 10.0;
  }
  // libtiff's own conversion of every colour form: CMYK's red is (1 - C)(1 - K).
  std::vector<std::uint32_t> rgba(static_cast<std::size_t>(w) * h);
  if (!TIFFReadRGBAImageOriented(tif, w, h, rgba.data(), ORIENTATION_TOPLEFT, 0))
    return {{}, "a damaged or truncated TIFF file, or one of a form it cannot read"};
  out.image.width = static_cast<int>(w);
  out.image.height = static_cast<int>(h);
  out.image.pixels.resize(rgba.size());
  for (std::size_t i = 0; i < rgba.size(); ++i) {
    const std::uint32_t r = TIFFGetR(rgba[i]), a = TIFFGetA(rgba[i]);
    out.image.pixels[i] = static_cast<std::uint8_t>(255 - (255 - r) * a / 255);
  }
  return out;
}

// ---- JPEG ----

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  int warnings = 0;
};

[[noreturn]] void jpegFailed(j_common_ptr c) { std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); }
void jpegMessage(j_common_ptr c, int level) {
  if (level < 0) ++reinterpret_cast<JpegError*>(c->err)->warnings;  // e.g. a premature end
}

std::uint8_t jpegReflectance(const std::uint8_t* p, int channels, bool inverted) {
  if (channels < 4) return p[0];  // grey, or red
  const int c = inverted ? 255 - p[0] : p[0], k = inverted ? 255 - p[3] : p[3];
  return static_cast<std::uint8_t>((255 - c) * (255 - k) / 255);
}

// No object with a destructor lives in this frame: libjpeg may leave it by a long jump.
bool readJpegInto(jpeg_decompress_struct& c, JpegError& err, Bytes bytes, ReadImage& out,
                  std::vector<std::uint8_t>& row) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&c);
  jpeg_mem_src(&c, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&c, TRUE);
  if (tooLarge(c.image_width, c.image_height)) {
    out.error = sizeError(c.image_width, c.image_height);
    return false;
  }
  if (c.density_unit == 1 && c.X_density > 0) out.image.pixelsPerMm = c.X_density / 25.4;
  if (c.density_unit == 2 && c.X_density > 0) out.image.pixelsPerMm = c.X_density / 10.0;
  if (c.jpeg_color_space == JCS_YCbCr) c.out_color_space = JCS_RGB;
  jpeg_start_decompress(&c);
  const int channels = c.output_components;
  const bool inverted = c.saw_Adobe_marker != 0;
  out.image.width = static_cast<int>(c.output_width);
  out.image.height = static_cast<int>(c.output_height);
  out.image.pixels.resize(static_cast<std::size_t>(c.output_width) * c.output_height);
  row.resize(static_cast<std::size_t>(c.output_width) * channels);
  while (c.output_scanline < c.output_height) {
    const std::size_t y = c.output_scanline;
    JSAMPROW r = row.data();
    if (jpeg_read_scanlines(&c, &r, 1) != 1) return false;
    for (std::size_t x = 0; x < c.output_width; ++x)
      out.image.pixels[y * c.output_width + x] = jpegReflectance(&row[x * channels], channels, inverted);
  }
  jpeg_finish_decompress(&c);
  return true;
}

ReadImage readJpeg(Bytes bytes) {
  jpeg_decompress_struct c{};
  JpegError err{};
  c.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = jpegFailed;
  err.mgr.emit_message = jpegMessage;
  ReadImage out;
  std::vector<std::uint8_t> row;
  const bool ok = readJpegInto(c, err, bytes, out, row);
  jpeg_destroy_decompress(&c);
  if (!ok || err.warnings > 0) {
    out.image = {};
    if (out.error.empty()) out.error = "a damaged or truncated JPEG file";
  }
  return out;
}

}  // namespace

ReadImage readImage(std::span<const std::uint8_t> bytes) {
  const std::string_view head(reinterpret_cast<const char*>(bytes.data()), std::min<std::size_t>(bytes.size(), 8));
  if (head.starts_with("\x89PNG\r\n\x1a\n")) return readPng(bytes);
  if (head.starts_with("II*") || head.starts_with(std::string_view("MM\0*", 4))) return readTiff(bytes);
  if (head.starts_with("\xFF\xD8\xFF")) return readJpeg(bytes);
  if (bytes.empty()) return {{}, "the file is empty"};
  return {{}, "not a PNG, TIFF or JPEG file"};
}

}  // namespace strimlo::verify
