// The image encoders, checked by reading every file back with its own library (libpng,
// libtiff, libjpeg), never with our writer's assumptions.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "encode.h"
#include "test_support.h"

namespace strimlo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 67 x 45: a full-ink block beside an empty one (rows 0-15), sharp stripes 3 on and 2
// off (rows 16-31), a grey ramp from no ink to full ink (rows 32-44). The odd sizes
// leave partial JPEG blocks and TIFF strips at the edges.
InkBitmap testBitmap(double dpi = 300.0) {
  InkBitmap b{67, 45, dpi, {}};
  b.ink.resize(67 * 45);
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      int ink = 0;
      if (y < 16) ink = x < 32 ? 255 : 0;
      else if (y < 32) ink = x % 5 < 3 ? 255 : 0;
      else ink = x * 255 / (b.width - 1);
      b.ink[static_cast<std::size_t>(y) * b.width + x] = static_cast<std::uint8_t>(ink);
    }
  }
  return b;
}

std::uint8_t inkAt(const InkBitmap& b, int x, int y) {
  return b.ink[static_cast<std::size_t>(y) * b.width + x];
}

// ---- PNG read back with libpng --------------------------------------------------

struct PngFile {
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = -1;
  bool hasPhys = false;
  png_uint_32 xPerUnit = 0, yPerUnit = 0;
  int unit = -1;
  Bytes pixels;  // as stored, no transformations
};

struct MemoryReader {
  const Bytes* bytes;
  std::size_t at = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (r->bytes->size() - r->at < n) png_error(png, "truncated");
  std::memcpy(out, r->bytes->data() + r->at, n);
  r->at += n;
}

[[noreturn]] void pngFailed(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// No object with a destructor lives in this frame: libpng may long-jump out of it.
bool readPngInto(png_structp png, png_infop info, MemoryReader& reader, PngFile& f) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &reader, readFromMemory);
  png_read_info(png, info);
  f.width = png_get_image_width(png, info);
  f.height = png_get_image_height(png, info);
  f.bitDepth = png_get_bit_depth(png, info);
  f.colorType = png_get_color_type(png, info);
  f.hasPhys = png_get_pHYs(png, info, &f.xPerUnit, &f.yPerUnit, &f.unit) != 0;
  const png_size_t rowBytes = png_get_rowbytes(png, info);
  f.pixels.resize(rowBytes * f.height);
  for (png_uint_32 y = 0; y < f.height; ++y) png_read_row(png, f.pixels.data() + y * rowBytes, nullptr);
  png_read_end(png, nullptr);
  return true;
}

std::optional<PngFile> readPng(const Bytes& bytes) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailed, nullptr);
  png_infop info = png_create_info_struct(png);
  MemoryReader reader{&bytes};
  PngFile f;
  const bool ok = readPngInto(png, info, reader, f);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return std::nullopt;
  return f;
}

// ---- TIFF read back with libtiff ------------------------------------------------

struct TiffFile {
  std::uint32_t width = 0, height = 0;
  std::uint16_t bitsPerSample = 0, samplesPerPixel = 0, photometric = 0, inkSet = 0;
  std::uint16_t planar = 0, compression = 0, resolutionUnit = 0;
  float xResolution = 0, yResolution = 0;
  Bytes pixels;  // samplesPerPixel bytes per pixel, top row first
};

std::optional<TiffFile> readTiff(const Bytes& bytes) {
  test::TempDir dir;
  const std::string path = dir.file("read.tif");
  test::writeFile(path, std::string(bytes.begin(), bytes.end()));
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (tif == nullptr) return std::nullopt;
  TiffFile f;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &f.width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &f.height);
  TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &f.bitsPerSample);
  TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &f.samplesPerPixel);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &f.photometric);
  TIFFGetField(tif, TIFFTAG_INKSET, &f.inkSet);
  TIFFGetField(tif, TIFFTAG_PLANARCONFIG, &f.planar);
  TIFFGetField(tif, TIFFTAG_COMPRESSION, &f.compression);
  TIFFGetField(tif, TIFFTAG_XRESOLUTION, &f.xResolution);
  TIFFGetField(tif, TIFFTAG_YRESOLUTION, &f.yResolution);
  TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &f.resolutionUnit);
  const auto rowBytes = static_cast<std::size_t>(TIFFScanlineSize64(tif));
  f.pixels.resize(rowBytes * f.height);
  bool ok = true;
  for (std::uint32_t y = 0; y < f.height && ok; ++y) ok = TIFFReadScanline(tif, f.pixels.data() + y * rowBytes, y, 0) == 1;
  TIFFClose(tif);
  if (!ok) return std::nullopt;
  return f;
}

