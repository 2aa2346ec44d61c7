// The digit and pattern functions on any bytes: check digits, module patterns, symbol
// completion with its refusal messages, ISBN-10 check characters and the 8-bit texts.
// Input: a control line holding the code type (see Input::selector), then data, add-on
// and price (the rest) on the lines after it.
#include <string>

#include "checksum.h"
#include "digits.h"
#include "fuzz_input.h"
#include "patterns.h"
#include "symbol.h"
#include "text8.h"
#include "upc.h"

namespace strimlo::fuzz {
namespace {

bool isBinary(const ModulePattern& p) {
  for (auto m : p)
    if (m > 1) return false;
  return true;
}

bool startsWith(const ModulePattern& p, std::string_view modules) {
  if (p.size() < modules.size()) return false;
  for (std::size_t i = 0; i < modules.size(); ++i)
    if (p[i] != modules[i] - '0') return false;
  return true;
}

bool endsWith101(const ModulePattern& p) {
  const std::size_t n = p.size();
  return n >= 3 && p[n - 3] == 1 && p[n - 2] == 0 && p[n - 1] == 1;
}

// GS1 check with the weights running from the left (1, 3, 1, ... for EAN-13; 3, 1, ...
// for EAN-8) over all digits, check digit included: a different route to the same sum.
bool gs1Valid(std::string_view digits) {
  int sum = 0;
  const bool ean13 = digits.size() == 13;
  for (std::size_t i = 0; i < digits.size(); ++i)
    sum += (digits[i] - '0') * (((i % 2 == 0) == ean13) ? 1 : 3);
  return sum % 10 == 0;
}

void checkChecksum(std::string_view s, std::size_t dataLength,
                   int (*checksum)(std::string_view)) {
  const int r = checksum(s);
  const bool wanted = (s.size() == dataLength || s.size() == dataLength + 1) && allDigits(s);
  FUZZ_CHECK((r >= 0) == wanted);
  if (r < 0) return;
  FUZZ_CHECK(r <= 9);
  std::string full(s.substr(0, dataLength));
  full.push_back(static_cast<char>('0' + r));
  FUZZ_CHECK(gs1Valid(full));
}

void checkPattern(std::string_view s, std::size_t digits, std::size_t modules,
                  std::optional<ModulePattern> (*make)(std::string_view), std::string_view start) {
  const auto p = make(s);
  FUZZ_CHECK(p.has_value() == (s.size() == digits && allDigits(s)));
  if (!p) return;
  FUZZ_CHECK(p->size() == modules);
  FUZZ_CHECK(isBinary(*p));
  FUZZ_CHECK(startsWith(*p, start));
  FUZZ_CHECK(toString(*p).size() == modules);
}

void checkMainPatterns(std::string_view s) {
  checkPattern(s, 13, kEAN13Modules, bitpattern_ean13, "101");
  checkPattern(s, 8, kEAN8Modules, bitpattern_ean8, "101");
  checkPattern(s, 5, kAddon5Modules, bitpattern_addon5, "1011");
  checkPattern(s, 2, kAddon2Modules, bitpattern_addon2, "1011");
  if (auto p = bitpattern_ean13(s)) FUZZ_CHECK(endsWith101(*p));
  if (auto p = bitpattern_ean8(s)) FUZZ_CHECK(endsWith101(*p));
}

void checkText8(std::string_view s) {
  const Text8 t = toText8(s);
  FUZZ_CHECK(t.bytes.size() <= kMaxTextBytes);
  FUZZ_CHECK(!t.cut || t.bytes.size() == kMaxTextBytes);
  FUZZ_CHECK(!t.replaced || t.bytes.find('?') != std::string::npos);
  bool ascii = true;
  for (char c : s) ascii &= static_cast<unsigned char>(c) < 0x80;
  if (ascii && s.size() <= kMaxTextBytes) FUZZ_CHECK(t.bytes == s && !t.cut && !t.replaced);
  // Back to UTF-8 and again gives the same bytes: nothing but "?" was lost.
  FUZZ_CHECK(toText8(text8ToUtf8(t.bytes)).bytes == t.bytes);
}

void checkIsbn10Check(std::string_view s) {
  const char c = isbn10CheckChar(s);
  const bool wanted = s.size() >= 9 && allDigits(s.substr(0, 9));
  FUZZ_CHECK((c != 0) == wanted);
  if (!c) return;
  FUZZ_CHECK(isDigit(c) || c == 'X');
  // All ten characters weighted 10..1 sum to a multiple of 11.
  int sum = c == 'X' ? 10 : c - '0';
  for (int i = 0; i < 9; ++i) sum += (10 - i) * (s[i] - '0');
  FUZZ_CHECK(sum % 11 == 0);
}

// The digits, check digit and pattern of a completed symbol, by a route of its own per
// type: UPC-E through the UPC-A it expands to, which must suppress back to it.
void checkDigitsAndPattern(const Symbol& s) {
  const std::string& d = s.digits;
  FUZZ_CHECK(allDigits(d));
  switch (s.type) {
    case kEAN8:
      FUZZ_CHECK(d.size() == 8 && checksum_ean8(d) == d.back() - '0');
      FUZZ_CHECK(s.pattern == bitpattern_ean8(d));
      break;
    case kUPCA:
      FUZZ_CHECK(d.size() == 12 && checksum_upca(d) == d.back() - '0');
      FUZZ_CHECK(s.pattern == bitpattern_ean13("0" + d));
      break;
    case kUPCE: {
      FUZZ_CHECK(d.size() == 8 && d[0] == '0');
      const std::string upca = expandUpcE(d.substr(0, 7));
      FUZZ_CHECK(checksum_upca(upca) == d.back() - '0');
      FUZZ_CHECK(suppressUpcA(upca) == d.substr(0, 7));
      FUZZ_CHECK(s.pattern == bitpattern_upce(d) && s.pattern.size() == kUPCEModules);
      break;
    }
    case kGS1QR:
    case kGS1DataMatrix: {
      // The GTIN-14, its check digit right, in what the matrix carries.
      FUZZ_CHECK(d.size() == 14);
      int sum = 0;
      for (int i = 0; i < 13; ++i) sum += (d[i] - '0') * (i % 2 == 0 ? 3 : 1);
      FUZZ_CHECK((10 - sum % 10) % 10 == d.back() - '0');
      FUZZ_CHECK(s.pattern.empty() && s.matrix && !s.matrix->dark.empty());
      const std::string carried = s.type == kGS1QR ? "https://id.gs1.org/01/" + d : "01" + d;
      FUZZ_CHECK(s.matrix->content == carried);
      break;
    }
    default:
      FUZZ_CHECK(d.size() == 13 && checksum_ean13(d) == d.back() - '0');
      FUZZ_CHECK(s.pattern == bitpattern_ean13(d));
      if (s.type == kISSN) FUZZ_CHECK(d.compare(0, 3, "977") == 0);
      if (s.type == kISMN) FUZZ_CHECK(d.compare(0, 4, "9790") == 0);
  }
}

void checkSymbol(CodeType type, std::string_view data, std::string_view addon,
                 std::string_view price) {
  const Completion c = completeSymbol(type, data, addon, price);
  const std::string message = refusalMessage(c.refusal, type, data, addon);
  FUZZ_CHECK(c.symbol.has_value() == (c.refusal == Refusal::None));
  FUZZ_CHECK(message.empty() == (c.refusal == Refusal::None));
  if (!c.symbol) return;
  const Symbol& s = *c.symbol;
  checkDigitsAndPattern(s);
  // ISBN: 5 digits or none; the newer types refuse anything but 2 or 5.
  const bool twoOrFive = addon.size() == 5 || (addon.size() == 2 && !isIsbn(type));
  FUZZ_CHECK(s.addon.has_value() == (takesAddon(type) && twoOrFive));
  if (s.addon) FUZZ_CHECK(*s.addon == (addon.size() == 2 ? bitpattern_addon2(addon) : bitpattern_addon5(addon)));
  if (takesAddon(type) && !isIsbn(type)) FUZZ_CHECK(addon.empty() || s.addon);
  // The line is the text as typed, its check character mended so it agrees with the bars.
  if (isIsbn(type) && wrongCheckChar(s) == 0) FUZZ_CHECK(s.isbnLine == "ISBN " + std::string(data));
  if (isIsbn(type)) FUZZ_CHECK(s.isbnLine.size() == 5 + data.size());
  if (type == kISBN13)
    FUZZ_CHECK(s.digits.compare(0, 3, "978") == 0 || (s.digits.compare(0, 3, "979") == 0 && s.digits[3] != '0'));
  FUZZ_CHECK(s.isbnLine.empty() != hasTextLine(type));
  FUZZ_CHECK(s.priceText == (takesPrice(type) ? price : std::string_view()));
  const char expected = expectedCheckChar(s);
  FUZZ_CHECK(expected == (type == kISBN10 ? isbn10CheckChar(s.digits.substr(3))
                          : type == kISSN ? issnCheckChar(s.digits.substr(3))
                                          : s.digits.back()));
}

// Every reason with every type and text: a message exactly when there is a refusal.
void checkRefusalMessages(CodeType type, std::string_view data, std::string_view addon) {
  for (Refusal r : {Refusal::None, Refusal::UnknownType, Refusal::DataLength,
                    Refusal::DataNotDigits, Refusal::AddonNotDigits, Refusal::AddonLength,
                    Refusal::NumberSystem, Refusal::NotSuppressible, Refusal::UpcEForm,
                    Refusal::IsmnPrefix, Refusal::IsbnIsmnRange, Refusal::IsbnIssnRange,
                    Refusal::IsbnPrefix,
                    Refusal::Variant, Refusal::PriceControl, Refusal::Gs1Data})
    FUZZ_CHECK(refusalMessage(r, type, data, addon).empty() == (r == Refusal::None));
}

}  // namespace

void fuzzOne(Input& in) {
  const CodeType type = in.selector();
  const std::string_view data = in.text();
  const std::string_view addon = in.text();
  const std::string_view price = in.rest();
  for (std::string_view s : {data, addon, price}) {
    checkChecksum(s, 12, checksum_ean13);
    checkChecksum(s, 7, checksum_ean8);
    checkChecksum(s, 11, checksum_upca);
    if (const auto seven = suppressUpcA(s)) FUZZ_CHECK(expandUpcE(*seven) == s);
    checkMainPatterns(s);
    checkText8(s);
    checkIsbn10Check(s);
  }
  checkSymbol(type, data, addon, price);
  checkRefusalMessages(type, data, addon);
  // The window hands over texts already converted and cut; try that route too.
  checkSymbol(type, toText8(data).bytes, toText8(addon).bytes, toText8(price).bytes);
}

}  // namespace strimlo::fuzz
