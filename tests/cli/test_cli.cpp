// strimlo-cli as a user runs it: exit codes, the one line that says why, and the files.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <sstream>
#include <tuple>

#include "options.h"
#include "symbologies.h"
#include "cli_runner.h"
#include "readback.h"

namespace strimlo {
namespace {

using test::shellQuote;

TEST(Cli, ExitCodesAndMessages) {
  test::TempDir dir;
  const std::string out = shellQuote(dir.file("x.eps"));
  const std::vector<test::CliRow> rows = {
      {"-o " + out + " 401234567890", 0, ""},
      {"-o " + out + " 12345", 1, "EAN-13 needs 12 or 13 digits; got 5"},
      {"--type ean8 -o " + out + " 40123450", 0, ""},
      {"--type ean8 -o " + out + " 4012345X", 1, "EAN-8 takes digits only"},
      {"--type isbn10 -o " + out + " '0-306 40615-2'", 0, ""},
      {"--type isbn10 -o " + out + " 0.306.40615.2", 1, "ISBN-10 needs 10 characters besides hyphens; got 13"},
      {"--type isbn -o " + out + " '978 1 4028 9462 6'", 0, ""},
      {"--type isbn -o " + out + " 0-306-40615-2", 0, ""},
      {"--type isbn13 --addon 5199 -o " + out + " 978-3-16-148410-0", 1,
       "the add-on must be 5 digits; got \"5199\""},
      {"--type isbn13 --addon '' -o " + out + " 978-3-16-148410-0", 0, ""},
      {"-o " + out + " 978-3-16-148410-0", 1,
       "EAN-13 needs 12 or 13 digits; got 17 (it looks like an ISBN-13: give the type isbn13 (or "
       "isbn))"},
      {"-o " + out + " '979-0-2600-0043-8'", 1, "(it looks like an ISMN: give the type ismn)"},
      {"-o " + out + " 0317-8471", 1, "(it looks like an ISSN: give the type issn)"},
      {"--format pdf -o " + shellQuote(dir.file("x.png")) + " 401234567890", 2,
       "the format pdf does not agree with the output's extension .png"},
      {"--font ocrb --outline-text -o " + out + " 401234567890", 0, ""},
      {"--font arial -o " + out + " 401234567890", 2, "bad value for --font: arial (sans or ocrb)"},
      {"--format jpeg -o " + shellQuote(dir.file("x.jpg")) + " 401234567890", 0, ""},
      {"--strict --fix-check-digits -o " + out + " 401234567890", 2, "do not go together"},
      {"--version", 0, "strimlo-cli 1.2.0\n"},
      {"--res 0 -o " + shellQuote(dir.file("low.png")) + " 401234567890", 0,
       "note: resolution: 72 dpi gives 0.9 pixels per module, too few to be read; 300 dpi (res 2) or "
       "more makes a readable file"},
      {"--res 1 --size 3 -o " + shellQuote(dir.file("low.tiff")) + " 401234567890", 0,
       "100 dpi gives 1.4 pixels per module"},
      {"--type isbn13 --addon 5129x -o " + out + " 978-3-16-148410-0", 1, "the add-on must be 5 digits"},
      {"--type 10 -o " + out + " 401234567890", 1, "unknown code type 10"},
      // The 2D types and companions: a refusal names the AI or the part and the rule.
      {"--type gs1-qr --ai '(10)ABC123(17)271231' -o " + shellQuote(dir.file("q.png")) + " 9780306406157", 0, ""},
      {"--type gs1-datamatrix --module 0.66 -o " + shellQuote(dir.file("d.svg")) + " 40123455", 0, ""},
      {"--companion datamatrix --companion-module 0.6 --ai '(21)S1' -o " + out + " 401234567890", 0, ""},
      {"--type gs1-qr --ai '(17)271331' -o " + out + " 9780306406157", 1,
       "AI (17) expiry date 271331 (YYMMDD): month 13 does not exist"},
      {"--type gs1-qr --ai '(10)A B' -o " + out + " 9780306406157", 1,
       "AI (10) batch or lot: a space is outside the GS1 character set 82"},
      {"--type gs1-qr --dl-domain http://id.example -o " + out + " 9780306406157", 1,
       "Digital Link domain: must start with https://"},
      {"--type gs1-qr --strict -o " + out + " 9780306406158", 1, "check character 8 is wrong; 7 expected"},
      {"--type gs1-qr -o " + out + " 9780306406158", 0, "note: check character 8 is wrong; 7 expected, replaced"},
      {"--companion qr --ai '(99)X' -o " + out + " 401234567890", 1, "companion: AI (99) is not one we accept"},
      {"--type gs1-datamatrix --module 0.3 -o " + out + " 9780306406157", 2,
       "bad value for --module: module \"0.3\" of a 2D type (0.396 to 0.990 mm, target 0.495)"},
      // --module is the 2D type's X dimension, in its own limits, wherever --type stands.
      {"--module 0.8 --type gs1-qr -o " + shellQuote(dir.file("q8.svg")) + " 9780306406157", 0, ""},
      {"--module 0.8 -o " + out + " 401234567890", 2, "module 0.8 mm is outside 0.2475 to 0.66 mm"},
      {"--type gs1-qr --magnification 120 -o " + out + " 9780306406157", 2,
       "a 2D symbol's size is its module (the X dimension, 0.396 to 0.990 mm)"},
      {"--type gs1-datamatrix --dpi 203 -o " + shellQuote(dir.file("d203.png")) + " 9780306406157", 0, ""},
      {"--type gs1-qr --ecc X -o " + out + " 9780306406157", 2, "bad value for --ecc: X (L, M, Q or H)"},
      {"--companion pdf417 -o " + out + " 401234567890", 2, "bad value for --companion: pdf417 (qr, datamatrix or none)"},
      {"--type gs1-qr --companion qr -o " + out + " 9780306406157", 2, "--companion goes with a linear type"},
      {"--ai '(10)X' -o " + out + " 401234567890", 0,
       "note: ai, dl-domain: EAN-13 carries them only in a 2D --companion; left out"},
      {"--type gs1-datamatrix --dl-domain https://id.example -o " + out + " 9780306406157", 0,
       "note: dl-domain: a DataMatrix holds the element string, not a URI; left out"},
      {"--type gs1-qr --bar-reduction 20 -o " + out + " 9780306406157", 0,
       "note: bar width reduction: GS1 QR Code takes none; left out"},
      // --verify on a 2D type: read back to exactly its content; contrast and module measured.
      {"--type gs1-qr --verify --ai '(10)ABC123(17)271231' -o " + shellQuote(dir.file("vq.png")) + " 9780306406157", 0,
       "note: QR Code decodes to the intended content; contrast A (100 %); module 6 dots (whole) at 300 dpi; "
       "not a full ISO/IEC 15415 grade"},
      {"--type gs1-datamatrix --verify --ai '(10)ABC123(21)XYZ' -o " + shellQuote(dir.file("vd.tiff")) + " 9780306406157",
       0, "note: DataMatrix decodes to the intended content; contrast A (100 %); module 6 dots (whole) at 300 dpi"},
      {"--type gs1-qr --verify --dpi 203 -o " + shellQuote(dir.file("vq.jpg")) + " 9780306406157", 0,
       "QR Code decodes to the intended content; contrast A (100 %); module 4 dots (whole) at 203 dpi"},
      {"--type gs1-datamatrix --verify -o " + shellQuote(dir.file("vd.pdf")) + " 9780306406157", 0,
       "DataMatrix decodes to the intended content; contrast A (100 %); module 11.69 dots (not whole) at 600 dpi"},
      // At 72 dpi the nearest whole dot (0.353 mm) is below GS1's table: 2 dots, which read.
      {"--type gs1-datamatrix --verify --dpi 72 -o " + shellQuote(dir.file("vd72.png")) + " 9780306406157", 0,
       "note: module: 2 dots at 72 dpi = 0.706 mm, the nearest inside GS1's 0.396 to 0.990 mm (0.495 mm asked)"},
      // A companion is checked beside the linear grade, and drawn into the verified file.
      {"--verify --companion qr --format png -o " + shellQuote(dir.file("vc.png")) + " 9780306406157", 0,
       "note: companion: QR Code decodes to the intended content; contrast A (100 %); module 6 dots (whole) at "
       "300 dpi"},
      {"--verify --companion datamatrix --ai '(21)S1' -o " + shellQuote(dir.file("vc.pdf")) + " 401234567890", 0,
       "not found by zxing-cpp in the whole picture (a reader aimed at it reads it)"},
      {"--type upce -o " + out + " 01234512345", 1, "has no UPC-E form"},
      {"--type upca --addon 123 -o " + out + " 03600029145", 1, "the add-on must be 2 or 5 digits"},
      {"--type issn --variant 5 -o " + out + " 0317-8471", 1, "variant must be 2 digits"},
      {"--type issn --variant 05 --addon 03 -o " + out + " 0317-8471", 0, ""},
      {"--format -1 -o " + out + " 401234567890", 1, "unknown file format"},
      {"--format 6 -o " + out + " 401234567890", 1, "unknown file format"},
      {"--type nope -o " + out + " 401234567890", 2, "bad value for --type"},
      {"--size big -o " + out + " 401234567890", 2, "bad value for --size"},
      {"--frobnicate -o " + out + " 401234567890", 2, "unknown option --frobnicate"},
      {"401234567890", 2, "no output file given"},
      {"-o " + out, 2, "no data text given"},
      {"-o " + shellQuote(dir.file("missing/x.eps")) + " 401234567890", 1,
       "missing/x.eps: No such file or directory; nothing was changed"},
      {"--quiet-zones --bar-reduction 40 --transparent -o " + shellQuote(dir.file("p.png")) +
           " 401234567890", 0, ""},
      {"--transparent -o " + shellQuote(dir.file("t.tiff")) + " 401234567890", 1, "opaque CMYK"},
      {"--transparent --format jpg -o " + shellQuote(dir.file("t.jpg")) + " 401234567890", 1, "opaque CMYK"},
      {"--bar-reduction 101 -o " + out + " 401234567890", 2, "bad value for --bar-reduction"},
      // --verify: the 82 % EAN-8 at 300 dpi grades D (decodability), at 600 dpi A.
      {"--verify --min-grade B --type ean8 --size 0 --res 2 -o " + shellQuote(dir.file("v3.png")) + " 4012345",
       1, "grade D is below the --min-grade B; nothing was written"},
      {"--verify --min-grade B --type ean8 --size 0 --res 3 -o " + shellQuote(dir.file("v6.png")) + " 4012345",
       0, "grade A (4.0): decodability"},
      {"--verify --type isbn13 --addon 51299 -o " + shellQuote(dir.file("v.pdf")) + " 978-3-16-148410-0", 0,
       "at 600 dpi"},
      {"--verify --size 0 --res 0 -o " + shellQuote(dir.file("v72.png")) + " 401234567890", 1,
       "the symbol does not scan at 72 dpi"},
      {"--verify --min-grade E -o " + out + " 401234567890", 2, "bad value for --min-grade"},
      // Without --verify, a raster that would grade below C says so and names better choices.
      {"--type ean8 --size 0 --res 2 -o " + shellQuote(dir.file("n8.png")) + " 4012345", 0,
       "note: resolution: at 300 dpi the file would grade D (1.0): decodability 0.30, below C (bar edges "
       "rounded to whole pixels make widths uneven); 600 dpi (res 3) grades A, or size 1 (91 %) grades B at "
       "300 dpi"},
      {"--size 0 --res 2 --format tiff -o " + shellQuote(dir.file("n13.tiff")) + " 401234567890", 0,
       "the file would grade F (0.0): decodability 0.13, below C"},
      // --check: one line naming the cause for what is no symbol's image.
      {"--check " + shellQuote(dir.file("v6.png")), 0, "EAN-8 40123455"},
      {"--check --min-grade A " + shellQuote(dir.file("v6.png")), 0, "grade A"},
      {"--check --json " + shellQuote(dir.file("v6.png")), 0, "\"letter\": \"A\""},
      {"--check " + shellQuote(dir.file("v6.png")) + " " + out, 1, "x.eps: not a PNG, TIFF or JPEG file"},
      {"--check " + shellQuote(dir.file("none.png")), 1, "none.png: No such file or directory"},
      {"--check " + shellQuote(dir.path().string()), 1, "not a regular file"},
      {"--check", 2, "--check needs one or more image files"},
      // The book trade: prefixes, price codes, the range file.
      {"--type isbn13 -o " + out + " 979-0-2600-0043-8", 1, "979-0 is the ISMN range: use --type ismn"},
      {"--type isbn13 -o " + out + " 9770317847001", 1, "977 is the ISSN range: use --type issn"},
      {"--type isbn13 --price-code 'EUR 5' -o " + out + " 9783161484100", 2,
       "bad value for --price-code: EUR 5 (USD, CAD, GBP, AUD or NZD and an amount"},
      {"--type isbn13 --price-code 'USD 1.999' -o " + out + " 9783161484100", 2, "at most two decimals"},
      {"--type isbn13 --price-code 'USD 19.99' --addon 51999 -o " + out + " 9783161484100", 2,
       "give --price-code or --addon, not both"},
      {"--type isbn13 --price-code 'USD 120' -o " + out + " 9783161484100", 0,
       "note: price code: USD 120.00 is 99.99 or more; the add-on says so with 59999"},
      {"--type isbn13 --addon 51299 --price 'CAD 5.00' -o " + out + " 9783161484100", 0,
       "note: price: the add-on 51299 and the line's CAD 5.00 name different currencies"},
      {"--ranges " + shellQuote(test::testData("ranges_small.xml")) + " --type isbn13 -o " + out +
           " 978-3-8632-6766-7", 0,
       "note: ISBN 978-3-8632-6766-7: the ISBN agency's ranges hyphenate it 978-3-86326-766-7"},
      {"--ranges " + shellQuote(dir.file("none.xml")) + " --type isbn13 -o " + out + " 9783161484100",
       0, "none.xml: No such file or directory; ISBNs are not hyphenated"},
      {"--ranges-info --ranges " + shellQuote(test::testData("ranges_small.xml")), 0,
       "message date Mon, 2 Nov 2026 09:30:00 GMT, 4 registration groups"},
      {"--ranges-info --ranges " + shellQuote(dir.file("none.xml")), 1, "No such file or directory"},
  };
  for (const test::CliRow& r : rows) test::expectCli(r);
  // What --verify refuses is not written; what it passes is, a companion within it.
  for (const char* refused : {"v3.png", "v72.png"})
    EXPECT_FALSE(std::filesystem::exists(dir.file(refused))) << refused;
  // The verified file is the file unverified, byte for byte: the companion included.
  ASSERT_EQ(test::cli("--companion qr --format png -o " + shellQuote(dir.file("vcn.png")) + " 9780306406157").exitCode, 0);
  EXPECT_EQ(test::readFile(dir.file("vc.png")), test::readFile(dir.file("vcn.png")));
}

TEST(Cli, FormatFromNameNumberOrExtension) {
  test::TempDir dir;
  struct Row {
    std::string args;
    std::string file;
    std::string colour;  // "" for EPS
  };
  const std::vector<Row> rows = {
      {"", "a.png", "gray"},
      {"", "b.TIFF", "cmyk"},
      {"", "c.jpeg", "cmyk"},
      {"", "d.eps", ""},
      {"", "e", ""},  // no extension: EPS, the window's default
      {"--format 2", "f.bin", "cmyk"},
      {"--format png", "g.out", "gray"},
  };
  for (const Row& r : rows) {
    const std::string path = dir.file(r.file);
    ASSERT_EQ(test::cli(r.args + " -o " + shellQuote(path) + " 401234567890").exitCode, 0) << r.file;
    if (r.colour.empty()) {
      EXPECT_EQ(test::readFile(path).rfind("%!PS-Adobe-2.0 EPSF-1.2\n", 0), 0u) << r.file;
    } else {
      const auto facts = test::readRasterFile(path);
      ASSERT_TRUE(facts) << r.file;
      EXPECT_EQ(facts->colour, r.colour) << r.file;
    }
  }
}

TEST(Cli, TextsAreConvertedAsTheWindowDoes) {
  test::TempDir dir;
  const std::string eps = dir.file("t.eps");
  // 40 characters of price: cut to 31, with a note; the euro sign is Windows-1252, the
  // rouble sign is not.
  const std::string price(40, '9');
  const test::CommandResult c = test::cli("--type isbn13 --addon 51299 --price " + price + " -o " + shellQuote(eps) +
                    " 978-3-16-148410-0");
  EXPECT_EQ(c.exitCode, 0);
  EXPECT_NE(c.output.find("price: cut to 31 characters"), std::string::npos) << c.output;
  EXPECT_NE(test::readFile(eps).find("(" + std::string(31, '9') + ") show"), std::string::npos);
  const test::CommandResult euro = test::cli("--type isbn13 --addon 51299 --price '\xE2\x82\xAC 5 \xC2\xA3 \xE2\x82\xBD' -o " +
                       shellQuote(eps) + " 978-3-16-148410-0");
  EXPECT_EQ(euro.exitCode, 0);
  EXPECT_NE(euro.output.find("outside Windows-1252"), std::string::npos) << euro.output;
  EXPECT_NE(test::readFile(eps).find("(\x80 5 \xA3 ?) show"), std::string::npos);
}

TEST(Cli, CheckDigitIsReplacedWithANoteOrRefusedWhenStrict) {
  test::TempDir dir;
  const std::string out = shellQuote(dir.file("c.eps"));
  const std::vector<test::CliRow> rows = {
      {"4006381333931", 0, ""},  // right check digit: nothing to say
      {"4006381333930", 0, "check character 0 is wrong; 1 expected, replaced"},
      {"--strict 4006381333930", 1, "check character 0 is wrong; 1 expected"},
      {"--strict 4006381333931", 0, ""},
      {"--strict 400638133393", 0, ""},  // nothing typed, nothing to verify
      {"--strict --type ean8 96385070", 1, "4 expected"},
      {"--strict --type isbn10 0-8044-2957-X", 0, ""},
      {"--strict --type isbn10 0-8044-2957-x", 0, ""},
      {"--strict --type isbn10 0-306-40615-3", 1, "check character 3 is wrong; 2 expected"},
      {"--strict --type isbn13 978-0-306-40615-7", 0, ""},
      {"--strict --type isbn13 978-0-306-40615-X", 1, "7 expected"},
      {"--type isbn13 978-0-306-40615-X", 0, "replaced"},
      {"--strict --type issn 0317-847x", 1, "check character x is wrong; 1 expected"},
      {"--strict --type upce 01234560", 1, "5 expected"},
      {"--strict --type ismn M-2600-0043-8", 0, ""},
  };
  for (const test::CliRow& r : rows) {
    const test::CommandResult c = test::cli("-o " + out + " " + r.args);
    EXPECT_EQ(c.exitCode, r.exitCode) << r.args << "\n" << c.output;
    if (r.says.empty()) {
      EXPECT_EQ(c.output, "") << r.args;
    } else {
      EXPECT_NE(c.output.find(r.says), std::string::npos) << r.args << "\n" << c.output;
    }
  }
}

TEST(Cli, PreviewIsAnRgbPngOfTheAskedSize) {
  test::TempDir dir;
  const std::string png = dir.file("p.png");
  ASSERT_EQ(test::cli("--preview 640x320 --type isbn10 -o " + shellQuote(png) + " 0-306-40615-2").exitCode, 0);
  const auto facts = test::readPngFile(png);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->width, 640);
  EXPECT_EQ(facts->height, 320);
  EXPECT_EQ(facts->colour, "rgb");
  EXPECT_EQ(test::zbarDecode(png), std::vector<std::string>{"EAN-13:9780306406157"});
  EXPECT_EQ(test::cli("--preview 0x10 -o " + shellQuote(png) + " 401234567890").exitCode, 2);
  // The 2D options shape the preview as they shape the file.
  ASSERT_EQ(test::cli("--preview 640x320 --companion qr --ai '(10)AB1' -o " + shellQuote(png) +
                      " 401234567890").exitCode, 0);
  EXPECT_EQ(test::zbarDecode(png), (std::vector<std::string>{
                                       "EAN-13:4012345678901",
                                       "QR-Code:https://id.gs1.org/01/04012345678901/10/AB1"}));
  const auto refused = test::cli("--preview 640x320 --type gs1-qr --ai '(17)271331' -o " +
                                 shellQuote(png) + " 9780306406157");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.output.find("month 13 does not exist"), std::string::npos) << refused.output;
}

