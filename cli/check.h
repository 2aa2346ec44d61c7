#pragma once
// strimlo-cli --check: grades barcode images, ours or anyone's; and --verify's grading of
// the symbol a job is about to write.
#include <optional>
#include <string>
#include <vector>

#include "geometry.h"
#include "options.h"
#include "raster.h"
#include "symbol.h"
#include "matrix_check.h"
#include "verify.h"

namespace strimlo::cli {

// Grades every file of o.files; 0 when each meets o.minGrade, 1 otherwise.
int checkMain(const Options& o);

// The lowest value of a letter grade: A 3.5, B 2.5, C 1.5, D 0.5.
double gradeFloor(char letter);

struct SymbolCheck {
  std::string note;     // "grade B (3.0): decodability 0.52"
  std::string refusal;  // non-empty: why the file must not be written
  // Decoded data, grade, letter, each parameter's worst value: a report's cells.
  std::vector<std::string> cells;
  // The reading itself and the resolution drawn at; dpi 0 when nothing could be drawn.
  verify::Verification verification;
  double dpi = 0;
  // A 2D type's check, or a linear symbol's companion's, and its note and report cells
  // (content read, symbol contrast, module in dots, whole dots).
  std::optional<verify::MatrixCheck> matrix;
  std::string matrixNote;  // "companion: QR Code decodes to the intended content; ..."
  std::vector<std::string> matrixCells;
};

// The names of SymbolCheck's cells, for a report's header.
std::vector<std::string> checkCellNames();
// The names of its matrix cells: after the report's refusal, so no column moves.
std::vector<std::string> matrixCellNames();

// Draws the symbol as the file's raster (vector formats and EPS at 600 dpi), reads it back
// and grades it: refused when it does not read as the digits and add-on meant, or grades
// below minGrade. A 2D type, and a companion besides the linear grade, must decode to
// exactly the content meant, its symbol contrast graded at minGrade or better. For a raster format, `drawn` (when given) receives the ink drawn, which
// is the file's bitmap: the file need not be drawn a second time.
SymbolCheck checkSymbol(const Symbol& symbol, FileFormat format, SizeIndex size, ResolutionIndex res,
                        const Prepress& prepress, char minGrade, InkBitmap* drawn = nullptr,
                        const FreeSize& free = {});

// The grade a raster file of the symbol would get, without asking the reader: one row
// across the middle of its bars drawn as the file draws it, graded as --verify grades (every
// scan line of a drawn symbol crosses the same pixels). A fraction of a millisecond at 300
// dpi; nullopt when the symbol cannot be drawn.
std::optional<verify::Verification> rasterGrade(const Symbol& symbol, FileFormat format, SizeIndex size,
                                                ResolutionIndex res, const Prepress& prepress);

}  // namespace strimlo::cli
