// Symbol files end to end: written through MakeCode, read back with each format's own
// library, and decoded by zbarimg, which knows nothing of how we drew them.
#include <gtest/gtest.h>

#include <cctype>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "makecode.h"
#include "stages.h"
#include "readback.h"
#include "stages.h"
#include "text8.h"

namespace strimlo {
namespace {

using test::shellQuote;
using test::TempDir;

struct Case {
  CodeType type;
  const char* data;
  const char* addon;
  std::vector<std::string> decoded;  // what zbarimg must report
};

const std::vector<Case> kCases = {
    {kEAN13, "401234567890", "", {"EAN-13:4012345678901"}},
    {kEAN8, "9638507", "", {"EAN-8:96385074"}},
    {kISBN10, "0-306-40615-2", "", {"EAN-13:9780306406157"}},
    {kISBN13, "978-3-16-148410-0", "51299", {"EAN-13:9783161484100", "EAN-5:51299"}},
};

TEST(SymbolFiles, EveryTypeAndFormatReadsBackAndScans) {
  ASSERT_TRUE(test::haveTool("zbarimg"));
  TempDir dir;
  const char* colour[] = {"", "gray", "cmyk", "cmyk"};
  const char* compression[] = {"", "deflate", "lzw", "jpeg"};
  for (const Case& c : kCases) {
    for (FileFormat format : {kPNG, kTIFF, kJPEG}) {
      for (ResolutionIndex res : {2, 3}) {
        const std::string path = dir.file(std::string("out.") + fileExtension(format));
        SCOPED_TRACE(std::string(codeTypeName(c.type)) + " " + fileExtension(format) +
                     " res " + std::to_string(res));
        ASSERT_TRUE(MakeCode::FinalCode(c.type, 2, c.data, c.addon, "12.99", res, format, path));
        const auto facts = test::readRasterFile(path);
        ASSERT_TRUE(facts);
        const Layout l = fileLayout(*completeSymbol(c.type, c.data, c.addon, "12.99").symbol, 2,
                                    res);
        EXPECT_EQ(facts->width, l.pixelsWide);
        EXPECT_EQ(facts->height, l.pixelsHigh);
        EXPECT_EQ(facts->colour, colour[format]);
        EXPECT_EQ(facts->compression, compression[format]);
        EXPECT_NEAR(facts->xdpi, getResolution(res), 0.5);
        EXPECT_EQ(test::zbarDecode(facts->grey), c.decoded);
      }
    }
  }
}

// Every magnification at 300 dpi, each symbology: the right size and still a symbol.
TEST(SymbolFiles, EveryMagnificationScans) {
  TempDir dir;
  for (const Case& c : kCases) {
    for (SizeIndex size = 0; size < kSizeCount; ++size) {
      const std::string path = dir.file("m.png");
      ASSERT_TRUE(MakeCode::FinalCode(c.type, size, c.data, c.addon, "", 2, kPNG, path));
      const auto facts = test::readPngFile(path);
      ASSERT_TRUE(facts);
      EXPECT_EQ(test::zbarDecode(facts->grey), c.decoded) << codeTypeName(c.type) << " size " << size;
    }
  }
}

// Every resolution and magnification writes a file of the layout's pixel size.
TEST(SymbolFiles, EveryResolutionHasTheLayoutSize) {
  TempDir dir;
  for (ResolutionIndex res = 0; res < kResolutionCount; ++res) {
    for (SizeIndex size : {0, 5}) {
      const std::string path = dir.file("r.png");
      ASSERT_TRUE(MakeCode::FinalCode(kEAN8, size, "9638507", "", "", res, kPNG, path));
      const auto facts = test::readPngFile(path);
      ASSERT_TRUE(facts);
      const Layout l = fileLayout(*completeSymbol(kEAN8, "9638507").symbol, size, res);
      EXPECT_EQ(facts->width, l.pixelsWide) << res;
      EXPECT_EQ(facts->height, l.pixelsHigh) << res;
      EXPECT_NEAR(facts->xdpi, getResolution(res), 0.5) << res;
      if (res >= 2 && res <= 4) {
        EXPECT_EQ(test::zbarDecode(facts->grey), std::vector<std::string>{"EAN-8:96385074"});
      }
    }
  }
}

std::string withoutSpaces(std::string text) {
  std::erase_if(text, [](unsigned char ch) { return std::isspace(ch); });
  return text;
}

std::string tool(const std::string& command) { return test::run("LC_ALL=C " + command).output; }

std::string lineAfter(const std::string& text, const std::string& label) {
  const auto at = text.find(label);
  if (at == std::string::npos) return {};
  const auto start = at + label.size();
  return text.substr(start, text.find('\n', start) - start);
}

// Size, boxes, version, PDF/X keys (poppler reads them back), the font embedded as a
// subset (the whole font made every file 109 kB), K-only ink (Ghostscript counts it), real
// text, and no transparency group.
void expectPrintReadyPdf(const std::string& path, const Layout& l, const Symbol& sym) {
  // With -custom, pdfinfo lists the Info keys alone.
  const std::string info =
      tool("pdfinfo " + shellQuote(path)) + tool("pdfinfo -custom " + shellQuote(path));
  double w = 0, h = 0;
  EXPECT_EQ(std::sscanf(lineAfter(info, "Page size:").c_str(), " %lf x %lf", &w, &h), 2) << info;
  EXPECT_NEAR(w, l.width, 0.001);
  EXPECT_NEAR(h, l.height, 0.001);
  EXPECT_EQ(lineAfter(info, "PDF version:"), "     1.3");
  EXPECT_EQ(lineAfter(info, "Title:"), "           " + sym.digits);
  EXPECT_EQ(lineAfter(info, "GTS_PDFXVersion:"), " PDF/X-1:2001");
  EXPECT_EQ(lineAfter(info, "GTS_PDFXConformance:"), "PDF/X-1a:2001");
  const std::string bytes = test::readFile(path);
  for (const char* key : {"/Trapped /False", "/S /GTS_PDFX", "(FOGRA39)", "/RegistryName", "/ID ["})
    EXPECT_NE(bytes.find(key), std::string::npos) << key;
  EXPECT_EQ(bytes.find("/Group"), std::string::npos);
  EXPECT_EQ(lineAfter(bytes, "/TrimBox "), lineAfter(bytes, "/MediaBox "));

  std::istringstream fonts(tool("pdffonts " + shellQuote(path)));
  std::string line, name, type, one, encoding, embedded, subset;
  int rows = 0;
  for (int n = 0; std::getline(fonts, line); ++n) {
    if (n < 2) continue;  // the heading and its rule
    std::istringstream(line) >> name >> type >> one >> encoding >> embedded >> subset;
    EXPECT_EQ(embedded, "yes") << line;
    EXPECT_EQ(subset, "yes") << line;
    ++rows;
  }
  EXPECT_EQ(rows, 1);
  EXPECT_LT(bytes.size(), 20000u);

  double c = -1, m = -1, y = -1, k = -1;
  const std::string ink = tool("gs -q -o - -sDEVICE=inkcov " + shellQuote(path));
  ASSERT_EQ(std::sscanf(ink.c_str(), "%lf %lf %lf %lf", &c, &m, &y, &k), 4) << ink;
  EXPECT_EQ(c + m + y, 0.0) << ink;
  EXPECT_GT(k, 0.0);

  // All the text as written (the euro sign too), also where a long price runs past the
  // page's edge.
  const std::string text =
      withoutSpaces(tool("pdftotext -x 0 -y 0 -W 9999 -H 9999 " + shellQuote(path) + " -"));
  EXPECT_NE(text.find(sym.digits), std::string::npos) << text;
  for (const std::string& s : {sym.isbnLine, takesPrice(sym.type) ? sym.priceText : std::string()})
    EXPECT_NE(text.find(withoutSpaces(text8ToUtf8(s))), std::string::npos) << text;
}

// The right end of each text's outline path, in the order of the layout's texts.
std::vector<double> outlineEnds(const std::string& svg) {
  std::vector<double> ends;
  for (auto at = svg.find("<path d=\""); at != std::string::npos; at = svg.find("<path d=\"", at + 1)) {
    std::string d = svg.substr(at + 9, svg.find('"', at + 9) - at - 9);
    for (char& ch : d) ch = std::isalpha(static_cast<unsigned char>(ch)) || ch == ',' ? ' ' : ch;
    std::istringstream in(d);
    double x = 0, y = 0, end = 0;
    while (in >> x >> y) end = std::max(end, x);
    ends.push_back(end);
  }
  return ends;
}

// Well-formed XML of the millimetre size, one rectangle per run and the background, every
// text outlined to its end, in which what the user typed stayed text: no element came of
// it, the title reads it back.
void expectSafeSvg(const std::string& path, const Layout& l, const Symbol& sym) {
  EXPECT_EQ(test::run("xmllint --noout " + shellQuote(path)).exitCode, 0);
  const std::string bytes = test::readFile(path);
  char size[80];
  std::snprintf(size, sizeof size, "width=\"%.3fmm\" height=\"%.3fmm\"",
                l.pointsWide * 25.4 / 72.0, l.pointsHigh * 25.4 / 72.0);
  EXPECT_NE(bytes.find(size), std::string::npos) << size;
  const std::vector<double> ends = outlineEnds(bytes);
  ASSERT_EQ(ends.size(), l.texts.size());
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const TextItem& t = l.texts[i];
    const float advance = Font::helvetica()->measure(t.text, t.size).width;
    EXPECT_NEAR(ends[i], t.x + advance, t.size * 0.25) << t.text;
  }
  auto xpath = [&](const std::string& query) {
    std::string answer = tool("xmllint --xpath " + shellQuote(query) + " " + shellQuote(path));
    if (!answer.empty() && answer.back() == '\n') answer.pop_back();
    return answer;
  };
  EXPECT_EQ(xpath("count(//*[local-name()='rect'])"), std::to_string(l.runs.size() + 1));
  EXPECT_EQ(xpath("count(//*[local-name()='script'])"), "0");
  const std::string title = xpath("string(//*[local-name()='title'])");
  EXPECT_NE(title.find(sym.digits), std::string::npos) << title;
  if (takesPrice(sym.type)) {
    EXPECT_NE(title.find(text8ToUtf8(sym.priceText)), std::string::npos) << title;
  }
}

// PDF and SVG at the smallest, the standard and the largest magnification: each renders in
// a reader of its own at 600 dpi and scans, add-on included. The resolution asked for
// changes nothing: the page is the model's box in points.
TEST(SymbolFiles, PdfAndSvgRenderScanAndPassTheirChecks) {
  for (const char* t : {"pdftoppm", "pdfinfo", "pdffonts", "pdftotext", "rsvg-convert", "xmllint", "gs", "zbarimg"})
    ASSERT_TRUE(test::haveTool(t)) << t;
  const std::string price = "</text><script>&\"' \x80";  // the euro sign last
  TempDir dir;
  for (const Case& c : kCases) {
    const Symbol sym = *completeSymbol(c.type, c.data, c.addon, price).symbol;
    for (SizeIndex size : {0, 2, 9}) {
      SCOPED_TRACE(std::string(codeTypeName(c.type)) + " size " + std::to_string(size));
      const Layout l = fileLayout(sym, size, 0);
      // A 1200 dpi bitmap is the same box cut to whole pixels.
      EXPECT_LT(std::abs(fileLayout(sym, size, 4).pixelsWide - l.width * 1200.0 / 72.0), 1.0);
      for (FileFormat format : {kPDF, kSVG}) {
        const std::string file = dir.file(std::string("s.") + fileExtension(format));
        ASSERT_TRUE(MakeCode::FinalCode(c.type, size, c.data, c.addon, price, 7, format, file));
        ASSERT_TRUE(test::renderVector(file, fileExtension(format), dir.file("s.png"), 600));
        EXPECT_EQ(test::zbarDecode(dir.file("s.png")), c.decoded) << fileExtension(format);
      }
      expectPrintReadyPdf(dir.file("s.pdf"), l, sym);
      expectSafeSvg(dir.file("s.svg"), l, sym);
    }
  }
}

// The left and right ends of each text's ink in an SVG, in the order of the layout's texts.
std::vector<std::pair<double, double>> outlineSpans(const std::string& svg) {
  std::vector<std::pair<double, double>> spans;
  for (auto at = svg.find("<path d=\""); at != std::string::npos; at = svg.find("<path d=\"", at + 1)) {
    std::string d = svg.substr(at + 9, svg.find('"', at + 9) - at - 9);
    for (char& ch : d) ch = std::isalpha(static_cast<unsigned char>(ch)) || ch == ',' ? ' ' : ch;
    std::istringstream in(d);
    double x = 0, y = 0, left = 1e9, right = -1e9;
    while (in >> x >> y) left = std::min(left, x), right = std::max(right, x);
    spans.emplace_back(left, right);
  }
  return spans;
}

// Every format in each face, with and without outlined text, renders in a reader of its
// own and scans with both readers; a file drawn as outlines names no font: the EPS has no
// findfont, the PDF no /Font, the SVG no <text>. OCR-B is carried as outlines whatever was
// asked, and its digits stand centred where Helvetica's would.
TEST(SymbolFiles, EveryFaceAndOutlinedTextRendersAndScans) {
  for (const char* t : {"pdftoppm", "rsvg-convert", "gs", "zbarimg", "ZXingReader"})
    ASSERT_TRUE(test::haveTool(t)) << t;
  ASSERT_NE(Font::ocrB(), nullptr) << "OCR-B (fonts-ocr-b, scripts/setup.sh installs it)";
  TempDir dir;
  struct Row {
    TypeFace font;
    bool outline;
    Format format;
    const char* fontMark;  // what a file naming a font holds; "" for a bitmap
    bool namesFont;
  };
  const Row rows[] = {
      {TypeFace::Sans, true, Format::EPS, "findfont", false},
      {TypeFace::Sans, true, Format::PDF, "/Font", false},
      {TypeFace::Sans, false, Format::PDF, "/Font", true},
      {TypeFace::Sans, true, Format::SVG, "<text", false},
      {TypeFace::OcrB, false, Format::EPS, "findfont", false},
      {TypeFace::OcrB, true, Format::EPS, "findfont", false},
      {TypeFace::OcrB, false, Format::PDF, "/Font", false},
      {TypeFace::OcrB, false, Format::SVG, "<text", false},
      {TypeFace::OcrB, false, Format::PNG, "", false},
      {TypeFace::OcrB, true, Format::TIFF, "", false},
      {TypeFace::OcrB, false, Format::JPEG, "", false},
  };
  struct Symbol {
    Symbology type;
    const char* data;
    const char* addon;
    std::vector<std::string> zbar;
    const char* zxing;  // what ZXingReader's every read holds
    std::optional<CodeType> companion;
  };
  const Symbol symbols[] = {
      {Symbology::ISBN13, "978-3-16-148410-0", "51299", {"EAN-13:9783161484100", "EAN-5:51299"},
       "9783161484100", {}},
      {Symbology::UPCE, "01234565", "03", {"EAN-2:03", "UPC-E:01234565"}, "01234565", {}},
      // The 2D symbols' GTIN line, alone and beside a linear symbol
      {Symbology::GS1QR, "9780306406157", "", {"QR-Code:https://id.gs1.org/01/09780306406157"},
       "09780306406157", {}},
      {Symbology::EAN13, "401234567890", "",
       {"EAN-13:4012345678901", "QR-Code:https://id.gs1.org/01/04012345678901"}, "4012345678901",
       kGS1QR},
  };
  for (const Row& r : rows) {
    for (const Symbol& sym : symbols) {
      Request request;
      request.type = sym.type;
      request.data = sym.data;
      request.addon = sym.addon;
      request.price = "USD 12.99";
      request.format = r.format;
      request.prepress.quietZones = true;  // the marks are texts too
      request.font = r.font;
      request.outlineText = r.outline;
      request.gs1.companion = sym.companion;
      const char* ext = formatToken(r.format);
      SCOPED_TRACE(std::string(ext) + (r.font == TypeFace::OcrB ? " ocrb" : " sans") +
                   (r.outline ? " outlined " : " ") + sym.data);
      const Written w = render(request);
      ASSERT_EQ(w.failure, Failure::None) << w.message;
      const std::string file = dir.file(std::string("f.") + ext), png = dir.file("f.png");
      test::writeFile(file, w.bytes);
      if (*r.fontMark) {
        EXPECT_EQ(w.bytes.find(r.fontMark) != std::string::npos, r.namesFont);
        ASSERT_TRUE(test::renderVector(file, ext, png, 600));
      } else {
        ASSERT_EQ(test::run("convert " + shellQuote(file) + " " + shellQuote(png)).exitCode, 0);
      }
      EXPECT_EQ(test::zbarDecode(png), sym.zbar);
      const auto zxing = test::zxingDecode(png);
      EXPECT_FALSE(zxing.empty());
      for (const std::string& read : zxing)
        EXPECT_NE(read.find(sym.zxing), std::string::npos) << read;
    }
  }
  // Each OCR-B digit's ink centred on the box of Helvetica's digit, under its bars (but the
  // one, whose flag takes its ink off its centre); the marks' tips on the box's edges.
  Request request;
  request.prepress.quietZones = true;
  request.type = Symbology::EAN13;
  request.data = "4012345678901";
  request.format = Format::SVG;
  request.font = TypeFace::OcrB;
  const Completed c = complete(request);
  ASSERT_TRUE(c.symbol);
  const Layout l = layOut(*c.symbol, request);
  const auto spans = outlineSpans(render(request).bytes);
  ASSERT_EQ(spans.size(), l.texts.size());
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const TextItem& t = l.texts[i];
    const double centre = (spans[i].first + spans[i].second) / 2;
    if (t.text == "<") {
      EXPECT_NEAR(spans[i].first, t.x + kLessTip * t.size, 0.01);
    } else if (t.text == ">") {
      EXPECT_NEAR(spans[i].second, t.x + kGreaterTip * t.size, 0.01);
    } else if (t.text != "1") {
      EXPECT_NEAR(centre, t.x + kDigitAdvance * t.size / 2, 0.04 * t.size) << t.text;
    }
  }
  // A text with a character OCR-B has no glyph for (the euro sign, most accented letters)
  // is set in Helvetica whole, rather than with a blank where the character was.
  request.type = Symbology::ISBN13;
  request.data = "978-3-16-148410-0";
  request.price = "EUR 9,99 \u20ac";
  auto paths = [&request](TypeFace face) {
    request.font = face;
    const std::string svg = render(request).bytes;
    std::vector<std::string> found;
    for (auto at = svg.find("<path d=\""); at != std::string::npos; at = svg.find("<path d=\"", at + 1))
      found.push_back(svg.substr(at, svg.find('"', at + 9) - at));
    return found;
  };
  const auto sans = paths(TypeFace::Sans), ocrb = paths(TypeFace::OcrB);
  const Layout book = layOut(*complete(request).symbol, request);
  ASSERT_EQ(sans.size(), book.texts.size());
  ASSERT_EQ(ocrb.size(), book.texts.size());
  for (std::size_t i = 0; i < book.texts.size(); ++i)
    EXPECT_EQ(sans[i] == ocrb[i], book.texts[i].text == "EUR 9,99 \x80") << book.texts[i].text;
}

