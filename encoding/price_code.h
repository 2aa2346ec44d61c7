#pragma once
// The book trade's 5-digit price add-on: its first digit the currency, the other four
// the price in cents. 5 US dollar, 6 Canadian dollar (reserved for it, though sources
// disagree and Canadian books mostly carry 5 and the US price), 0 and 1 pound sterling,
// 3 Australian dollar, 4 New Zealand dollar; x9999 for 99.99 or more; 90000 no price
// given, 90000-98999 internal use, 99990 used book, 99991 complimentary copy.
#include <string>
#include <string_view>

namespace strimlo {

struct PriceCode {
  std::string addon;  // "51999"; "" when the text is refused
  std::string line;   // the price line it implies: "USD 19.99"; "" for none
  std::string note;   // for a price of 99.99 or more, which the add-on cannot hold
  std::string error;  // why the text is refused, naming what is accepted
};

// "USD 19.99", "usd 19.9", "GBP 7" (also CAD, AUD, NZD), or "none" for 90000.
PriceCode parsePriceCode(std::string_view text);

// A note when a price add-on and a price line name different currencies or amounts, ""
// when they agree or either cannot be read as a price.
std::string priceMismatchNote(std::string_view addon, std::string_view price);

}  // namespace strimlo