// ---- JPEG read back with libjpeg ------------------------------------------------

struct JpegFile {
  JDIMENSION width = 0, height = 0;
  int components = 0;
  J_COLOR_SPACE colorSpace = JCS_UNKNOWN;  // as stored in the file
  bool adobeMarker = false;
  int adobeTransform = -1;
  Bytes app13;   // the Photoshop block, when present
  Bytes pixels;  // decoded to CMYK, 4 bytes per pixel as stored (Adobe: inverted)
};

struct JpegReadError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

[[noreturn]] void jpegFailed(j_common_ptr c) {
  std::longjmp(reinterpret_cast<JpegReadError*>(c->err)->jump, 1);
}

// No object with a destructor lives in this frame: libjpeg may long-jump out of it.
bool readJpegInto(jpeg_decompress_struct& c, JpegReadError& err, const Bytes& bytes, JpegFile& f) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&c);
  jpeg_mem_src(&c, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_save_markers(&c, JPEG_APP0 + 13, 0xFFFF);
  jpeg_read_header(&c, TRUE);
  f.width = c.image_width;
  f.height = c.image_height;
  f.components = c.num_components;
  f.colorSpace = c.jpeg_color_space;
  f.adobeMarker = c.saw_Adobe_marker != 0;
  f.adobeTransform = c.Adobe_transform;
  for (jpeg_saved_marker_ptr m = c.marker_list; m != nullptr; m = m->next) {
    if (m->marker == JPEG_APP0 + 13) f.app13.assign(m->data, m->data + m->data_length);
  }
  c.out_color_space = JCS_CMYK;
  jpeg_start_decompress(&c);
  f.pixels.resize(static_cast<std::size_t>(c.output_width) * 4 * c.output_height);
  while (c.output_scanline < c.output_height) {
    JSAMPROW row = f.pixels.data() + static_cast<std::size_t>(c.output_scanline) * c.output_width * 4;
    jpeg_read_scanlines(&c, &row, 1);
  }
  jpeg_finish_decompress(&c);
  return true;
}

std::optional<JpegFile> readJpeg(const Bytes& bytes) {
  jpeg_decompress_struct c{};
  JpegReadError err{};
  c.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = jpegFailed;
  JpegFile f;
  const bool ok = readJpegInto(c, err, bytes, f);
  jpeg_destroy_decompress(&c);
  if (!ok) return std::nullopt;
  return f;
}

std::uint32_t bigEndian(const Bytes& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | b[at + i];
  return v;
}

// Horizontal and vertical pixels per inch from a Photoshop APP13 block's
// ResolutionInfo resource (8BIM 0x03ED), or {0, 0} when there is none. Units other
// than pixels per inch (1) count as none.
std::pair<double, double> photoshopResolution(const Bytes& app13) {
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

// ---- PNG -------------------------------------------------------------------------

struct ResolutionRow {
  double dpi;
  png_uint_32 perMetre;  // round(dpi / 0.0254)
  const char* proves;
};

const ResolutionRow kResolutions[] = {
    {72, 2835, "the lowest list resolution rounds 2834.6 up"},
    {300, 11811, "the default resolution rounds 11811.02 down"},
    {2540, 100000, "2540 dpi is exactly 100000 per metre"},
    {3200, 125984, "the highest list resolution"},
};

TEST(EncodePng, IsEightBitGreyWithResolutionPerMetre) {
  for (const auto& row : kResolutions) {
    SCOPED_TRACE(row.proves);
    const InkBitmap bitmap = testBitmap(row.dpi);
    const auto bytes = encodeImage(bitmap.source(), kPNG);
    ASSERT_TRUE(bytes);
    const auto png = readPng(*bytes);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 67u);
    EXPECT_EQ(png->height, 45u);
    EXPECT_EQ(png->bitDepth, 8);
    EXPECT_EQ(png->colorType, PNG_COLOR_TYPE_GRAY);
    ASSERT_TRUE(png->hasPhys);
    EXPECT_EQ(png->unit, PNG_RESOLUTION_METER);
    EXPECT_EQ(png->xPerUnit, row.perMetre);
    EXPECT_EQ(png->yPerUnit, row.perMetre);
  }
}

