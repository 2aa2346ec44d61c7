// The grader: the print quality parameters of hand-made scan reflectance profiles, and
// whole images, ours and others', clean and spoiled, through the file reader.
#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <tuple>

#include "grade.h"
#include "image.h"
#include "matrix_check.h"
#include "patterns.h"
#include "stages.h"
#include "test_support.h"
#include "verify.h"

namespace strimlo::verify {
namespace {

// An EAN-8 (40123455) profile at four samples a module: spaces at 80 %, bars at 10 %,
// quiet zones of 10 modules. The global threshold (45 %) falls half-way between two
// samples, so every edge lies on a module boundary.
constexpr int kPerModule = 4;
struct Sketch {
  double space = 80, bar = 10;
  int quietLeft = 10, quietRight = 10;
  std::function<void(std::vector<double>&)> spoil;  // applied last
};

std::vector<double> profileOf(const Sketch& s) {
  const ModulePattern pattern = *bitpattern_ean8("40123455");
  std::vector<double> p(static_cast<std::size_t>(s.quietLeft + s.quietRight + 67) * kPerModule, s.space);
  for (std::size_t m = 0; m < pattern.size(); ++m)
    for (int k = 0; k < kPerModule; ++k)
      if (pattern[m]) p[(s.quietLeft + m) * kPerModule + k] = s.bar;
  if (s.spoil) s.spoil(p);
  return p;
}

// Sample index of module m of the symbol (quiet zone of 10 before it).
constexpr std::size_t at(int module) { return static_cast<std::size_t>(10 + module) * kPerModule; }

TEST(ProfileGrade, ParametersOfHandMadeProfiles) {
  struct Row {
    const char* what;
    Sketch sketch;
    double sc, ecmin, mod, defects, decodability;
    int grade;
  };
  const Row rows[] = {
      {"clean", {80, 10, 10, 10, nullptr}, 70, 70, 1.0, 0.0, 1.0, 4},
      // Symbol contrast 30 % is grade D; all else A.
      {"low contrast", {50, 20, 10, 10, nullptr}, 30, 30, 1.0, 0.0, 1.0, 1},
      // A dip to 50 % inside the first data character's three-module space: ERN 30,
      // 30 / 70 = 0.43 of the contrast, grade F.
      {"spot in a space", {80, 10, 10, 10, [](auto& p) { p[at(5) + 6] = 50; }}, 70, 70, 1.0, 30.0 / 70, 1.0, 0},
      // The last bar of the start guard at 35 %: edge contrast 45, modulation 0.64 (B).
      // Its trailing edge, where 35 % meets 80 %, crosses 45 % 5/18 of a sample early: the
      // first character measures 7 (8 + 5/18) / (28 + 5/18) = 1043/509 for 2 modules,
      // decodability 1 - 2 (1043/509 - 2) = 459/509.
      {"grey bar", {80, 10, 10, 10, [](auto& p) { for (int k = 0; k < 4; ++k) p[at(2) + k] = 35; }},
       70, 45, 45.0 / 70, 0.0, 459.0 / 509, 3},
      // The first data character "4" (space 1, bar 1, space 3, bar 2) with its first bar a
      // quarter module wider to the right: the first similar-edge distance 2.25 modules
      // for 2, half the margin left, decodability 0.50 (B).
      {"one edge off by a quarter module", {80, 10, 10, 10, [](auto& p) { p[at(5)] = 10; }},
       70, 70, 1.0, 0.0, 0.5, 3},
      // Half a module: 2.5 rounds to 3, the character does not decode.
      {"one edge off by half a module", {80, 10, 10, 10, [](auto& p) { p[at(5)] = p[at(5) + 1] = 10; }},
       70, 70, 1.0, 0.0, 0.0, 0},
      // A two-module bar five modules before the start guard: the light margin is 5 of
      // EAN-8's 7, grade F.
      {"narrow quiet zone", {80, 10, 10, 10, [](auto& p) { for (int k = 0; k < 8; ++k) p[at(-7) + k] = 10; }},
       70, 70, 1.0, 0.0, 1.0, 0},
  };
  Expected expected{*bitpattern_ean8("40123455"), 7, 7};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const std::vector<double> p = profileOf(r.sketch);
    const Profile g = gradeProfile(p, expected);
    EXPECT_NEAR(g.values[kSymbolContrast], r.sc, 1e-9);
    EXPECT_NEAR(g.values[kMinEdgeContrast], r.ecmin, 1e-9);
    EXPECT_NEAR(g.values[kModulation], r.mod, 1e-9);
    EXPECT_NEAR(g.values[kDefects], r.defects, 1e-9);
    EXPECT_NEAR(g.values[kDecodability], r.decodability, 1e-9);
    EXPECT_EQ(g.grade, r.grade);
  }
}

}  // namespace
}  // namespace strimlo::verify

