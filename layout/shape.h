#pragma once
// The module shape of a type, from the symbology table; the file and preview layouts are
// each one algorithm over it.
#include "symbologies.h"

namespace strimlo {

// A type outside the table is drawn as an EAN-13.
inline Shape shapeOf(CodeType type) {
  const SymbologyRow* row = symbology(type);
  return row ? row->shape : symbology(kEAN13)->shape;
}

}  // namespace strimlo