TEST(EncodePng, GreyIsExactlyTheInverseOfInk) {
  const InkBitmap bitmap = testBitmap();
  const auto png = readPng(*encodeImage(bitmap.source(), kPNG));
  ASSERT_TRUE(png);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      ASSERT_EQ(png->pixels[static_cast<std::size_t>(y) * bitmap.width + x], 255 - inkAt(bitmap, x, y))
          << "at " << x << "," << y;
    }
  }
}

// ---- TIFF ------------------------------------------------------------------------

TEST(EncodeTiff, IsLzwCmykWithResolutionInInches) {
  for (const auto& row : kResolutions) {
    SCOPED_TRACE(row.proves);
    const auto tiff = readTiff(*encodeImage(testBitmap(row.dpi).source(), kTIFF));
    ASSERT_TRUE(tiff);
    EXPECT_EQ(tiff->width, 67u);
    EXPECT_EQ(tiff->height, 45u);
    EXPECT_EQ(tiff->bitsPerSample, 8);
    EXPECT_EQ(tiff->samplesPerPixel, 4);
    EXPECT_EQ(tiff->photometric, PHOTOMETRIC_SEPARATED);
    EXPECT_EQ(tiff->inkSet, INKSET_CMYK);
    EXPECT_EQ(tiff->planar, PLANARCONFIG_CONTIG);
    EXPECT_EQ(tiff->compression, COMPRESSION_LZW);
    EXPECT_EQ(tiff->resolutionUnit, RESUNIT_INCH);
    EXPECT_FLOAT_EQ(tiff->xResolution, static_cast<float>(row.dpi));
    EXPECT_FLOAT_EQ(tiff->yResolution, static_cast<float>(row.dpi));
  }
}

TEST(EncodeTiff, BlackIsPureKEqualToInk) {
  const InkBitmap bitmap = testBitmap();
  const auto tiff = readTiff(*encodeImage(bitmap.source(), kTIFF));
  ASSERT_TRUE(tiff);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const std::uint8_t* p = &tiff->pixels[(static_cast<std::size_t>(y) * bitmap.width + x) * 4];
      ASSERT_EQ(p[0] | p[1] | p[2], 0) << "C, M or Y ink at " << x << "," << y;
      ASSERT_EQ(p[3], inkAt(bitmap, x, y)) << "at " << x << "," << y;
    }
  }
}

// A TIFF written after other bytes still has its offsets right: they count from its
// own header, not from the start of the file.
TEST(EncodeTiff, StartsWhereverTheFileStands) {
  const InkBitmap bitmap = testBitmap();
  const auto alone = encodeImage(bitmap.source(), kTIFF);
  ASSERT_TRUE(alone);
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  std::fputs("prefix", f);
  ASSERT_TRUE(encodeImage(bitmap.source(), kTIFF, f));
  Bytes all(static_cast<std::size_t>(std::ftell(f)));
  std::rewind(f);
  ASSERT_EQ(std::fread(all.data(), 1, all.size(), f), all.size());
  std::fclose(f);
  EXPECT_EQ(Bytes(all.begin() + 6, all.end()), *alone);
}

// ---- JPEG ------------------------------------------------------------------------

TEST(EncodeJpeg, IsAdobeCmykWithPhotoshopResolution) {
  for (const auto& row : kResolutions) {
    SCOPED_TRACE(row.proves);
    const auto jpeg = readJpeg(*encodeImage(testBitmap(row.dpi).source(), kJPEG));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->width, 67u);
    EXPECT_EQ(jpeg->height, 45u);
    EXPECT_EQ(jpeg->components, 4);
    EXPECT_EQ(jpeg->colorSpace, JCS_CMYK);
    EXPECT_TRUE(jpeg->adobeMarker);
    EXPECT_EQ(jpeg->adobeTransform, 0) << "CMYK stored as it is, no YCCK";
    const auto [x, y] = photoshopResolution(jpeg->app13);
    EXPECT_DOUBLE_EQ(x, row.dpi);
    EXPECT_DOUBLE_EQ(y, row.dpi);
  }
}

