// Check digits of EAN-13 and EAN-8: known values, and every way a text is refused.
#include <gtest/gtest.h>

#include <string>

#include "checksum.h"

namespace strimlo {
namespace {

struct CheckRow {
  const char* what;
  std::string text;
  int expected;  // -1: refused
};

TEST(Checksum, Ean13) {
  const CheckRow rows[] = {
      {"twelve data digits", "400638133393", 1},
      {"a correct typed check digit is ignored", "4006381333931", 1},
      {"a wrong typed check digit is ignored too", "4006381333930", 1},
      {"the window's default data", "401234567890", 1},
      {"ISBN prefix and nine ISBN digits", "978030640615", 7},
      {"sum a multiple of ten gives 0, not 10", "000000000000", 0},
      {"weight 3 sits on index 11 (next to the check digit)", "000000000001", 7},
      {"weight 1 sits on index 10", "000000000010", 9},
      {"weight 1 on index 0", "100000000000", 9},
      {"largest digits", "999999999999", 4},
      {"eleven digits", "40063813339", -1},
      {"fourteen digits", "40063813339310", -1},
      {"empty", "", -1},
      {"a letter among the data", "40063A133393", -1},
      {"a space among the data", "400638 33393", -1},
      {"a hyphen among the data", "400-38133393", -1},
      {"a letter in the check digit place", "400638133393X", -1},
      {"a space in the check digit place", "400638133393 ", -1},
      {"a hyphen in the check digit place", "400638133393-", -1},
      {"a character just below '0'", "40063813339/", -1},
      {"a character just above '9'", "40063813339:", -1},
      {"a byte above 127", "40063813339\xE9", -1},
      {"an embedded NUL counts as a non-digit", std::string("40063813\0" "393", 12), -1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(checksum_ean13(r.text), r.expected) << '"' << r.text << '"';
  }
}

TEST(Checksum, Ean8) {
  const CheckRow rows[] = {
      {"seven data digits", "9638507", 4},
      {"an eighth digit is accepted and ignored", "96385070", 4},
      {"sum a multiple of ten gives 0", "1234567", 0},
      {"the EAN-8 of the EPS example", "4012345", 5},
      {"weight 3 sits on index 6 (next to the check digit)", "0000001", 7},
      {"weight 1 sits on index 5", "0000010", 9},
      {"weight 3 sits on index 0", "1000000", 7},
      {"all zeros", "0000000", 0},
      {"six digits", "963850", -1},
      {"nine digits", "963850745", -1},
      {"empty", "", -1},
      {"a letter among the data", "96a8507", -1},
      {"a space among the data", "963 507", -1},
      {"a hyphen among the data", "963-507", -1},
      {"a letter in the check digit place", "9638507X", -1},
      {"a hyphen in the check digit place", "9638507-", -1},
      {"thirteen digits are not an EAN-8", "4006381333931", -1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(checksum_ean8(r.text), r.expected) << '"' << r.text << '"';
  }
}

TEST(Checksum, SanitizersHandBackTheirTextUnchanged) {
  EXPECT_EQ(SanitizeData("ignored", "0-306-40615-2"), "0-306-40615-2");
  EXPECT_EQ(SanitizeData("", ""), "");
  EXPECT_EQ(SanitizeAddon("5a(99"), "5a(99");
  EXPECT_EQ(SanitizePrice(" $12.99 "), " $12.99 ");
}

}  // namespace
}  // namespace strimlo
