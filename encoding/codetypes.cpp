#include "codetypes.h"

#include <array>
#include <utility>

#include "symbologies.h"

namespace strimlo {

namespace {

// Magnifications offered in the window, smallest first.
constexpr std::array<float, kSizeCount> kScales = {0.82f, 0.91f, 1.0f,  1.1f,  1.21f,
                                                   1.36f, 1.52f, 1.67f, 1.82f, 1.97f};
// Resolutions offered for raster files, in dots per inch.
constexpr std::array<float, kResolutionCount> kResolutions = {72.0f,   100.0f,  300.0f,
                                                              600.0f,  1200.0f, 2400.0f,
                                                              2540.0f, 3200.0f};

}  // namespace

float getScale(SizeIndex size) {
  // Unsigned comparison: negative indices fall back too.
  return static_cast<std::uint32_t>(size) < kScales.size() ? kScales[size] : 1.0f;
}

float getResolution(ResolutionIndex res) {
  return static_cast<std::uint32_t>(res) < kResolutions.size() ? kResolutions[res] : 300.0f;
}

bool isIsbn(CodeType type) { return type == kISBN10 || type == kISBN13; }

namespace {

template <typename F>
auto rowOr(CodeType type, F get, decltype(get(std::declval<const SymbologyRow&>())) fallback) {
  const SymbologyRow* row = symbology(type);
  return row ? get(*row) : fallback;
}

}  // namespace

bool hasTextLine(CodeType type) { return rowOr(type, [](const auto& r) { return r.textLine; }, false); }
bool takesAddon(CodeType type) {
  return rowOr(type, [](const auto& r) { return r.addon != AddonRule::None; }, false);
}
bool takesPrice(CodeType type) { return rowOr(type, [](const auto& r) { return r.price; }, false); }
bool takesVariant(CodeType type) { return rowOr(type, [](const auto& r) { return r.variant; }, false); }

const char* codeTypeName(CodeType type) {
  return rowOr(type, [](const auto& r) { return r.name; }, "unknown code type");
}

const char* fileExtension(FileFormat format) {
  switch (format) {
    case kEPS: return "eps";
    case kPNG: return "png";
    case kTIFF: return "tiff";
    case kJPEG: return "jpg";
    case kPDF: return "pdf";
    case kSVG: return "svg";
    default: return nullptr;
  }
}

}  // namespace strimlo
