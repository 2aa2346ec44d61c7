#pragma once
// What differs between the symbologies when a symbol is laid out; the file and preview
// layouts are each one algorithm over this description.
#include "codetypes.h"

namespace strimlo {

struct Shape {
  int modules;        // 95 (EAN-13 family) or 67 (EAN-8)
  int centreFirst;    // first and last centre-guard module that may hold a bar
  int centreLast;
  int endFirst;       // first module of the end guard
  int digits;         // human-readable digits: 13 or 8
  bool leadingDigit;  // digit 0 stands left of the symbol (EAN-13 family)
  int centreAfter;    // the digit after which the centre guard's gap comes
  float heightRatio;  // nominal bar height = symbol length / ratio

  bool isGuard(int i) const {
    return i <= 2 || (i >= centreFirst && i <= centreLast) || i >= endFirst;
  }
};

inline Shape shapeOf(CodeType type) {
  if (type == kEAN8) return {67, 32, 35, 64, 8, false, 3, 0.84f};
  return {95, 45, 48, 92, 13, true, 6, 1.2f};
}

}  // namespace strimlo