// The price code's add-on is what a scanner reads, and its price the line above it.
TEST(Cli, PriceCodeMakesTheAddOnAndPriceLine) {
  test::TempDir dir;
  for (const auto& [code, addon, line] :
       {std::tuple{"USD 19.99", "51999", "USD 19.99"}, std::tuple{"none", "90000", ""}}) {
    SCOPED_TRACE(code);
    const std::string png = dir.file("p.png"), svg = dir.file("p.svg");
    const std::string args = "--type isbn13 --price-code " + shellQuote(code) + " ";
    ASSERT_EQ(test::cli(args + "-o " + shellQuote(png) + " 9783161484100").exitCode, 0);
    EXPECT_EQ(test::zbarDecode(png),
              (std::vector<std::string>{"EAN-13:9783161484100", std::string("EAN-5:") + addon}));
    ASSERT_EQ(test::cli(args + "-o " + shellQuote(svg) + " 9783161484100").exitCode, 0);
    if (*line) {
      EXPECT_NE(test::readFile(svg).find(std::string(line) + "<"), std::string::npos);
    }
    // The preview draws the same as the add-on and price typed out.
    const std::string coded = dir.file("coded.png"), typed = dir.file("typed.png");
    ASSERT_EQ(test::cli("--preview 800x400 " + args + "-o " + shellQuote(coded) + " 9783161484100").exitCode, 0);
    ASSERT_EQ(test::cli("--preview 800x400 --type isbn13 --addon " + std::string(addon) + " --price " +
                        shellQuote(line) + " -o " + shellQuote(typed) + " 9783161484100").exitCode, 0);
    EXPECT_EQ(test::readFile(coded), test::readFile(typed));
  }
}

