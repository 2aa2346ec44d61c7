#pragma once
// A symbol graded before it is written: drawn as the file's raster would be, read back and
// measured, as the window's badge, --verify and the server's check all grade it.
#include <string>

#include "codetypes.h"
#include "prepress.h"
#include "symbol.h"
#include "verify.h"

namespace strimlo::verify {

struct DrawnGrade {
  Verification verification;
  double dpi = 0;       // the resolution it was drawn at
  std::string problem;  // non-empty: why it could not be drawn (and was not read)
};

// Draws the symbol at the file's size and resolution (vector formats and EPS at 600 dpi,
// EPS at its one size, a module near 91 %) with the prepress options, and grades it.
DrawnGrade gradeDrawn(const Symbol& symbol, FileFormat format, SizeIndex size,
                      ResolutionIndex res, const Prepress& prepress);

}  // namespace strimlo::verify
