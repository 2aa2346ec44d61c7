// UTF-8 to the 8-bit texts the renderers take: Windows-1252, "?" for the rest, 31 characters.
#include <gtest/gtest.h>

#include <string>

#include "text8.h"

namespace strimlo {
namespace {

struct Text8Row {
  const char* what;
  std::string utf8;
  std::string latin1;
  bool replaced;
  bool cut;
};

TEST(Text8, ConvertsReplacesAndCuts) {
  const std::string a30(30, 'a');
  const std::string a31(31, 'a');
  const Text8Row rows[] = {
      {"empty", "", "", false, false},
      {"ASCII unchanged", "ISBN 0-306-40615-2 (12.99\\)", "ISBN 0-306-40615-2 (12.99\\)", false, false},
      {"two-byte Latin-1 letter", "Caf\xC3\xA9", "Caf\xE9", false, false},
      {"a C1 control is not in Windows-1252", "\xC2\x80", "?", true, false},
      {"euro, en dash, curly quotes, OE, S caron, Y diaeresis", "\xE2\x82\xAC\xE2\x80\x93\xE2\x80\x9C\xC5\x92\xC5\xA0\xC5\xB8",
       "\x80\x96\x93\x8C\x8A\x9F", false, false},
      {"first code point after the C1 controls", "\xC2\xA0", "\xA0", false, false},
      {"last Latin-1 code point", "\xC3\xBF", "\xFF", false, false},
      {"pound and euro", "\xC2\xA3" "5 \xE2\x82\xAC" "5", "\xA3" "5 \x80" "5", false, false},
      {"rupee and rouble signs are outside", "\xE2\x82\xB9\xE2\x82\xBD", "??", true, false},
      {"first code point past Latin-1", "\xC4\x80", "?", true, false},
      {"a four-byte character is one ?", "x\xF0\x9F\x98\x80y", "x?y", true, false},
      {"lone continuation byte", "a\x80" "b", "a?b", true, false},
      {"truncated sequence at the end", "ab\xC3", "ab?", true, false},
      {"lead byte followed by ASCII keeps the ASCII", "\xC3" "A", "?A", true, false},
      {"overlong two-byte form of /", "\xC0\xAF", "??", true, false},
      {"overlong three-byte form of / is not a /", "\xE0\x80\xAF", "???", true, false},
      {"overlong three-byte NUL is not a NUL", "a\xE0\x80\x80" "b", "a???b", true, false},
      {"overlong four-byte form of /", "\xF0\x80\x80\xAF", "????", true, false},
      {"five-byte lead bytes do not exist", "\xF8\x88\x80\x80\x80", "?????", true, false},
      {"byte FF never occurs in UTF-8", "\xFF" "1", "?1", true, false},
      {"past U+10FFFF", "\xF4\x90\x80\x80", "????", true, false},
      {"31 bytes fit", a31, a31, false, false},
      {"32 bytes are cut to 31", a31 + "b", a31, false, true},
      {"30 ASCII and a 2-byte letter make 31 bytes", a30 + "\xC3\xA9", a30 + "\xE9", false, false},
      {"31 ASCII and a letter: the letter is cut", a31 + "\xC3\xA9", a31, false, true},
      {"a three-byte euro counts one character", a30 + "\xE2\x82\xAC", a30 + "\x80", false, false},
      {"a replacement counts one character", a30 + "\xE2\x82\xBD" "b", a30 + "?", true, true},
      {"a replacement past the cut is not reported", a31 + "\xE2\x82\xBD", a31, false, true},
      {"a four-byte character at the cut is one ?", a30 + "\xF0\x9F\x98\x80", a30 + "?", true, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const Text8 t = toText8(r.utf8);
    EXPECT_EQ(t.bytes, r.latin1);
    EXPECT_EQ(t.replaced, r.replaced);
    EXPECT_EQ(t.cut, r.cut);
    EXPECT_LE(t.bytes.size(), kMaxTextBytes);
  }
}

TEST(Text8, Text8ToUtf8) {
  EXPECT_EQ(text8ToUtf8(""), "");
  EXPECT_EQ(text8ToUtf8("ISBN 978-3"), "ISBN 978-3");
  EXPECT_EQ(text8ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
  EXPECT_EQ(text8ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(text8ToUtf8("\x9F"), "\xC5\xB8");
  EXPECT_EQ(text8ToUtf8("\x81"), "\xC2\x81");  // unassigned: its C1 control
  EXPECT_EQ(text8ToUtf8("\xFF"), "\xC3\xBF");
}

// Every assigned Windows-1252 byte survives the way to UTF-8 and back.
TEST(Text8, EveryText8ByteRoundTrips) {
  auto assigned = [](int b) { return b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D; };
  for (int start = 1; start < 256; start += 31) {
    std::string bytes;
    for (int b = start; b < start + 31 && b < 256; ++b)
      if (assigned(b)) bytes.push_back(static_cast<char>(b));
    const Text8 back = toText8(text8ToUtf8(bytes));
    EXPECT_EQ(back.bytes, bytes) << "bytes from " << start;
    EXPECT_FALSE(back.replaced);
    EXPECT_FALSE(back.cut);
  }
}

}  // namespace
}  // namespace strimlo
