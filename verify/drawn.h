#pragma once
// A symbol graded before it is written: drawn as the file's raster would be, read back and
// measured, as the window's badge, --verify and the server's check all grade it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codetypes.h"
#include "geometry.h"
#include "matrix_check.h"
#include "prepress.h"
#include "symbol.h"
#include "verify.h"

namespace strimlo {
struct InkBitmap;
}

namespace strimlo::verify {

struct DrawnGrade {
  Verification verification;
  double dpi = 0;       // the resolution it was drawn at
  std::string problem;  // non-empty: why it could not be drawn (and was not read)
  // A 2D type's check (verification is then empty), or a linear symbol's companion's
  // beside its grade.
  std::optional<MatrixCheck> matrix;
};

// Ink coverage (0 none, 255 full) to reflectance and back: 255 - p is p with every bit
// flipped.
void invertInk(std::vector<std::uint8_t>& pixels);

// Draws the symbol at the file's size and resolution (vector formats and EPS at 600 dpi,
// EPS at its one size, a module near 91 %) with the prepress options, and grades it; a 2D
// symbol, alone or as a companion, is checked by checkMatrix.
// For a raster format, `keep` (when given) receives the ink drawn, which is the file's
// bitmap: the file need not be drawn a second time.
// A free size (magnification, module, dpi, bar height) draws at the geometry it asks.
DrawnGrade gradeDrawn(const Symbol& symbol, FileFormat format, SizeIndex size,
                      ResolutionIndex res, const Prepress& prepress, InkBitmap* keep = nullptr,
                      const FreeSize& free = {});

}  // namespace strimlo::verify
