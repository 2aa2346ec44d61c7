// The prepress options as a print shop checks them, on the files themselves: light
// margins measured in pixels with the marks at their edges, bars thinned by the asked
// amount around unmoved centres, a transparent PNG, and every file still scanning.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "makecode.h"
#include "readback.h"
#include "test_support.h"

namespace strimlo {
namespace {

using test::GreyImage;
using test::TempDir;

constexpr FileFormat kPreview = -1;  // a table row about the on-screen preview
constexpr double kEpsModule = 0.011640 * 72.0;  // points

// Runs of dark pixels along row y: [first, end).
std::vector<std::pair<int, int>> darkSpans(const GreyImage& image, int y) {
  std::vector<std::pair<int, int>> spans;
  for (int x = 0; x < image.width; ++x) {
    if (image.at(x, y) >= 128) continue;
    if (!spans.empty() && spans.back().second == x) ++spans.back().second;
    else spans.push_back({x, x + 1});
  }
  return spans;
}

// The columns of the leftmost and rightmost ink anywhere.
std::pair<int, int> inkColumns(const GreyImage& image) {
  int left = image.width, right = -1;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (image.at(x, y) < 128) left = std::min(left, x), right = std::max(right, x);
  return {left, right};
}

// A preview's grey, cut to the white between the pale surround: the file's box.
GreyImage previewBox(const PreviewImage& preview) {
  int x0 = 0, x1 = preview.width;
  while (x0 < x1 && (preview.pixel(x0, 0) & 0xFF) != 0xFF) ++x0;
  while (x1 > x0 && (preview.pixel(x1 - 1, 0) & 0xFF) != 0xFF) --x1;
  GreyImage box{x1 - x0, preview.height, {}};
  for (int y = 0; y < preview.height; ++y)
    for (int x = x0; x < x1; ++x) box.pixels.push_back(static_cast<std::uint8_t>(preview.pixel(x, y)));
  return box;
}

struct Made {
  GreyImage image;
  std::string bytes;  // the file as written
};

// The file through MakeCode, read back as grey: rasters with their own library, EPS
// through Ghostscript at the resolution's dpi.
std::optional<Made> make(const TempDir& dir, CodeType type, const char* data, const char* addon,
                         FileFormat format, SizeIndex size, ResolutionIndex res, const Prepress& p) {
  const std::string path = dir.file(std::string("f.") + fileExtension(format));
  if (!MakeCode::FinalCode(type, size, data, addon, "", res, format, path, p)) return std::nullopt;
  Made made{{}, test::readFile(path)};
  if (format != kEPS) {
    const auto facts = test::readRasterFile(path);
    if (!facts) return std::nullopt;
    made.image = facts->grey;
    return made;
  }
  const std::string png = dir.file("gs.png");
  if (test::ghostscriptToPng(path, png, static_cast<int>(getResolution(res))) != 0) return std::nullopt;
  auto grey = test::readPngGrey(png);
  if (!grey) return std::nullopt;
  made.image = *grey;
  return made;
}

struct QuietRow {
  const char* what;
  CodeType type;
  const char* data;
  const char* addon;
  FileFormat format;
  double left, right;  // light margins in modules
  bool leftMark;       // "<" as well as ">"
  std::vector<std::string> decoded;
};

void PrintTo(const QuietRow& r, std::ostream* os) { *os << r.what; }

class QuietZones : public ::testing::TestWithParam<QuietRow> {};

// At 1200 dpi (the preview at its 1.5-point module): the white from each edge to the
// bars is the minimum light margin, and the marks' tips reach the edges.
TEST_P(QuietZones, MarginsAreTheMinimumAndTheMarksTipTheirEdges) {
  const QuietRow& r = GetParam();
  const Prepress quiet{true, 0, false};
  TempDir dir;
  GreyImage image;
  double module = 1.5;
  if (r.format == kPreview) {
    const auto preview = MakeCode::PreviewCode(r.type, r.data, r.addon, "", 900, 300, quiet);
    ASSERT_TRUE(preview);
    image = previewBox(*preview);
  } else {
    const auto made = make(dir, r.type, r.data, r.addon, r.format, 2, 4, quiet);
    ASSERT_TRUE(made);
    image = made->image;
    const Symbol sym = *completeSymbol(r.type, r.data, r.addon).symbol;
    module = r.format == kEPS ? kEpsModule * 1200 / 72 : fileLayout(sym, 2, 4).module;
  }
  const auto bars = darkSpans(image, image.height / 2);
  ASSERT_FALSE(bars.empty());
  EXPECT_NEAR(bars.front().first, r.left * module, 1.0);
  const double right = image.width - bars.back().second;
  const bool smallDigitRight = (r.type == kUPCA || r.type == kUPCE) && *r.addon == '\0';
  if (smallDigitRight) {
    // The check digit stands in the margin: the box grows until ">" clears it, so the
    // digit line shows two separate marks of ink right of the bars.
    EXPECT_GE(right, r.right * module - 1.0);
    long marks = 0;
    for (int y = image.height - 1; y > image.height - 12 * module; --y) {
      const auto line = darkSpans(image, y);
      marks = std::max<long>(marks, std::count_if(line.begin(), line.end(), [&](auto s) {
                               return s.first > bars.back().second;
                             }));
    }
    EXPECT_GE(marks, 2);
  } else {
    EXPECT_NEAR(right, r.right * module, 1.0);
  }
  const auto [leftInk, rightInk] = inkColumns(image);
  EXPECT_GE(rightInk, image.width - 2) << "the > reaches the right edge";
  if (r.leftMark) {
    EXPECT_LE(leftInk, 1) << "the < reaches the left edge";
  }
  EXPECT_EQ(test::zbarDecode(image), r.decoded);
}

const std::vector<std::string> kEan13 = {"EAN-13:4012345678901"};
const std::vector<std::string> kEan8 = {"EAN-8:96385074"};
const std::vector<std::string> kIsbn = {"EAN-13:9780306406157"};
const std::vector<std::string> kIsbnAddon = {"EAN-13:9783161484100", "EAN-5:51299"};
// zbarimg reads the add-on of the small preview only when it is cut apart.
const std::vector<std::string> kIsbnMain = {"EAN-13:9783161484100"};
// The EPS keeps its leading digit where it always stood, 10 points left of the bars.
constexpr double kEpsLeadingDigit = 10.0 / kEpsModule;

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, QuietZones,
    ::testing::Values(
        QuietRow{"EAN-13 PNG: 11 and 7", kEAN13, "401234567890", "", kPNG, 11, 7, false, kEan13},
        QuietRow{"EAN-8 TIFF: 7 and 7, < and >", kEAN8, "9638507", "", kTIFF, 7, 7, true, kEan8},
        QuietRow{"ISBN-10 JPEG as EAN-13", kISBN10, "0-306-40615-2", "", kJPEG, 11, 7, false, kIsbn},
        QuietRow{"ISBN-13 add-on PNG: 5 after it", kISBN13, "978-3-16-148410-0", "51299", kPNG, 11, 5,
                 false, kIsbnAddon},
        QuietRow{"EAN-8 EPS", kEAN8, "9638507", "", kEPS, 7, 7, true, kEan8},
        QuietRow{"EAN-13 EPS", kEAN13, "401234567890", "", kEPS, kEpsLeadingDigit, 7, false, kEan13},
        QuietRow{"ISBN-13 add-on EPS", kISBN13, "978-3-16-148410-0", "51299", kEPS, kEpsLeadingDigit,
                 5, false, kIsbnAddon},
        QuietRow{"UPC-A PNG: 9 and at least 9, the small check digit clear of >", kUPCA,
                 "03600029145", "", kPNG, 9, 9, false, {"UPC-A:036000291452"}},
        QuietRow{"UPC-E EPS, 2-digit add-on: 9, 5 after it", kUPCE, "0123456", "03", kEPS, 9, 5,
                 false, {"EAN-2:03", "UPC-E:01234565"}},
        QuietRow{"EAN-8 preview", kEAN8, "9638507", "", kPreview, 7, 7, true, kEan8},
        QuietRow{"ISBN-13 add-on preview", kISBN13, "978-3-16-148410-0", "51299", kPreview, 11, 5,
                 false, kIsbnMain}));

struct ReductionRow {
  const char* what;
  CodeType type;
  const char* data;
  const char* addon;
  FileFormat format;
  ResolutionIndex res;
  int microns;
  double narrower;   // pixels every bar loses
  double tolerance;  // on that, pixels
  std::vector<std::string> decoded;
};

void PrintTo(const ReductionRow& r, std::ostream* os) { *os << r.what; }

class BarReduction : public ::testing::TestWithParam<ReductionRow> {};

// Every bar, guards and add-on included, against the same file without the reduction:
// narrower by the amount, its centre within a pixel; the file says what was applied.
TEST_P(BarReduction, EveryBarThinsAroundItsCentre) {
  const ReductionRow& r = GetParam();
  TempDir dir;
  const auto plain = make(dir, r.type, r.data, r.addon, r.format, 0, r.res, {});
  const auto thin = make(dir, r.type, r.data, r.addon, r.format, 0, r.res, {false, r.microns, false});
  ASSERT_TRUE(plain && thin);
  ASSERT_EQ(thin->image.width, plain->image.width);
  const int y = plain->image.height / 2;
  const auto before = darkSpans(plain->image, y);
  const auto after = darkSpans(thin->image, y);
  ASSERT_EQ(after.size(), before.size());
  double lostInAll = 0;
  for (std::size_t k = 0; k < before.size(); ++k) {
    const double lost = (before[k].second - before[k].first) - (after[k].second - after[k].first);
    lostInAll += lost;
    EXPECT_NEAR(lost, r.narrower, r.tolerance) << "bar " << k;
    // Twice the centre, within a pixel.
    EXPECT_NEAR(after[k].first + after[k].second, before[k].first + before[k].second, 2.0)
        << "centre of bar " << k;
  }
  EXPECT_NEAR(lostInAll / before.size(), r.narrower, 0.5) << "on average";
  const std::string note = "Bar width reduction: " + std::to_string(r.microns) + " um";
  EXPECT_NE(thin->bytes.find(note), std::string::npos) << "the file states the reduction";
  EXPECT_EQ(test::zbarDecode(thin->image), r.decoded);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, BarReduction,
    ::testing::Values(
        ReductionRow{"PNG 2400 dpi: round(40 um x 2400 / 25.4 mm) = 4 px", kEAN13, "401234567890", "",
                     kPNG, 5, 40, 4, 0, kEan13},
        ReductionRow{"TIFF 2400 dpi", kEAN8, "9638507", "", kTIFF, 5, 40, 4, 0, kEan8},
        ReductionRow{"JPEG 2400 dpi, add-on bars too", kISBN13, "978-3-16-148410-0", "51299", kJPEG,
                     5, 40, 4, 1, kIsbnAddon},
        ReductionRow{"300 dpi: 42 um is under half a pixel", kEAN13, "401234567890", "", kPNG, 2, 42,
                     0, 0, kEan13},
        ReductionRow{"300 dpi: 43 um is one pixel", kEAN13, "401234567890", "", kPNG, 2, 43, 1, 0,
                     kEan13},
        // Ghostscript puts each edge of either drawing on a pixel boundary on its own.
        ReductionRow{"EPS exactly: 3.78 px at 2400 dpi", kEAN13, "401234567890", "", kEPS, 5, 40,
                     40 * 2400 / 25400.0, 2, kEan13}));

// PNG: grey + alpha, the background clear and the bars opaque; EPS paints no background
// anyway; TIFF and JPEG, opaque CMYK, refuse and write nothing.
TEST(TransparentBackground, PngClearsItsBackgroundOpaqueFormatsRefuse) {
  struct Row {
    FileFormat format;
    SaveFailure failure;
  };
  TempDir dir;
  const Prepress clear{false, 0, true};
  for (const Row r : {Row{kPNG, SaveFailure::None}, Row{kEPS, SaveFailure::None},
                      Row{kTIFF, SaveFailure::OpaqueFormat}, Row{kJPEG, SaveFailure::OpaqueFormat}}) {
    SCOPED_TRACE(fileExtension(r.format));
    const std::string path = dir.file(std::string("t.") + fileExtension(r.format));
    const SaveOutcome outcome =
        MakeCode::FinalCodeOutcome(kEAN13, 2, "401234567890", "", "", 2, r.format, path, clear);
    EXPECT_EQ(outcome.failure, r.failure);
    if (r.failure != SaveFailure::None) {
      EXPECT_FALSE(std::filesystem::exists(path));
      continue;
    }
    if (r.format == kEPS) {
      const std::string opaque = dir.file("o.eps");
      ASSERT_TRUE(MakeCode::FinalCode(kEAN13, 2, "401234567890", "", "", 2, kEPS, opaque));
      EXPECT_EQ(test::readFile(path), test::readFile(opaque));
      continue;
    }
    const auto facts = test::readPngFile(path);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->colour, "gray+alpha");
    const auto alpha = [&](int x, int y) { return facts->samples[(y * facts->width + x) * 2 + 1]; };
    EXPECT_EQ(alpha(0, 0), 0);
    const auto bars = darkSpans(facts->grey, facts->height / 2);  // grey over white
    ASSERT_FALSE(bars.empty());
    for (int x = 0; x < facts->width; ++x) {
      const bool inBar = std::any_of(bars.begin(), bars.end(),
                                     [x](auto s) { return x >= s.first && x < s.second; });
      EXPECT_EQ(alpha(x, facts->height / 2), inBar ? 255 : 0) << "x " << x;
    }
    EXPECT_EQ(test::zbarDecode(facts->grey), kEan13);
  }
}

}  // namespace
}  // namespace strimlo
