#pragma once
// A 2D symbol checked as drawn: read by zxing-cpp and held to exactly the content meant,
// and what can be measured on a bitmap of our own without a decoder's grid: the symbol
// contrast and the module in dots. That is not a full ISO/IEC 15415 grade (no modulation,
// pattern damage or grid nonuniformity), and every text says so.
#include <string>
#include <string_view>

#include "image.h"
#include "matrix.h"

namespace strimlo::verify {

// Pixels x0 <= x < x1, y0 <= y < y1, top row 0.
struct PixelBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct MatrixCheck {
  std::string format;   // the symbology meant: "QR Code", "DataMatrix"
  bool decoded = false;  // a symbol of that symbology was read
  // Non-empty: the check failed. Not decoded: "no QR Code found" (or why no reader could
  // be asked); decoded: "reads as ..., not ..." or another symbology identifier.
  std::string error;
  std::string content;     // the bytes read, GS (0x1D) between GS1 elements
  std::string identifier;  // "]Q1", "]d2", ...
  // Rmax - Rmin over the symbol and its quiet zone, percent, and its grade (4 A to 0 F;
  // ISO/IEC 15415 and 15416 share the thresholds).
  double contrast = 0;
  int contrastGrade = 0;
  // The dark modules' extent over their count, across and down, in pixels; whole when
  // every module edge falls on a pixel edge (no pixel partly inked).
  double moduleDots = 0;
  double moduleDotsDown = 0;
  bool wholeDots = false;
  // Beside a linear symbol: whether a reader given the whole picture finds it too. zxing-cpp
  // 1.4 looks for a DataMatrix along the picture's middle lines only, so one beside taller
  // bars is found only by a reader aimed at it (as a scanner or phone is).
  bool foundInWhole = true;
  char letter = 'F';  // the lower of decode (A or F) and contrast: only what was measured
};

// Checks the symbol of `meant` in `region` of the image (the matrix and its quiet zone).
MatrixCheck checkMatrix(const Image& image, const Matrix& meant, const PixelBox& region);

// "QR Code decodes to the intended content; contrast A (100 %); module 4 dots (whole) at
// 300 dpi; not a full ISO/IEC 15415 grade"; dpi 0 leaves out " at ... dpi". A failed
// check: its error.
std::string matrixSummary(const MatrixCheck& check, double dpi = 0);

// A content for a line of text: GS as "<GS>", other control bytes as "\xNN", cut to
// about 200 bytes.
std::string visibleContent(std::string_view content);

}  // namespace strimlo::verify
