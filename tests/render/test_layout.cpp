// Symbol geometry as plain data: bitmap sizes, bar extents and text anchors of the file
// and preview layouts, checked against the known figures and the exact arithmetic they
// come from.
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
  EXPECT_NEAR(l.lineWidth, 3.897638f, 1e-5);
  ASSERT_FALSE(l.texts.empty());
  EXPECT_FLOAT_EQ(l.texts[0].size, 42.0f);  // 0.14 inch at 300 dpi
}

TEST(FileLayout, ModuleIsExactly33PixelsAt2540Dpi) {
  EXPECT_FLOAT_EQ(fileLayout(symbol(kEAN8, "4012345"), 2, 6).lineWidth, 33.0f);
}

// In exact arithmetic: guard bars from 7 m up to Hb - T/2 + 7 m,
// data bars from 7 m + T/2, add-on bars from 7 m up to Hb - 3T/2 + 7 m.
TEST(FileLayout, BarExtentsFollowTheFormulas) {
  const Symbol s = symbol(kISBN13, "978-3-16-148410-0", "51299", "12.99");
  const Layout l = fileLayout(s, 2, 2);
  const float m = l.lineWidth, q = 30, T = 45, Hb = m * 95 / 1.2f;
  const float top = Hb - T / 2 + 7 * m;
  const float x0 = 2 * q, xa = 2 * q + 95 * m + q;
  int guard = 0, data = 0, addon = 0;
  for (const BarSegment& b : l.bars) {
    if (b.x > xa - m / 2) {
      ++addon;
      EXPECT_NEAR(b.y0, 7 * m, 1e-3);
      EXPECT_NEAR(b.y1, Hb - 1.5f * T + 7 * m, 1e-3);
      continue;
    }
    EXPECT_NEAR(b.y1, top, 1e-3);
    const int module = static_cast<int>(std::lround((b.x - x0) / m));
    EXPECT_EQ(s.pattern[module], 1) << "bar at a space module " << module;
    const bool isGuard = module <= 2 || (module >= 45 && module <= 48) || module >= 92;
    EXPECT_NEAR(b.y0, isGuard ? 7 * m : 7 * m + T / 2, 1e-3) << module;
    ++(isGuard ? guard : data);
  }
  EXPECT_EQ(guard, 6);  // two bar modules in each of the three guards
  int barModules = 0, addonModules = 0;
  for (auto v : s.pattern) barModules += v;
  for (auto v : *s.addon) addonModules += v;
  EXPECT_EQ(guard + data, barModules);
  EXPECT_EQ(addon, addonModules);
  // Add-on digits stand on the add-on bars, over the first module of each digit's seven.
  const int digitModule[] = {3, 12, 21, 30, 39};
  int k = 0;
  for (const TextItem& t : l.texts) {
    if (t.y < Hb - 1.5f * T + 7 * m - 1e-3f || t.y > Hb - 1.5f * T + 7 * m + 1e-3f) continue;
    ASSERT_LT(k, 5);
    EXPECT_NEAR(t.x, xa + digitModule[k] * m, 1e-3) << k;
    EXPECT_EQ(t.text, std::string(1, "51299"[k])) << k;
    ++k;
  }
  EXPECT_EQ(k, 5);
}

TEST(FileLayout, DigitsStandUnderTheirModules) {
  struct Row {
    CodeType type;
    const char* data;
    std::vector<float> modules;  // x of digits relative to x0, in modules
  };
  const std::vector<Row> rows = {
      {kEAN13, "401234567890", {3, 10, 17, 24, 31, 38, 50, 57, 64, 71, 78, 85}},
      {kEAN8, "4012345", {3, 10, 17, 24, 36, 43, 50, 57}},
  };
  for (const Row& r : rows) {
    const Symbol s = symbol(r.type, r.data);
    const Layout l = fileLayout(s, 3, 3);
    const float m = l.lineWidth;
    const float q = 1.1f * 60;
    const float x0 = r.type == kEAN8 ? 3 * m : 2 * q;
    const std::size_t first = r.type == kEAN8 ? 0 : 1;
    if (r.type == kEAN13) {
      EXPECT_NEAR(l.texts[0].x - x0, 3 * m - 1.75f * q, 1e-2);
      EXPECT_EQ(l.texts[0].text, "4");
    }
    for (std::size_t i = 0; i < r.modules.size(); ++i) {
      const TextItem& t = l.texts[first + i];
      EXPECT_NEAR(t.x - x0, r.modules[i] * m, 1e-2) << codeTypeName(r.type) << " digit " << i;
      EXPECT_NEAR(t.y, m, 1e-4);
      EXPECT_EQ(t.text, s.digits.substr(first + i, 1));
    }
  }
}

TEST(FileLayout, IsbnLineAndPriceOnlyWithAddon) {
  struct Row {
    const char* addon;
    const char* price;
    bool priceDrawn;
  };
  for (const Row r : {Row{"51299", "12.99", true}, Row{"5129", "12.99", false},
                      Row{"51299", "", false}, Row{"", "9.99", false}}) {
    const Layout l = fileLayout(symbol(kISBN10, "3-16-148410-X", r.addon, r.price), 2, 2);
    bool sawLine = false, sawPrice = false;
    for (const TextItem& t : l.texts) {
      sawLine |= t.text == "ISBN 3-16-148410-X";
      sawPrice |= !std::string(r.price).empty() && t.text == r.price;
    }
    EXPECT_TRUE(sawLine) << r.addon;
    EXPECT_EQ(sawPrice, r.priceDrawn) << "add-on '" << r.addon << "' price '" << r.price << "'";
  }
}

