#include "text8.h"

namespace strimlo {

namespace {

// Continuation bytes that follow a lead byte: 1 to 3, or -1 for a byte that cannot
// start a sequence (a continuation byte, C0/C1 which only start overlong forms, F5..FF).
int continuationCount(unsigned char lead) {
  if (lead >= 0xC2 && lead < 0xE0) return 1;
  if (lead >= 0xE0 && lead < 0xF0) return 2;
  if (lead >= 0xF0 && lead < 0xF5) return 3;
  return -1;
}

// Decodes one UTF-8 sequence at s[i]; returns the code point, or -1 for a malformed
// sequence (then one byte is consumed).
long decodeOne(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  const int extra = continuationCount(b0);
  if (extra < 0) return -1;
  long cp = b0 & (0x3F >> extra);
  std::size_t j = i;
  for (int k = 0; k < extra; ++k, ++j) {
    if (j >= s.size()) return -1;
    const auto b = static_cast<unsigned char>(s[j]);
    if ((b & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (b & 0x3F);
  }
  // An overlong form would smuggle in "/" or NUL as something else; refuse it.
  static constexpr long kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[extra] || cp > 0x10FFFF) return -1;
  i = j;
  return cp;
}

// The characters of 0x80 to 0x9F; 0 where Windows-1252 assigns none.
constexpr char16_t kHighRow[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80: euro, quotes, florin
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88: S caron, OE, Z caron
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90: quotes, bullet, dashes
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98: tilde, TM, Y diaeresis
};

// The Windows-1252 byte of a code point, or -1 when it has none. C1 controls have none.
int text8Byte(long cp) {
  if (cp < 0) return -1;
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHighRow[i] != 0 && kHighRow[i] == cp) return 0x80 + i;
  return -1;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

Text8 toText8(std::string_view utf8) {
  Text8 out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const long cp = decodeOne(utf8, i);
    if (out.bytes.size() == kMaxTextBytes) {
      out.cut = true;
      return out;
    }
    const int byte = text8Byte(cp);
    out.bytes.push_back(byte >= 0 ? static_cast<char>(byte) : '?');
    out.replaced |= byte < 0;
  }
  return out;
}

char32_t text8Char(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const char16_t c = kHighRow[byte - 0x80];
  return c != 0 ? c : byte;
}

std::string text8ToUtf8(std::string_view text8) {
  std::string out;
  out.reserve(text8.size());
  for (char ch : text8) appendUtf8(out, text8Char(static_cast<unsigned char>(ch)));
  return out;
}

}  // namespace strimlo
