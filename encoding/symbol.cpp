#include "symbol.h"

#include <algorithm>
#include <utility>

#include "checksum.h"
#include "digits.h"
#include "gs1.h"
#include "symbologies.h"
#include "upc.h"

namespace strimlo {

namespace {

int checksumUpcE(std::string_view digits) {
  return checksum_upca(expandUpcE(digits.substr(0, 7)));
}

struct Rules {
  std::size_t dataDigits;  // digits before the check digit
  int (*checksum)(std::string_view);
  std::optional<ModulePattern> (*pattern)(std::string_view);
};

Rules rulesFor(CodeType type) {
  switch (type) {
    case kEAN8: return {7, checksum_ean8, bitpattern_ean8};
    case kUPCA: return {11, checksum_upca, bitpattern_upca};
    case kUPCE: return {7, checksumUpcE, bitpattern_upce};  // number system and six digits
    default: return {12, checksum_ean13, bitpattern_ean13};
  }
}

// Hyphens and spaces group the digits of an ISBN, ISSN or ISMN; they take no part in it.
std::string withoutHyphens(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text)
    if (ch != '-' && ch != ' ') out.push_back(ch);
  return out;
}

// An ISSN text's number and its sequence variant: the variant follows the last space when
// what stands before it is a whole ISSN ("0317 8471 03"); else the text is the number.
std::pair<std::string, std::string_view> issnParts(std::string_view text) {
  const std::size_t space = text.rfind(' ');
  if (space != std::string_view::npos) {
    std::string number = withoutHyphens(text.substr(0, space));
    if (number.size() == 8) return {std::move(number), text.substr(space + 1)};
  }
  return {withoutHyphens(text), "00"};
}

// The number system and six digits of a UPC-E text of 6 to 8 digits; six digits alone
// have number system 0.
std::string upcESeven(std::string_view text) {
  std::string seven;
  if (text.size() == 6) seven.push_back('0');
  seven.append(text.substr(0, 7 - seven.size()));
  return seven;
}

// What a typed text comes to: the data digits the check digit is computed over, the check
// character as typed (0 if none) and the line above the bars.
struct Reading {
  std::string data;
  char typed = 0;
  std::string line;
};

// EAN-13, EAN-8, UPC-A: the data digits, perhaps followed by a check digit.
Refusal readDigits(CodeType type, std::string_view text, Reading& r) {
  const std::size_t n = rulesFor(type).dataDigits;
  if (text.size() != n && text.size() != n + 1) return Refusal::DataLength;
  if (!allDigits(text)) return Refusal::DataNotDigits;
  r.data.assign(text.substr(0, n));
  r.typed = text.size() == n + 1 ? text[n] : 0;
  return Refusal::None;
}

Refusal readIsbn(CodeType type, std::string_view text, Reading& r) {
  // Only hyphens and spaces go; any other separator makes the length wrong.
  const std::string isbn = withoutHyphens(text);
  const std::size_t length = type == kISBN10 ? 10 : 13;
  if (isbn.size() != length) return Refusal::DataLength;
  // The ISBN's own check character takes no part in the EAN-13 digits.
  r.data = (type == kISBN10 ? "978" : "") + isbn.substr(0, length - 1);
  r.typed = isbn.back();
  r.line = "ISBN " + std::string(text);
  if (!allDigits(r.data)) return Refusal::DataNotDigits;
  // 979-0 holds the ISMNs and 977 the ISSNs: a scanner would read either as such.
  if (r.data.compare(0, 4, "9790") == 0) return Refusal::IsbnIsmnRange;
  if (r.data.compare(0, 3, "977") == 0) return Refusal::IsbnIssnRange;
  if (r.data.compare(0, 3, "978") != 0 && r.data.compare(0, 3, "979") != 0)
    return Refusal::IsbnPrefix;
  return Refusal::None;
}

// ISMN publisher numbers have fixed lengths by their first digits: 000-099 three digits,
// 1000-3999 four, 40000-69999 five, 700000-899999 six, 9000000-9999999 seven.
std::size_t ismnPublisherLength(std::string_view eightDigits) {
  const char first = eightDigits[0];
  if (first == '0') return 3;
  if (first <= '3') return 4;
  if (first <= '6') return 5;
  if (first <= '8') return 6;
  return 7;
}

// "979-0-2600-0043-8" from the 13 digits of an ISMN.
std::string hyphenatedIsmn(std::string_view ismn) {
  const std::string_view rest = ismn.substr(4, 8);
  const std::size_t publisher = ismnPublisherLength(rest);
  return "979-0-" + std::string(rest.substr(0, publisher)) + "-" +
         std::string(rest.substr(publisher)) + "-" + ismn.back();
}

// Six digits (number system 0), the number system and six, the same with the check
// digit, or a UPC-A of 11 or 12 digits whose zeros can be left out.
Refusal readUpcE(std::string_view text, Reading& r) {
  const std::size_t n = text.size();
  if (n != 6 && n != 7 && n != 8 && n != 11 && n != 12) return Refusal::DataLength;
  if (!allDigits(text)) return Refusal::DataNotDigits;
  if (n > 6 && text[0] != '0') return Refusal::NumberSystem;
  if (n >= 11) {
    const auto suppressed = suppressUpcA(text.substr(0, 11));
    if (!suppressed) return Refusal::NotSuppressible;
    r.data = *suppressed;
  } else {
    r.data = upcESeven(text);
    // Scanners would read it, but each UPC-A has one UPC-E form.
    if (suppressUpcA(expandUpcE(r.data)) != r.data) return Refusal::UpcEForm;
  }
  r.typed = n == 8 || n == 12 ? text.back() : 0;
  return Refusal::None;
}

// The ISSN without its check character goes into 977, then the variant.
Refusal readIssn(std::string_view text, Reading& r) {
  const auto [issn, variant] = issnParts(text);
  if (issn.size() != 8) return Refusal::DataLength;
  const std::string seven = issn.substr(0, 7);
  const char check = issn[7];
  if (!allDigits(seven) || !(isDigit(check) || check == 'X' || check == 'x'))
    return Refusal::DataNotDigits;
  if (variant.size() != 2 || !allDigits(variant)) return Refusal::Variant;
  r.data = "977" + seven + std::string(variant);
  r.typed = check;
  r.line = "ISSN " + seven.substr(0, 4) + "-" + seven.substr(4) + issnCheckChar(seven);
  return Refusal::None;
}

// 979-0 and nine digits, or the older M and nine digits, M standing for 979-0.
Refusal readIsmn(std::string_view text, Reading& r) {
  const bool old = !text.empty() && (text[0] == 'M' || text[0] == 'm');
  const std::string ismn = (old ? "9790" : "") + withoutHyphens(old ? text.substr(1) : text);
  if (ismn.size() != 13) return Refusal::DataLength;
  if (!allDigits(ismn)) return Refusal::DataNotDigits;
  if (ismn.compare(0, 4, "9790") != 0) return Refusal::IsmnPrefix;
  r.data = ismn.substr(0, 12);
  r.typed = ismn.back();
  const std::string_view digits = old ? text.substr(1) : text;
  const bool grouped = digits.find_first_of("- ") != std::string_view::npos;
  r.line = "ISMN " + (!grouped  ? hyphenatedIsmn(ismn)
                      : old     ? "979-0" + std::string(digits)
                                : std::string(text));
  return Refusal::None;
}

Refusal read(CodeType type, std::string_view text, Reading& r) {
  switch (type) {
    case kISBN10: case kISBN13: return readIsbn(type, text, r);
    case kUPCE: return readUpcE(text, r);
    case kISSN: return readIssn(text, r);
    case kISMN: return readIsmn(text, r);
    default: return readDigits(type, text, r);
  }
}

// An ISBN's add-on is 5 digits, the other types' 2 or 5; any other length is refused (a
// mistyped add-on left out would print a code without it), and an empty one is none.
Refusal attachAddon(Symbol& s, std::string_view addon, std::string_view price) {
  if (!takesAddon(s.type)) return Refusal::None;
  s.addonText = addon;
  if (takesPrice(s.type)) s.priceText = price;
  const bool two = addon.size() == 2 && !isIsbn(s.type);
  if (addon.size() == 5 || two) {
    s.addon = two ? bitpattern_addon2(addon) : bitpattern_addon5(addon);
    return s.addon ? Refusal::None : Refusal::AddonNotDigits;
  }
  return addon.empty() ? Refusal::None : Refusal::AddonLength;
}

// The line's check character is its last one besides hyphens and spaces.
void mendCheckChar(std::string& line, char expected) {
  const std::size_t at = line.find_last_not_of("- ");
  if (at != std::string::npos) line[at] = expected;
}

}  // namespace

