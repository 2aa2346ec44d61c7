#include "text8.h"

namespace strimlo {

namespace {

// Decodes one UTF-8 sequence at s[i]; returns the code point, or -1 for a malformed
// sequence (then one byte is consumed).
long decodeOne(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra = b0 >= 0xF0 && b0 < 0xF8 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC2 && b0 < 0xE0 ? 1 : -1;
  if (extra < 0) return -1;
  long cp = b0 & (0x3F >> extra);
  std::size_t j = i;
  for (int k = 0; k < extra; ++k, ++j) {
    if (j >= s.size()) return -1;
    const auto b = static_cast<unsigned char>(s[j]);
    if ((b & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (b & 0x3F);
  }
  i = j;
  return cp;
}

}  // namespace

Text8 toText8(std::string_view utf8) {
  Text8 out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const long cp = decodeOne(utf8, i);
    if (out.bytes.size() == kMaxTextBytes) {
      out.cut = true;
      break;
    }
    if (cp < 0 || cp > 0xFF) {
      out.bytes.push_back('?');
      out.replaced = true;
    } else {
      out.bytes.push_back(static_cast<char>(cp));
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