TEST(SymbolFiles, TypedCheckDigitIsReplacedSoTheBytesAreEqual) {
  TempDir dir;
  struct Row {
    CodeType type;
    const char* bare;
    const char* wrongCheck;
  };
  for (const Row r : {Row{kEAN13, "400638133393", "4006381333930"}, Row{kEAN8, "9638507", "96385070"}}) {
    for (FileFormat format : {kEPS, kPNG}) {
      ASSERT_TRUE(MakeCode::FinalCode(r.type, 2, r.bare, "", "", 2, format, dir.file("a")));
      ASSERT_TRUE(MakeCode::FinalCode(r.type, 2, r.wrongCheck, "", "", 2, format, dir.file("b")));
      EXPECT_EQ(test::readFile(dir.file("a")), test::readFile(dir.file("b"))) << r.bare;
    }
  }
}

TEST(SymbolFiles, EpsIgnoresSizeAndResolution) {
  TempDir dir;
  ASSERT_TRUE(MakeCode::FinalCode(kISBN13, 2, "978-3-16-148410-0", "51299", "12.99", 2, kEPS, dir.file("ref.eps")));
  const std::string ref = test::readFile(dir.file("ref.eps"));
  for (SizeIndex size : {-1, 0, 9, 10}) {
    for (ResolutionIndex res : {-1, 0, 7, 8}) {
      ASSERT_TRUE(MakeCode::FinalCode(kISBN13, size, "978-3-16-148410-0", "51299", "12.99", res, kEPS, dir.file("x.eps")));
      EXPECT_EQ(test::readFile(dir.file("x.eps")), ref) << size << " " << res;
    }
  }
}