namespace strimlo::verify {
namespace {

using test::TempDir;

std::span<const std::uint8_t> bytesOf(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// One image: ours from the stages in memory (`make` empty) or what a command makes
// (`{in}`: our file, `{out}`: the image graded), then read as any file would be.
struct ImageCase {
  const char* what;
  Symbology type;
  const char* data;
  const char* addon;
  Format format;
  SizeIndex size;
  ResolutionIndex res;
  const char* make;     // a shell command, or "" for our file as it is
  const char* decoded;  // the main symbol's digits, "" for none found; a 2D symbol's content
  const char* addonDecoded;
  char letter;          // a 2D symbol's: the lower of its decode and its contrast
  const char* ai = "";  // a 2D type's elements; it is drawn without its GTIN line
  const char* meant = nullptr;  // a 2D type checked against another GTIN's symbol
};

TEST(ImageGrade, OursAndOthersCleanAndSpoiled) {
  if (!test::haveTool("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const ImageCase cases[] = {
      {"EAN-13 100 % 300 dpi", Symbology::EAN13, "401234567890", "", Format::PNG, 2, 2, "", "4012345678901", "", 'A'},
      {"EAN-13 100 % 600 dpi", Symbology::EAN13, "401234567890", "", Format::PNG, 2, 3, "", "4012345678901", "", 'A'},
      {"EAN-8 82 % 300 dpi", Symbology::EAN8, "4012345", "", Format::PNG, 0, 2, "", "40123455", "", 'D'},
      {"EAN-8 82 % 600 dpi", Symbology::EAN8, "4012345", "", Format::PNG, 0, 3, "", "40123455", "", 'A'},
      {"UPC-A + 2 as CMYK TIFF", Symbology::UPCA, "03600029145", "12", Format::TIFF, 2, 2, "", "036000291452", "12", 'A'},
      {"UPC-E as CMYK JPEG", Symbology::UPCE, "0123456", "", Format::JPEG, 5, 3, "", "01234565", "", 'A'},
      {"ISBN + 5 136 %", Symbology::ISBN13, "978-3-16-148410-0", "51299", Format::PNG, 5, 2, "", "9783161484100", "51299", 'A'},
      {"blurred", Symbology::EAN13, "401234567890", "", Format::PNG, 2, 3,
       "convert {in} -blur 0x2.5 {out}", "4012345678901", "", 'B'},
      {"low contrast", Symbology::EAN13, "401234567890", "", Format::PNG, 2, 2,
       "convert {in} +level 25%,75% {out}", "4012345678901", "", 'C'},
      {"spotted", Symbology::EAN13, "401234567890", "", Format::PNG, 2, 3,
       "convert {in} -seed 7 -attenuate 0.15 +noise Impulse {out}", "4012345678901", "", 'B'},
      {"left quiet zone 7 modules, on dark ground", Symbology::EAN13, "401234567890", "", Format::PNG, 2, 2,
       "convert {in} -fill black -draw 'rectangle 0,0 30,10000' {out}", "4012345678901", "", 'F'},
      {"not a barcode", Symbology::EAN13, "401234567890", "", Format::PNG, 2, 2,
       "convert -size 400x300 gradient:white-black {out}", "", "", 'F'},
      {"zint's EAN-13", Symbology::EAN13, "401234567890", "", Format::PNG, 2, 2,
       "zint -b 13 --scale 2 -d 401234567890 -o {out} >/dev/null", "4012345678901", "", 'A'},
      // 2D symbols: decoded to exactly the content meant, or not passed.
      {"GS1 QR Code", Symbology::GS1QR, "9780306406157", "", Format::PNG, 2, 2, "",
       "https://id.gs1.org/01/09780306406157/10/ABC123?17=271231", "", 'A', "(10)ABC123(17)271231"},
      {"GS1 DataMatrix as CMYK TIFF", Symbology::GS1DataMatrix, "9780306406157", "", Format::TIFF, 2, 2, "",
       "0109780306406157" "10ABC123<GS>21XYZ", "", 'A', "(10)ABC123(21)XYZ"},
      {"GS1 QR Code as CMYK JPEG", Symbology::GS1QR, "9780306406157", "", Format::JPEG, 2, 2, "",
       "https://id.gs1.org/01/09780306406157", "", 'A'},
      {"another GTIN's QR Code", Symbology::GS1QR, "9780306406157", "", Format::PNG, 2, 2, "",
       "https://id.gs1.org/01/09780306406157", "", 'F', "", "4006381333931"},
      {"DataMatrix with its left third blanked", Symbology::GS1DataMatrix, "9780306406157", "", Format::PNG, 2, 2,
       "convert {in} -fill white -draw 'rectangle 0,0 40,10000' {out}", "", "", 'F'},
      {"zint's QR Code of the same URI", Symbology::GS1QR, "9780306406157", "", Format::PNG, 2, 2,
       "zint -b 58 --scale 4 -d https://id.gs1.org/01/09780306406157 -o {out} >/dev/null",
       "https://id.gs1.org/01/09780306406157", "", 'A'},
  };
  TempDir dir;
  for (const ImageCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string make = c.make;
    if (make.starts_with("zint") && !test::haveTool("zint")) continue;
    Request request;
    request.type = c.type;
    request.data = c.data;
    request.addon = c.addon;
    request.format = c.format;
    request.size = c.size;
    request.res = c.res;
    request.gs1.ai = c.ai;
    request.gs1.text = false;  // the image is the matrix in its quiet zone
    std::string bytes = render(request).bytes;
    ASSERT_FALSE(bytes.empty());
    if (!make.empty()) {
      const std::string in = dir.file("in"), out = dir.file("out.png");
      test::writeFile(in, bytes);
      std::string command = make;
      for (auto [key, path] : {std::pair{"{in}", in}, std::pair{"{out}", out}})
        if (const auto at = command.find(key); at != std::string::npos) command.replace(at, std::string_view(key).size(), path);
      ASSERT_EQ(test::run(command).exitCode, 0) << command;
      bytes = test::readFile(out);
    }
    const ReadImage read = readImage(bytesOf(bytes));
    ASSERT_TRUE(read.error.empty()) << read.error;
    if (c.type == Symbology::GS1QR || c.type == Symbology::GS1DataMatrix) {
      if (c.meant) request.data = c.meant;
      const Completed meant = complete(request);
      ASSERT_TRUE(meant.symbol && meant.symbol->matrix) << meant.message;
      const MatrixCheck m = checkMatrix(read.image, *meant.symbol->matrix, {0, 0, read.image.width, read.image.height});
      EXPECT_EQ(m.decoded ? visibleContent(m.content) : "", c.decoded) << m.error;
      EXPECT_EQ(m.letter, c.letter) << matrixSummary(m);
      // Ours, lossless: the module as drawn, whole pixels at 300 dpi (0.495 mm is 5.85,
      // drawn as 6); a JPEG's edges are not clean.
      if (make.empty() && c.format != Format::JPEG) {
        EXPECT_EQ(std::make_tuple(m.moduleDots, m.moduleDotsDown, m.wholeDots), std::make_tuple(6.0, 6.0, true));
      }
      continue;
    }
    const Verification v = verifyImage(read.image);
    EXPECT_EQ(v.digits, c.decoded) << v.error;
    EXPECT_EQ(v.addon, c.addonDecoded);
    EXPECT_EQ(v.letter, c.letter) << summary(v);
  }
}

}  // namespace
}  // namespace strimlo::verify
