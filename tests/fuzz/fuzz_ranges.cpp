// The range file's reader on any bytes: parseRanges never crashes, and what it accepts
// hyphenates every ISBN-13 and ISBN-10 without reading past the digits, with hyphens
// that leave the digits as they were.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "range_file.h"

namespace strimlo::fuzz {
namespace {

std::string digitsOf(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '-') out.push_back(c);
  return out;
}

void hyphenateSome(const IsbnRanges& ranges) {
  for (const char* isbn : {"9783161484100", "9780306406157", "9791032300824", "9790260000438",
                           "9789999999991", "9780000000002", "9781000000009"}) {
    const Hyphenated h = hyphenateIsbn(ranges, isbn, false);
    if (h.status != HyphenStatus::Hyphenated) continue;
    FUZZ_CHECK(digitsOf(h.text) == isbn);
    FUZZ_CHECK(h.text.size() == 17);
    const Hyphenated ten = hyphenateIsbn(ranges, isbn, true);
    FUZZ_CHECK(ten.status == HyphenStatus::Hyphenated && ten.text.size() == 13);
  }
}

}  // namespace
}  // namespace strimlo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  const auto ranges = strimlo::parseRanges(
      std::string_view(reinterpret_cast<const char*>(data), size), why);
  FUZZ_CHECK(ranges != nullptr || !why.empty());
  if (ranges) {
    strimlo::fuzz::hyphenateSome(*ranges);
    (void)strimlo::messageDay(ranges->messageDate);
  }
  return 0;
}
