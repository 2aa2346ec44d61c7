// From typed texts to the digits a symbol encodes: EAN completion, ISBN normalisation,
// the add-on rule, and the refusals with their messages.
#include <gtest/gtest.h>

#include <string>

#include "symbol.h"

namespace strimlo {
namespace {

struct CompletionRow {
  const char* what;
  CodeType type;
  std::string data;
  std::string addon;
  std::string digits;  // expected completed digits; empty when refused
  Refusal refusal;
};

TEST(Symbol, CompletesAndNormalises) {
  const CompletionRow rows[] = {
      {"EAN-13 data digits get their check digit", kEAN13, "400638133393", "", "4006381333931", Refusal::None},
      {"a correct typed check digit stays", kEAN13, "4006381333931", "", "4006381333931", Refusal::None},
      {"a wrong typed check digit is replaced, not verified", kEAN13, "4006381333930", "", "4006381333931", Refusal::None},
      {"the window's default", kEAN13, "401234567890", "", "4012345678901", Refusal::None},
      {"EAN-8 data digits", kEAN8, "9638507", "", "96385074", Refusal::None},
      {"EAN-8 with a wrong check digit", kEAN8, "96385070", "", "96385074", Refusal::None},
      {"EAN-8 whose check digit is 0", kEAN8, "1234567", "", "12345670", Refusal::None},
      {"EAN-13 of 11 digits", kEAN13, "40063813339", "", "", Refusal::DataLength},
      {"EAN-13 of 14 digits", kEAN13, "40063813339310", "", "", Refusal::DataLength},
      {"EAN-13 of nothing", kEAN13, "", "", "", Refusal::DataLength},
      {"EAN-8 of 6 digits", kEAN8, "963850", "", "", Refusal::DataLength},
      {"EAN-8 of 9 digits", kEAN8, "963850745", "", "", Refusal::DataLength},
      {"EAN-13 with a letter", kEAN13, "40063813339A", "", "", Refusal::DataNotDigits},
      {"EAN-13 with a space", kEAN13, "4006381 33393", "", "", Refusal::DataNotDigits},
      {"EAN-13 with a hyphen instead of a digit", kEAN13, "4006-8133393", "", "", Refusal::DataNotDigits},
      {"EAN-13 with a letter in the check place", kEAN13, "400638133393X", "", "", Refusal::DataNotDigits},
      {"EAN-8 with a hyphen in the check place", kEAN8, "9638507-", "", "", Refusal::DataNotDigits},
      {"EAN hyphens are not removed", kEAN13, "400-638133393", "", "", Refusal::DataNotDigits},
      {"ISBN-10 with hyphens", kISBN10, "0-306-40615-2", "", "9780306406157", Refusal::None},
      {"ISBN-10 without hyphens", kISBN10, "0306406152", "", "9780306406157", Refusal::None},
      {"ISBN-10 check character is not verified", kISBN10, "0306406150", "", "9780306406157", Refusal::None},
      {"ISBN-10 ending in X", kISBN10, "0-8044-2957-X", "", "9780804429573", Refusal::None},
      {"ISBN-10 ending in any character", kISBN10, "080442957?", "", "9780804429573", Refusal::None},
      {"ISBN-10 grouped with spaces", kISBN10, "0 8044 2957 X", "", "9780804429573", Refusal::None},
      {"ISBN-13 grouped with spaces", kISBN13, "978 1 4028 9462 6", "", "9781402894626", Refusal::None},
      {"ISBN-10 grouped with dots: 13 characters remain", kISBN10, "0.8044.2957.X", "", "", Refusal::DataLength},
      {"ISBN-10 of nine digits", kISBN10, "080442957", "", "", Refusal::DataLength},
      {"ISBN-10 with a trailing hyphen", kISBN10, "0-306-40615-2-", "", "9780306406157", Refusal::None},
      {"ISBN-10 with doubled hyphens", kISBN10, "0--306--40615--2", "", "9780306406157", Refusal::None},
      {"ISBN-10 of hyphens only", kISBN10, "----------", "", "", Refusal::DataLength},
      {"ISBN-10 with a letter among its digits", kISBN10, "0-306-4O615-2", "", "", Refusal::DataNotDigits},
      {"ISBN-13 with hyphens", kISBN13, "978-0-306-40615-7", "", "9780306406157", Refusal::None},
      {"ISBN-13 ending in X", kISBN13, "978030640615X", "", "9780306406157", Refusal::None},
      {"ISBN-13 with a wrong check digit", kISBN13, "9780306406150", "", "9780306406157", Refusal::None},
      {"ISBN-13 with the 979 prefix", kISBN13, "979-10-90636-07-1", "", "9791090636071", Refusal::None},
      {"ISBN-13 of 12 characters", kISBN13, "978-0-306-40615", "", "", Refusal::DataLength},
      {"ISBN-13 of 14 characters", kISBN13, "97803064061577", "", "", Refusal::DataLength},
      {"ISBN-13 with a letter among its digits", kISBN13, "97803064O6157", "", "", Refusal::DataNotDigits},
      {"ISBN with a 5-digit add-on", kISBN13, "9783161484100", "51299", "9783161484100", Refusal::None},
      {"ISBN with a 4-digit add-on: refused, not left out", kISBN13, "9783161484100", "5129", "", Refusal::AddonLength},
      {"ISBN with a 6-digit add-on: refused", kISBN10, "0306406152", "512990", "", Refusal::AddonLength},
      {"ISBN with a 2-digit add-on: refused, books take 5", kISBN13, "9783161484100", "03", "", Refusal::AddonLength},
      {"ISBN with an empty add-on: none", kISBN13, "9783161484100", "", "9783161484100", Refusal::None},
      {"ISBN with a 5-character add-on holding a letter", kISBN13, "9783161484100", "5129a", "", Refusal::AddonNotDigits},
      {"ISBN with a 5-character add-on holding a space", kISBN10, "0306406152", "5 299", "", Refusal::AddonNotDigits},
      {"the data is refused before the add-on is looked at", kISBN13, "12", "5129a", "", Refusal::DataLength},
      {"EAN ignores the add-on text", kEAN13, "401234567890", "abcde", "4012345678901", Refusal::None},
      {"code type -1", -1, "401234567890", "", "", Refusal::UnknownType},
      {"code type 10", 10, "401234567890", "", "", Refusal::UnknownType},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const Completion c = completeSymbol(r.type, r.data, r.addon, "");
    EXPECT_EQ(c.refusal, r.refusal) << r.data;
    EXPECT_EQ(c.symbol.has_value(), r.refusal == Refusal::None);
    if (c.symbol) {
      EXPECT_EQ(c.symbol->digits, r.digits);
    }
  }
}

TEST(Symbol, CarriesPatternsAndTexts) {
  const auto isbn = completeSymbol(kISBN10, "0-306-40615-2", "51299", "$12.99").symbol;
  ASSERT_TRUE(isbn);
  EXPECT_EQ(isbn->type, kISBN10);
  EXPECT_EQ(toString(isbn->pattern), toString(*bitpattern_ean13("9780306406157")));
  ASSERT_TRUE(isbn->addon);
  EXPECT_EQ(toString(*isbn->addon), toString(*bitpattern_addon5("51299")));
  EXPECT_EQ(isbn->isbnLine, "ISBN 0-306-40615-2");  // as typed, hyphens kept
  EXPECT_EQ(isbn->addonText, "51299");
  EXPECT_EQ(isbn->priceText, "$12.99");
  EXPECT_EQ(isbn->typedCheck, '2');

  const auto noAddon = completeSymbol(kISBN13, "978030640615X", "", "").symbol;
  ASSERT_TRUE(noAddon);
  EXPECT_FALSE(noAddon->addon);
  EXPECT_EQ(noAddon->addonText, "");
  EXPECT_EQ(noAddon->priceText, "");
  EXPECT_EQ(noAddon->isbnLine, "ISBN 9780306406157");  // the check character mended
  EXPECT_EQ(noAddon->typedCheck, 'X');

  const auto ean8 = completeSymbol(kEAN8, "9638507", "51299", "1.00").symbol;
  ASSERT_TRUE(ean8);
  EXPECT_EQ(ean8->pattern.size(), 67u);
  EXPECT_FALSE(ean8->addon);
  EXPECT_EQ(ean8->isbnLine, "");
  EXPECT_EQ(ean8->addonText, "");
  EXPECT_EQ(ean8->priceText, "");
  EXPECT_EQ(ean8->typedCheck, 0);

  const auto ean13 = completeSymbol(kEAN13, "4006381333930").symbol;
  ASSERT_TRUE(ean13);
  EXPECT_EQ(ean13->pattern.size(), 95u);
  EXPECT_EQ(ean13->typedCheck, '0');
}

// An ISBN-13 is 978, or 979 and 1 to 9; the ranges next to them belong to other numbers,
// which a scanner would read as such. An ISBN-10 is always 978.
TEST(Symbol, IsbnPrefixes) {
  struct Row {
    const char* what;
    CodeType type;
    const char* data;
    Refusal refusal;
    const char* message;  // "" when accepted
  };
  const Row rows[] = {
      {"978", kISBN13, "978-3-16-148410-0", Refusal::None, ""},
      {"979-1", kISBN13, "979-10-90636-07-1", Refusal::None, ""},
      {"979-8", kISBN13, "979-8-9876543-0-9", Refusal::None, ""},
      {"979-9, the last of 979", kISBN13, "9799000000004", Refusal::None, ""},
      {"979-0 is the ISMN range", kISBN13, "979-0-2600-0043-8", Refusal::IsbnIsmnRange,
       "979-0 is the ISMN range: use --type ismn"},
      {"979-0 without hyphens", kISBN13, "9790260000438", Refusal::IsbnIsmnRange,
       "979-0 is the ISMN range: use --type ismn"},
      {"977 is the ISSN range", kISBN13, "977-0317-847-00-1", Refusal::IsbnIssnRange,
       "977 is the ISSN range: use --type issn"},
      {"an EAN-13 of another prefix", kISBN13, "123-4-567-89012-0", Refusal::IsbnPrefix,
       "an ISBN-13 starts 978, or 979 and a digit from 1 to 9; got \"123-4-567-89012-0\""},
      {"980, beside 979", kISBN13, "9800000000001", Refusal::IsbnPrefix,
       "an ISBN-13 starts 978, or 979 and a digit from 1 to 9; got \"9800000000001\""},
      {"a letter is refused before the prefix is looked at", kISBN13, "97703178470a1",
       Refusal::DataNotDigits, "ISBN-13 takes digits only (and hyphens); got \"97703178470a1\""},
      {"an ISBN-10 starting 0 is 978-0", kISBN10, "0-306-40615-2", Refusal::None, ""},
      {"an ISBN-10 starting 9 is 978-9", kISBN10, "9-9999-9999-9", Refusal::None, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const Completion c = completeSymbol(r.type, r.data);
    EXPECT_EQ(c.refusal, r.refusal);
    EXPECT_EQ(refusalMessage(c.refusal, r.type, r.data, ""), r.message);
  }
}

TEST(Symbol, RefusalMessages) {
  struct Row {
    const char* what;
    CodeType type;
    std::string data;
    std::string addon;
    std::string message;
  };
  const Row rows[] = {
      {"EAN-13 too short", kEAN13, "12345", "", "EAN-13 needs 12 or 13 digits; got 5"},
      {"EAN-8 empty", kEAN8, "", "", "EAN-8 needs 7 or 8 digits; got 0"},
      {"EAN-8 too long", kEAN8, "123456789", "", "EAN-8 needs 7 or 8 digits; got 9"},
      {"EAN-13 with a letter", kEAN13, "40123456789O", "",
       "EAN-13 takes digits only; got \"40123456789O\""},
      {"ISBN-10 with dots counts what is left without hyphens and spaces", kISBN10,
       "0-8044 2957.X", "", "ISBN-10 needs 10 characters besides hyphens; got 11"},
      {"ISBN-13 too short", kISBN13, "978-0-306", "",
       "ISBN-13 needs 13 characters besides hyphens; got 7"},
      {"ISBN-13 with a letter", kISBN13, "978-0-306-4O615-7", "",
       "ISBN-13 takes digits only (and hyphens); got \"978-0-306-4O615-7\""},
      {"add-on with a letter", kISBN13, "9780306406157", "12a45",
       "the add-on must be 5 digits; got \"12a45\""},
      {"an ISBN add-on of 4 digits", kISBN13, "9780306406157", "5199",
       "the add-on must be 5 digits; got \"5199\""},
      {"unknown code type", 10, "401234567890", "",
       "unknown code type 10 (0 EAN-8, 1 EAN-13, 2 ISBN-10, 3 ISBN-13, 4 UPC-A, 5 UPC-E, 6 ISSN, "
       "7 ISMN, 8 GS1 QR Code, 9 GS1 DataMatrix)"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const Completion c = completeSymbol(r.type, r.data, r.addon, "");
    ASSERT_FALSE(c.symbol);
    EXPECT_EQ(refusalMessage(c.refusal, r.type, r.data, r.addon), r.message);
  }
  EXPECT_EQ(refusalMessage(Refusal::None, kEAN13, "401234567890", ""), "");
}

TEST(Symbol, Isbn10CheckCharacter) {
  struct Row {
    const char* nine;
    char expected;
  };
  const Row rows[] = {
      {"030640615", '2'},  // the usual textbook ISBN
      {"080442957", 'X'},  // remainder 10 is written X
      {"000000000", '0'},  // sum 0 gives 0, not 11
      {"999999999", '9'},
      {"306406152", '6'},
  };
  for (const auto& r : rows) EXPECT_EQ(isbn10CheckChar(r.nine), r.expected) << r.nine;
  // Too short or not digits: no character rather than a read past the text.
  EXPECT_EQ(isbn10CheckChar("03064"), 0);
  EXPECT_EQ(isbn10CheckChar(""), 0);
  EXPECT_EQ(isbn10CheckChar("0306X0615"), 0);
}

TEST(Symbol, ExpectedCheckCharacter) {
  struct Row {
    const char* what;
    CodeType type;
    const char* data;
    char expected;
  };
  const Row rows[] = {
      {"EAN-13: its check digit", kEAN13, "4006381333930", '1'},
      {"EAN-8: its check digit", kEAN8, "9638507", '4'},
      {"ISBN-10: modulo 11, not the EAN check digit", kISBN10, "0-306-40615-0", '2'},
      {"ISBN-10 whose check is X", kISBN10, "0-8044-2957-1", 'X'},
      {"ISBN-13: the EAN check digit", kISBN13, "978-0-306-40615-X", '7'},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const auto s = completeSymbol(r.type, r.data).symbol;
    ASSERT_TRUE(s);
    EXPECT_EQ(expectedCheckChar(*s), r.expected);
  }
}

}  // namespace
}  // namespace strimlo
