#include "geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "shape.h"

namespace strimlo {

namespace {

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  // snprintf follows the C locale, which a toolkit may have set to a decimal comma.
  std::string s = text;
  std::replace(s.begin(), s.end(), ',', '.');
  return s;
}

std::string fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string s = text;
  std::replace(s.begin(), s.end(), ',', '.');
  return s;
}

// The whole number of dots nearest a module of `millimetres` at `dpi`, never none.
int dotsFor(double millimetres, double dpi) {
  return std::max(1, static_cast<int>(std::lround(millimetres * dpi / 25.4)));
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text) {
  const auto b = text.find_first_not_of(" \t");
  if (b == std::string_view::npos) return std::nullopt;
  const auto e = text.find_last_not_of(" \t");
  std::string word(text.substr(b, e - b + 1));
  // A decimal comma, as half of Europe types it; one only.
  if (const auto comma = word.find(','); comma != std::string::npos) {
    if (word.find('.') != std::string::npos || word.find(',', comma + 1) != std::string::npos)
      return std::nullopt;
    word[comma] = '.';
  }
  // Digits and one full stop: from_chars alone would take "nan", "inf" and "1e3".
  if (word.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
  double value = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, value, std::chars_format::fixed);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

namespace {

// The text without a unit typed after the number ("120 %", "0.4mm", "203 dpi").
std::string_view withoutUnit(std::string_view text, std::string_view unit) {
  const auto e = text.find_last_not_of(" \t");
  if (e == std::string_view::npos) return text;
  text = text.substr(0, e + 1);
  if (text.size() >= unit.size() && text.substr(text.size() - unit.size()) == unit)
    text.remove_suffix(unit.size());
  return text;
}

struct FieldRule {
  std::string_view name;
  std::string_view unit;
  std::string_view range;  // as a refusal states it
};
constexpr FieldRule kFieldRules[] = {
    {"magnification", "%", "75 to 200 %, decimals allowed"},
    {"module", "mm", "0.2475 to 0.66 mm"},
    {"dpi", "dpi", "a whole number from 72 to 4800"},
    {"snap_dpi", "dpi", "a whole number from 72 to 4800"},
    {"height", "mm", "millimetres, 50 to 100 % of the nominal bar height"},
};

}  // namespace

std::string setFreeSizeField(FreeSize& free, std::string_view name, std::string_view text) {
  const FieldRule* rule = nullptr;
  for (const FieldRule& r : kFieldRules)
    if (r.name == name) rule = &r;
  if (rule == nullptr) return "unknown size field " + std::string(name);
  const std::optional<double> value = parseDecimal(withoutUnit(text, rule->unit));
  if (!value)
    return std::string(name) + " \"" + std::string(text.substr(0, 40)) + "\" is not a number (" +
           std::string(rule->range) + ")";
  std::optional<std::string> why;
  if (name == "magnification") why = magnificationProblem(*value);
  if (name == "module") why = moduleProblem(*value);
  if (name == "dpi") why = dpiProblem(*value);
  if (name == "snap_dpi")
    if (auto problem = dpiProblem(*value)) why = "snap " + *problem;
  if (name == "height" && !(*value > 0.0))
    why = "bar height " + number(*value) + " mm is not above 0 (" + std::string(rule->range) + ")";
  if (why) return *why;
  if (name == "magnification") free.magnification = value;
  if (name == "module") free.module = value;
  if (name == "dpi") free.dpi = static_cast<int>(*value);
  if (name == "snap_dpi") free.snapDpi = static_cast<int>(*value);
  if (name == "height") free.height = value;
  return {};
}

std::optional<std::string> magnificationProblem(double percent) {
  if (percent >= kMinMagnification && percent <= kMaxMagnification) return std::nullopt;
  return "magnification " + number(percent) + " is outside 75 to 200 %";
}

std::optional<std::string> moduleProblem(double millimetres) {
  if (millimetres >= kMinModule && millimetres <= kMaxModule) return std::nullopt;
  return "module " + number(millimetres) + " mm is outside 0.2475 to 0.66 mm (75 to 200 %)";
}

std::optional<std::string> dpiProblem(double dpi) {
  if (dpi >= kMinDpi && dpi <= kMaxDpi && dpi == std::floor(dpi)) return std::nullopt;
  return "resolution " + number(dpi) + " dpi is not a whole number from 72 to 4800";
}

std::optional<std::string> heightProblem(double millimetres, CodeType type, double scale) {
  const double nominal = nominalBarHeight(type, scale);
  if (millimetres >= nominal * kMinHeightShare - 1e-9 && millimetres <= nominal + 1e-9)
    return std::nullopt;
  return "bar height " + number(millimetres) + " mm is outside " +
         fixed(nominal * kMinHeightShare, 2) + " to " + fixed(nominal, 2) +
         " mm (50 to 100 % of the nominal height at this size)";
}

Geometry geometryFor(SizeIndex size, ResolutionIndex res, const FreeSize& free, bool bitmap) {
  Geometry g = presetGeometry(size, bitmap ? res : 0);
  if (bitmap && free.dpi) g.dpi = static_cast<float>(*free.dpi);
  double millimetres = kNominalModule * g.scale;
  if (free.magnification) millimetres = kNominalModule * *free.magnification / 100.0;
  if (free.module) millimetres = *free.module;
  if (free.sizeGiven()) g.scale = static_cast<float>(millimetres / kNominalModule);
  // The grid: a raster's own dots when its resolution was chosen freely, a page's device.
  const std::optional<int> grid = bitmap ? (free.snap ? free.dpi : std::nullopt) : free.snapDpi;
  if (grid) {
    const int dots = dotsFor(millimetres, *grid);
    g.scale = static_cast<float>(dots * 25.4 / *grid / kNominalModule);
    if (bitmap) g.moduleDots = dots;
  }
  if (free.height) g.barHeight = static_cast<float>(*free.height);
  return g;
}

std::optional<std::string> freeSizeProblem(const FreeSize& free, CodeType type, SizeIndex size) {
  if (free.magnification && free.module)
    return std::string("give the size once: a magnification or a module, not both");
  if (free.magnification)
    if (auto why = magnificationProblem(*free.magnification)) return why;
  if (free.module)
    if (auto why = moduleProblem(*free.module)) return why;
  if (free.dpi)
    if (auto why = dpiProblem(*free.dpi)) return why;
  if (free.snapDpi)
    if (auto why = dpiProblem(*free.snapDpi)) return "snap " + *why;
  if (free.height) {
    // The height is measured against the size actually drawn; the grid does not move it.
    const double scale = free.module          ? *free.module / kNominalModule
                         : free.magnification ? *free.magnification / 100.0
                                              : getScale(size);
    if (auto why = heightProblem(*free.height, type, scale)) return why;
  }
  return std::nullopt;
}

std::string sizeNote(const Geometry& g, const FreeSize& free, bool bitmap) {
  if (!free.any()) return {};
  const double scale = g.scale;
  const std::string size =
      fixed(kNominalModule * scale, 4) + " mm, " + fixed(scale * 100.0, 1) + " %";
  if (bitmap && g.moduleDots > 0)
    return "module " + std::to_string(g.moduleDots) + " dots = " + size;
  if (bitmap) return "module " + fixed(kNominalModule * scale * g.dpi / 25.4, 3) + " dots = " + size;
  if (free.snapDpi) {
    const int dots = dotsFor(kNominalModule * scale, *free.snapDpi);
    return "module " + std::to_string(dots) + " dots at " + std::to_string(*free.snapDpi) +
           " dpi = " + size;
  }
  return "module " + size;
}

std::string smallSizeNote(double scale) {
  if (scale * 100.0 >= kGs1MinMagnification - 1e-6) return {};
  return "magnification " + fixed(scale * 100.0, 1) +
         " %: GS1 sets 80 % as the minimum (below it only for agreed exceptions)";
}

}  // namespace strimlo
