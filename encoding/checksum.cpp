#include "checksum.h"

#include "digits.h"

namespace strimlo {

namespace {

// GS1 modulo 10: weight 3 on the digit next to the check digit, alternating leftwards.
int gs1Check(std::string_view digits, std::size_t dataLength) {
  if (digits.size() != dataLength && digits.size() != dataLength + 1) return -1;
  if (!allDigits(digits)) return -1;
  int sum = 0;
  int weight = 3;
  for (std::size_t i = dataLength; i-- > 0;) {
    sum += weight * (digits[i] - '0');
    weight = 4 - weight;
  }
  return (10 - sum % 10) % 10;
}

}  // namespace

int checksum_ean13(std::string_view digits) { return gs1Check(digits, 12); }
int checksum_ean8(std::string_view digits) { return gs1Check(digits, 7); }
int checksum_upca(std::string_view digits) { return gs1Check(digits, 11); }

std::string_view SanitizeData(std::string_view, std::string_view data) { return data; }
std::string_view SanitizeAddon(std::string_view addon) { return addon; }
std::string_view SanitizePrice(std::string_view price) { return price; }

}  // namespace strimlo
