// Module patterns of the known symbols as readable "1010..." strings, and refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "patterns.h"

namespace strimlo {
namespace {

using PatternFn = std::optional<ModulePattern> (*)(std::string_view);

struct PatternRow {
  const char* what;
  PatternFn fn;
  std::string digits;
  std::string modules;  // empty: refused
};

std::string modulesOf(PatternFn fn, std::string_view digits) {
  const auto p = fn(digits);
  return p ? toString(*p) : std::string();
}

TEST(Patterns, KnownSymbols) {
  const PatternRow rows[] = {
      {"EAN-13 reference symbol, leading 5 = sets A B B A A B", bitpattern_ean13, "5901234123457",
       "101" "0001011" "0100111" "0110011" "0010011" "0111101" "0011101" "01010"
       "1100110" "1101100" "1000010" "1011100" "1001110" "1000100" "101"},
      {"leading 4 = sets A B A A B B; right half in set C", bitpattern_ean13, "4006381333931",
       "101" "0001101" "0100111" "0101111" "0111101" "0001001" "0110011" "01010"
       "1000010" "1000010" "1000010" "1110100" "1000010" "1100110" "101"},
      {"the window's default data", bitpattern_ean13, "4012345678901",
       "101" "0001101" "0110011" "0010011" "0111101" "0011101" "0111001" "01010"
       "1010000" "1000100" "1001000" "1110100" "1110010" "1100110" "101"},
      {"leading 0 = set A throughout", bitpattern_ean13, "0000000000000",
       "101" "0001101" "0001101" "0001101" "0001101" "0001101" "0001101" "01010"
       "1110010" "1110010" "1110010" "1110010" "1110010" "1110010" "101"},
      {"an ISBN as EAN-13, leading 9 = sets A B B A B A", bitpattern_ean13, "9780306406157",
       "101" "0111011" "0001001" "0100111" "0111101" "0100111" "0101111" "01010"
       "1011100" "1110010" "1010000" "1100110" "1001110" "1000100" "101"},
      {"EAN-8, left half set A, right half set C", bitpattern_ean8, "96385074",
       "101" "0001011" "0101111" "0111101" "0110111" "01010" "1001110" "1110010" "1000100"
       "1011100" "101"},
      {"EAN-8 of the EPS example", bitpattern_ean8, "40123455",
       "101" "0100011" "0001101" "0011001" "0010011" "01010" "1000010" "1011100" "1001110"
       "1001110" "101"},
      {"add-on check value 1 = sets B A B A A", bitpattern_addon5, "52495",
       "1011" "0111001" "01" "0010011" "01" "0011101" "01" "0001011" "01" "0110001"},
      {"add-on of the ISBN example, check value 8 = sets A B A A B", bitpattern_addon5, "51299",
       "1011" "0110001" "01" "0110011" "01" "0010011" "01" "0001011" "01" "0010111"},
      {"add-on check value 0 = sets B B A A A", bitpattern_addon5, "00000",
       "1011" "0100111" "01" "0100111" "01" "0001101" "01" "0001101" "01" "0001101"},
      {"2-digit add-on, 12 mod 4 = 0: A A", bitpattern_addon2, "12",
       "1011" "0011001" "01" "0010011"},
      {"2-digit add-on, 13 mod 4 = 1: A B", bitpattern_addon2, "13",
       "1011" "0011001" "01" "0100001"},
      {"2-digit add-on, 14 mod 4 = 2: B A", bitpattern_addon2, "14",
       "1011" "0110011" "01" "0100011"},
      {"2-digit add-on, 15 mod 4 = 3: B B", bitpattern_addon2, "15",
       "1011" "0110011" "01" "0111001"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(modulesOf(r.fn, r.digits), r.modules) << r.digits;
  }
}

TEST(Patterns, RefusesWrongLengthsAndNonDigits) {
  const PatternRow rows[] = {
      {"EAN-13 of 12 digits", bitpattern_ean13, "400638133393", ""},
      {"EAN-13 of 14 digits", bitpattern_ean13, "40063813339310", ""},
      {"EAN-13 of nothing", bitpattern_ean13, "", ""},
      {"EAN-13 with a non-digit leading digit (selects the sets)", bitpattern_ean13, "A006381333931", ""},
      {"EAN-13 with a non-digit last digit", bitpattern_ean13, "400638133393X", ""},
      {"EAN-13 with a byte above 127", bitpattern_ean13, "40063813\xFF" "3931", ""},
      {"EAN-8 of 7 digits", bitpattern_ean8, "9638507", ""},
      {"EAN-8 of 9 digits", bitpattern_ean8, "963850745", ""},
      {"EAN-8 with a space", bitpattern_ean8, "9638 074", ""},
      {"add-on of 4 digits", bitpattern_addon5, "5249", ""},
      {"add-on of 6 digits", bitpattern_addon5, "524950", ""},
      {"add-on with a letter", bitpattern_addon5, "5249a", ""},
      {"add-on with a price-like text", bitpattern_addon5, "$5.99", ""},
      {"add-on with a leading space", bitpattern_addon5, " 5249", ""},
      {"2-digit add-on of 1 digit", bitpattern_addon2, "1", ""},
      {"2-digit add-on of 3 digits", bitpattern_addon2, "123", ""},
      {"2-digit add-on with a letter", bitpattern_addon2, "1a", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_FALSE(r.fn(r.digits).has_value()) << r.digits;
  }
}

// Every leading digit and every digit value in every position: the lengths, the guards
// and the bar/space sequence the renderers rely on.
TEST(Patterns, ShapeHoldsForEveryDigit) {
  for (char d = '0'; d <= '9'; ++d) {
    SCOPED_TRACE(std::string("digit ") + d);
    const std::string ean13 = modulesOf(bitpattern_ean13, std::string(1, d) + "123456789012");
    ASSERT_EQ(ean13.size(), 95u);
    EXPECT_EQ(ean13.substr(0, 3), "101");
    EXPECT_EQ(ean13.substr(45, 5), "01010");
    EXPECT_EQ(ean13.substr(92), "101");
    const std::string same = modulesOf(bitpattern_ean13, std::string(13, d));
    EXPECT_EQ(same.size(), 95u);
    const std::string ean8 = modulesOf(bitpattern_ean8, std::string(8, d));
    ASSERT_EQ(ean8.size(), 67u);
    EXPECT_EQ(ean8.substr(0, 3), "101");
    EXPECT_EQ(ean8.substr(31, 5), "01010");
    EXPECT_EQ(ean8.substr(64), "101");
    const std::string addon5 = modulesOf(bitpattern_addon5, std::string(5, d));
    ASSERT_EQ(addon5.size(), 47u);
    EXPECT_EQ(addon5.substr(0, 4), "1011");
    for (int sep : {11, 20, 29, 38}) EXPECT_EQ(addon5.substr(sep, 2), "01") << sep;
    EXPECT_EQ(addon5.back(), '1');
    const std::string addon2 = modulesOf(bitpattern_addon2, std::string(2, d));
    ASSERT_EQ(addon2.size(), 20u);
    EXPECT_EQ(addon2.substr(11, 2), "01");
    EXPECT_EQ(addon2.back(), '1');
  }
}

// Every 5-digit add-on check value 0..9 picks its own set row. A set A digit has an odd
// number of bar modules, a set B digit an even one, so the sets can be read back from
// the modules without our tables.
TEST(Patterns, AddonSetsFollowTheCheckValue) {
  // Row k: an add-on text whose check value is k, and its sets, left to right.
  const std::array<std::pair<const char*, const char*>, 10> rows = {{
      {"00000", "BBAAA"}, {"00007", "BABAA"}, {"00004", "BAABA"}, {"00001", "BAAAB"},
      {"00008", "ABBAA"}, {"00005", "AABBA"}, {"00002", "AAABB"}, {"00009", "ABABA"},
      {"00006", "ABAAB"}, {"00003", "AABAB"},
  }};
  for (int check = 0; check < 10; ++check) {
    const auto& [text, sets] = rows[static_cast<std::size_t>(check)];
    SCOPED_TRACE(text);
    const std::string m = modulesOf(bitpattern_addon5, text);
    ASSERT_EQ(m.size(), 47u);
    std::string got;
    for (int j = 0; j < 5; ++j) {
      const std::string digit = m.substr(4 + 9 * static_cast<std::size_t>(j), 7);
      const auto bars = std::count(digit.begin(), digit.end(), '1');
      got.push_back(bars % 2 ? 'A' : 'B');
    }
    EXPECT_EQ(got, sets) << "check value " << check;
  }
}

TEST(Patterns, ToStringWritesOneCharacterPerModule) {
  EXPECT_EQ(toString({}), "");
  EXPECT_EQ(toString({1, 0, 1, 1, 0}), "10110");
}

}  // namespace
}  // namespace strimlo
