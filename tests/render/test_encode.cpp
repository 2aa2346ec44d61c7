// The image encoders, checked by reading every file back with its own library (libpng,
// libtiff, libjpeg), never with our writer's assumptions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "encode.h"
#include "test_support.h"
#include "readback.h"

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

// ---- PNG -------------------------------------------------------------------------

struct ResolutionRow {
  double dpi;
  std::uint32_t perMetre;  // round(dpi / 0.0254), as PNG states it
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
    const auto png = test::readPng(*bytes);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 67);
    EXPECT_EQ(png->height, 45);
    EXPECT_EQ(png->bitDepth, 8);
    EXPECT_EQ(png->colour, "gray");
    // Stated per metre (pHYs unit 1), read back as the same number of pixels per metre.
    EXPECT_DOUBLE_EQ(png->xdpi, row.perMetre * 0.0254);
    EXPECT_DOUBLE_EQ(png->ydpi, row.perMetre * 0.0254);
  }
}

// Our own deflate coder against libpng's reader: every pixel must come back, whatever the
// rows hold (repeats, runs, noise over many blocks, rows too short for a reference, rows
// as wide as the reference window).
TEST(EncodePng, GreyIsExactlyTheInverseOfInk) {
  struct Row {
    const char* what;
    InkBitmap bitmap;
  };
  auto made = [](int w, int h, auto inkAt) {
    InkBitmap b{w, h, 300.0, {}};
    b.ink.resize(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.ink[static_cast<std::size_t>(y) * w + x] = inkAt(x, y);
    return b;
  };
  std::uint32_t seed = 12345;
  auto noise = [&seed](int, int) { return static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 24); };
  const Row rows[] = {
      {"blocks, stripes and a ramp", testBitmap()},
      {"noise over several blocks", made(301, 200, noise)},
      {"one pixel", made(1, 1, [](int, int) { return std::uint8_t{200}; })},
      {"two-pixel rows, all alike", made(2, 50, [](int, int) { return std::uint8_t{255}; })},
      {"rows as wide as the window", made(32767, 3, [](int x, int y) { return std::uint8_t(y == 2 ? x % 7 : 0); })},
      {"bars with a grey band", made(453, 120, [](int x, int y) { return std::uint8_t(y > 100 ? (x * y) % 256 : (x / 4) % 2 * 255); })},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const auto png = test::readPng(*encodeImage(r.bitmap.source(), kPNG));
    ASSERT_TRUE(png);
    ASSERT_EQ(png->samples.size(), r.bitmap.ink.size());
    for (std::size_t i = 0; i < r.bitmap.ink.size(); ++i)
      ASSERT_EQ(png->samples[i], 255 - r.bitmap.ink[i]) << "at " << i % r.bitmap.width << "," << i / r.bitmap.width;
  }
}

// ---- TIFF ------------------------------------------------------------------------

TEST(EncodeTiff, IsLzwCmykWithResolutionInInches) {
  for (const auto& row : kResolutions) {
    SCOPED_TRACE(row.proves);
    const auto tiff = test::readTiff(*encodeImage(testBitmap(row.dpi).source(), kTIFF));
    ASSERT_TRUE(tiff);
    EXPECT_EQ(tiff->width, 67);
    EXPECT_EQ(tiff->height, 45);
    EXPECT_EQ(tiff->bitDepth, 8);
    EXPECT_EQ(tiff->channels, 4);
    // Separated, ink set CMYK and interleaved, each stated in its tag.
    EXPECT_EQ(tiff->colour, "cmyk");
    EXPECT_EQ(tiff->compression, "lzw");
    // Counted only with the resolution unit stated as inches.
    EXPECT_FLOAT_EQ(static_cast<float>(tiff->xdpi), static_cast<float>(row.dpi));
    EXPECT_FLOAT_EQ(static_cast<float>(tiff->ydpi), static_cast<float>(row.dpi));
  }
}

TEST(EncodeTiff, BlackIsPureKEqualToInk) {
  const InkBitmap bitmap = testBitmap();
  const auto tiff = test::readTiff(*encodeImage(bitmap.source(), kTIFF));
  ASSERT_TRUE(tiff);
  ASSERT_EQ(tiff->samples.size(), static_cast<std::size_t>(bitmap.width) * bitmap.height * 4);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      const std::uint8_t* p = &tiff->samples[(static_cast<std::size_t>(y) * bitmap.width + x) * 4];
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
    const auto jpeg = test::readJpeg(*encodeImage(testBitmap(row.dpi).source(), kJPEG));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->width, 67);
    EXPECT_EQ(jpeg->height, 45);
    EXPECT_EQ(jpeg->channels, 4);
    EXPECT_EQ(jpeg->colour, "cmyk") << "Adobe transform 0: CMYK stored as it is, no YCCK";
    EXPECT_TRUE(jpeg->inverted) << "the Adobe marker";
    EXPECT_DOUBLE_EQ(jpeg->xdpi, row.dpi);
    EXPECT_DOUBLE_EQ(jpeg->ydpi, row.dpi);
  }
}

// Readers each look for the resolution in one place of their own: JFIF (Pillow, viewers,
// pdflatex), Exif (photo tools), the Photoshop block (above). Each client must see it.
TEST(EncodeJpeg, EveryClientReadsTheResolution) {
  struct Client {
    const char* tool;
    const char* command;  // prints the horizontal and vertical dpi, "300 300"
  };
  const Client clients[] = {
      {"python3", "/usr/bin/python3 -c 'import sys; from PIL import Image; "
                  "print(*Image.open(sys.argv[1]).info[\"dpi\"])' "},
      {"exiftool", "exiftool -s3 -XResolution -YResolution -ResolutionUnit "},
  };
  test::TempDir dir;
  for (const auto& row : kResolutions) {
    const std::string path = dir.file("r.jpg");
    test::writeFile(path, [&] {
      const auto bytes = *encodeImage(testBitmap(row.dpi).source(), kJPEG);
      return std::string(bytes.begin(), bytes.end());
    }());
    const std::string dpi = std::to_string(static_cast<int>(row.dpi));
    for (const Client& c : clients) {
      SCOPED_TRACE(std::string(c.tool) + ", " + row.proves);
      const auto r = test::run(std::string(c.command) + test::shellQuote(path) + " 2>&1");
      std::string said = r.output;
      std::replace(said.begin(), said.end(), '\n', ' ');
      EXPECT_EQ(said.rfind(dpi + " " + dpi, 0), 0u) << said;
      if (std::string(c.tool) == "exiftool") {
        EXPECT_NE(said.find("inches"), std::string::npos);
      }
    }
  }
}

// Adobe stores CMYK inverted; undone, full ink reads back as K high and no ink as K
// low, and C, M, Y carry no ink anywhere.
TEST(EncodeJpeg, InkReadsBackNearlyWithAdobePolarity) {
  const InkBitmap bitmap = testBitmap();
  const auto jpeg = test::readJpeg(*encodeImage(bitmap.source(), kJPEG));
  ASSERT_TRUE(jpeg);
  ASSERT_EQ(jpeg->samples.size(), static_cast<std::size_t>(bitmap.width) * bitmap.height * 4);
  auto inkOf = [&](int x, int y, int sample) {
    return 255 - jpeg->samples[(static_cast<std::size_t>(y) * bitmap.width + x) * 4 + sample];
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
