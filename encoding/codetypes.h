#pragma once
// The four small enumerations that pass between the encoder, the renderers and the
// window. Each is the index of the selected item of one of the window's lists, so
// they stay plain integers: any value may arrive, and the receivers decide.
#include <cstdint>

namespace strimlo {

using CodeType = std::int32_t;
using FileFormat = std::int32_t;
using SizeIndex = std::int32_t;
using ResolutionIndex = std::int32_t;

inline constexpr CodeType kEAN8 = 0;
inline constexpr CodeType kEAN13 = 1;
inline constexpr CodeType kISBN10 = 2;
inline constexpr CodeType kISBN13 = 3;

inline constexpr FileFormat kEPS = 0;
inline constexpr FileFormat kPNG = 1;
inline constexpr FileFormat kTIFF = 2;
inline constexpr FileFormat kJPEG = 3;
inline constexpr FileFormat kPDF = 4;  // vector, K-only black, for print
inline constexpr FileFormat kSVG = 5;  // vector, for web and layout

inline constexpr int kSizeCount = 10;
inline constexpr int kResolutionCount = 8;

// Magnification of the nominal 0.33 mm module; 1.0 for any index outside the list.
float getScale(SizeIndex size);
// Dots per inch of a raster file; 300 for any index outside the list.
float getResolution(ResolutionIndex res);

bool isIsbn(CodeType type);
// "EAN-13", "ISBN-10", ...; "unknown code type" for values outside the list.
const char* codeTypeName(CodeType type);
// "eps", "png", "tiff", "jpg", "pdf", "svg"; nullptr for values outside the list.
const char* fileExtension(FileFormat format);

}  // namespace strimlo
