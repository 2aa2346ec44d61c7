// The file bitmap as drawn: strips equal one full painting, and bars land where the
// module pattern says, within a pixel.
#include <gtest/gtest.h>

#include <cmath>

#include "makecode.h"

namespace strimlo {
namespace {

std::vector<std::uint8_t> paintInStrips(const Layout& l, int stripRows) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(l.pixelsWide) * l.pixelsHigh);
  for (int y = 0; y < l.pixelsHigh; y += stripRows) {
    const int rows = std::min(stripRows, l.pixelsHigh - y);
    EXPECT_TRUE(paintInkStrip(l, *Font::helvetica(), y, rows,
                              out.data() + static_cast<std::size_t>(y) * l.pixelsWide,
                              static_cast<std::size_t>(l.pixelsWide)));
  }
  return out;
}

Layout layoutOf(CodeType type, const char* data, const char* addon, SizeIndex size,
                ResolutionIndex res) {
  Completion c = completeSymbol(type, data, addon, "9.99");
  EXPECT_TRUE(c.symbol);
  return fileLayout(*c.symbol, size, res);
}

TEST(RasterRender, StripsGiveTheSameBytesAsOnePainting) {
  ASSERT_NE(Font::helvetica(), nullptr);
  // Anti-aliased (100 dpi) and crisp (600 dpi) bars, text crossing strip borders.
  for (ResolutionIndex res : {1, 3}) {
    const Layout l = layoutOf(kISBN13, "978-3-16-148410-0", "51299", 4, res);
    const auto whole = paintInStrips(l, l.pixelsHigh);
    for (int strip : {1, 7, 64, 256}) {
      EXPECT_TRUE(paintInStrips(l, strip) == whole) << "strip " << strip << " res " << res;
    }
  }
}

// Runs of ink along one scanline through the data bars, against the pattern.
TEST(RasterRender, BarRunsMatchTheModulesWithinOnePixel) {
  struct Row {
    CodeType type;
    const char* data;
    ResolutionIndex res;
  };
  for (const Row r : {Row{kEAN13, "401234567890", 2}, Row{kEAN13, "401234567890", 6},
                      Row{kEAN8, "9638507", 2}, Row{kEAN8, "9638507", 6}}) {
    Completion c = completeSymbol(r.type, r.data);
    const Layout l = fileLayout(*c.symbol, 2, r.res);
    const auto ink = paintInStrips(l, 256);
    const double m = l.module;
    const double edge0 = l.runs.front().x0;  // module 0 is a bar
    const int y = l.pixelsHigh / 2;     // through the data bars
    const std::uint8_t* row = ink.data() + static_cast<std::size_t>(y) * l.pixelsWide;
    // Expected bar runs from the pattern: [first module, module count).
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < static_cast<int>(c.symbol->pattern.size()); ++i) {
      if (!c.symbol->pattern[i]) continue;
      if (!runs.empty() && runs.back().first + runs.back().second == i) ++runs.back().second;
      else runs.push_back({i, 1});
    }
    std::vector<std::pair<int, int>> seen;  // [first pixel, pixel count)
    for (int x = 0; x < l.pixelsWide; ++x) {
      if (row[x] < 128) continue;
      if (!seen.empty() && seen.back().first + seen.back().second == x) ++seen.back().second;
      else seen.push_back({x, 1});
    }
    ASSERT_EQ(seen.size(), runs.size()) << codeTypeName(r.type) << " res " << r.res;
    for (std::size_t k = 0; k < runs.size(); ++k) {
      const double left = edge0 + runs[k].first * m;
      EXPECT_NEAR(seen[k].first, left, 1.0) << "run " << k;
      EXPECT_NEAR(seen[k].second, runs[k].second * m, 1.0) << "run " << k;
    }
  }
}

}  // namespace
}  // namespace strimlo
