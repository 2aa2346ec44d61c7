// The EPS text: golden files byte for byte, its layout rules, escaping, locale
// independence, and Ghostscript + zbarimg as an independent reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "eps.h"
#include "font.h"
#include "layout.h"
#include "paint.h"
#include "symbol.h"
#include "test_support.h"

namespace strimlo {
namespace {

using test::readFile;
using test::testData;

ModulePattern ean13(std::string_view digits) { return bitpattern_ean13(digits).value(); }
ModulePattern ean8(std::string_view digits) { return bitpattern_ean8(digits).value(); }
ModulePattern addon5(std::string_view digits) { return bitpattern_addon5(digits).value(); }

std::string epsEan13(std::string_view digits) {
  return makeEPS(kEAN13, digits, {}, {}, {}, ean13(digits), nullptr).value();
}

std::string epsEan8(std::string_view digits) {
  return makeEPS(kEAN8, digits, {}, {}, {}, ean8(digits), nullptr).value();
}

// The ISBN-13 example: 9783161484100 with its line, a price and the add-on 51299.
std::string epsIsbnExample(std::optional<std::string_view> price = "12.99") {
  const ModulePattern addon = addon5("51299");
  return makeEPS(kISBN13, "9783161484100", "ISBN 978-3-16-148410-0", "51299", price,
                 ean13("9783161484100"), &addon)
      .value();
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// "" when equal, else the first line that differs, for a readable failure.
std::string firstDifference(const std::string& expected, const std::string& actual) {
  if (expected == actual) return {};
  const auto e = lines(expected), a = lines(actual);
  for (std::size_t i = 0; i < std::max(e.size(), a.size()); ++i) {
    const std::string el = i < e.size() ? e[i] : "<end of text>";
    const std::string al = i < a.size() ? a[i] : "<end of text>";
    if (el != al)
      return "line " + std::to_string(i + 1) + "\n  expected: [" + el + "]\n  actual:   [" + al + "]";
  }
  return "the texts differ only in their final line feed";
}

// The run commands of the main symbol, one entry per line.
std::vector<std::string> runLines(const std::string& eps) {
  const auto from = eps.find("12 10 moveto\n") + 13;
  const auto to = eps.find("\nstroke\n", from);
  return lines(eps.substr(from, to - from));
}

std::size_t commandCount(const std::string& line) {
  return static_cast<std::size_t>(std::count(line.begin(), line.end(), ' ')) / 2;
}

std::size_t occurrences(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

struct GoldenRow {
  const char* file;
  std::string (*make)();
};

TEST(Eps, MatchesGoldenFilesByteForByte) {
  const GoldenRow rows[] = {
      {"ean13_4012345678901.eps", [] { return epsEan13("4012345678901"); }},
      {"isbn13_addon.eps", [] { return epsIsbnExample(); }},
      {"ean8_40123455.eps", [] { return epsEan8("40123455"); }},
      // UPC-E: small number system and check digit, a 2-digit add-on 7.6 modules on.
      {"upce_01234565_03.eps", [] {
         const ModulePattern addon = bitpattern_addon2("03").value();
         return makeEPS(kUPCE, "01234565", {}, "03", {}, bitpattern_upce("01234565").value(), &addon)
             .value();
       }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.file);
    const std::string golden = readFile(testData(r.file));
    ASSERT_FALSE(golden.empty()) << "missing golden file " << testData(r.file);
    const std::string difference = firstDifference(golden, r.make());
    EXPECT_TRUE(difference.empty()) << difference;
  }
}

TEST(Eps, EveryTextOpensAndClosesTheSameWay) {
  const ModulePattern addon = addon5("52495");
  const std::string texts[] = {
      epsEan8("96385074"),
      epsEan13("4006381333931"),
      makeEPS(kISBN10, "9780306406157", "ISBN 0-306-40615-2", "", "", ean13("9780306406157"), nullptr).value(),
      makeEPS(kISBN13, "9780306406157", "ISBN 978-0-306-40615-7", "52495", "", ean13("9780306406157"), &addon).value(),
      // An ISMN's price without an add-on gets the room the add-on would have.
      makeEPS(kISMN, "9790260000438", "ISMN 979-0-2600-0043-8", "", "12.99", ean13("9790260000438"), nullptr).value(),
      // An ISMN's 5-digit add-on keeps 5 modules after it.
      makeEPS(kISMN, "9790260000438", "ISMN 979-0-2600-0043-8", "52495", "", ean13("9790260000438"), &addon).value(),
      // Without a price, the plain box.
      makeEPS(kISMN, "9790260000438", "ISMN 979-0-2600-0043-8", "", "", ean13("9790260000438"), nullptr).value(),
  };
  const char* boxes[] = {"%%BoundingBox: 0 0 60.25 70\n", "%%BoundingBox: 0 0 94 70\n",
                         "%%BoundingBox: 0 0 138 78\n", "%%BoundingBox: 0 0 142 78\n",
                         "%%BoundingBox: 0 0 138 78\n", "%%BoundingBox: 0 0 142 78\n",
                         "%%BoundingBox: 0 0 94 78\n"};
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(texts[i].rfind("%!PS-Adobe-2.0 EPSF-1.2\n%%Creator: Strimlo (Mac), https://strimlo.example/\n", 0), 0u);
    EXPECT_TRUE(texts[i].ends_with("showpage\n"));
    EXPECT_EQ(occurrences(texts[i], "showpage"), 1u);
    EXPECT_NE(texts[i].find(boxes[i]), std::string::npos);
    EXPECT_EQ(texts[i].find('\0'), std::string::npos);
  }
}

TEST(Eps, PriceAndAddonRules) {
  const ModulePattern main = ean13("9783161484100");
  const ModulePattern addon = addon5("51299");
  const std::string isbn = "ISBN 978-3-16-148410-0";
  const std::string line = "isbnfont 12 69.5 moveto (ISBN 978-3-16-148410-0) show ";
  struct Row {
    const char* what;
    std::optional<std::string_view> addonText, price;
    const ModulePattern* addonPattern;
    std::string tail;  // everything after the 13 digit placements
  };
  const Row rows[] = {
      {"an empty price is still placed", "51299", "", &addon,
       line + "98 69.5 moveto () show /height { 0.730000 72 mul } def\n98 5 moveto\n"},
      {"no add-on pattern: no add-on section, the price stays", "5129", "12.99", nullptr,
       line + "98 69.5 moveto (12.99) show showpage\n"},
      {"no add-on and an empty price", "", "", nullptr, line + "98 69.5 moveto () show showpage\n"},
      {"no price at all: no price placement", "51299", std::nullopt, &addon,
       line + "/height { 0.730000 72 mul } def\n98 5 moveto\n"},
      {"add-on bars without add-on text: no add-on digits", std::nullopt, "12.99", &addon,
       line + "98 69.5 moveto (12.99) show /height { 0.730000 72 mul } def\n98 5 moveto\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string eps =
        makeEPS(kISBN13, "9783161484100", isbn, r.addonText, r.price, main, r.addonPattern).value();
    const auto after = eps.find("84.000000 3 moveto (0) show ");
    ASSERT_NE(after, std::string::npos);
    const std::string tail = eps.substr(after + 28);
    EXPECT_EQ(tail.substr(0, r.tail.size()), r.tail);
    EXPECT_EQ(occurrences(eps, "59.5 moveto"), r.addonPattern && r.addonText ? 5u : 0u);
  }
  const std::string barsOnly = makeEPS(kISBN13, "9783161484100", isbn, {}, "", main, &addon).value();
  EXPECT_TRUE(barsOnly.ends_with("1 B 1 S 3 B \nstroke\nshowpage\n"));
}

TEST(Eps, EanTypesIgnoreIsbnTexts) {
  const ModulePattern addon = addon5("51299");
  const std::string plain = epsEan13("4012345678901");
  EXPECT_EQ(makeEPS(kEAN13, "4012345678901", "ISBN x", "51299", "1.00", ean13("4012345678901"), &addon).value(), plain);
  EXPECT_EQ(plain.find("isbnfont 12"), std::string::npos);
  const std::string plain8 = epsEan8("40123455");
  EXPECT_EQ(makeEPS(kEAN8, "40123455", "ISBN x", "51299", "1.00", ean8("40123455"), &addon).value(), plain8);
}

TEST(Eps, AddonEndsWithItsLastBarsWidth) {
  struct Row {
    const char* addon;
    const char* ending;  // the last run command and what follows
  };
  const Row rows[] = {
      {"00000", " 1 B \nstroke\n"},
      {"00001", " 2 B \nstroke\n"},
      {"51299", " 3 B \nstroke\n"},
      {"00016", " 4 B \nstroke\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.addon);
    const ModulePattern addon = addon5(r.addon);
    const std::string eps =
        makeEPS(kISBN13, "9780306406157", "ISBN", r.addon, {}, ean13("9780306406157"), &addon).value();
    const auto at = eps.find("98 5 moveto\n");
    ASSERT_NE(at, std::string::npos);
    const std::string section = eps.substr(at, eps.find("\nstroke\n", at) + 8 - at);
    EXPECT_TRUE(section.ends_with(r.ending)) << section;
    EXPECT_EQ(section.find(" L "), std::string::npos) << "the add-on has no guard bars";
  }
}

// Bars and spaces alternate, so 95 modules make 59 commands (20 + 20 + 19) and EAN-8's
// 67 make 43 (20 + 20 + 3); the final end-guard bar goes last, uncounted.
TEST(Eps, RunsAreLaidOutTwentyToALine) {
  struct Row {
    const char* digits;
    std::size_t lastLine;
  };
  for (const Row r : {Row{"4012345678901", 19}, Row{"0000000000000", 19}, Row{"9999999999994", 19},
                      Row{"9783161484100", 19}, Row{"40123455", 3}, Row{"96385074", 3},
                      Row{"00000000", 3}}) {
    SCOPED_TRACE(r.digits);
    const bool ean8 = std::string_view(r.digits).size() == 8;
    std::string eps = ean8 ? epsEan8(r.digits) : epsEan13(r.digits);
    if (ean8) eps.replace(eps.find("2 10 moveto\n"), 12, "12 10 moveto\n");
    const auto runs = runLines(eps);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(commandCount(runs[0]), 20u);
    EXPECT_EQ(commandCount(runs[1]), 20u);
    EXPECT_EQ(commandCount(runs[2]), r.lastLine);
    EXPECT_TRUE(runs[2].ends_with(" 1 L ")) << runs[2];
    EXPECT_EQ(runs[0].rfind("1 L 1 S 1 L ", 0), 0u) << "start guard";
    std::size_t guards = 0;
    for (const auto& l : runs) guards += occurrences(" " + l, " 1 L ");
    EXPECT_EQ(guards, 6u) << "two bars in each of the three guards";
    if (ean8) {
      EXPECT_EQ(occurrences(eps, "e1font\n"), 8u);
    }
  }
}

TEST(Eps, DigitPositionsCarrySixDecimals) {
  const std::string eps13 = epsEan13("4012345678901");
  for (const char* p : {"e1font 2.000000 3 moveto (4) show ", "e1font 54.000000 3 moveto (6) show ",
                        "e1font 84.000000 3 moveto (1) show showpage\n"})
    EXPECT_NE(eps13.find(p), std::string::npos) << p;
  const std::string eps8 = epsEan8("40123455");
  EXPECT_NE(eps8.find("e1font\n5.500000 3 moveto\n(4) show\n"), std::string::npos);
  EXPECT_NE(eps8.find("e1font\n50.500000 3 moveto\n(5) show\nshowpage\n"), std::string::npos);
}

TEST(Eps, EscapesParenthesesAndBackslashes) {
  const ModulePattern main = ean13("9780306406157");
  const ModulePattern addon = addon5("12345");
  struct Row {
    const char* what;
    std::string isbnLine, price, addonText;
    std::string expected;
  };
  const Row rows[] = {
      {"closing parenthesis in the price", "ISBN 1", "$5)", "12345", "98 69.5 moveto ($5\\)) show "},
      {"backslash at the end of the price", "ISBN 1", "5\\", "12345", "98 69.5 moveto (5\\\\) show "},
      {"all three in the price", "ISBN 1", "(a\\b)", "12345", "98 69.5 moveto (\\(a\\\\b\\)) show "},
      {"parentheses in the ISBN line", "ISBN (978)", "", "12345", "isbnfont 12 69.5 moveto (ISBN \\(978\\)) show "},
      {"other characters stay as they are", "ISBN 0-8044-2957-X", "\xA3 5.99 [x] {y} %z", "12345",
       "isbnfont 12 69.5 moveto (ISBN 0-8044-2957-X) show 98 69.5 moveto (\xA3 5.99 [x] {y} %z) show "},
      {"add-on digits are escaped one by one", "ISBN 1", "", "(\\)45",
       "e1font 100.000000 59.5 moveto (\\() show 108.000000 59.5 moveto (\\\\) show "
       "116.000000 59.5 moveto (\\)) show 124.000000 59.5 moveto (4) show "},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string eps =
        makeEPS(kISBN10, "9780306406157", r.isbnLine, r.addonText, r.price, main, &addon).value();
    EXPECT_NE(eps.find(r.expected), std::string::npos) << eps.substr(eps.find("isbnfont"));
  }
  const std::string odd = makeEPS(kEAN13, "(\\)", {}, {}, {}, main, nullptr).value();
  EXPECT_NE(odd.find("e1font 2.000000 3 moveto (\\() show e1font 15.500000 3 moveto (\\\\) show "
                     "e1font 21.500000 3 moveto (\\)) show showpage\n"),
            std::string::npos);
}

// Inputs no caller makes still give a whole text and read nothing beyond what they hold.
TEST(Eps, InputsBeyondTheUsualBounds) {
  const ModulePattern main = ean13("4012345678901");
  EXPECT_FALSE(makeEPS(-1, "4012345678901", {}, {}, {}, main, nullptr));
  EXPECT_FALSE(makeEPS(8, "4012345678901", {}, {}, {}, main, nullptr));

  const std::string shortDigits = makeEPS(kEAN13, "40", {}, {}, {}, main, nullptr).value();
  EXPECT_EQ(occurrences(shortDigits, " 3 moveto ("), 2u);
  EXPECT_TRUE(shortDigits.ends_with("(0) show showpage\n"));
  const std::string shortDigits8 = makeEPS(kEAN8, "", {}, {}, {}, ean8("40123455"), nullptr).value();
  EXPECT_EQ(occurrences(shortDigits8, "e1font\n"), 0u);
  EXPECT_TRUE(shortDigits8.ends_with("1 L \nstroke\nshowpage\n"));

  const std::string noModules = makeEPS(kEAN13, "4012345678901", {}, {}, {}, {}, nullptr).value();
  EXPECT_NE(noModules.find("12 10 moveto\n\nstroke\n"), std::string::npos);

  const ModulePattern startsWithSpace = {0, 0, 1, 1, 0, 1};
  const std::string space = makeEPS(kEAN13, "4012345678901", {}, {}, {}, startsWithSpace, nullptr).value();
  EXPECT_NE(space.find("12 10 moveto\n2 S 2 L 1 S 1 B \nstroke\n"), std::string::npos);

  const ModulePattern wide(300, 1);
  const std::string wideBar = makeEPS(kEAN13, "4012345678901", {}, {}, {}, wide, nullptr).value();
  EXPECT_NE(wideBar.find("12 10 moveto\n300 L \nstroke\n"), std::string::npos);

  const std::string longText(1000, 'x');
  const ModulePattern addon = addon5("51299");
  const std::string longTexts =
      makeEPS(kISBN13, "9783161484100", "ISBN " + longText, "1234567", longText, main, &addon).value();
  EXPECT_NE(longTexts.find("(ISBN " + longText + ") show 98 69.5 moveto (" + longText + ") show "),
            std::string::npos);
  EXPECT_EQ(occurrences(longTexts, "59.5 moveto"), 5u) << "only five add-on characters are drawn";

  const std::string shortAddon = makeEPS(kISBN13, "9783161484100", "ISBN", "12", {}, main, &addon).value();
  EXPECT_EQ(occurrences(shortAddon, "59.5 moveto"), 2u);

  const std::string noLine = makeEPS(kISBN10, "9783161484100", {}, {}, {}, main, nullptr).value();
  EXPECT_NE(noLine.find("isbnfont 12 69.5 moveto () show showpage\n"), std::string::npos);

  const std::string breakInTitle = makeEPS(kEAN13, "12\n(3\r", {}, {}, {}, main, nullptr).value();
  EXPECT_NE(breakInTitle.find("%%Title: 12 (3 \n%%BoundingBox"), std::string::npos);
}

// A toolkit sets the C locale from the environment; a decimal comma must not leak in.
TEST(Eps, DecimalCommaLocaleChangesNothing) {
  const std::string before = epsEan8("40123455");
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
    GTEST_SKIP() << "locale de_DE.UTF-8 is not available (scripts/setup.sh generates it)";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%f", 2.5);
  const std::string printed = probe;
  const std::string during8 = epsEan8("40123455");
  const std::string during13 = epsIsbnExample();
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_EQ(printed, "2,500000") << "the locale has no decimal comma, so it proves nothing";
  EXPECT_EQ(during8, before);
  const std::string difference = firstDifference(readFile(testData("isbn13_addon.eps")), during13);
  EXPECT_TRUE(difference.empty()) << difference;
}

class EpsScans : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("gs") || !test::haveTool("zbarimg"))
      GTEST_SKIP() << "Ghostscript or zbarimg missing (scripts/setup.sh installs them)";
  }
  // Renders the EPS with Ghostscript at 600 dpi and returns what zbarimg reads.
  std::vector<std::string> decode(const std::string& eps) {
    const std::string epsPath = dir_.file("symbol.eps"), pngPath = dir_.file("symbol.png");
    test::writeFile(epsPath, eps);
    EXPECT_EQ(test::ghostscriptToPng(epsPath, pngPath, 600), 0);
    return test::zbarDecode(pngPath);
  }
  // The EPS as a layout program imports it: turned into a PDF, then drawn by poppler's
  // cairo renderer, where abutting strokes inside one bar once showed as grey seams.
  std::vector<std::string> decodeThroughCairo(const std::string& eps, int dpi) {
    if (!test::haveTool("ps2pdf") || !test::haveTool("pdftocairo")) {
      ADD_FAILURE() << "ps2pdf or pdftocairo (poppler-utils) missing";
      return {};
    }
    const std::string epsPath = dir_.file("symbol.eps"), pdfPath = dir_.file("symbol.pdf");
    test::writeFile(epsPath, eps);
    const auto r = test::run("ps2pdf -dEPSCrop " + test::shellQuote(epsPath) + " " +
                             test::shellQuote(pdfPath) + " && pdftocairo -gray -png -singlefile -r " +
                             std::to_string(dpi) + " " + test::shellQuote(pdfPath) + " " +
                             test::shellQuote(dir_.file("cairo")));
    EXPECT_EQ(r.exitCode, 0) << r.output;
    return test::zbarDecode(dir_.file("cairo.png"));
  }
  test::TempDir dir_;
};

TEST_F(EpsScans, ZbarReadsWhatGhostscriptDraws) {
  const auto isbn = completeSymbol(kISBN13, "978-3-16-148410-0", "51299", "12.99").symbol.value();
  struct Row {
    const char* what;
    std::string eps;
    std::vector<std::string> expected;
  };
  const Row rows[] = {
      {"EAN-13", epsEan13("4012345678901"), {"EAN-13:4012345678901"}},
      {"EAN-8", epsEan8("40123455"), {"EAN-8:40123455"}},
      {"ISBN-13 with add-on",
       makeEPS(isbn.type, isbn.digits, isbn.isbnLine, isbn.addonText, isbn.priceText, isbn.pattern,
               &*isbn.addon)
           .value(),
       {"EAN-13:9783161484100", "EAN-5:51299"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(decode(r.eps), r.expected) << "Ghostscript, 600 dpi";
    for (int dpi : {600, 1200}) EXPECT_EQ(decodeThroughCairo(r.eps, dpi), r.expected) << "cairo " << dpi;
  }
}

TEST_F(EpsScans, GhostscriptAcceptsEscapedTexts) {
  const ModulePattern addon = addon5("51299");
  const std::string eps = makeEPS(kISBN13, "9783161484100", "ISBN (978)\\3-16", "51299", "(5\\)",
                                  ean13("9783161484100"), &addon)
                              .value();
  const std::string epsPath = dir_.file("escaped.eps");
  test::writeFile(epsPath, eps);
  const auto r = test::ghostscriptRender(epsPath, dir_.file("escaped.png"), 72);
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_EQ(r.output, "");
}


constexpr const char* kLatin1Font =
    "/Helvetica-ISOLatin1 /Helvetica findfont dup length dict begin "
    "{ 1 index /FID ne { def } { pop pop } ifelse } forall "
    "/Encoding ISOLatin1Encoding 256 array copy dup 45 /hyphen put def "
    "currentdict end definefont pop\n"
    "/isbnfont { /Helvetica-ISOLatin1 findfont 7 scalefont setfont 0.0 setgray} def\n";
constexpr const char* kHighRowPuts =
    "dup 128 /Euro put dup 130 /quotesinglbase put dup 131 /florin put "
    "dup 132 /quotedblbase put dup 133 /ellipsis put dup 134 /dagger put "
    "dup 135 /daggerdbl put dup 136 /circumflex put dup 137 /perthousand put "
    "dup 138 /Scaron put dup 139 /guilsinglleft put dup 140 /OE put dup 142 /Zcaron put "
    "dup 145 /quoteleft put dup 146 /quoteright put dup 147 /quotedblleft put "
    "dup 148 /quotedblright put dup 149 /bullet put dup 150 /endash put dup 151 /emdash put "
    "dup 152 /tilde put dup 153 /trademark put dup 154 /scaron put "
    "dup 155 /guilsinglright put dup 156 /oe put dup 158 /zcaron put dup 159 /Ydieresis put ";

// Helvetica's standard encoding would draw Windows-1252 bytes as other glyphs; only a text
// beyond ASCII, in the ISBN line or the price, needs the Latin-1 copy of the font, and
// only a text with a byte of 0x80 to 0x9F (the euro sign, typographic quotes) needs the
// Windows-1252 glyphs there.
TEST(Eps, TextsBeyondAsciiGetALatin1Font) {
  const ModulePattern main = ean13("9783161484100");
  const ModulePattern addon = addon5("51299");
  struct Row {
    const char* what;
    CodeType type;
    std::optional<std::string_view> line, price;
    std::size_t fonts;  // how often the Latin-1 font is defined
    bool highRow = false;  // with the Windows-1252 glyphs of 0x80 to 0x9F
  };
  const Row rows[] = {
      {"ASCII line and price: the plain font", kISBN13, "ISBN 978-3-16-148410-0", "$12.99", 0},
      {"ASCII line, no price", kISBN10, "ISBN 0-306-40615-2", std::nullopt, 0},
      {"no line at all", kISBN10, std::nullopt, "", 0},
      {"accents and a pound sign in the price", kISBN13, "ISBN 978-3-16-148410-0", "\xE9 \xFC \xA3", 1},
      {"an umlaut in the ISBN line", kISBN13, "ISBN \xC4", "12.99", 1},
      {"both texts beyond ASCII: still defined once", kISBN10, "ISBN \xC4", "\xE9 \xFC \xA3", 1},
      {"a euro sign in the price: the Windows-1252 glyphs", kISBN13, "ISBN", "\x80", 1, true},
      {"an en dash in the ISBN line: the Windows-1252 glyphs", kISBN10, "ISBN \x96", "", 1, true},
      {"EAN-13 draws no ISBN texts", kEAN13, "ISBN \xC4", "\xE9", 0},
      {"EAN-8 draws no ISBN texts", kEAN8, "ISBN \xC4", "\xE9", 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string eps = makeEPS(r.type, "9783161484100", r.line, "51299", r.price,
                                    r.type == kEAN8 ? ean8("40123455") : main, &addon)
                                .value();
    EXPECT_EQ(occurrences(eps, "ISOLatin1Encoding"), r.fonts);
    EXPECT_EQ(occurrences(eps, "/isbnfont {"), r.fonts + 1);
    if (r.fonts == 0) continue;
    // Right after the procedures, so the isbnfont drawn below is the Latin-1 one.
    std::string font = kLatin1Font;
    if (r.highRow) font.insert(font.find("def currentdict"), kHighRowPuts);
    EXPECT_NE(eps.find("module mul 2 div 0 rmoveto } def\n" + font + "12 10 moveto\n"),
              std::string::npos)
        << eps.substr(0, eps.find("12 10 moveto"));
  }
}

// Ghostscript's text extraction reports the letters as it drew them, in Unicode: the
// glyphs the file selects, not the bytes it holds. The ISBN line's hyphens must stay
// hyphens (U+002D), not become the minus (U+2212) of ISOLatin1Encoding.
TEST(Eps, GhostscriptDrawsTheLatin1Letters) {
  if (!test::haveTool("gs")) GTEST_SKIP() << "Ghostscript missing (scripts/setup.sh installs it)";
  const ModulePattern addon = addon5("51299");
  const std::string eps = makeEPS(kISBN13, "9783161484100", "ISBN 978-3-16-148410-0 \xC4", "51299",
                                  "\xE9 \xFC \xA3 \x80\x93", ean13("9783161484100"), &addon)
                              .value();
  test::TempDir dir;
  const std::string epsPath = dir.file("latin1.eps");
  test::writeFile(epsPath, eps);
  const auto text = test::run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=- " +
                              test::shellQuote(epsPath));
  EXPECT_EQ(text.exitCode, 0) << text.output;
  EXPECT_NE(text.output.find("ISBN 978-3-16-148410-0 \xC3\x84"), std::string::npos) << text.output;
  // The euro sign and a curly quote from the Windows-1252 entries.
  EXPECT_NE(text.output.find("\xC3\xA9 \xC3\xBC \xC2\xA3 \xE2\x82\xAC\xE2\x80\x9C"), std::string::npos)
      << text.output;
  const auto drawn = test::ghostscriptRender(epsPath, dir.file("latin1.png"), 72);
  EXPECT_EQ(drawn.exitCode, 0) << drawn.output;
  EXPECT_EQ(drawn.output, "") << "the font definition raised no PostScript error";
}

// The EPS-style layout in pixels at dpi, moved by the file's translate, for the painter.
Layout atDpi(Layout layout, double dpi, int width, int height) {
  const double k = dpi / 72.0;
  const double dx = layout.eps ? layout.eps->translateX : 0.0;
  for (DarkRun& r : layout.runs) {
    r.x0 = (r.x0 + dx) * k;
    r.x1 = (r.x1 + dx) * k;
    r.y0 *= k;
    r.y1 *= k;
  }
  for (TextItem& t : layout.texts) {
    t.x = static_cast<float>((t.x + dx) * k);
    t.y = static_cast<float>(t.y * k);
    t.size = static_cast<float>(t.size * k);
  }
  layout.module = static_cast<float>(layout.module * k);
  layout.pixelsWide = width;
  layout.pixelsHigh = height;
  layout.antialiasBars = false;
  return layout;
}

// Columns where a row turns dark and light again: [first, end) of each dark span.
std::vector<std::pair<int, int>> darkSpans(const test::GreyImage& image, int y) {
  std::vector<std::pair<int, int>> spans;
  for (int x = 0; x < image.width; ++x) {
    if (image.at(x, y) >= 128) continue;
    if (!spans.empty() && spans.back().second == x) ++spans.back().second;
    else spans.push_back({x, x + 1});
  }
  return spans;
}

// Pixels dark in one image with no dark pixel within one pixel in the other, or light
// with no light one: what two rasterisers cannot explain by shading an edge differently.
long unexplained(const test::GreyImage& a, const test::GreyImage& b) {
  auto dark = [](const test::GreyImage& img, int x, int y) { return img.at(x, y) < 128; };
  auto near = [&](const test::GreyImage& img, int x, int y, bool want) {
    for (int v = std::max(0, y - 1); v <= std::min(img.height - 1, y + 1); ++v)
      for (int u = std::max(0, x - 1); u <= std::min(img.width - 1, x + 1); ++u)
        if (dark(img, u, v) == want) return true;
    return false;
  };
  long n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (dark(a, x, y) != dark(b, x, y) &&
          (!near(b, x, y, dark(a, x, y)) || !near(a, x, y, dark(b, x, y))))
        ++n;
  return n;
}

struct PixelRow {
  const char* what;
  CodeType type;
  const char* data;
  const char* addon;
  const char* price;
};

// The claim that EPS is a style of the one layout: Ghostscript's drawing of the file and
// our painter's drawing of the same layout agree, for every type with and without its
// add-on and light margins, at 600 dpi without smoothing. Every bar edge within a pixel;
// elsewhere only pixels beside an edge of the other drawing may differ (glyphs are
// shaded by two rasterisers), at most one per thousand of the ink.
TEST(EpsPixels, GhostscriptDrawsWhatThePainterDrawsOfTheLayout) {
  if (!test::haveTool("gs")) GTEST_SKIP() << "Ghostscript missing (scripts/setup.sh installs it)";
  const Font* font = Font::helvetica();
  ASSERT_NE(font, nullptr) << "Nimbus Sans (fonts-urw-base35) is not installed";
  const PixelRow rows[] = {
      {"EAN-8", kEAN8, "40123455", "", ""},
      {"EAN-13", kEAN13, "4012345678901", "", ""},
      {"ISBN-10", kISBN10, "0-306-40615-2", "", ""},
      {"ISBN-10, add-on and price", kISBN10, "0-306-40615-2", "51299", "12.99"},
      {"ISBN-13, price without add-on", kISBN13, "978-3-16-148410-0", "", "USD 12.99"},
      {"ISBN-13, add-on", kISBN13, "978-3-16-148410-0", "51299", ""},
      {"UPC-A", kUPCA, "036000291452", "", ""},
      {"UPC-A, 2-digit add-on", kUPCA, "036000291452", "12", ""},
      {"UPC-E", kUPCE, "01234565", "", ""},
      {"UPC-E, 5-digit add-on", kUPCE, "01234565", "51299", ""},
      {"ISSN", kISSN, "0317-8471", "", ""},
      {"ISSN, 2-digit add-on", kISSN, "0317-8471", "03", ""},
      {"ISMN", kISMN, "979-0-2600-0043-8", "", ""},
      {"ISMN, 5-digit add-on and price", kISMN, "979-0-2600-0043-8", "51299", "9.99"},
  };
  constexpr int kDpi = 600;
  test::TempDir dir;
  for (const PixelRow& r : rows) {
    for (bool quiet : {false, true}) {
      SCOPED_TRACE(std::string(r.what) + (quiet ? ", light margins" : ""));
      const Symbol sym = completeSymbol(r.type, r.data, r.addon, r.price).symbol.value();
      Layout layout = epsLayout(sym);
      applyPrepress(layout, sym.type, {quiet, 0, false}, false);
      const std::string epsPath = dir.file("pixels.eps"), pngPath = dir.file("pixels.png");
      test::writeFile(epsPath, writeEps(layout, sym.digits, 0).value());
      ASSERT_EQ(test::ghostscriptToPng(epsPath, pngPath, kDpi), 0);
      const auto drawn = test::readPngGrey(pngPath);
      ASSERT_TRUE(drawn);
      const Layout pixels = atDpi(layout, kDpi, drawn->width, drawn->height);
      test::GreyImage painted{drawn->width, drawn->height, {}};
      painted.pixels.resize(static_cast<std::size_t>(drawn->width) * drawn->height);
      ASSERT_TRUE(
          paintInkStrip(pixels, *font, 0, drawn->height, painted.pixels.data(), drawn->width));
      for (auto& p : painted.pixels) p = static_cast<std::uint8_t>(255 - p);

      // A row through every bar, the add-on's too, below the add-on digits.
      const int y = drawn->height - 1 - 35 * kDpi / 72;
      const auto gs = darkSpans(*drawn, y), ours = darkSpans(painted, y);
      ASSERT_EQ(gs.size(), ours.size());
      int worst = 0;
      for (std::size_t k = 0; k < gs.size(); ++k)
        worst = std::max({worst, std::abs(gs[k].first - ours[k].first),
                          std::abs(gs[k].second - ours[k].second)});
      EXPECT_LE(worst, 1) << "bar edges, pixels";
      long ink = 0;
      for (auto p : drawn->pixels) ink += p < 128;
      const long off = unexplained(*drawn, painted);
      EXPECT_LE(off * 1000, ink) << off << " of " << ink << " ink pixels unexplained";
      std::printf("%-34s %-6s bars %zu, edges within %d px; %ld of %ld ink pixels unexplained\n",
                  r.what, quiet ? "quiet" : "plain", gs.size(), worst, off, ink);
    }
  }
}

}  // namespace
}  // namespace strimlo
