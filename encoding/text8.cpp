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

}  // namespace

Text8 toText8(std::string_view utf8) {
  Text8 out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const long cp = decodeOne(utf8, i);
    // The window converts UTF-16 units, so a character beyond U+FFFF becomes "??".
    const std::size_t units = cp > 0xFFFF ? 2 : 1;
    for (std::size_t u = 0; u < units; ++u) {
      if (out.bytes.size() == kMaxTextBytes) {
        out.cut = true;
        return out;
      }
      const bool latin1 = cp >= 0 && cp <= 0xFF;
      out.bytes.push_back(latin1 ? static_cast<char>(cp) : '?');
      out.replaced |= !latin1;
    }
  }
  return out;
}

std::string latin1ToUtf8(std::string_view latin1) {
  std::string out;
  for (char ch : latin1) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

}  // namespace strimlo