namespace {

// A page's width in millimetres: pdfinfo's "Page size: w x h pts", or an SVG's width="..mm".
double pageWidthMm(const std::string& path) {
  if (path.size() > 4 && path.compare(path.size() - 4, 4, ".svg") == 0) {
    const std::string svg = test::readFile(path);
    const auto at = svg.find("width=\"");
    return at == std::string::npos ? -1 : std::stod(svg.substr(at + 7));
  }
  const std::string info = test::run("pdfinfo " + shellQuote(path)).output;
  const auto at = info.find("Page size:");
  return at == std::string::npos ? -1 : std::stod(info.substr(at + 10)) * 25.4 / 72.0;
}

}  // namespace

// Any size: the values a free size takes and what it refuses, with the accepted range;
// then the sizes the pages measure.
TEST(Cli, AnySizeRulesAndMeasures) {
  test::TempDir dir;
  const std::string pdf = " -o " + shellQuote(dir.file("x.pdf")) + " 401234567890";
  const std::string png = " -o " + shellQuote(dir.file("x.png")) + " 401234567890";
  const std::string eps = " -o " + shellQuote(dir.file("x.eps")) + " 401234567890";
  const std::vector<test::CliRow> rows = {
      {"--magnification 120" + pdf, 0, ""},
      {"--magnification 120,5 --format svg -o " + shellQuote(dir.file("c.svg")) + " 401234567890", 0, ""},
      {"--magnification '120 %'" + pdf, 0, ""},
      {"--magnification 78" + pdf, 0, "note: magnification 78.0 %: GS1 sets 80 % as the minimum"},
      {"--magnification 74.9" + pdf, 2, "bad value for --magnification: magnification 74.9 is outside 75 to 200 %"},
      {"--magnification 201" + pdf, 2, "outside 75 to 200 %"},
      {"--magnification nan" + pdf, 2, "magnification \"nan\" is not a number (75 to 200 %"},
      {"--magnification 1e2" + pdf, 2, "is not a number"},
      {"--magnification ''" + pdf, 2, "is not a number"},
      {"--magnification 1,2.5" + pdf, 2, "is not a number"},
      {"--module 0.2" + pdf, 2, "module 0.2 mm is outside 0.2475 to 0.66 mm"},
      {"--module 0,4 --dpi 300" + png, 0, "note: module 5 dots = 0.4233 mm, 128.3 %"},
      {"--dpi 300" + png, 0, "note: module 4 dots = 0.3387 mm, 102.6 %"},
      {"--dpi 203 --magnification 80" + png, 0, "module 2 dots = 0.2502 mm, 75.8 %"},
      {"--dpi 72 --magnification 75" + png, 0, "module 1 dots = 0.3528 mm, 106.9 %"},
      {"--dpi 71" + png, 2, "resolution 71 dpi is not a whole number from 72 to 4800"},
      {"--dpi 4801" + png, 2, "from 72 to 4800"},
      {"--dpi 300.5" + png, 2, "not a whole number"},
      {"--snap-dpi 2400 --magnification 120" + pdf, 0, "module 37 dots at 2400 dpi = 0.3916 mm, 118.7 %"},
      {"--snap-dpi 50" + pdf, 2, "snap resolution 50 dpi"},
      {"--size 3 --magnification 120" + pdf, 2, "--size and --magnification both give the size; give one"},
      {"--module 0.4 --size 3" + pdf, 2, "--size and --module both give the size"},
      {"--res 2 --dpi 300" + png, 2, "--res and --dpi both give the resolution; give one"},
      {"--magnification 120 --module 0.4" + pdf, 2, "--magnification and --module both give the size"},
      {"--height 15" + pdf, 0, ""},
      {"--height 10" + pdf, 2, "bar height 10 mm is outside 11.16 to 22.31 mm"},
      {"--height 25" + pdf, 2, "outside 11.16 to 22.31 mm"},
      {"--height 25 --magnification 200" + pdf, 0, ""},
      {"--height -3" + pdf, 2, "is not a number"},
      {"--height 15" + eps, 2, "EPS files keep their bar height"},
      {"--dpi 600 --no-snap --magnification 100" + png, 0, ""},
  };
  for (const test::CliRow& r : rows) test::expectCli(r);
  if (!test::haveTool("pdfinfo") || !test::haveTool("ps2pdf")) GTEST_SKIP() << "poppler-utils or ghostscript missing";
  // The lists' 100 % page, for the pages at other sizes to be measured against.
  ASSERT_EQ(test::cli("--size 2" + pdf).exitCode, 0);
  const double nominal = pageWidthMm(dir.file("x.pdf"));
  struct Measure {
    std::string args;
    std::string file;
    double millimetres;  // the page's width
  };
  const std::vector<Measure> measures = {
      {"--magnification 120", "m.pdf", nominal * 1.2},
      {"--magnification 120", "m.svg", nominal * 1.2},
      {"--module 0.264", "m80.svg", nominal * 0.8},
      // The EPS box, 94 pt of the fixed 0.296 mm module, at exactly 0.33 mm modules.
      {"--magnification 100", "m.eps", 94.0 / (0.011640 * 72.0) * 0.33},
  };
  for (const Measure& m : measures) {
    const std::string path = dir.file(m.file);
    ASSERT_EQ(test::cli(m.args + " -o " + shellQuote(path) + " 401234567890").exitCode, 0) << m.args;
    std::string page = path;
    if (m.file.find(".eps") != std::string::npos) {
      page = dir.file("eps.pdf");
      ASSERT_EQ(test::run("ps2pdf -dEPSCrop " + shellQuote(path) + " " + shellQuote(page)).exitCode, 0);
    }
    EXPECT_NEAR(pageWidthMm(page), m.millimetres, 0.01) << m.args << " " << m.file;
  }
}