// Adobe stores CMYK inverted; undone, full ink reads back as K high and no ink as K
// low, and C, M, Y carry no ink anywhere.
TEST(EncodeJpeg, InkReadsBackNearlyWithAdobePolarity) {
  const InkBitmap bitmap = testBitmap();
  const auto jpeg = readJpeg(*encodeImage(bitmap.source(), kJPEG));
  ASSERT_TRUE(jpeg);
  auto inkOf = [&](int x, int y, int sample) {
    return 255 - jpeg->pixels[(static_cast<std::size_t>(y) * bitmap.width + x) * 4 + sample];
  };
  int rampError = 0;
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      for (int s = 0; s < 3; ++s) ASSERT_LE(inkOf(x, y, s), 2) << "colour ink at " << x << "," << y;
      if (y >= 32) rampError = std::max(rampError, std::abs(inkOf(x, y, 3) - inkAt(bitmap, x, y)));
    }
  }
  EXPECT_LE(rampError, 6) << "the grey ramp";
  // Inside the flat blocks, away from the edge between them.
  for (int y = 2; y < 6; ++y) {
    for (int x = 2; x < 6; ++x) EXPECT_GE(inkOf(x, y, 3), 252) << "full ink at " << x << "," << y;
    for (int x = 50; x < 54; ++x) EXPECT_LE(inkOf(x, y, 3), 3) << "no ink at " << x << "," << y;
  }
}

// ---- all formats -------------------------------------------------------------------

struct FormatRow {
  FileFormat format;
  const char* name;
};
const FormatRow kFormats[] = {{kPNG, "PNG"}, {kTIFF, "TIFF"}, {kJPEG, "JPEG"}};

// Wraps a source, recording the largest strip asked for and whether every row was
// asked for exactly once, in order.
struct WatchedSource {
  RasterSource inner;
  int largestStrip = 0;
  int nextRow = 0;
  bool inOrder = true;

  RasterSource source() {
    RasterSource s = inner;
    s.rows = [this](int first, int count, std::uint8_t* dst, std::size_t stride) {
      largestStrip = std::max(largestStrip, count);
      inOrder = inOrder && first == nextRow;
      nextRow = first + count;
      return inner.rows(first, count, dst, stride);
    };
    return s;
  }
};

TEST(EncodeImage, BytesDoNotDependOnTheStripHeight) {
  const InkBitmap bitmap = testBitmap();
  for (const auto& f : kFormats) {
    SCOPED_TRACE(f.name);
    std::optional<Bytes> first;
    for (int stripRows : {1, 7, 256}) {
      WatchedSource watched{bitmap.source()};
      watched.inner.stripRows = stripRows;
      const auto bytes = encodeImage(watched.source(), f.format);
      ASSERT_TRUE(bytes) << "strip of " << stripRows;
      EXPECT_LE(watched.largestStrip, stripRows) << "never more than a strip at once";
      EXPECT_TRUE(watched.inOrder) << "each row once, top first";
      EXPECT_EQ(watched.nextRow, bitmap.height) << "every row";
      if (!first) first = bytes;
      else EXPECT_EQ(*bytes, *first) << "strip of " << stripRows;
    }
  }
}

TEST(EncodeImage, FileAndMemoryGiveTheSameBytes) {
  const InkBitmap bitmap = testBitmap();
  for (const auto& f : kFormats) {
    SCOPED_TRACE(f.name);
    test::TempDir dir;
    const std::string path = dir.file("out");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    const bool written = encodeImage(bitmap.source(), f.format, out);
    std::fclose(out);
    ASSERT_TRUE(written);
    const std::string file = test::readFile(path);
    EXPECT_EQ(Bytes(file.begin(), file.end()), *encodeImage(bitmap.source(), f.format));
  }
}

TEST(EncodeImage, FormatsOtherThanPngTiffJpegGiveNothing) {
  const InkBitmap bitmap = testBitmap();
  for (FileFormat format : {0, 4, -1, 99}) {
    SCOPED_TRACE(format);
    bool asked = false;
    RasterSource s = bitmap.source();
    s.rows = [&](int, int, std::uint8_t*, std::size_t) { return asked = true; };
    EXPECT_FALSE(encodeImage(s, format));
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(encodeImage(s, format, out));
    EXPECT_EQ(std::ftell(out), 0) << "nothing written";
    std::fclose(out);
    EXPECT_FALSE(asked) << "refused before reading any row";
  }
}

