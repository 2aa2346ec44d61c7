// The symbol geometry every back end draws: bitmap sizes as documented, and what the
// model guarantees whatever the style: one rectangle per dark run, edges on module
// boundaries, runs that never overlap or touch, everything inside the box.
#include <gtest/gtest.h>

#include <cmath>

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
    rows.push_back({"preview", s, previewLayout(s, 400, 300, font())});
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

}  // namespace
}  // namespace strimlo