// A "no" leaves whatever was at the path as it was, and no temporary file behind.
TEST(SymbolFiles, RefusedOrFailedSavesChangeNothing) {
  struct Row {
    const char* what;
    CodeType type;
    const char* data;
    const char* addon;
    FileFormat format;
    bool missingFolder;
  };
  const Row rows[] = {
      {"unknown code type", 10, "401234567890", "", kPNG, false},
      {"unknown format 6", kEAN13, "401234567890", "", 6, false},
      {"unknown format -1", kEAN13, "401234567890", "", -1, false},
      {"EAN-13 of 5 digits", kEAN13, "12345", "", kTIFF, false},
      {"ISBN-13 of 12 characters", kISBN13, "978-0-306-40615", "", kEPS, false},
      {"add-on with a letter", kISBN10, "0-306-40615-2", "5129A", kJPEG, false},
      {"folder does not exist", kEAN13, "401234567890", "", kPNG, true},
      {"EPS into a missing folder", kEAN13, "401234567890", "", kEPS, true},
  };
  for (const Row& r : rows) {
    TempDir dir;
    const std::string path = r.missingFolder ? dir.file("gone/out.png") : dir.file("keep.png");
    if (!r.missingFolder) test::writeFile(path, "the user's old file");
    EXPECT_FALSE(MakeCode::FinalCode(r.type, 2, r.data, r.addon, "", 2, r.format, path)) << r.what;
    if (!r.missingFolder) {
      EXPECT_EQ(test::readFile(path), "the user's old file") << r.what;
    }
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) entries += !e.is_directory();
    EXPECT_EQ(entries, r.missingFolder ? 0 : 1) << r.what << ": a temporary file was left";
  }
}

