#pragma once
// The 8-bit texts every renderer takes: ISO-8859-1, at most 31 bytes.
#include <string>
#include <string_view>

namespace strimlo {

inline constexpr std::size_t kMaxTextBytes = 31;

struct Text8 {
  std::string bytes;     // ISO-8859-1, at most kMaxTextBytes
  bool replaced = false; // a character outside ISO-8859-1 (or bad UTF-8) became "?"
  bool cut = false;      // the text was longer than kMaxTextBytes and was cut
};

// UTF-8 in (as from a command line or a CSV file), ISO-8859-1 out, cut to 31 bytes.
Text8 toText8(std::string_view utf8);

// ISO-8859-1 bytes to UTF-8, for messages.
std::string latin1ToUtf8(std::string_view latin1);

}  // namespace strimlo