TEST(Cli, HelpNamesTheSizesAndResolutions) {
  const test::CommandResult c = test::cli("--help");
  EXPECT_EQ(c.exitCode, 0);
  for (const char* word : {"197%", "82%", "3200 dpi", "72 dpi", "isbn13", "upce", "ismn",
                           "--variant", "--batch", "greyscale PNG", "--delimiter", "gs1-qr",
                           "gs1-datamatrix", "--companion", "0.396", "0.495", "0.990"})
    EXPECT_NE(c.output.find(word), std::string::npos) << word;
}

// The completion offers every type of the symbology table after --type (it reads them from
// --help), and the ISBN word that picks by length.
TEST(Cli, CompletionOffersEveryType) {
  const std::string script = "source " STRIMLO_COMPLETION "; COMP_WORDS=(" STRIMLO_CLI
                             " --type ''); COMP_CWORD=2; _strimlo_cli; printf '%s\\n' \"${COMPREPLY[@]}\"";
  const test::CommandResult c = test::run("bash -c " + shellQuote(script));
  ASSERT_EQ(c.exitCode, 0) << c.output;
  std::set<std::string> offered;
  std::istringstream lines(c.output);
  for (std::string line; std::getline(lines, line);) offered.insert(line);
  std::set<std::string> expected = {"isbn"};
  for (const SymbologyRow& row : symbologies()) expected.insert(row.token);
  EXPECT_EQ(offered, expected);
}

