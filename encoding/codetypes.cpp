#include "codetypes.h"

#include <array>

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
bool hasTextLine(CodeType type) { return isIsbn(type) || type == kISSN || type == kISMN; }
bool takesAddon(CodeType type) { return type >= kISBN10 && type <= kISMN; }
bool takesPrice(CodeType type) { return isIsbn(type) || type == kISMN; }
bool takesVariant(CodeType type) { return type == kISSN; }

const char* codeTypeName(CodeType type) {
  switch (type) {
    case kEAN8: return "EAN-8";
    case kEAN13: return "EAN-13";
    case kISBN10: return "ISBN-10";
    case kISBN13: return "ISBN-13";
    case kUPCA: return "UPC-A";
    case kUPCE: return "UPC-E";
    case kISSN: return "ISSN";
    case kISMN: return "ISMN";
    default: return "unknown code type";
  }
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
