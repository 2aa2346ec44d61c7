#include "matrix.h"

#include <memory>

#include <zint.h>

namespace strimlo {

MatrixEncoding encodeMatrix(MatrixKind kind, std::string_view data, char ecc, Matrix& m) {
  std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> z(ZBarcode_Create(), ZBarcode_Delete);
  if (!z) return {false, "not enough memory to encode the 2D symbol"};
  const char* name = kind == MatrixKind::QR ? "QR Code" : "DataMatrix";
  if (kind == MatrixKind::QR) {
    z->symbology = BARCODE_QRCODE;
    z->input_mode = DATA_MODE;
    switch (ecc) {
      case 'L': z->option_1 = 1; break;
      case 'M': z->option_1 = 2; break;
      case 'Q': z->option_1 = 3; break;
      case 'H': z->option_1 = 4; break;
      default: return {false, "QR Code error correction must be L, M, Q or H"};
    }
  } else {
    z->symbology = BARCODE_DATAMATRIX;
    z->input_mode = GS1_MODE;
    z->option_3 = DM_SQUARE;
  }
  if (data.empty()) return {false, std::string("no data for the ") + name};
  // Beyond what the largest symbol of either kind holds.
  if (data.size() > 4096) return {false, std::string("the data is too large for the ") + name};
  const int status = ZBarcode_Encode(z.get(), reinterpret_cast<const unsigned char*>(data.data()),
                                     static_cast<int>(data.size()));
  if (status >= ZINT_ERROR) {
    if (status == ZINT_ERROR_TOO_LONG)
      return {false, std::string("the data is too large for the ") + name +
                         (kind == MatrixKind::QR ? std::string(" at error correction ") + ecc : "")};
    return {false, std::string("the ") + name + " could not be encoded (" + z->errtxt + ")"};
  }
  // The matrix as zint leaves it: one bit per module, least significant first in a byte.
  if (z->rows <= 0 || z->width <= 0 || z->rows > 200 || z->width > 144 * 8)
    return {false, std::string("the ") + name + " could not be encoded"};
  m.kind = kind;
  m.rows = z->rows;
  m.cols = z->width;
  m.dark.assign(static_cast<std::size_t>(m.rows) * m.cols, 0);
  for (int r = 0; r < m.rows; ++r)
    for (int c = 0; c < m.cols; ++c)
      m.dark[static_cast<std::size_t>(r) * m.cols + c] = (z->encoded_data[r][c >> 3] >> (c & 7)) & 1;
  return {true, {}};
}

}  // namespace strimlo