Completion completeSymbol(CodeType type, std::string_view text, std::string_view addon,
                          std::string_view price) {
  if (isMatrixType(type)) {
    Gs1Completion g = completeMatrix(type, text, {});
    if (!g.symbol) return {std::nullopt, Refusal::Gs1Data, std::move(g.error)};
    return {std::move(g.symbol), Refusal::None, {}};
  }
  if (!symbology(type)) return {std::nullopt, Refusal::UnknownType, {}};
  if (takesPrice(type) && std::any_of(price.begin(), price.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
      }))
    return {std::nullopt, Refusal::PriceControl, {}};
  Reading r;
  if (auto refusal = read(type, text, r); refusal != Refusal::None) return {std::nullopt, refusal, {}};
  const Rules rules = rulesFor(type);
  Symbol s;
  s.type = type;
  s.digits = std::move(r.data);
  s.typedCheck = r.typed;
  s.isbnLine = std::move(r.line);
  // A typed check digit is replaced by the computed one, never compared.
  s.digits.push_back(static_cast<char>('0' + rules.checksum(s.digits)));
  s.pattern = *rules.pattern(s.digits);
  if (const char expected = wrongCheckChar(s)) mendCheckChar(s.isbnLine, expected);
  if (auto refusal = attachAddon(s, addon, price); refusal != Refusal::None)
    return {std::nullopt, refusal, {}};
  return {std::move(s), Refusal::None, {}};
}

