#include "readback.h"

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

namespace strimlo::test {

std::optional<FileFacts> readPngFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  FileFacts facts;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return std::nullopt;
  }
  png_init_io(png, f);
  png_read_info(png, info);
  facts.width = static_cast<int>(png_get_image_width(png, info));
  facts.height = static_cast<int>(png_get_image_height(png, info));
  const int type = png_get_color_type(png, info);
  facts.colour = type == PNG_COLOR_TYPE_GRAY ? "gray" : type == PNG_COLOR_TYPE_RGB ? "rgb" : "other";
  facts.compression = "deflate";
  png_uint_32 rx = 0, ry = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &rx, &ry, &unit) && unit == PNG_RESOLUTION_METER) {
    facts.xdpi = rx * 0.0254;
    facts.ydpi = ry * 0.0254;
  }
  png_set_strip_16(png);
  if (type == PNG_COLOR_TYPE_RGB || type == PNG_COLOR_TYPE_RGB_ALPHA) png_set_rgb_to_gray(png, 1, -1, -1);
  png_set_strip_alpha(png);
  png_read_update_info(png, info);
  facts.grey.width = facts.width;
  facts.grey.height = facts.height;
  facts.grey.pixels.resize(static_cast<std::size_t>(facts.width) * facts.height);
  std::vector<png_bytep> rows(facts.height);
  for (int y = 0; y < facts.height; ++y) rows[y] = facts.grey.pixels.data() + static_cast<std::size_t>(y) * facts.width;
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return facts;
}

std::optional<FileFacts> readTiffFile(const std::string& path) {
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  std::unique_ptr<TIFF, decltype(&TIFFClose)> tif(TIFFOpen(path.c_str(), "r"), TIFFClose);
  if (!tif) return std::nullopt;
  FileFacts facts;
  uint32_t w = 0, h = 0;
  uint16_t spp = 0, bps = 0, photometric = 0, compression = 0, unit = 0, planar = 0;
  float xr = 0, yr = 0;
  TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bps);
  TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_COMPRESSION, &compression);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
  if (TIFFGetField(tif.get(), TIFFTAG_XRESOLUTION, &xr) && TIFFGetField(tif.get(), TIFFTAG_YRESOLUTION, &yr) &&
      unit == RESUNIT_INCH) {
    facts.xdpi = xr;
    facts.ydpi = yr;
  }
  facts.width = static_cast<int>(w);
  facts.height = static_cast<int>(h);
  facts.colour = photometric == PHOTOMETRIC_SEPARATED && spp == 4 && bps == 8 ? "cmyk" : "other";
  facts.compression = compression == COMPRESSION_LZW ? "lzw" : "other";
  if (facts.colour != "cmyk" || planar != PLANARCONFIG_CONTIG) return facts;
  facts.grey.width = facts.width;
  facts.grey.height = facts.height;
  facts.grey.pixels.resize(static_cast<std::size_t>(w) * h);
  std::vector<std::uint8_t> row(TIFFScanlineSize(tif.get()));
  for (uint32_t y = 0; y < h; ++y) {
    if (TIFFReadScanline(tif.get(), row.data(), y, 0) < 0) return std::nullopt;
    for (uint32_t x = 0; x < w; ++x) {
      // Ink of all four plates darkens; ours uses K alone.
      int ink = row[x * 4] + row[x * 4 + 1] + row[x * 4 + 2] + row[x * 4 + 3];
      facts.grey.pixels[static_cast<std::size_t>(y) * w + x] = static_cast<std::uint8_t>(255 - std::min(ink, 255));
    }
  }
  return facts;
}

namespace {
struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};
void jpegFail(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1); }
}  // namespace

std::optional<FileFacts> readJpegFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  jpeg_decompress_struct cinfo{};
  JpegError err{};
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = jpegFail;
  FileFacts facts;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return std::nullopt;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, f);
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  const bool adobe = cinfo.saw_Adobe_marker;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_GRAYSCALE;
  jpeg_start_decompress(&cinfo);
  facts.width = static_cast<int>(cinfo.output_width);
  facts.height = static_cast<int>(cinfo.output_height);
  facts.colour = cmyk ? "cmyk" : "other";
  facts.compression = "jpeg";
  facts.grey.width = facts.width;
  facts.grey.height = facts.height;
  facts.grey.pixels.resize(static_cast<std::size_t>(facts.width) * facts.height);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(facts.width) * cinfo.output_components);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW r = row.data();
    const int y = static_cast<int>(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, &r, 1);
    for (int x = 0; x < facts.width; ++x) {
      int ink = 0;
      for (int c = 0; c < (cmyk ? 4 : 1); ++c) {
        const int v = row[static_cast<std::size_t>(x) * cinfo.output_components + c];
        // Adobe stores CMYK inverted: 255 is no ink.
        ink += cmyk ? (adobe ? 255 - v : v) : 255 - v;
      }
      facts.grey.pixels[static_cast<std::size_t>(y) * facts.width + x] =
          static_cast<std::uint8_t>(255 - std::min(ink, 255));
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(f);
  return facts;
}

std::optional<FileFacts> readRasterFile(const std::string& path) {
  const std::string head = readFile(path).substr(0, 4);
  if (head.rfind("\x89PNG", 0) == 0) return readPngFile(path);
  if (head.rfind("II*", 0) == 0 || head.rfind("MM", 0) == 0) return readTiffFile(path);
  if (head.rfind("\xFF\xD8", 0) == 0) return readJpegFile(path);
  return std::nullopt;
}

}  // namespace strimlo::test
