#pragma once
// An image's symbol read and graded: the data zxing-cpp finds, and the print quality of
// the main symbol over ten scan lines equally spaced from 10 % to 90 % of its bar height,
// each seen through a circular aperture of 0.150 mm (0.100 mm for modules under
// 0.264 mm).
#include <array>
#include <string>
#include <vector>

#include "decode.h"
#include "grade.h"
#include "image.h"

namespace strimlo::verify {

inline constexpr int kScanLines = 10;

struct Verification {
  std::string error;   // non-empty: no grade, e.g. "no EAN-13, EAN-8, UPC-A or UPC-E symbol found"
  std::string format;  // "EAN-13", ...
  std::string digits;  // as decoded
  std::string addon;   // "" when none
  double grade = 0;    // the mean of the lines' grades, 0 to 4
  char letter = 'F';
  // Each parameter's worst value over the lines and its lowest grade.
  std::array<double, kParameterCount> values{};
  std::array<int, kParameterCount> grades{};
  Parameter weakest = kDecode;  // the lowest grade; the first of kWeakOrder among equals
  int worstLine = 0;            // 1 (top) to 10: the line of the lowest grade
  std::vector<Profile> lines;
  double modulePixels = 0;   // the module measured on the centre line
  double pixelsPerMm = 0;    // as stated, or as a 0.330 mm module makes it
  bool resolutionStated = false;
  double apertureMm = 0;
};

Verification verifyImage(const Image& image);

// The grade of a symbol known beforehand, without asking the reader: `known` names it as
// decode() would (format, digits, add-on) and where to look (the rows read around
// (y0 + y1) / 2, the columns x0 to x1). A drawn symbol's grade without the cost of a read.
Verification gradeKnown(const Image& image, const Decoded& known);

// "grade B (3.0): decodability 0.52"
std::string summary(const Verification& v);
// "decodability 0.52 (B)"; contrasts in percent, quiet zones in modules.
std::string parameterText(const Verification& v, Parameter parameter);

}  // namespace strimlo::verify
