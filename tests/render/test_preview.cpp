// Preview images through the dispatch: what they show, and what they refuse.
#include <gtest/gtest.h>

#include "gs1.h"
#include "makecode.h"
#include "preview_png.h"
#include "renderers.h"
#include "test_support.h"

namespace strimlo {
namespace {

std::vector<std::string> decodePreview(const PreviewImage& image) {
  test::TempDir dir;
  EXPECT_TRUE(writePreviewPng(image, dir.file("p.png")));
  return test::zbarDecode(dir.file("p.png"));
}

bool samePixels(const std::optional<PreviewImage>& a, const std::optional<PreviewImage>& b) {
  return a && b && a->width == b->width && a->height == b->height && a->pixels == b->pixels;
}

TEST(Preview, ShowsTheCompletedDigits) {
  struct Row {
    CodeType type;
    const char* data;
    const char* decoded;
  };
  for (const Row r : {Row{kEAN13, "401234567890", "EAN-13:4012345678901"},
                      Row{kEAN8, "96385070", "EAN-8:96385074"},
                      Row{kISBN10, "0-8044-2957-X", "EAN-13:9780804429573"},
                      Row{kISBN13, "979-10-90636-07-1", "EAN-13:9791090636071"}}) {
    auto image = MakeCode::PreviewCode(r.type, r.data, "", "", 600, 300);
    ASSERT_TRUE(image) << r.data;
    EXPECT_EQ(image->width, 600);
    EXPECT_EQ(image->height, 300);
    EXPECT_EQ(decodePreview(*image), std::vector<std::string>{r.decoded}) << r.data;
  }
}

// A 2D companion is drawn beside its linear symbol, both whole in the view (either cut
// off would not decode), with quiet zones shown or not.
TEST(Preview, ACompanionStandsBesideItsSymbol) {
  struct Row {
    CodeType type;
    const char* data;
    const char* addon;
    bool quietZones;
    std::vector<std::string> decoded;
  };
  const Row rows[] = {
      {kEAN13, "401234567890", "", false,
       {"EAN-13:4012345678901", "QR-Code:https://id.gs1.org/01/04012345678901/10/AB1"}},
      {kISBN13, "9780306406157", "51299", true,
       // zbarimg reads no add-on at the preview's 1.5-point module, with a companion or not
       {"EAN-13:9780306406157", "QR-Code:https://id.gs1.org/01/09780306406157/10/AB1"}},
      {kUPCE, "0123456", "", true,
       {"QR-Code:https://id.gs1.org/01/00012345000065/10/AB1", "UPC-E:01234565"}},
  };
  for (const Row& r : rows) {
    Gs1Options gs1;
    gs1.ai = "(10)AB1";
    gs1.companion = kGS1QR;
    const Completion c = completeWithGs1(r.type, r.data, r.addon, "", gs1);
    ASSERT_TRUE(c.symbol) << r.data;
    Prepress prepress;
    prepress.quietZones = r.quietZones;
    const auto image = renderPreview(*c.symbol, 600, 300, prepress);
    ASSERT_TRUE(image) << r.data;
    EXPECT_EQ(decodePreview(*image), r.decoded) << r.data;
  }
}

TEST(Preview, RefusesWhatCannotBeEncoded) {
  struct Row {
    const char* what;
    CodeType type;
    const char* data;
    const char* addon;
    int width, height;
  };
  const Row rows[] = {
      {"code type 10", 10, "401234567890", "", 600, 300},
      {"code type -1", -1, "401234567890", "", 600, 300},
      {"EAN-13 of 5 digits", kEAN13, "12345", "", 600, 300},
      {"ISBN-10 with 11 characters", kISBN10, "0-306-40615-21", "", 600, 300},
      {"ISBN-10 with 9 characters", kISBN10, "0-306-40615", "", 600, 300},
      {"ISBN-13 with dots", kISBN13, "978.0.306.40615.7", "", 600, 300},
      {"a book's add-on of 4 digits", kISBN13, "9780306406157", "1234", 600, 300},
      {"5-character add-on with a letter", kISBN13, "9780306406157", "5x299", 600, 300},
      {"zero width", kEAN13, "401234567890", "", 0, 300},
      {"negative height", kEAN13, "401234567890", "", 600, -1},
  };
  for (const Row& r : rows)
    EXPECT_FALSE(MakeCode::PreviewCode(r.type, r.data, r.addon, "", r.width, r.height)) << r.what;
}

TEST(Preview, EqualInputsGiveEqualImages) {
  // The 13th digit is replaced by the computed one.
  EXPECT_TRUE(samePixels(MakeCode::PreviewCode(kEAN13, "401234567890", "", "", 400, 200),
                         MakeCode::PreviewCode(kEAN13, "4012345678907", "", "", 400, 200)));
  // EAN types never see the add-on and price.
  EXPECT_TRUE(samePixels(MakeCode::PreviewCode(kEAN13, "401234567890", "51299", "9.99", 400, 200),
                         MakeCode::PreviewCode(kEAN13, "401234567890", "", "", 400, 200)));
  // Without an add-on the price stands where the add-on would.
  EXPECT_FALSE(samePixels(MakeCode::PreviewCode(kISBN13, "9780306406157", "", "9.99", 400, 200),
                          MakeCode::PreviewCode(kISBN13, "9780306406157", "", "", 400, 200)));
  // A book's price is drawn above its add-on.
  EXPECT_FALSE(samePixels(MakeCode::PreviewCode(kISBN13, "9780306406157", "12345", "9.99", 400, 200),
                          MakeCode::PreviewCode(kISBN13, "9780306406157", "12345", "", 400, 200)));
}

TEST(Preview, NarrowImageIsCutOffNotRefused) {
  auto image = MakeCode::PreviewCode(kEAN13, "401234567890", "", "", 80, 40);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 80);
  EXPECT_EQ(image->height, 40);
  int dark = 0;
  for (int x = 0; x < 80; ++x) dark += (image->pixel(x, 20) & 0xFF) < 128;
  EXPECT_GT(dark, 10);  // bars reach both edges
}

}  // namespace
}  // namespace strimlo
