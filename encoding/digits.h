#pragma once
#include <string_view>

namespace strimlo {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline bool allDigits(std::string_view s) {
  for (char c : s)
    if (!isDigit(c)) return false;
  return true;
}

}  // namespace strimlo
