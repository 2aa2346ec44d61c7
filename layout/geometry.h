#pragma once
// Sizes beyond the fixed lists: any magnification or X dimension, any resolution, the
// module on the printer's dot grid, a reduced bar height. One set of rules and messages
// for every front end; the fixed lists' indexes stay the default.
#include <optional>
#include <string>
#include <string_view>

#include "codetypes.h"
#include "layout.h"

namespace strimlo {

// What a user asked for besides the lists' size and res; each field absent when not given.
struct FreeSize {
  std::optional<double> magnification;  // percent of the 0.33 mm module
  std::optional<double> module;         // the X dimension in millimetres
  std::optional<int> dpi;               // a raster file's resolution
  bool snap = true;                     // with dpi: the module a whole number of dots
  std::optional<int> snapDpi;           // vector pages: the dot grid of the imaging device
  std::optional<double> height;         // the normal bars' length in millimetres
  bool operator==(const FreeSize&) const = default;
  // A magnification or module is given: the lists' size no longer applies.
  bool sizeGiven() const { return magnification || module; }
  // Anything that changes a file; snapping alone does not, it needs a dpi.
  bool any() const { return sizeGiven() || dpi || snapDpi || height; }
};

// The accepted ranges.
inline constexpr double kMinMagnification = 75.0;
inline constexpr double kMaxMagnification = 200.0;
inline constexpr double kGs1MinMagnification = 80.0;  // below it GS1 only allows exceptions
inline constexpr double kNominalModule = 0.33;        // millimetres at 100 %
inline constexpr double kMinModule = 0.2475;
inline constexpr double kMaxModule = 0.66;
inline constexpr int kMinDpi = 72;
inline constexpr int kMaxDpi = 4800;
inline constexpr double kMinHeightShare = 0.5;  // of the nominal height

// A decimal as people type it: "120", "120.5" or "120,5", blanks around it; nothing else
// (no NaN, no infinity, no exponent, no second number).
std::optional<double> parseDecimal(std::string_view text);

// The value of each field, or why it is refused: "magnification: 250 is outside 75 to
// 200 %". `name` is how the front end calls the field (an option, a column).
std::optional<std::string> magnificationProblem(double percent);
std::optional<std::string> moduleProblem(double millimetres);
std::optional<std::string> dpiProblem(double dpi);
std::optional<std::string> heightProblem(double millimetres, CodeType type, double scale);

// Every rule at once, for a type at the lists' size unless the free size replaces it;
// nullopt when the choice is good.
std::optional<std::string> freeSizeProblem(const FreeSize& free, CodeType type, SizeIndex size = 2);

// The fields by the names the command line, batch columns and server share:
// "magnification" (a trailing "%" allowed), "module" and "height" ("mm"), "dpi" and
// "snap_dpi" ("dpi"). Sets the field from text as typed and returns "", or returns why
// not with the accepted range. An unknown name is a logic error of the caller.
std::string setFreeSizeField(FreeSize& free, std::string_view name, std::string_view text);

// The geometry of a file: the lists' choice with whatever the free size replaces. bitmap:
// a raster file (vector pages are in points, snapped only to snapDpi).
Geometry geometryFor(SizeIndex size, ResolutionIndex res, const FreeSize& free, bool bitmap);

// "module 4 dots = 0.3387 mm, 102.6 %" for a module on a dot grid, "module 3.898 dots =
// 0.3300 mm, 100.0 %" off it, "0.3960 mm, 120.0 %" for a page; what the file's
// description and the note on standard error say. Empty for the lists' sizes alone.
std::string sizeNote(const Geometry& geometry, const FreeSize& free, bool bitmap);

// The note a magnification below GS1's 80 % gets, or "".
std::string smallSizeNote(double scale);

}  // namespace strimlo
