// The book trade's price add-on: a price to its five digits and line, and the notes for
// an add-on and a price line that disagree.
#include <gtest/gtest.h>

#include <string>

#include "price_code.h"

namespace strimlo {
namespace {

TEST(PriceCode, FromAPrice) {
  struct Row {
    const char* what;
    const char* text;
    const char* addon;  // "" when refused
    const char* line;
    bool note;          // a note that the add-on cannot hold the amount
  };
  const Row rows[] = {
      {"US dollars: 5 and the cents", "USD 19.99", "51999", "USD 19.99", false},
      {"Canadian dollars: 6", "CAD 5.00", "60500", "CAD 5.00", false},
      {"pound sterling: 0", "GBP 7.99", "00799", "GBP 7.99", false},
      {"Australian dollars: 3", "AUD 24.95", "32495", "AUD 24.95", false},
      {"New Zealand dollars: 4", "NZD 30", "43000", "NZD 30.00", false},
      {"lower case, one decimal, spaces around", "  usd 12.9 ", "51290", "USD 12.90", false},
      {"no space after the currency", "USD9.99", "50999", "USD 9.99", false},
      {"a price of nothing", "USD 0", "50000", "USD 0.00", false},
      {"99.99 exactly fills the add-on", "USD 99.99", "59999", "USD 99.99", true},
      {"over 99.99: x9999 with a note", "CAD 125.00", "69999", "CAD 125.00", true},
      {"none: 90000, the recommendation when no price is set", "none", "90000", "", false},
      {"NONE in capitals", "NONE", "90000", "", false},
      {"an unknown currency", "EUR 9.99", "", "", false},
      {"three decimals", "USD 19.999", "", "", false},
      {"a negative amount", "USD -5.00", "", "", false},
      {"no amount", "USD", "", "", false},
      {"a point and no decimals", "USD 5.", "", "", false},
      {"a decimal comma is not a point", "USD 5,00", "", "", false},
      {"an amount alone", "19.99", "", "", false},
      {"nothing", "", "", "", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const PriceCode p = parsePriceCode(r.text);
    EXPECT_EQ(p.addon, r.addon);
    EXPECT_EQ(p.line, r.line);
    EXPECT_EQ(!p.note.empty(), r.note) << p.note;
    EXPECT_EQ(p.error.empty(), *r.addon != '\0');
    if (!p.error.empty()) {
      EXPECT_NE(p.error.find("USD, CAD, GBP, AUD or NZD"), std::string::npos) << p.error;
    }
  }
}

TEST(PriceCode, AddOnAndPriceLineAgree) {
  struct Row {
    const char* what;
    const char* addon;
    const char* price;
    const char* says;  // part of the note; "" for none
  };
  const Row rows[] = {
      {"the same price", "51999", "USD 19.99", ""},
      {"the currency after the amount", "51999", "19.99 USD", ""},
      {"a decimal comma", "00799", "GBP 7,99", ""},
      {"1 is pound sterling too", "10799", "GBP 7.99", ""},
      {"x9999 for a higher price", "59999", "USD 120.00", ""},
      {"another currency", "51299", "CAD 5.00", "name different currencies"},
      {"another amount", "51299", "USD 12.95", "name different amounts"},
      {"x9999 for a lower price", "59999", "USD 12.00", "name different amounts"},
      {"90000: no price given", "90000", "USD 12.99", "the add-on gives no price"},
      {"a price line naming no known currency", "51299", "$12.99", ""},
      {"a price line that is no price", "51299", "USD twelve", ""},
      {"an add-on of the trade's unused digits", "71299", "USD 12.99", ""},
      {"no price line", "51299", "", ""},
      {"no add-on", "", "USD 12.99", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const std::string note = priceMismatchNote(r.addon, r.price);
    if (*r.says == '\0') {
      EXPECT_EQ(note, "");
    } else {
      EXPECT_NE(note.find(r.says), std::string::npos) << note;
    }
  }
}

}  // namespace
}  // namespace strimlo
