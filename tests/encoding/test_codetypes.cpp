// Size and resolution lookups with their fallbacks, and the small code type helpers.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "codetypes.h"

namespace strimlo {
namespace {

struct LookupRow {
  const char* what;
  std::int32_t index;
  float expected;  // compared exactly: the single-precision number nearest the decimal
};

TEST(CodeTypes, GetScale) {
  const LookupRow rows[] = {
      {"smallest", 0, 0.82f},  {"index 1", 1, 0.91f},  {"the default", 2, 1.0f},
      {"index 3", 3, 1.1f},    {"index 4", 4, 1.21f},  {"index 5", 5, 1.36f},
      {"index 6", 6, 1.52f},   {"index 7", 7, 1.67f},  {"index 8", 8, 1.82f},
      {"largest", 9, 1.97f},
      {"one past the list falls back", 10, 1.0f},
      {"-1 (nothing selected) falls back", -1, 1.0f},
      {"most negative falls back", INT_MIN, 1.0f},
      {"largest int falls back", INT_MAX, 1.0f},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(getScale(r.index), r.expected) << r.index;
  }
}

TEST(CodeTypes, GetResolution) {
  const LookupRow rows[] = {
      {"smallest", 0, 72.0f},     {"index 1", 1, 100.0f},   {"the default", 2, 300.0f},
      {"index 3", 3, 600.0f},     {"index 4", 4, 1200.0f},  {"index 5", 5, 2400.0f},
      {"index 6", 6, 2540.0f},    {"largest", 7, 3200.0f},
      {"sizes go to 9, resolutions stop at 7", 8, 300.0f},
      {"index 9 falls back", 9, 300.0f},
      {"-1 falls back", -1, 300.0f},
      {"most negative falls back", INT_MIN, 300.0f},
      {"largest int falls back", INT_MAX, 300.0f},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(getResolution(r.index), r.expected) << r.index;
  }
}

TEST(CodeTypes, ValuesMatchTheWindowsLists) {
  EXPECT_EQ(kEAN8, 0);
  EXPECT_EQ(kEAN13, 1);
  EXPECT_EQ(kISBN10, 2);
  EXPECT_EQ(kISBN13, 3);
  EXPECT_EQ(kEPS, 0);
  EXPECT_EQ(kPNG, 1);
  EXPECT_EQ(kTIFF, 2);
  EXPECT_EQ(kJPEG, 3);
  EXPECT_EQ(kPDF, 4);
  EXPECT_EQ(kSVG, 5);
}

TEST(CodeTypes, Names) {
  struct Row {
    CodeType type;
    bool isbn;
    const char* name;
  };
  const Row rows[] = {
      {kEAN8, false, "EAN-8"},    {kEAN13, false, "EAN-13"},
      {kISBN10, true, "ISBN-10"}, {kISBN13, true, "ISBN-13"},
      {kUPCA, false, "UPC-A"},    {kUPCE, false, "UPC-E"},
      {kISSN, false, "ISSN"},     {kISMN, false, "ISMN"},
      {-1, false, "unknown code type"}, {kGS1QR, false, "GS1 QR Code"}, {10, false, "unknown code type"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.type);
    EXPECT_EQ(isIsbn(r.type), r.isbn);
    EXPECT_STREQ(codeTypeName(r.type), r.name);
  }
}

TEST(CodeTypes, FileExtensions) {
  EXPECT_STREQ(fileExtension(kEPS), "eps");
  EXPECT_STREQ(fileExtension(kPNG), "png");
  EXPECT_STREQ(fileExtension(kTIFF), "tiff");
  EXPECT_STREQ(fileExtension(kJPEG), "jpg");
  EXPECT_STREQ(fileExtension(kPDF), "pdf");
  EXPECT_STREQ(fileExtension(kSVG), "svg");
  EXPECT_EQ(fileExtension(6), nullptr);
  EXPECT_EQ(fileExtension(-1), nullptr);
}

}  // namespace
}  // namespace strimlo
