#pragma once
// Print quality of an EAN/UPC symbol, after ISO/IEC 15416 as GS1 applies it: scan
// reflectance profiles across the bars, each graded on every parameter, the symbol's grade
// the mean of the profiles' grades. The symbol is found and its data read by zxing-cpp
// (decode.h); the parameters are measured here.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "patterns.h"

namespace strimlo::verify {

enum Parameter {
  kDecode,           // the reference decode gives the symbol's modules
  kSymbolContrast,   // Rmax - Rmin, percent
  kMinReflectance,   // Rmin <= Rmax / 2
  kMinEdgeContrast,  // the least contrast across an edge, percent
  kModulation,       // minimum edge contrast / symbol contrast
  kDefects,          // the largest element reflectance non-uniformity / symbol contrast
  kDecodability,     // the least margin of a measured width from its decode threshold
  kQuietZones,       // the light margins, in modules
  kParameterCount
};

// "decode", "symbol contrast", ...
const char* parameterName(Parameter parameter);
// 4 (A) to 0 (F), with the thresholds of ISO/IEC 15416.
int gradeOf(Parameter parameter, double value);
// 'A' for 3.5 and above, 'B' from 2.5, 'C' from 1.5, 'D' from 0.5, else 'F'.
char letterOf(double grade);

// What a profile must hold: the main symbol's modules, and its minimum light margins.
struct Expected {
  ModulePattern pattern;
  int quietLeft = 0;   // modules
  int quietRight = 0;
};

// One scan reflectance profile graded.
struct Profile {
  std::array<double, kParameterCount> values{};  // decode: 1 or 0; quiet zones: the
                                                 // smaller margin over its minimum
  std::array<int, kParameterCount> grades{};
  double rmin = 0, rmax = 0;  // percent
  double quietLeft = 0, quietRight = 0;  // modules; the image's edge row goes on outward
  double start = 0, end = 0;  // the first bar's leading and the last bar's trailing edge
  int grade = 0;              // the lowest of the parameters'
};

// Grades reflectances (percent, 0 to 100) sampled at even steps along a line across the
// symbol and its light margins. Without a decode, decodability and the quiet zones are
// 0 and so is the grade.
Profile gradeProfile(std::span<const double> reflectance, const Expected& expected);

}  // namespace strimlo::verify
