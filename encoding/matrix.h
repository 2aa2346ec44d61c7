#pragma once
// The 2D symbols at retail: a QR Code holding a GS1 Digital Link URI and a GS1 DataMatrix
// holding an element string. libzint encodes the matrix; everything else (the data, its
// checks, the geometry and every file) is ours.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace strimlo {

enum class MatrixKind { QR, DataMatrix };

// X dimension limits for retail point of sale (GS1's table of symbol sizes for trade
// items scanned at the till), in millimetres; the same for both symbologies.
inline constexpr double kMatrixModuleMin = 0.396;
inline constexpr double kMatrixModuleTarget = 0.495;
inline constexpr double kMatrixModuleMax = 0.990;

struct Matrix {
  MatrixKind kind = MatrixKind::QR;
  int rows = 0;
  int cols = 0;
  std::vector<std::uint8_t> dark;  // rows x cols, top row first: 1 for a dark module
  // What a reader must decode: the Digital Link URI, or the element string with GS (0x1D)
  // after each variable-length value that is not last.
  std::string content;
  std::string hri;           // "(01) 09780306406157": the GTIN under the symbol
  double moduleMm = kMatrixModuleTarget;
  int quiet = 4;             // light margin on every side, in modules: 4 for QR, 1 for DataMatrix
  bool text = true;          // the GTIN line under the symbol
  char wrongCheck = 0;       // the correct check character when the typed one was wrong

  bool at(int row, int col) const { return dark[static_cast<std::size_t>(row) * cols + col] != 0; }
};

struct MatrixEncoding {
  bool ok = false;
  std::string error;  // why not, for a person
};

// Encodes `data` into m's rows, cols and dark modules. QR: the bytes as they are, error
// correction 'L', 'M', 'Q' or 'H'. DataMatrix: ECC 200, square, in GS1 mode, from the
// bracketed element string "[01]...[10]..." (FNC1 first, separators where GS1 puts them).
MatrixEncoding encodeMatrix(MatrixKind kind, std::string_view data, char ecc, Matrix& m);

}  // namespace strimlo