TEST(PreviewLayout, CentresTheSymbolAndKeepsTheRequestedSize) {
  struct Row {
    int width;
    float x0;
  };
  for (const Row r : {Row{600, (600 - 142.5f) / 2}, Row{100, (100 - 142.5f) / 2}}) {
    const Layout l = previewLayout(symbol(kEAN13, "401234567890"), r.width, 300, font());
    EXPECT_EQ(l.pixelsWide, r.width);
    EXPECT_EQ(l.pixelsHigh, 300);
    EXPECT_FLOAT_EQ(l.bars.front().x, r.x0);  // module 0 is a bar
    EXPECT_FLOAT_EQ(l.lineWidth, 1.5f);
  }
}

TEST(PreviewLayout, DigitsAndHeightsFollowTheMeasuredZero) {
  const Font& f = font();
  const TextSize zero = f.measure("0", 14);
  EXPECT_NEAR(zero.height, 16.8f, 1e-3);  // the face's line height at 14 pt
  EXPECT_NEAR(zero.width, 7.784f, 1e-3);  // unhinted advance
  const Layout l = previewLayout(symbol(kEAN13, "401234567890"), 400, 300, f);
  const float x0 = (400 - 142.5f) / 2;
  const float K = 142.5f / 1.2f;
  const float y0 = (300 - K) / 2;
  const float expected[] = {5.25f, 15.75f, 26.25f, 36.75f, 47.25f, 57.75f,
                            75.75f, 86.25f, 96.75f, 107.25f, 117.75f, 128.25f};
  EXPECT_NEAR(l.texts[0].x - x0, 5.25f - 2.5f * zero.width, 1e-3);
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(l.texts[1 + i].x - x0, expected[i], 1e-3) << i;
  EXPECT_NEAR(l.texts[0].y, y0 - 0.375f * zero.height, 1e-3);
  EXPECT_NEAR(l.bars.front().y0, y0, 1e-3);
  EXPECT_NEAR(l.bars.front().y1, y0 + K - zero.height / 2, 1e-3);
}

TEST(PreviewLayout, IsbnAddonLineAndPriceStandWhereTheyShould) {
  const Font& f = font();
  const TextSize zero = f.measure("0", 14);
  const float tw = zero.width, th = zero.height;
  const Layout l = previewLayout(symbol(kISBN13, "978-3-16-148410-0", "51299", "USD 12.99"), 600, 300, f);
  const float x0 = (600 - ((tw + 70.5f) + 142.5f)) / 2;
  const float B = 142.5f / 1.2f - th;
  const float y0 = (300 - B) / 2 - th / 2;
  const float U = B + y0;
  const float a0 = tw + x0 + 142.5f;
  EXPECT_NEAR(l.bars.front().x, x0, 1e-3);
  EXPECT_NEAR(l.bars.front().y0, y0, 1e-3);
  EXPECT_NEAR(l.bars.back().x, a0 + 46 * 1.5f, 1e-3);  // the add-on ends with a bar
  EXPECT_NEAR(l.bars.back().y1, U - th / 2, 1e-3);
  std::vector<const TextItem*> addonDigits;
  const TextItem* line = nullptr;
  const TextItem* price = nullptr;
  for (const TextItem& t : l.texts) {
    if (t.text == "ISBN 978-3-16-148410-0") line = &t;
    if (t.text == "USD 12.99") price = &t;
    if (std::abs(t.y - (U - th / 2)) < 1e-3f) addonDigits.push_back(&t);
  }
  ASSERT_TRUE(line && price);
  EXPECT_NEAR(line->x, x0, 1e-3);
  EXPECT_NEAR(line->y, U + 0.625f * th, 1e-3);
  EXPECT_FLOAT_EQ(line->size, 13);
  EXPECT_NEAR(price->x, x0 + 142.5f + tw, 1e-3);
  EXPECT_FLOAT_EQ(price->y, line->y);
  ASSERT_EQ(addonDigits.size(), 5u);
  for (int k = 0; k < 5; ++k) EXPECT_NEAR(addonDigits[k]->x, a0 + (3 + 9 * k) * 1.5f, 1e-3) << k;
}

TEST(PreviewLayout, Ean8DigitsHaveNoLeadingDigit) {
  const Layout l = previewLayout(symbol(kEAN8, "9638507"), 300, 200, font());
  const float x0 = (300 - 100.5f) / 2;
  const float expected[] = {5.25f, 15.75f, 26.25f, 36.75f, 54.75f, 65.25f, 75.75f, 86.25f};
  ASSERT_EQ(l.texts.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(l.texts[i].x - x0, expected[i], 1e-3) << i;
    EXPECT_EQ(l.texts[i].text, std::string(1, "96385074"[i]));
  }
}

}  // namespace
}  // namespace strimlo
