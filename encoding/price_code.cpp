#include "price_code.h"

#include <array>
#include <cctype>
#include <optional>

#include "digits.h"

namespace strimlo {

namespace {

struct Currency {
  const char* code;
  char digit;  // the add-on's first digit
};

// Pound sterling takes 0 (1 is its other digit, read back below).
constexpr std::array<Currency, 5> kCurrencies = {
    {{"USD", '5'}, {"CAD", '6'}, {"GBP", '0'}, {"AUD", '3'}, {"NZD", '4'}}};

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Cents of "19", "19.9" or "19.99" (a comma for the point too); none for anything else.
std::optional<long> cents(std::string_view amount, bool comma) {
  const std::size_t point = amount.find_first_of(comma ? ".," : ".");
  const std::string_view whole = amount.substr(0, point);
  const std::string_view part = point == std::string_view::npos ? "" : amount.substr(point + 1);
  if (whole.empty() || whole.size() > 9 || !allDigits(whole) || part.size() > 2 ||
      !allDigits(part) || (point != std::string_view::npos && part.empty()))
    return std::nullopt;
  std::string fraction(part);
  fraction.resize(2, '0');
  return std::stol(std::string(whole)) * 100 + std::stol(fraction);
}

std::string amountText(long c) {
  const std::string fraction = std::to_string(c % 100);
  return std::to_string(c / 100) + "." + (fraction.size() < 2 ? "0" : "") + fraction;
}

// The text as a message may echo it: printable ASCII, the rest "?", at most 40 bytes.
std::string shown(std::string_view text) {
  std::string out(text.substr(0, 40));
  for (char& c : out)
    if (c < 0x20 || c > 0x7E) c = '?';
  return out;
}

}  // namespace

PriceCode parsePriceCode(std::string_view text) {
  PriceCode out;
  const std::string_view t = trimmed(text);
  if (upper(t) == "NONE") {
    out.addon = "90000";
    return out;
  }
  const std::string code = upper(t.substr(0, 3));
  const Currency* currency = nullptr;
  for (const Currency& c : kCurrencies)
    if (code == c.code) currency = &c;
  const auto amount = t.size() > 3 ? cents(trimmed(t.substr(3)), false) : std::nullopt;
  if (currency == nullptr || !amount) {
    out.error = "a price code is USD, CAD, GBP, AUD or NZD and an amount of at most two "
                "decimals (\"USD 19.99\"), or none; got \"" + shown(text) + "\"";
    return out;
  }
  const long c = *amount >= 9999 ? 9999 : *amount;
  const std::string four = std::to_string(10000 + c).substr(1);
  out.addon = currency->digit + four;
  out.line = std::string(currency->code) + " " + amountText(*amount);
  if (*amount >= 9999)
    out.note = "price code: " + out.line + " is 99.99 or more; the add-on says so with " + out.addon;
  return out;
}

std::string priceMismatchNote(std::string_view addon, std::string_view price) {
  if (addon.size() != 5 || !allDigits(addon) || price.empty()) return {};
  // The price's currency and amount, when it names one of the five.
  const std::string p = upper(price);
  const Currency* named = nullptr;
  std::size_t at = std::string::npos;
  for (const Currency& c : kCurrencies)
    if (const std::size_t i = p.find(c.code); i != std::string::npos) named = &c, at = i;
  if (named == nullptr) return {};
  std::string_view rest = trimmed(std::string_view(p).substr(at + 3));
  if (rest.empty()) rest = trimmed(std::string_view(p).substr(0, at));
  const auto amount = cents(rest, true);
  if (!amount) return {};
  const char digit = addon[0] == '1' ? '0' : addon[0];
  if (digit == '2' || digit == '7' || digit == '8') return {};  // no currency of the trade's
  const long addonCents = std::stol(std::string(addon.substr(1)));
  const std::string line = std::string(named->code) + " " + amountText(*amount);
  const std::string said = "price: the add-on " + std::string(addon) + " and the line's " + line;
  if (digit == '9') return said + " disagree: the add-on gives no price";
  if (digit != named->digit) return said + " name different currencies";
  const bool same = addonCents == 9999 ? *amount >= 9999 : addonCents == *amount;
  return same ? std::string() : said + " name different amounts";
}

}  // namespace strimlo
