#include "echo.h"

#include <cstdio>
#include <cstring>

namespace strimlo::cli {

namespace {

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Characters that show nothing yet change what follows: the bidirectional embeddings,
// overrides and isolates reorder the rest of a line, and the others hide in plain sight.
bool invisibleFormat(char32_t c) {
  return c == 0x00AD || c == 0x061C || c == 0x180E || (c >= 0x200B && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF ||
         (c >= 0xFFF9 && c <= 0xFFFB);
}

char32_t codePoint(std::string_view s, std::size_t i, std::size_t n) {
  char32_t c = at(s, i) & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
  for (std::size_t k = 1; k < n; ++k) c = c << 6 | (at(s, i + k) & 0x3F);
  return c;
}

// The length of the character at s[i] when it is printable UTF-8; 0 for a control
// character, an invisible format character or a byte that starts no well-formed sequence.
std::size_t printableLength(std::string_view s, std::size_t i) {
  const unsigned char c = at(s, i);
  if (c >= 0x20 && c < 0x7F) return 1;
  if (c < 0xC2 || c > 0xF4) return 0;  // C0, DEL, a stray continuation, an overlong lead
  const std::size_t n = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((at(s, i + k) & 0xC0) != 0x80) return 0;
  const unsigned char second = at(s, i + 1);
  const bool bad = (c == 0xC2 && second < 0xA0) ||  // U+0080..U+009F: the C1 controls
                   (c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) ||
                   (c == 0xF0 && second < 0x90) || (c == 0xF4 && second >= 0x90);
  return bad || invisibleFormat(codePoint(s, i, n)) ? 0 : n;
}

std::string escape(unsigned char c) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02x", c);
  return text;
}

}  // namespace

std::string shown(std::string_view text, std::size_t limit) {
  std::string out;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++characters) {
    if (characters == limit) return out + "...";
    if (const std::size_t n = printableLength(text, i); n > 0) {
      out.append(text.substr(i, n));
      i += n;
    } else {
      out += escape(at(text, i++));
    }
  }
  return out;
}

std::string firstControlCharacter(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = at(text, i);
    if (c < 0x20 || c == 0x7F) return escape(c);
    if (c == 0xC2 && i + 1 < text.size() && at(text, i + 1) >= 0x80 && at(text, i + 1) < 0xA0)
      return escape(c) + escape(at(text, i + 1));
  }
  return {};
}

std::string errorText(int error) {
  char buffer[128];
  return strerror_r(error, buffer, sizeof buffer);
}

}  // namespace strimlo::cli