std::string withVariant(CodeType type, std::string_view data, std::string_view variant) {
  if (!takesVariant(type) || variant.empty()) return std::string(data);
  return std::string(data) + " " + std::string(variant);
}

namespace {

std::string lengthMessage(CodeType type, std::string_view data) {
  const std::string name = codeTypeName(type);
  const std::string got = "; got " + std::to_string(data.size());
  switch (type) {
    case kEAN8: return name + " needs 7 or 8 digits" + got;
    case kEAN13: return name + " needs 12 or 13 digits" + got;
    case kUPCA: return name + " needs 11 or 12 digits" + got;
    case kUPCE: return name + " needs 6, 7 or 8 digits, or a UPC-A of 11 or 12" + got;
    default: break;
  }
  const std::size_t length =
      type == kISSN ? issnParts(data).first.size() : withoutHyphens(data).size();
  const std::string counted = "; got " + std::to_string(length);
  switch (type) {
    case kISBN10: return name + " needs 10 characters besides hyphens" + counted;
    case kISSN: return name + " needs 8 characters besides hyphens" + counted;
    case kISMN: return name + " needs 13 digits, or M and 9 digits, besides hyphens" + counted;
    default: return name + " needs 13 characters besides hyphens" + counted;
  }
}

std::string notDigitsMessage(CodeType type, std::string_view data) {
  const char* allowed = " takes digits only";
  if (isIsbn(type)) allowed = " takes digits only (and hyphens)";
  if (type == kISSN) allowed = " takes digits and hyphens, and X as its check character";
  if (type == kISMN) allowed = " takes digits and hyphens, and M for 979-0";
  return codeTypeName(type) + std::string(allowed) + "; got \"" + std::string(data) + "\"";
}

std::string suppressionMessage(std::string_view data) {
  const std::string upca(data.substr(0, 11));
  const std::string message = "UPC-A " + upca + " has no UPC-E form";
  const std::string products = upcEProducts(upca);
  if (upca.size() < 11 || products.empty()) return message;
  return message + ": with manufacturer " + upca.substr(1, 5) + " the product number must be " +
         products + ", not " + upca.substr(6);
}

// The number system and six digits of a UPC-E text of 6 to 8 digits, its UPC-A and the
// UPC-E form that UPC-A takes.
std::string upcEFormMessage(std::string_view data) {
  const std::string seven = upcESeven(data);
  const std::string upca = expandUpcE(seven);
  const auto own = suppressUpcA(upca);
  if (upca.empty() || !own) return "UPC-E " + std::string(data) + " is not a UPC-E form";
  return "UPC-E " + seven.substr(1) + " stands for UPC-A " + upca + ", whose UPC-E form is " +
         own->substr(1);
}

}  // namespace

