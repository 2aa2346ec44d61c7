// UPC-A, UPC-E, ISSN and ISMN: what a typed text encodes, its module string written out
// from the number sets (not from our tables), the refusals and what they say, and what
// two independent readers make of every file format (EPS, PDF, SVG, PNG, TIFF, JPEG) and
// the preview, with and without a 2- and a 5-digit add-on.
#include <gtest/gtest.h>

#include <set>

#include "eps.h"
#include "makecode.h"
#include "preview_png.h"
#include "readback.h"
#include "upc.h"

namespace strimlo {
namespace {

struct Known {
  const char* what;
  CodeType type;
  const char* data;     // as typed; an ISSN's variant after a space
  const char* digits;   // the completed digits; "" when refused
  const char* modules;  // the main symbol, spaced by character for reading
  const char* line;     // the line above the bars; UPC-E: the UPC-A it expands to
  const char* read;     // what both readers report for the main symbol
  Refusal refusal;
  const char* says;     // part of the refusal's message
};

const Known kKnown[] = {
    {"UPC-A: 11 digits and the computed check digit", kUPCA, "03600029145", "036000291452",
     "101 0001101 0111101 0101111 0001101 0001101 0001101 01010 "
     "1101100 1110100 1100110 1011100 1001110 1101100 101",
     "", "UPC-A:036000291452", Refusal::None, ""},
    {"UPC-E: number system 0 and six digits; sets by check digit 5: BAABBA", kUPCE, "0123456",
     "01234565", "101 0110011 0010011 0111101 0011101 0111001 0101111 010101", "012345000065",
     "UPC-E:01234565", Refusal::None, ""},
    {"UPC-E typed as the UPC-A it suppresses", kUPCE, "012345000065", "01234565",
     "101 0110011 0010011 0111101 0011101 0111001 0101111 010101", "012345000065",
     "UPC-E:01234565", Refusal::None, ""},
    {"ISSN, variant 00: 977, seven ISSN digits, 00, check", kISSN, "0317-8471", "9770317847001",
     "101 0111011 0010001 0100111 0111101 0110011 0111011 01010 "
     "1001000 1011100 1000100 1110010 1110010 1100110 101",
     "ISSN 0317-8471", "EAN-13:9770317847001", Refusal::None, ""},
    {"ISSN, no hyphen, wrong check character, variant 05", kISSN, "03178472 05", "9770317847056",
     "101 0111011 0010001 0100111 0111101 0110011 0111011 01010 "
     "1001000 1011100 1000100 1110010 1001110 1010000 101",
     "ISSN 0317-8471", "EAN-13:9770317847056", Refusal::None, ""},
    {"ISSN grouped with a space, variant 05 after another", kISSN, "0317 8471 05", "9770317847056",
     "101 0111011 0010001 0100111 0111101 0110011 0111011 01010 "
     "1001000 1011100 1000100 1110010 1001110 1010000 101",
     "ISSN 0317-8471", "EAN-13:9770317847056", Refusal::None, ""},
    {"ISMN 979-0", kISMN, "979-0-2600-0043-8", "9790260000438",
     "101 0111011 0010111 0100111 0010011 0000101 0001101 01010 "
     "1110010 1110010 1110010 1011100 1000010 1001000 101",
     "ISMN 979-0-2600-0043-8", "EAN-13:9790260000438", Refusal::None, ""},
    {"ISMN in the old M form", kISMN, "M-2600-0043-8", "9790260000438",
     "101 0111011 0010111 0100111 0010011 0000101 0001101 01010 "
     "1110010 1110010 1110010 1011100 1000010 1001000 101",
     "ISMN 979-0-2600-0043-8", "EAN-13:9790260000438", Refusal::None, ""},
    {"ISMN grouped with spaces", kISMN, "979 0 2600 0043 8", "9790260000438",
     "101 0111011 0010111 0100111 0010011 0000101 0001101 01010 "
     "1110010 1110010 1110010 1011100 1000010 1001000 101",
     "ISMN 979 0 2600 0043 8", "EAN-13:9790260000438", Refusal::None, ""},
    {"ISMN typed without hyphens: hyphenated by its 4-digit publisher number", kISMN,
     "9790260000438", "9790260000438",
     "101 0111011 0010111 0100111 0010011 0000101 0001101 01010 "
     "1110010 1110010 1110010 1011100 1000010 1001000 101",
     "ISMN 979-0-2600-0043-8", "EAN-13:9790260000438", Refusal::None, ""},
    {"ISMN with a wrong check digit: the line shows the bars' one, its spaces kept", kISMN,
     "979 0 2600 0043 5", "9790260000438",
     "101 0111011 0010111 0100111 0010011 0000101 0001101 01010 "
     "1110010 1110010 1110010 1011100 1000010 1001000 101",
     "ISMN 979 0 2600 0043 8", "EAN-13:9790260000438", Refusal::None, ""},
    {"UPC-E: a UPC-A whose zeros do not fall where UPC-E leaves them out", kUPCE, "01234512345",
     "", "", "", "", Refusal::NotSuppressible,
     "with manufacturer 12345 the product number must be 00005 to 00009, not 12345"},
    {"UPC-E: a form its UPC-A does not take", kUPCE, "350024", "", "", "", "", Refusal::UpcEForm,
     "UPC-E 350024 stands for UPC-A 03500000002, whose UPC-E form is 350020"},
    {"UPC-E: number system 1", kUPCE, "1123456", "", "", "", "", Refusal::NumberSystem,
     "UPC-E takes number system 0 only"},
    {"ISSN of 7 characters", kISSN, "0317-847", "", "", "", "", Refusal::DataLength,
     "ISSN needs 8 characters besides hyphens; got 7"},
    {"ISSN variant of one digit", kISSN, "0317-8471 5", "", "", "", "", Refusal::Variant,
     "variant must be 2 digits; got \"5\""},
    {"ISMN of another prefix", kISMN, "979-1-2600-0043-8", "", "", "", "", Refusal::IsmnPrefix,
     "an ISMN starts 979-0"},
};

// Three add-ons for every known symbol: none, an issue number, a price code.
const char* const kAddons[] = {"", "03", "12345"};

std::string unspaced(std::string s) {
  std::erase(s, ' ');
  return s;
}

TEST(RetailSymbols, EncodeTheirNumbersOrSayWhyNot) {
  for (const Known& k : kKnown) {
    SCOPED_TRACE(k.what);
    const Completion c = completeSymbol(k.type, k.data);
    EXPECT_EQ(c.refusal, k.refusal);
    if (!c.symbol) {
      const std::string message = refusalMessage(c.refusal, k.type, k.data, "");
      EXPECT_NE(message.find(k.says), std::string::npos) << message;
      continue;
    }
    EXPECT_EQ(c.symbol->digits, k.digits);
    EXPECT_EQ(toString(c.symbol->pattern), unspaced(k.modules));
    const std::string d = k.digits;
    if (k.type == kUPCE)
      EXPECT_EQ(expandUpcE(d.substr(0, 7)) + d.back(), k.line);
    else
      EXPECT_EQ(c.symbol->isbnLine, k.line);
  }
  // An add-on of 3 digits is refused, not dropped.
  const Completion three = completeSymbol(kUPCA, "03600029145", "123");
  EXPECT_EQ(three.refusal, Refusal::AddonLength);
  EXPECT_EQ(refusalMessage(three.refusal, kUPCA, "03600029145", "123"),
            "the add-on must be 2 or 5 digits; got \"123\"");
}

// What each reader reports: zbarimg names the add-on apart, ZXingReader after a space.
std::vector<std::string> zbarExpects(const Known& k, const std::string& addon) {
  std::vector<std::string> lines{k.read};
  if (!addon.empty()) lines.push_back((addon.size() == 2 ? "EAN-2:" : "EAN-5:") + addon);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// ZXingReader's longest reading must be the whole symbol; any other a part of it.
void expectZxing(const std::vector<std::string>& read, const std::string& whole) {
  ASSERT_FALSE(read.empty());
  EXPECT_EQ(read.back(), whole);
  for (const std::string& r : read) EXPECT_EQ(whole.rfind(r, 0), 0u) << r;
}

struct Output {
  const char* name;
  FileFormat format;
  ResolutionIndex res;  // for a vector file: the resolution it is rendered at
};
const Output kOutputs[] = {
    {"EPS through Ghostscript at 300 dpi", kEPS, 2}, {"PDF through poppler at 300 dpi", kPDF, 2},
    {"SVG through librsvg at 300 dpi", kSVG, 2},     {"PNG 300 dpi", kPNG, 2},
    {"TIFF 300 dpi", kTIFF, 2}, {"JPEG 300 dpi", kJPEG, 2}, {"PNG 600 dpi", kPNG, 3},
};

// The grey image of an output: our raster files read back by their own libraries, the
// vector files drawn by a renderer of their own.
std::optional<test::GreyImage> greyOf(const Output& out, const std::string& path,
                                      const test::TempDir& dir) {
  if (out.format >= kPNG && out.format <= kJPEG) {
    auto facts = test::readRasterFile(path);
    if (!facts) return std::nullopt;
    return std::move(facts->grey);
  }
  const std::string png = dir.file("page.png");
  const int dpi = static_cast<int>(getResolution(out.res));
  if (!test::renderVector(path, fileExtension(out.format), png, dpi)) return std::nullopt;
  return test::readPngGrey(png);
}

TEST(RetailSymbols, EveryFormatAndThePreviewScanWithEachAddon) {
  for (const char* tool : {"zbarimg", "ZXingReader", "gs", "pdftoppm", "rsvg-convert"})
    ASSERT_TRUE(test::haveTool(tool)) << tool << " is missing; scripts/setup.sh installs it";
  test::TempDir dir;
  std::set<std::string> seen;  // each symbol once, however it was typed
  for (const Known& k : kKnown) {
    if (k.refusal != Refusal::None || !seen.insert(k.digits).second) continue;
    for (const std::string addon : kAddons) {
      const std::string zxing = std::string(k.read) + (addon.empty() ? "" : " " + addon);
      SCOPED_TRACE(std::string(k.what) + ", add-on \"" + addon + "\"");
      for (const Output& out : kOutputs) {
        SCOPED_TRACE(out.name);
        const std::string path = dir.file(std::string("s.") + fileExtension(out.format));
        ASSERT_TRUE(MakeCode::FinalCode(k.type, 2, k.data, addon, "9.99", out.res, out.format, path));
        const auto grey = greyOf(out, path, dir);
        ASSERT_TRUE(grey);
        EXPECT_EQ(test::zbarDecode(*grey), zbarExpects(k, addon));
        expectZxing(test::zxingDecode(*grey), zxing);
      }
      // At 1.5 points a module the readers are at their limit: the symbol on screen must
      // scan on its own; beside an add-on it is only drawn, as for ISBN.
      const auto preview = MakeCode::PreviewCode(k.type, k.data, addon, "9.99", 600, 300);
      ASSERT_TRUE(preview);
      if (!addon.empty()) continue;
      ASSERT_TRUE(writePreviewPng(*preview, dir.file("preview.png")));
      EXPECT_EQ(test::zbarDecode(dir.file("preview.png")), zbarExpects(k, addon)) << "preview";
    }
  }
}

}  // namespace
}  // namespace strimlo
