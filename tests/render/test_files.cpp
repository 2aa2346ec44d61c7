// Symbol files end to end: written through MakeCode, read back with each format's own
// library, and decoded by zbarimg, which knows nothing of how we drew them.
#include <gtest/gtest.h>

#include <filesystem>

#include "makecode.h"
#include "readback.h"

namespace strimlo {
namespace {

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
      {"unknown code type", 4, "401234567890", "", kPNG, false},
      {"unknown format 4", kEAN13, "401234567890", "", 4, false},
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
