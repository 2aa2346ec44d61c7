#pragma once
// From what the user typed to what a symbol encodes: the check digit completion of
// EAN texts, the ISBN to EAN-13 normalisation and the add-on rule, done once here for
// every renderer.
#include <optional>
#include <string>
#include <string_view>

#include "codetypes.h"
#include "patterns.h"

namespace strimlo {

// Why a text cannot be encoded. The renderers only need "no"; the command line names
// the reason.
enum class Refusal {
  None,
  UnknownType,     // a code type outside the four symbologies
  DataLength,      // EAN: wrong digit count; ISBN: wrong length once hyphens are removed
  DataNotDigits,   // a non-digit where a data digit belongs
  AddonNotDigits,  // a 5-character add-on holding a non-digit
};

struct Symbol {
  CodeType type = kEAN13;
  std::string digits;  // the completed digits: 8 or 13, the computed check digit last
  ModulePattern pattern;
  std::optional<ModulePattern> addon;  // only for an ISBN with a 5-character add-on
  std::string isbnLine;                // "ISBN " and the data as typed; empty for EAN
  std::string addonText;               // as typed; empty for EAN
  std::string priceText;               // as typed; empty for EAN
  char typedCheck = 0;                 // the check character the user typed, 0 if none
};

struct Completion {
  std::optional<Symbol> symbol;
  Refusal refusal = Refusal::None;
};

// Add-on and price are ignored for the EAN types. An add-on of any length other than
// 5 means "no add-on"; the price is kept as typed.
Completion completeSymbol(CodeType type, std::string_view data, std::string_view addon = {},
                          std::string_view price = {});

// One line for a person, e.g. "EAN-13 needs 12 or 13 digits; got 5".
std::string refusalMessage(Refusal refusal, CodeType type, std::string_view data,
                           std::string_view addon);

// The ISBN-10 check character (modulo 11, "X" for 10) of its first nine digits; 0 when
// the text does not start with nine digits.
char isbn10CheckChar(std::string_view nineDigits);

// The check character a correctly typed text would end with: the EAN check digit, or
// for ISBN-10 its own modulo-11 character.
char expectedCheckChar(const Symbol& symbol);

// The correct check character when the user typed a wrong one, else 0. ISBN-10's "x"
// counts as "X".
char wrongCheckChar(const Symbol& symbol);

}  // namespace strimlo
