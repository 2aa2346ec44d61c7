// The symbol geometry every back end draws: bitmap sizes as documented, and what the
// model guarantees whatever the style: one rectangle per dark run, edges on module
// boundaries, runs that never overlap or touch, everything inside the box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "makecode.h"

namespace strimlo {
namespace {

const Font& font() {
  const Font* f = Font::helvetica();
  if (!f) ADD_FAILURE() << "Nimbus Sans (fonts-urw-base35) is not installed";
  return *f;
}

Symbol symbol(CodeType type, const char* data, const char* addon = "", const char* price = "") {
  Completion c = completeSymbol(type, data, addon, price);
  EXPECT_TRUE(c.symbol) << data;
  return *c.symbol;
}

struct SizeRow {
  const char* what;
  CodeType type;
  const char* data;
  const char* addon;
  SizeIndex size;
  ResolutionIndex res;
  int pixelsWide, pixelsHigh;
  bool antialiasBars;
};

void PrintTo(const SizeRow& r, std::ostream* os) { *os << r.what; }

class FileLayoutSize : public ::testing::TestWithParam<SizeRow> {};

TEST_P(FileLayoutSize, MatchesDocumentedPixels) {
  const SizeRow& r = GetParam();
  const Layout l = fileLayout(symbol(r.type, r.data, r.addon), r.size, r.res);
  EXPECT_EQ(l.pixelsWide, r.pixelsWide) << r.what << " width " << l.width;
  EXPECT_EQ(l.pixelsHigh, r.pixelsHigh) << r.what << " height " << l.height;
  EXPECT_EQ(l.antialiasBars, r.antialiasBars) << r.what;
}

INSTANTIATE_TEST_SUITE_P(
    Documented, FileLayoutSize,
    ::testing::Values(
        SizeRow{"EAN-13 100% 300 dpi", kEAN13, "401234567890", "", 2, 2, 453, 331, false},
        SizeRow{"EAN-8 100% 72 dpi", kEAN8, "4012345", "", 2, 0, 68, 80, true},
        SizeRow{"ISBN-10 100 dpi", kISBN10, "0-306-40615-2", "", 2, 1, 151, 125, true},
        SizeRow{"ISBN-10 100 dpi add-on", kISBN10, "0-306-40615-2", "51299", 2, 1, 222, 125, true},
        SizeRow{"EAN-13 2540 dpi", kEAN13, "401234567890", "", 2, 6, 3841, 2810, false},
        SizeRow{"resolution 8 falls back to 300 dpi", kEAN13, "401234567890", "", 2, 8, 453, 331, false},
        SizeRow{"resolution -1 falls back", kEAN13, "401234567890", "", 2, -1, 453, 331, false},
        SizeRow{"size 10 falls back to 100%", kEAN13, "401234567890", "", 10, 2, 453, 331, false},
        SizeRow{"size -1 falls back", kEAN13, "401234567890", "", -1, 2, 453, 331, false},
        SizeRow{"largest: ISBN add-on 197% 3200 dpi", kISBN13, "9783161484100", "51299", 9, 7, 14012, 7920, false},
        SizeRow{"smallest: EAN-8 82% 72 dpi", kEAN8, "4012345", "", 0, 0, 55, 65, true}));

TEST(FileLayout, Ean13At300DpiHasDocumentedGeometry) {
  const Layout l = fileLayout(symbol(kEAN13, "401234567890"), 2, 2);
  EXPECT_NEAR(l.width, 453.6614f, 1e-3);
  EXPECT_NEAR(l.height, 331.9488f, 1e-3);
  EXPECT_NEAR(l.pointsWide, 108.8787f, 1e-3);
  EXPECT_NEAR(l.pointsHigh, 79.6677f, 1e-3);
  EXPECT_FLOAT_EQ(l.dpi, 300.0f);
  EXPECT_NEAR(l.module, 3.897638f, 1e-5);
  ASSERT_FALSE(l.texts.empty());
  EXPECT_FLOAT_EQ(l.texts[0].size, 42.0f);  // 0.14 inch at 300 dpi
}

// Bar modules of a pattern, counted.
int barModules(const ModulePattern& p) {
  int n = 0;
  for (auto v : p) n += v;
  return n;
}

struct ModelRow {
  const char* what;
  Symbol sym;
  Layout layout;
};

std::vector<ModelRow> modelRows() {
  std::vector<ModelRow> rows;
  const Symbol syms[] = {symbol(kEAN13, "590123412345"), symbol(kEAN8, "9638507"),
                         symbol(kISBN13, "978-1-916146-10-0", "12345", "9.99"),
                         symbol(kISBN10, "0-306-40615-2", "51299"),
                         symbol(kUPCA, "03600029145"), symbol(kUPCA, "03600029145", "12"),
                         symbol(kUPCE, "0123456"), symbol(kUPCE, "0123456", "12345"),
                         symbol(kISSN, "0317-8471", "03"),
                         symbol(kISMN, "M-2600-0043-8", "12345", "9.99")};
  for (const Symbol& s : syms) {
    for (ResolutionIndex res : {0, 2, 4, 7})
      for (SizeIndex size : {0, 7, 9})
        rows.push_back({"file", s, fileLayout(s, size, res)});
    rows.push_back({"preview", s, previewLayout(s, 400, 300, font().lineHeightPerEm())});
    rows.push_back({"EPS", s, epsLayout(s)});
  }
  return rows;
}

TEST(SymbolModel, OneRectanglePerRunOnModuleBoundariesInsideTheBox) {
  for (const ModelRow& r : modelRows()) {
    const Layout& l = r.layout;
    const std::string what = std::string(r.what) + " " + codeTypeName(r.sym.type) + " " +
                             std::to_string(l.pixelsWide) + "x" + std::to_string(l.pixelsHigh);
    const double m = l.module;
    int main = 0, addon = 0;
    for (std::size_t k = 0; k < l.runs.size(); ++k) {
      const DarkRun& run = l.runs[k];
      (run.part == RunPart::Addon ? addon : main) += run.modules;
      EXPECT_NEAR(run.x1 - run.x0, run.modules * m, 1e-3 * m) << what << " run " << k;
      EXPECT_LT(run.y0, run.y1) << what;
      if (r.layout.module != 1.5f) {  // files: nothing leaves the box
        EXPECT_GE(run.x0, 0) << what;
        EXPECT_LE(run.x1, l.width) << what;
        EXPECT_GE(run.y0, 0) << what;
        EXPECT_LE(run.y1, l.height) << what;
      }
      const bool firstOfPattern =
          k == 0 || (run.part == RunPart::Addon && l.runs[k - 1].part != RunPart::Addon);
      if (firstOfPattern) continue;
      const DarkRun& prev = l.runs[k - 1];
      // Runs of one pattern never touch: at least one light module lies between them,
      // and the gap is a whole number of modules.
      const double gap = (run.x0 - prev.x1) / m;
      EXPECT_GE(gap, 1 - 1e-3) << what << " run " << k;
      EXPECT_NEAR(gap, std::round(gap), 1e-3) << what << " run " << k;
      EXPECT_EQ(run.module - (prev.module + prev.modules), std::lround(gap)) << what;
    }
    // No digit's ink (the advance wide, from the baseline up 0.73 em) touches a bar.
    for (const TextItem& t : l.texts) {
      const double left = t.x, right = t.x + font().measure(t.text, t.size).width;
      const double bottom = t.y + font().descent(t.size), top = bottom + 0.73 * t.size;
      for (const DarkRun& run : l.runs)
        EXPECT_TRUE(right <= run.x0 || left >= run.x1 || top <= run.y0 || bottom >= run.y1)
            << what << " \"" << t.text << "\" at " << t.x;
      if (l.module != 1.5f) {  // files: nor does it leave the box
        EXPECT_GE(left, 0) << what << " \"" << t.text << "\"";
        EXPECT_LE(right, l.width) << what << " \"" << t.text << "\"";
        EXPECT_LE(top, l.height) << what << " \"" << t.text << "\"";
      }
    }
    EXPECT_EQ(main, barModules(r.sym.pattern)) << what;
    EXPECT_EQ(addon, r.sym.addon ? barModules(*r.sym.addon) : 0) << what;
    // Guard bars reach lower than data bars; all main bars share one top.
    for (const DarkRun& run : l.runs) {
      if (run.part == RunPart::Addon) continue;
      EXPECT_DOUBLE_EQ(run.y1, l.runs.front().y1) << what;
      if (run.part == RunPart::Data) {
        EXPECT_GT(run.y0, l.runs.front().y0) << what;
      }
    }
  }
}

TEST(SymbolModel, AddonKeepsItsGapAndIsbnTextsStayAbove) {
  for (const ModelRow& r : modelRows()) {
    if (!r.sym.addon) continue;
    const Layout& l = r.layout;
    const DarkRun* lastMain = nullptr;
    const DarkRun* firstAddon = nullptr;
    for (const DarkRun& run : l.runs) {
      if (run.part != RunPart::Addon) lastMain = &run;
      else if (!firstAddon) firstAddon = &run;
    }
    ASSERT_TRUE(lastMain && firstAddon);
    // Scanners need 7 to 12 modules between the symbol and its add-on.
    const double gap = (firstAddon->x0 - lastMain->x1) / l.module;
    EXPECT_GE(gap, 5.0) << r.what;
    EXPECT_LE(gap, 12.0) << r.what;
    for (const TextItem& t : l.texts) {
      if (t.text == r.sym.isbnLine || t.text == r.sym.priceText) {
        EXPECT_GT(t.y, lastMain->y1) << r.what;
      }
    }
  }
}

// Where each human-readable character stands relative to its symbol character, in modules,
// for every symbology in every style, against the GS1 figures rather than our own code:
// a digit under the bars is centred under its 7-module character; an add-on digit stands
// over its character; the EAN-13 family's leading digit stands in the light margin clear
// of the start guard; UPC's number system and check digit, small, stand outside the
// guards; UPC-A's first and last symbol characters reach as low as the guards.
struct AnchorRow {
  const char* what;
  CodeType type;
  const char* data;
  const char* addon;
  std::vector<int> charStarts;   // first module of each character with a digit under it
  std::vector<int> addonStarts;  // first module of each add-on character
  int tallModules;               // modules from each end whose bars reach guard depth (UPC-A 10)
  char outside;                  // digits outside the bars: 'L' one leading, 'S' two small, 'N' none
  int modules;                   // the main symbol's width
};

struct Style {
  const char* what;
  std::function<Layout(const Symbol&)> lay;
  bool epsTables = false;  // EAN-8, EAN-13 and the ISBNs keep their EPS files' digit tables
};

TEST(TextAnchors, EveryDigitStandsOverOrUnderItsCharacter) {
  const std::vector<int> ean13 = {3, 10, 17, 24, 31, 38, 50, 57, 64, 71, 78, 85};
  const std::vector<int> ean8 = {3, 10, 17, 24, 36, 43, 50, 57};
  const std::vector<int> upca = {10, 17, 24, 31, 38, 50, 57, 64, 71, 78};
  const std::vector<int> upce = {3, 10, 17, 24, 31, 38};
  const std::vector<int> addon5 = {4, 13, 22, 31, 40}, addon2 = {4, 13};
  const AnchorRow rows[] = {
      {"EAN-13", kEAN13, "4012345678901", "", ean13, {}, 3, 'L', 95},
      {"EAN-8", kEAN8, "40123455", "", ean8, {}, 3, 'N', 67},
      {"ISBN-13 with add-on", kISBN13, "978-3-16-148410-0", "51299", ean13, addon5, 3, 'L', 95},
      {"ISBN-10", kISBN10, "0-306-40615-2", "", ean13, {}, 3, 'L', 95},
      {"UPC-A with 2-digit add-on", kUPCA, "036000291452", "12", upca, addon2, 10, 'S', 95},
      {"UPC-E with 5-digit add-on", kUPCE, "01234565", "51299", upce, addon5, 3, 'S', 51},
      {"ISSN", kISSN, "0317-8471", "03", ean13, addon2, 3, 'L', 95},
      {"ISMN", kISMN, "979-0-2600-0043-8", "", ean13, {}, 3, 'L', 95},
  };
  const Style styles[] = {
      {"file 100% 300 dpi", [](const Symbol& s) { return fileLayout(s, 2, 2); }},
      {"file 82% 72 dpi", [](const Symbol& s) { return fileLayout(s, 0, 0); }},
      {"file 197% 2540 dpi", [](const Symbol& s) { return fileLayout(s, 9, 6); }},
      {"preview", [](const Symbol& s) { return previewLayout(s, 400, 200, font().lineHeightPerEm()); }},
      {"EPS", [](const Symbol& s) { return epsLayout(s); }, true},
  };
  for (const AnchorRow& row : rows) {
    for (const Style& style : styles) {
      if (style.epsTables && (row.type == kEAN8 || row.type == kEAN13 || isIsbn(row.type)))
        continue;
      SCOPED_TRACE(std::string(row.what) + ", " + style.what);
      const Symbol sym = symbol(row.type, row.data, row.addon);
      const Layout l = style.lay(sym);
      const double m = l.module;
      // Module boundaries of the main symbol and the add-on, from their first runs.
      const DarkRun* mainFirst = nullptr;
      const DarkRun* addonFirst = nullptr;
      for (const DarkRun& r : l.runs) {
        if (r.part != RunPart::Addon && !mainFirst) mainFirst = &r;
        if (r.part == RunPart::Addon && !addonFirst) addonFirst = &r;
      }
      ASSERT_NE(mainFirst, nullptr);
      const double x0 = mainFirst->x0 - mainFirst->module * m;
      const double guardBottom = mainFirst->y0;
      auto centre = [&](const TextItem& t) {
        return (t.x + font().measure(t.text, t.size).width / 2 - x0) / m;
      };
      // The digits in reading order under the bars: after the leading or small one.
      std::vector<const TextItem*> under, over;
      for (const TextItem& t : l.texts) {
        if (t.text.size() != 1 || t.text[0] < '0' || t.text[0] > '9') continue;
        (t.y < guardBottom ? under : over).push_back(&t);
      }
      std::sort(under.begin(), under.end(), [](auto a, auto b) { return a->x < b->x; });
      const std::size_t outside = row.outside == 'N' ? 0 : 1;
      ASSERT_EQ(under.size(), row.charStarts.size() + outside * (row.outside == 'S' ? 2 : 1));
      for (std::size_t i = 0; i < row.charStarts.size(); ++i)
        EXPECT_NEAR(centre(*under[i + outside]), row.charStarts[i] + 3.5, 0.5) << "digit " << i + outside;
      if (row.outside == 'L') {
        const TextItem& lead = *under[0];
        const double right = (lead.x + font().measure(lead.text, lead.size).width - x0) / m;
        EXPECT_LE(right, -1.0) << "leading digit against the start guard";
        EXPECT_GE((lead.x - x0) / m, -11.0) << "leading digit outside the light margin";
      }
      if (row.outside == 'S') {
        const TextItem& first = *under[0];
        const TextItem& last = *under.back();
        EXPECT_LE((first.x + font().measure(first.text, first.size).width - x0) / m, -0.5);
        EXPECT_GE((last.x - x0) / m, row.modules + 0.5);
      }
      ASSERT_EQ(over.size(), row.addonStarts.size());
      if (!row.addonStarts.empty()) {
        ASSERT_NE(addonFirst, nullptr);
        const double a0 = addonFirst->x0 - addonFirst->module * m;
        for (std::size_t i = 0; i < over.size(); ++i) {
          const double c = (over[i]->x + font().measure(over[i]->text, over[i]->size).width / 2 - a0) / m;
          // Over its character: the digit's centre within the character's middle three modules.
          EXPECT_NEAR(c, row.addonStarts[i] + 3.5, 1.5) << "add-on digit " << i;
        }
      }
      // Bars of the outer characters reach guard depth exactly where the symbology says.
      for (const DarkRun& r : l.runs) {
        if (r.part == RunPart::Addon) continue;
        const bool outer = r.module < row.tallModules || r.module >= row.modules - row.tallModules;
        if (outer) {
          EXPECT_EQ(r.y0, guardBottom) << "module " << r.module << " should reach guard depth";
        }
      }
    }
  }
}

}  // namespace
}  // namespace strimlo
