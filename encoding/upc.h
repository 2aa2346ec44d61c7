#pragma once
// UPC-E is a UPC-A with zeros suppressed: its six digits say where the UPC-A's zeros go.
#include <optional>
#include <string>
#include <string_view>

namespace strimlo {

// Number system and six UPC-E digits (7 digits) to the UPC-A they stand for, without
// its check digit (11 digits); "" when the text is not 7 digits.
std::string expandUpcE(std::string_view sevenDigits);

// A UPC-A without its check digit (11 digits) to number system and six UPC-E digits, or
// none when its zeros do not fall where UPC-E can leave them out.
std::optional<std::string> suppressUpcA(std::string_view elevenDigits);

// The product numbers UPC-E can hold for the manufacturer of a UPC-A (its digits 2 to 6),
// e.g. "00000 to 00099", for saying why one cannot be suppressed; "" for a shorter text.
const char* upcEProducts(std::string_view upca);

}  // namespace strimlo
