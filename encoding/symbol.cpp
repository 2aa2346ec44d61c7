#include "symbol.h"

#include "checksum.h"
#include "digits.h"

namespace strimlo {

namespace {

struct Rules {
  std::size_t dataDigits;  // digits before the check digit
  int (*checksum)(std::string_view);
  std::optional<ModulePattern> (*pattern)(std::string_view);
};

Rules rulesFor(CodeType type) {
  if (type == kEAN8) return {7, checksum_ean8, bitpattern_ean8};
  return {12, checksum_ean13, bitpattern_ean13};
}

std::string withoutHyphens(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text)
    if (ch != '-') out.push_back(ch);
  return out;
}

// The data digits (without check digit) of an EAN text, or of an ISBN as EAN-13.
Refusal dataDigits(CodeType type, std::string_view text, std::string& data, char& typed) {
  if (!isIsbn(type)) {
    const std::size_t n = rulesFor(type).dataDigits;
    if (text.size() != n && text.size() != n + 1) return Refusal::DataLength;
    if (!allDigits(text)) return Refusal::DataNotDigits;
    data.assign(text.substr(0, n));
    typed = text.size() == n + 1 ? text[n] : 0;
    return Refusal::None;
  }
  // Only hyphens go; a space or any other separator makes the length wrong.
  const std::string isbn = withoutHyphens(text);
  const std::size_t length = type == kISBN10 ? 10 : 13;
  if (isbn.size() != length) return Refusal::DataLength;
  // The ISBN's own check character takes no part in the EAN-13 digits.
  data = (type == kISBN10 ? "978" : "") + isbn.substr(0, length - 1);
  typed = isbn.back();
  return allDigits(data) ? Refusal::None : Refusal::DataNotDigits;
}

}  // namespace

Completion completeSymbol(CodeType type, std::string_view text, std::string_view addon,
                          std::string_view price) {
  if (type < kEAN8 || type > kISBN13) return {std::nullopt, Refusal::UnknownType};
  Symbol s;
  s.type = type;
  if (auto r = dataDigits(type, text, s.digits, s.typedCheck); r != Refusal::None)
    return {std::nullopt, r};
  const Rules rules = rulesFor(type);
  // A typed check digit is replaced by the computed one, never compared.
  s.digits.push_back(static_cast<char>('0' + rules.checksum(s.digits)));
  s.pattern = *rules.pattern(s.digits);
  if (isIsbn(type)) {
    if (addon.size() == 5) {
      s.addon = bitpattern_addon5(addon);
      if (!s.addon) return {std::nullopt, Refusal::AddonNotDigits};
    }
    s.isbnLine = "ISBN " + std::string(text);
    s.addonText = addon;
    s.priceText = price;
  }
  return {std::move(s), Refusal::None};
}

std::string refusalMessage(Refusal refusal, CodeType type, std::string_view data,
                           std::string_view addon) {
  const std::string name = codeTypeName(type);
  switch (refusal) {
    case Refusal::None: return {};
    case Refusal::UnknownType:
      return "unknown code type " + std::to_string(type) + " (0 EAN-8, 1 EAN-13, 2 ISBN-10, 3 ISBN-13)";
    case Refusal::DataLength:
      if (type == kEAN8 || type == kEAN13) {
        const char* want = type == kEAN8 ? "7 or 8" : "12 or 13";
        return name + " needs " + want + " digits; got " + std::to_string(data.size());
      } else {
        const std::size_t got = withoutHyphens(data).size();
        return name + " needs " + (type == kISBN10 ? "10" : "13") +
               " characters besides hyphens; got " + std::to_string(got);
      }
    case Refusal::DataNotDigits:
      return name + " takes digits only" + (isIsbn(type) ? " (and hyphens)" : "") +
             "; got \"" + std::string(data) + "\"";
    case Refusal::AddonNotDigits:
      return "the add-on must be 5 digits; got \"" + std::string(addon) + "\"";
  }
  return {};
}

char isbn10CheckChar(std::string_view nine) {
  if (nine.size() < 9 || !allDigits(nine.substr(0, 9))) return 0;
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += (10 - i) * (nine[i] - '0');
  const int check = (11 - sum % 11) % 11;
  return check == 10 ? 'X' : static_cast<char>('0' + check);
}

char expectedCheckChar(const Symbol& symbol) {
  if (symbol.type == kISBN10) return isbn10CheckChar(std::string_view(symbol.digits).substr(3, 9));
  return symbol.digits.back();
}

char wrongCheckChar(const Symbol& symbol) {
  const char typed = symbol.typedCheck;
  if (typed == 0) return 0;
  const char expected = expectedCheckChar(symbol);
  if (typed == expected || (expected == 'X' && typed == 'x')) return 0;
  return expected;
}

}  // namespace strimlo
