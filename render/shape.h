#pragma once
// What differs between the symbologies when a symbol is laid out; the file and preview
// layouts are each one algorithm over this description.
#include "codetypes.h"

namespace strimlo {

// Where the digits that do not stand under the bars go.
enum class Outside {
  None,     // EAN-8: every digit under the bars
  Leading,  // EAN-13 family: the first digit, full size, left of the bars
  Small,    // UPC: the first and the last digit, small, left and right of the bars
};

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

inline Shape shapeOf(CodeType type) {
  switch (type) {
    case kEAN8: return {67, 3, 32, 35, 64, 8, Outside::None, 3, 3, 0.84f};
    // The first and last symbol characters reach as low as the guards.
    case kUPCA: return {95, 10, 45, 48, 85, 12, Outside::Small, 10, 5, 1.2f};
    // The end guard 010101 from module 45; as tall as UPC-A (95 / 1.2 modules).
    case kUPCE: return {51, 3, 1, 0, 45, 8, Outside::Small, 3, -1, 0.6442105f};
    default: return {95, 3, 45, 48, 92, 13, Outside::Leading, 3, 6, 1.2f};
  }
}

}  // namespace strimlo
