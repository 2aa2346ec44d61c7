#pragma once
// GS1 data for the 2D symbols: the GTIN, the element strings typed as "(10)ABC(17)271231",
// the checks GS1 asks of the AIs we accept, and the two forms a symbol carries: the
// Digital Link URI (QR Code) and the element string (DataMatrix). Everything here reads
// untrusted text: a refusal names the AI or the part, and the rule.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codetypes.h"
#include "symbol.h"

namespace strimlo {

// What the 2D part of a request asks for besides the GTIN.
struct Gs1Options {
  std::string ai;        // element strings: "(10)ABC123(17)271231"; empty for none
  std::string dlDomain;  // the Digital Link resolver: "https://brand.example"; empty: id.gs1.org
  char ecc = 'M';        // QR Code error correction: L, M, Q or H
  double moduleMm = 0;   // X dimension of a 2D type; 0: the target
  std::optional<CodeType> companion;  // kGS1QR or kGS1DataMatrix beside a linear symbol
  double companionModuleMm = 0;       // its X dimension; 0: the target
  bool text = true;      // the GTIN line under the 2D symbol
  bool operator==(const Gs1Options&) const = default;
};

struct Gs1Element {
  std::string ai;     // "10", "3103", ...
  std::string value;  // as typed
  bool operator==(const Gs1Element&) const = default;
};

bool isMatrixType(CodeType type);

// The elements of "(10)ABC123(17)271231", each checked; "" or why not. A value runs to
// the next "(" that opens two to four digits and ")".
std::string parseElementString(std::string_view text, std::vector<Gs1Element>& out);
// "" or why the element breaks its AI's rule: "(17) 271331: month 13 does not exist".
std::string checkElement(const Gs1Element& element);
// "" or why the domain cannot start a Digital Link URI.
std::string checkDomain(std::string_view domain);
// The Digital Link URI: the domain (default https://id.gs1.org), /01/GTIN-14, the key
// qualifiers 22, 10, 21 in the path in that order, the other AIs as query parameters in
// the order given; every value percent-encoded but for A-Z a-z 0-9 - . _ ~.
std::string digitalLinkUri(std::string_view domain, std::string_view gtin14,
                           const std::vector<Gs1Element>& elements);
// "[01]09780306406157[10]ABC": zint's GS1 input.
std::string bracketedElementString(std::string_view gtin14, const std::vector<Gs1Element>& elements);
// "0109780306406157" "10ABC" GS "17271231": what a reader gives, GS (0x1D) after each
// variable-length value that is not last.
std::string elementString(std::string_view gtin14, const std::vector<Gs1Element>& elements);
// The GTIN-14 of a completed linear symbol (EAN-8, EAN-13 and its book kinds, UPC-A, UPC-E).
std::string gtin14Of(const Symbol& linear);
// "" or why an X dimension is outside the retail table's limits.
std::string moduleRangeError(double mm, const char* option);

struct Gs1Completion {
  std::optional<Symbol> symbol;
  std::string error;  // for a person, when refused
};

// A 2D type's symbol: the data is a GTIN of 8, 12, 13 or 14 digits, its check digit last,
// or an ISBN-10, ISSN or ISMN as the linear types take it; hyphens and spaces allowed.
Gs1Completion completeMatrix(CodeType type, std::string_view data, const Gs1Options& options);
// The 2D companion of a completed linear symbol, from its GTIN: "" or why not.
std::string addCompanion(Symbol& linear, const Gs1Options& options);
// completeSymbol with the 2D options: a 2D type's symbol, or a linear one with its
// companion; a refusal of the GS1 part is Refusal::Gs1Data with its message in detail.
Completion completeWithGs1(CodeType type, std::string_view data, std::string_view addon,
                           std::string_view price, const Gs1Options& options);

// The words every front end takes for the 2D choices, compared without case or the blanks
// around them: "L", "m" ... as the QR Code error correction level ('L', 'M', 'Q' or 'H'),
// and "qr" or "datamatrix" (also "dm" and the 2D types' names) as a companion's type.
std::optional<char> eccLevelOf(std::string_view word);
std::optional<CodeType> companionOf(std::string_view word);
// The letters and digits of the elements, at most 120: what a file name made from the
// data carries, so serials or lots of one GTIN each get a file.
std::string elementsNamePart(std::string_view elements);
// "none" or "no": no companion, as a batch cell or a request may say over a default.
bool meansNoCompanion(std::string_view word);
// What a refusal of the 2D part (Refusal::Gs1Data's detail) is about, so a front end can
// name the field: the GTIN (the data), the elements (an AI, or all of them too large for
// the symbol), the domain, or a module.
enum class Gs1Part { Data, Elements, Domain, Module, CompanionModule };
Gs1Part gs1PartOf(std::string_view refusal);

// Notes for the 2D options a symbol of `type` leaves out: the AIs and domain of a linear
// symbol without a companion, the domain of a DataMatrix, a bar width reduction asked of a
// 2D type (its modules are drawn at full size).
void unusedGs1Notes(CodeType type, const Gs1Options& options, std::vector<std::string>& notes,
                    int barReductionMicrons = 0);

}  // namespace strimlo
