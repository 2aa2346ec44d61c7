#pragma once
// One row per symbology: everything the rest of the program asks about a type, so that
// a new type is a row here, its encoder and a test row. The command line, the batch, the
// window's list, the layout and the light margins all read this table.
#include <optional>
#include <span>
#include <string_view>

#include "codetypes.h"

namespace strimlo {

// Where the digits that do not stand under the bars go.
enum class Outside {
  None,     // EAN-8: every digit under the bars
  Leading,  // EAN-13 family: the first digit, full size, left of the bars
  Small,    // UPC: the first and the last digit, small, left and right of the bars
};

// The module shape the layout draws: which bars reach guard depth, where the digits go.
struct Shape {
  int modules;        // 95 (EAN-13 family, UPC-A), 67 (EAN-8) or 51 (UPC-E)
  int tallLeft;       // modules from the left whose bars reach as low as the guards
  int centreFirst;    // first and last centre-guard module that may hold a bar; an
  int centreLast;     // empty range for UPC-E, which has no centre guard
  int tallRight;      // first of the modules on the right that reach as low as the guards
  int digits;         // human-readable digits: 13, 12 or 8
  Outside outside;
  int firstUnder;     // the module under whose first the first digit under the bars stands
  int centreAfter;    // the digit after which the centre guard's gap comes; -1 for none
  float heightRatio;  // nominal bar height = symbol length / ratio

  bool isGuard(int i) const {
    return i < tallLeft || (i >= centreFirst && i <= centreLast) || i >= tallRight;
  }
};

// GS1 minimum light margins, in modules.
struct LightMargins {
  int left;       // before the first bar
  int right;      // after the main symbol's last bar
  bool leftMark;  // "<" in the left margin as well as ">" in the right one
};

enum class AddonRule {
  None,       // no add-on
  Five,       // a 5-digit add-on; any other length means none (ISBN's price add-on)
  TwoOrFive,  // 2 or 5 digits; any other length is refused
};

struct SymbologyRow {
  CodeType type;
  const char* token;    // the command line's, the batch's and the library's name: "ean13"
  const char* alias;    // a second spelling accepted ("ean-13"), or nullptr
  const char* name;     // for people: the window's list and every message ("EAN-13")
  AddonRule addon;
  bool price;           // a price line above the add-on
  bool variant;         // ISSN's 2-digit sequence variant
  bool textLine;        // its number as a line above the bars ("ISBN 978-...")
  Shape shape;
  LightMargins margins;
  // The window's list entry, which says what the type is for ("EAN-8 (small products)");
  // a row without one is listed by its name.
  const char* label = nullptr;
  // What its number may be, for the command line's help ("7 digits (an 8th, the check
  // digit, is recomputed)"); a row without one is described by its name.
  const char* dataHint = nullptr;
};

// Every row, in the order the window lists them.
std::span<const SymbologyRow> symbologies();
// The row's entry in the window's list: its label, or its name when it has none.
const char* windowLabel(const SymbologyRow& row);
// The row of a type; nullptr for a value outside the table.
const SymbologyRow* symbology(CodeType type);
// The row a word names (token or alias, any letter case); nullptr for none.
const SymbologyRow* symbologyNamed(std::string_view word);

}  // namespace strimlo
