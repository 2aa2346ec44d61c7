#pragma once
// Modulo-10 check digits of EAN-13, EAN-8 and UPC-A.
#include <string_view>

namespace strimlo {

// The check digit 0..9 of the first 12 digits, or -1 when the text is not 12 or 13
// digits long. A 13th digit must be a digit but its value is ignored.
int checksum_ean13(std::string_view digits);
// The same for EAN-8: 7 or 8 digits.
int checksum_ean8(std::string_view digits);
// The same for UPC-A: 11 or 12 digits. UPC-E takes the check digit of its UPC-A.
int checksum_upca(std::string_view digits);

// Kept for interface compatibility; they do no work.
std::string_view SanitizeData(std::string_view ignored, std::string_view data);
std::string_view SanitizeAddon(std::string_view addon);
std::string_view SanitizePrice(std::string_view price);

}  // namespace strimlo