TEST(SymbolFiles, ReplacesAnExistingFileKeepingItsPermissions) {
  TempDir dir;
  const std::string path = dir.file("label.tiff");
  test::writeFile(path, "old");
  std::filesystem::permissions(path, std::filesystem::perms(0640));
  ASSERT_TRUE(MakeCode::FinalCode(kEAN13, 2, "401234567890", "", "", 2, kTIFF, path));
  EXPECT_TRUE(test::readTiffFile(path));
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0640));
}

}  // namespace
}  // namespace strimlo

namespace strimlo {
namespace {

// The first dark run of the topmost row that has ink: a QR Code's top-left finder
// pattern, seven modules wide.
int firstTopRun(const test::GreyImage& g) {
  for (int y = 0; y < g.height; ++y) {
    int x = 0;
    while (x < g.width && g.at(x, y) >= 128) ++x;
    if (x == g.width) continue;
    int e = x;
    while (e < g.width && g.at(e, y) < 128) ++e;
    return e - x;
  }
  return 0;
}

// The part of an image holding a dual file's 2D companion: zxing-cpp 1.4 looks for a
// DataMatrix from the image's centre and misses one beside a wider linear symbol, so its
// box is read on its own. 1 + 4 + 1: the matrix, its quiet zones and a module of slack.
test::GreyImage companionPart(const test::GreyImage& g, const Layout& l, double scale) {
  double x0 = 1e9, x1 = 0, y0 = 1e9, y1 = 0;
  for (const DarkRun& r : l.runs) {
    if (r.part != RunPart::Matrix) continue;
    x0 = std::min(x0, r.x0), x1 = std::max(x1, r.x1), y0 = std::min(y0, r.y0), y1 = std::max(y1, r.y1);
  }
  const double pad = 6 * l.module;
  const int left = std::max(0, static_cast<int>((x0 - pad) * scale));
  const int right = std::min(g.width, static_cast<int>((x1 + pad) * scale));
  const int top = std::max(0, static_cast<int>((l.height - y1 - pad) * scale));
  const int bottom = std::min(g.height, static_cast<int>((l.height - y0 + pad) * scale));
  test::GreyImage part;
  part.width = right - left;
  part.height = bottom - top;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) part.pixels.push_back(g.at(x, y));
  return part;
}

struct MatrixFileCase {
  Symbology type;
  const char* data;
  const char* ai;
  std::optional<CodeType> companion;
  std::vector<std::string> zxing;  // every symbol ZXingReader must read
};

const std::vector<MatrixFileCase> kMatrixFiles = {
    {Symbology::GS1QR, "9780306406157", "(10)ABC123(17)271231", {},
     {"QRCode:https://id.gs1.org/01/09780306406157/10/ABC123?17=271231"}},
    {Symbology::GS1DataMatrix, "9780306406157", "(10)ABC123(17)271231(21)XYZ", {},
     {"DataMatrix:010978030640615710ABC123<GS>1727123121XYZ"}},
    {Symbology::EAN13, "401234567890", "(10)L7(15)270600", kGS1QR,
     {"EAN-13:4012345678901", "QRCode:https://id.gs1.org/01/04012345678901/10/L7?15=270600"}},
    {Symbology::UPCA, "03600029145", "(21)S1", kGS1DataMatrix,
     {"DataMatrix:010003600029145221S1", "UPC-A:036000291452"}},
};

// Every format of the 2D types and of dual-marked packs reads back to exactly the data
// meant: ZXingReader for every symbol, zbarimg for the QR Codes; the module is the X
// dimension asked for in PDF and SVG (within 0.01 mm) and whole pixels in rasters.
TEST(SymbolFiles, MatrixTypesAndCompanionsDecodeInEveryFormat) {
  for (const char* t : {"ZXingReader", "zbarimg", "pdftoppm", "rsvg-convert", "gs"})
    ASSERT_TRUE(test::haveTool(t)) << t;
  TempDir dir;
  for (const MatrixFileCase& c : kMatrixFiles) {
    for (Format format : {Format::PNG, Format::TIFF, Format::JPEG, Format::PDF, Format::SVG, Format::EPS}) {
      Request request;
      request.type = c.type;
      request.data = c.data;
      request.format = format;
      request.gs1.ai = c.ai;
      request.gs1.companion = c.companion;
      request.gs1.moduleMm = request.gs1.companionModuleMm = 0.5;
      const std::string ext = formatToken(format);
      SCOPED_TRACE(std::string(c.data) + " " + ext);
      const Written w = render(request);
      ASSERT_EQ(w.failure, Failure::None) << w.message;
      const std::string path = dir.file("m." + ext);
      test::writeFile(path, w.bytes);
      const bool vector = format == Format::PDF || format == Format::SVG || format == Format::EPS;
      test::GreyImage grey;
      constexpr int kDpi = 1200;
      if (vector) {
        ASSERT_TRUE(test::renderVector(path, ext, dir.file("m.png"), kDpi));
        grey = test::readPngFile(dir.file("m.png"))->grey;
      } else {
        grey = test::readRasterFile(path)->grey;
      }
      const Layout l = layOut(*complete(request).symbol, request);
      std::vector<std::string> found = test::zxingDecode(grey);
      const bool dmBeside = c.companion == kGS1DataMatrix;
      if (dmBeside) {
        const auto part = test::zxingDecode(companionPart(grey, l, vector ? kDpi / 72.0 : 1.0));
        found.insert(found.end(), part.begin(), part.end());
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
      }
      EXPECT_EQ(found, c.zxing);
      for (const std::string& s : c.zxing)
        if (s.rfind("QRCode:", 0) == 0) {
          const auto zbar = test::zbarDecode(grey);
          EXPECT_NE(std::find(zbar.begin(), zbar.end(), "QR-Code:" + s.substr(7)), zbar.end());
        }
      if (c.type == Symbology::GS1QR) {
        const double mm = firstTopRun(grey) / 7.0 * 25.4 / (vector ? kDpi : l.dpi);
        if (vector) EXPECT_NEAR(mm, 0.5, 0.01);
        else EXPECT_EQ(firstTopRun(grey) % 7, 0);
      }
    }
  }
}

}  // namespace
}  // namespace strimlo
