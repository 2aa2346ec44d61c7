#pragma once
// The symbol in an image as zxing-cpp reads it: EAN-13, EAN-8, UPC-A or UPC-E with a 2- or
// 5-digit add-on, bars upright.
#include <optional>
#include <string>

#include "image.h"
#include "matrix.h"

namespace strimlo::verify {

struct Decoded {
  std::string format;  // "EAN-13", "EAN-8", "UPC-A", "UPC-E"
  std::string digits;  // the main symbol's, check digit included
  std::string addon;   // "" when there is none
  int x0 = 0, x1 = 0;  // where the rows were read, in pixels
  int y0 = 0, y1 = 0;
};

// problem: why no reader could be asked, when that was the case.
std::optional<Decoded> decode(const Image& image, std::string* problem = nullptr);

// A 2D symbol as zxing-cpp reads it.
struct DecodedMatrix {
  std::string format;      // "QR Code", "DataMatrix"
  std::string identifier;  // the symbology identifier: "]Q1", "]d2" (GS1: FNC1 first), ...
  std::string content;     // the bytes a reader hands on: GS (0x1D) between GS1 elements
  int x0 = 0, x1 = 0;      // where it was found, in pixels
  int y0 = 0, y1 = 0;
};

// The first symbol of that kind in the image; problem as for decode().
std::optional<DecodedMatrix> decodeMatrix(const Image& image, MatrixKind kind,
                                          std::string* problem = nullptr);

// Starts readying the reader, for a program that knows it will read: where zxing-cpp is
// loaded on first use, the loading then runs beside whatever the program does first.
void prepareDecoder();

}  // namespace strimlo::verify