std::string refusalMessage(Refusal refusal, CodeType type, std::string_view data,
                           std::string_view addon) {
  const std::string quotedAddon = "; got \"" + std::string(addon) + "\"";
  switch (refusal) {
    case Refusal::None: return {};
    case Refusal::UnknownType:
      return "unknown code type " + std::to_string(type) +
             " (0 EAN-8, 1 EAN-13, 2 ISBN-10, 3 ISBN-13, 4 UPC-A, 5 UPC-E, 6 ISSN, 7 ISMN, "
             "8 GS1 QR Code, 9 GS1 DataMatrix)";
    case Refusal::Gs1Data: {
      // The reason for the options given is in the completion's detail; without them the
      // data may well be fine.
      std::string why = isMatrixType(type) ? completeMatrix(type, data, {}).error : std::string();
      return why.empty() ? "the GS1 data cannot be encoded" : why;
    }
    case Refusal::DataLength: return lengthMessage(type, data);
    case Refusal::DataNotDigits: return notDigitsMessage(type, data);
    case Refusal::AddonNotDigits:
      return (isIsbn(type) ? "the add-on must be 5 digits" : "the add-on must be 2 or 5 digits") +
             quotedAddon;
    case Refusal::AddonLength:
      return (isIsbn(type) ? "the add-on must be 5 digits" : "the add-on must be 2 or 5 digits") +
             quotedAddon;
    case Refusal::NumberSystem:
      return "UPC-E takes number system 0 only; \"" + std::string(data) + "\" has " +
             std::string(data.substr(0, 1)) + " (print it as UPC-A)";
    case Refusal::NotSuppressible: return suppressionMessage(data);
    case Refusal::UpcEForm: return upcEFormMessage(data);
    case Refusal::IsmnPrefix:
      return "an ISMN starts 979-0 (or M); got \"" + std::string(data) + "\"";
    case Refusal::IsbnIsmnRange: return "979-0 is the ISMN range: use --type ismn";
    case Refusal::IsbnIssnRange: return "977 is the ISSN range: use --type issn";
    case Refusal::IsbnPrefix:
      return "an ISBN-13 starts 978, or 979 and a digit from 1 to 9; got \"" +
             std::string(data) + "\"";
    case Refusal::Variant:
      return "the ISSN sequence variant must be 2 digits; got \"" +
             std::string(issnParts(data).second) + "\"";
    case Refusal::PriceControl:
      return "the price text holds a control character (a line break, tab or the like); "
             "give it on one line";
  }
  return {};
}

namespace {

// Modulo 11 over digits weighted from length + 1 down to 2; "X" for 10.
char mod11CheckChar(std::string_view digits, std::size_t length) {
  if (digits.size() < length || !allDigits(digits.substr(0, length))) return 0;
  int sum = 0;
  for (std::size_t i = 0; i < length; ++i)
    sum += static_cast<int>(length + 1 - i) * (digits[i] - '0');
  const int check = (11 - sum % 11) % 11;
  return check == 10 ? 'X' : static_cast<char>('0' + check);
}

}  // namespace

char isbn10CheckChar(std::string_view nine) { return mod11CheckChar(nine, 9); }
char issnCheckChar(std::string_view seven) { return mod11CheckChar(seven, 7); }

char expectedCheckChar(const Symbol& symbol) {
  const std::string_view digits = symbol.digits;
  if (symbol.type == kISBN10) return isbn10CheckChar(digits.substr(3, 9));
  if (symbol.type == kISSN) return issnCheckChar(digits.substr(3, 7));
  return symbol.digits.back();
}

char wrongCheckChar(const Symbol& symbol) {
  const char typed = symbol.typedCheck;
  if (typed == 0) return 0;
  if (isMatrixType(symbol.type)) return symbol.matrix ? symbol.matrix->wrongCheck : 0;
  const char expected = expectedCheckChar(symbol);
  if (typed == expected || (expected == 'X' && typed == 'x')) return 0;
  return expected;
}

}  // namespace strimlo
