#include "upc.h"

#include "digits.h"

namespace strimlo {

// UPC-A: number system, manufacturer (5 digits), product (5 digits). The last UPC-E digit
// says which manufacturer digits are kept and how many product digits follow:
//   0-2  manufacturer ab?00 (? = that digit), product 00cde
//   3    manufacturer abc00, product 000de
//   4    manufacturer abcd0, product 0000e
//   5-9  manufacturer abcde, product 0000 and that digit
std::string expandUpcE(std::string_view s) {
  if (s.size() != 7 || !allDigits(s)) return {};
  const std::string n(s.substr(0, 1));
  const std::string d(s.substr(1));
  switch (d[5]) {
    case '0': case '1': case '2': return n + d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
    case '3': return n + d.substr(0, 3) + "00000" + d.substr(3, 2);
    case '4': return n + d.substr(0, 4) + "00000" + d[4];
    default: return n + d.substr(0, 5) + "0000" + d[5];
  }
}

namespace {

// How many product digits UPC-E keeps, by how the manufacturer number ends: 3 for
// ab000-ab200, 2 for abc00, 1 for abcd0, none for the rest (whose products 00005-00009
// keep their last digit in place of the form's).
int keptProductDigits(std::string_view manufacturer) {
  if (manufacturer.substr(3) == "00") return manufacturer[2] <= '2' ? 3 : 2;
  return manufacturer[4] == '0' ? 1 : 0;
}

}  // namespace

std::optional<std::string> suppressUpcA(std::string_view s) {
  if (s.size() != 11 || !allDigits(s)) return std::nullopt;
  const std::string n(s.substr(0, 1)), m(s.substr(1, 5)), p(s.substr(6, 5));
  const int kept = keptProductDigits(m);
  // The product's leading zeros are the ones left out.
  if (p.find_first_not_of('0') < static_cast<std::size_t>(kept ? 5 - kept : 4)) return std::nullopt;
  switch (kept) {
    case 3: return n + m.substr(0, 2) + p.substr(2) + m[2];
    case 2: return n + m.substr(0, 3) + p.substr(3) + "3";
    case 1: return n + m.substr(0, 4) + p.substr(4) + "4";
    default: break;
  }
  // A last digit of 0 to 4 would read back as one of the forms above.
  if (p[4] < '5') return std::nullopt;
  return n + m + p[4];
}

const char* upcEProducts(std::string_view s) {
  if (s.size() < 6 || !allDigits(s.substr(0, 6))) return "";
  static const char* const ranges[] = {"00005 to 00009", "00000 to 00009", "00000 to 00099",
                                       "00000 to 00999"};
  return ranges[keptProductDigits(s.substr(1, 5))];
}

}  // namespace strimlo