struct RefusalRow {
  const char* proves;
  void (*spoil)(RasterSource&);
  FileFormat onlyFormat;  // 0: every format
};

const RefusalRow kRefusals[] = {
    {"width 0", [](RasterSource& s) { s.width = 0; }, 0},
    {"height 0", [](RasterSource& s) { s.height = 0; }, 0},
    {"negative width", [](RasterSource& s) { s.width = -67; }, 0},
    {"negative height", [](RasterSource& s) { s.height = -1; }, 0},
    {"no rows function", [](RasterSource& s) { s.rows = nullptr; }, 0},
    {"resolution 0", [](RasterSource& s) { s.dpi = 0; }, 0},
    {"negative resolution", [](RasterSource& s) { s.dpi = -300; }, 0},
    {"resolution not a number", [](RasterSource& s) { s.dpi = std::nan(""); }, 0},
    {"infinite resolution", [](RasterSource& s) { s.dpi = std::numeric_limits<double>::infinity(); }, 0},
    {"resolution past 16.16 fixed point", [](RasterSource& s) { s.dpi = 70000; }, 0},
    {"wider than JPEG allows", [](RasterSource& s) { s.width = 65501; }, kJPEG},
    {"taller than JPEG allows", [](RasterSource& s) { s.height = 65501; }, kJPEG},
};

TEST(EncodeImage, RefusesSizesAndResolutionsItCannotWrite) {
  for (const auto& row : kRefusals) {
    for (const auto& f : kFormats) {
      if (row.onlyFormat != 0 && row.onlyFormat != f.format) continue;
      SCOPED_TRACE(std::string(row.proves) + ", " + f.name);
      RasterSource s = testBitmap().source();
      const bool hasRows = static_cast<bool>(s.rows);
      bool asked = false;
      if (hasRows) s.rows = [&](int, int, std::uint8_t*, std::size_t) { return asked = true; };
      row.spoil(s);
      EXPECT_FALSE(encodeImage(s, f.format));
      EXPECT_FALSE(asked) << "refused before reading any row";
    }
  }
}

TEST(EncodeImage, FailsWhenTheSourceFails) {
  const InkBitmap bitmap = testBitmap();
  for (const auto& f : kFormats) {
    for (int failingRow : {0, 20, 44}) {
      SCOPED_TRACE(std::string(f.name) + ", row " + std::to_string(failingRow));
      RasterSource s = bitmap.source();
      s.stripRows = 4;
      const auto inner = s.rows;
      s.rows = [&](int first, int count, std::uint8_t* dst, std::size_t stride) {
        return failingRow >= first + count && inner(first, count, dst, stride);
      };
      EXPECT_FALSE(encodeImage(s, f.format));
    }
  }
}

TEST(EncodeImage, FailsWhenTheFileCannotBeWritten) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::fclose(full);
  const InkBitmap bitmap = testBitmap();
  for (const auto& f : kFormats) {
    SCOPED_TRACE(f.name);
    std::FILE* out = std::fopen("/dev/full", "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(encodeImage(bitmap.source(), f.format, out));
    std::fclose(out);
  }
}

TEST(InkBitmap, SourceRefusesRowsOutsideTheBitmap) {
  const InkBitmap bitmap = testBitmap();
  const RasterSource s = bitmap.source();
  Bytes dst(static_cast<std::size_t>(bitmap.width) * 2);
  EXPECT_TRUE(s.rows(43, 2, dst.data(), bitmap.width));
  EXPECT_EQ(dst[bitmap.width + 66], inkAt(bitmap, 66, 44));
  EXPECT_FALSE(s.rows(44, 2, dst.data(), bitmap.width));
  EXPECT_FALSE(s.rows(-1, 1, dst.data(), bitmap.width));
  InkBitmap wrongSize = bitmap;
  wrongSize.ink.pop_back();
  EXPECT_FALSE(wrongSize.source().rows(0, 1, dst.data(), bitmap.width));
}

}  // namespace
}  // namespace strimlo
