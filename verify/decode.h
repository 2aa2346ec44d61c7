#pragma once
// The symbol in an image as zxing-cpp reads it: EAN-13, EAN-8, UPC-A or UPC-E with a 2- or
// 5-digit add-on, bars upright.
#include <optional>
#include <string>

#include "image.h"

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

// Starts readying the reader, for a program that knows it will read: where zxing-cpp is
// loaded on first use, the loading then runs beside whatever the program does first.
void prepareDecoder();

}  // namespace strimlo::verify
