#pragma once
// From what the user typed to what a symbol encodes: the check digit completion of
// EAN and UPC texts, the ISBN, ISSN and ISMN to EAN-13 normalisation, UPC-E zero
// suppression and the add-on rules, done once here for every renderer.
#include <optional>
#include <string>
#include <string_view>

#include "codetypes.h"
#include "matrix.h"
#include "patterns.h"

namespace strimlo {

// Why a text cannot be encoded. The renderers only need "no"; the command line names
// the reason.
enum class Refusal {
  None,
  UnknownType,     // a code type outside the eight symbologies
  DataLength,      // EAN, UPC: wrong digit count; ISBN, ISSN, ISMN: wrong length once
                   // hyphens and spaces are removed
  DataNotDigits,   // a non-digit where a data digit belongs
  AddonNotDigits,  // an add-on of the right length holding a non-digit
  AddonLength,     // ISBN: an add-on of other than 5 digits; UPC, ISSN, ISMN: of other than
                   // 2 or 5
  NumberSystem,    // UPC-E: a number system other than 0
  NotSuppressible, // UPC-E: a UPC-A whose zeros UPC-E cannot leave out
  UpcEForm,        // UPC-E: six digits in a form its UPC-A does not take (350024 for 350020)
  IsmnPrefix,      // ISMN: a 13-digit number that does not start 979-0
  IsbnIsmnRange,   // ISBN-13: 979-0, the ISMN range
  IsbnIssnRange,   // ISBN-13: 977, the ISSN range
  IsbnPrefix,      // ISBN-13: any other prefix than 978 or 979-1 to 979-9
  Variant,         // ISSN: a sequence variant of other than 2 digits
  PriceControl,    // ISBN, ISMN: a control character (a line break, ...) in the price text
  Gs1Data,         // 2D types and companions: the GTIN, an AI, the domain or the matrix; see detail
};

struct Symbol {
  CodeType type = kEAN13;
  // The completed digits, the computed check digit last: 13 (EAN-13, ISBN, ISSN, ISMN),
  // 8 (EAN-8), 12 (UPC-A), or UPC-E's number system, six digits and check digit.
  std::string digits;
  ModulePattern pattern;
  std::optional<ModulePattern> addon;  // the 2- or 5-digit add-on, when there is one
  // The line above the bars: "ISBN " and the data as typed, "ISSN 0317-8471" (hyphenated),
  // "ISMN " and the data as typed, or hyphenated by its publisher number when typed
  // without hyphens ("ISMN 979-0-2600-0043-8"); empty for EAN, UPC. A wrong typed check
  // character is corrected in it, so the line never contradicts the bars.
  std::string isbnLine;
  std::string addonText;  // as typed, for the types that take an add-on; else empty
  std::string priceText;  // as typed, for the types that take a price; else empty
  char typedCheck = 0;    // the check character the user typed, 0 if none
  // The 2D types' symbol, or a linear symbol's 2D companion; digits hold the GTIN-14 for
  // a 2D type.
  std::optional<Matrix> matrix;
};

struct Completion {
  std::optional<Symbol> symbol;
  Refusal refusal = Refusal::None;
  std::string detail;  // Gs1Data: the message naming the part and the rule
};

// Add-on and price are ignored for the EAN types. An ISBN's add-on has 5 digits, the UPC,
// ISSN and ISMN types' 2 or 5; any other length is refused, and an empty add-on is none.
// The price is kept as typed for ISBN and ISMN; one holding a control character is
// refused, since every file carries it as text (a line break would end an EPS comment or
// string and start a line of its own). ISBN, ISSN and ISMN texts may group their digits
// with hyphens or spaces. An ISSN text may end with a space and its 2-digit sequence
// variant ("0317-8471 03"); without one it is 00.
Completion completeSymbol(CodeType type, std::string_view data, std::string_view addon = {},
                          std::string_view price = {});

// One line for a person, e.g. "EAN-13 needs 12 or 13 digits; got 5".
std::string refusalMessage(Refusal refusal, CodeType type, std::string_view data,
                           std::string_view addon);

// The ISSN text completeSymbol takes: the ISSN, then a space and the variant when one is
// given. Any other type's data, and an ISSN without a variant, pass unchanged.
std::string withVariant(CodeType type, std::string_view data, std::string_view variant);

// The ISBN-10 check character (modulo 11, "X" for 10) of its first nine digits; 0 when
// the text does not start with nine digits.
char isbn10CheckChar(std::string_view nineDigits);
// The ISSN check character (modulo 11, "X" for 10) of its first seven digits; 0 when the
// text does not start with seven digits.
char issnCheckChar(std::string_view sevenDigits);

// The check character a correctly typed text would end with: the EAN or UPC check digit,
// or for ISBN-10 and ISSN their own modulo-11 character.
char expectedCheckChar(const Symbol& symbol);

// The correct check character when the user typed a wrong one, else 0. An ISBN-10's or
// ISSN's "x" counts as "X".
char wrongCheckChar(const Symbol& symbol);

}  // namespace strimlo