namespace {

// The options a help text names: "-o", "--type", ... wherever a word starts with a hyphen
// and a letter (so "ISBN-10" and "0-306" are not options).
std::set<std::string> optionsIn(const std::string& text) {
  std::set<std::string> options;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const bool starts = text[i] == '-' && (i == 0 || std::string(" \t\n[(|").find(text[i - 1]) != std::string::npos);
    std::size_t j = i + (text[i + 1] == '-' ? 2 : 1);
    if (!starts || j >= text.size() || !std::islower(static_cast<unsigned char>(text[j]))) continue;
    while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '-')) ++j;
    options.insert(text.substr(i, j - i));
    i = j;
  }
  return options;
}

// The manual page's text with roff's escaped hyphens and font changes undone.
std::string manualText(const std::string& roff) {
  std::string out;
  for (std::size_t i = 0; i < roff.size(); ++i) {
    if (roff.compare(i, 2, "\\-") == 0) { out += '-'; ++i; continue; }
    if (roff.compare(i, 2, "\\f") == 0 && i + 2 < roff.size()) { i += 2; continue; }
    out += roff[i];
  }
  return out;
}

}  // namespace

// strimlo-cli(1) and --help cannot drift apart: every option the help names is in the
// manual page.
TEST(Cli, ManualPageNamesEveryOptionOfHelp) {
  const std::set<std::string> page = optionsIn(manualText(test::readFile(STRIMLO_MAN_DIR "/strimlo-cli.1")));
  const std::set<std::string> help = optionsIn(test::cli("--help").output);
  ASSERT_TRUE(help.count("--type") && help.count("-o")) << "the option scan found nothing";
  for (const std::string& option : help)
    EXPECT_TRUE(page.count(option)) << "strimlo-cli --help lists " << option
                                    << ", but docs/man/strimlo-cli.1 does not describe it";
}

