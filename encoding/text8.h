#pragma once
// The 8-bit texts every renderer takes: Windows-1252, at most 31 characters (one byte
// each). Windows-1252 is ISO-8859-1 with printable characters where Latin-1 has its C1
// controls (0x80 to 0x9F): the euro sign, typographic quotes and dashes, Œ, Š, Ž, Ÿ.
#include <string>
#include <string_view>

namespace strimlo {

inline constexpr std::size_t kMaxTextBytes = 31;

struct Text8 {
  std::string bytes;     // Windows-1252, at most kMaxTextBytes
  bool replaced = false; // a character outside Windows-1252 (or bad UTF-8) became "?"
  bool cut = false;      // the text was longer than kMaxTextBytes characters and was cut
};

// UTF-8 in (as from a command line, a CSV file or the window), Windows-1252 out, cut to
// 31 characters; each character it cannot hold becomes one "?".
Text8 toText8(std::string_view utf8);

// The character a Windows-1252 byte stands for. The five bytes it leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) give their C1 control, which no conversion produces.
char32_t text8Char(unsigned char byte);
// Windows-1252 bytes to UTF-8, for messages and for the fonts' Unicode maps.
std::string text8ToUtf8(std::string_view text8);

}  // namespace strimlo