// Stopped in the middle of a large save, the command leaves neither the file nor a
// temporary file.
TEST(Cli, TerminatedSaveLeavesNothing) {
  test::TempDir dir;
  const std::string args = "--type isbn13 --addon 51299 --size 9 --res 7 -o " + shellQuote(dir.file("big.tiff")) +
                           " 978-3-16-148410-0 >/dev/null 2>&1";
  test::interruptCli(args, std::chrono::milliseconds(250), SIGTERM);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(CliOptions, FormatFromPath) {
  struct Row {
    const char* path;
    std::optional<FileFormat> format;
  };
  for (const Row r : {Row{"a.eps", kEPS}, Row{"a.PNG", kPNG}, Row{"a.tif", kTIFF},
                      Row{"dir.d/file", std::nullopt}, Row{"a.2", std::nullopt},
                      Row{"a.jpeg", kJPEG}, Row{"noext", std::nullopt}, Row{"a.pdf", kPDF},
                      Row{"a.Svg", kSVG}}) {
    EXPECT_EQ(cli::formatFromPath(r.path), r.format) << r.path;
  }
}

// PDF and SVG get their light margins unless told otherwise; the fixed-size formats only
// when asked.
TEST(CliOptions, QuietZonesFollowTheFormatUnlessAsked) {
  struct Row {
    const char* flag;
    FileFormat format;
    bool quiet;
  };
  for (const Row r : {Row{"", kPDF, true}, Row{"", kSVG, true}, Row{"", kEPS, false},
                      Row{"", kPNG, false}, Row{"--no-quiet-zones", kPDF, false},
                      Row{"--no-quiet-zones", kSVG, false}, Row{"--quiet-zones", kEPS, true},
                      Row{"--quiet-zones", kTIFF, true}}) {
    std::vector<std::string> args = {"-o", "x", "401234567890"};
    if (*r.flag) args.insert(args.begin(), r.flag);
    const cli::Parsed p = cli::parseOptions(args);
    ASSERT_TRUE(p.error.empty()) << p.error;
    EXPECT_EQ(cli::prepressFor(p.options, r.format).quietZones, r.quiet) << r.flag << " " << r.format;
  }
}

}  // namespace
}  // namespace strimlo
