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
inline constexpr CodeType kUPCA = 4;
inline constexpr CodeType kUPCE = 5;
inline constexpr CodeType kISSN = 6;
inline constexpr CodeType kISMN = 7;
// 2D: a QR Code holding a GS1 Digital Link URI, a GS1 DataMatrix holding an element string.
inline constexpr CodeType kGS1QR = 8;
inline constexpr CodeType kGS1DataMatrix = 9;

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
// The types that print their number as a line above the bars: ISBN, ISSN, ISMN.
bool hasTextLine(CodeType type);
// What each type takes besides its number: an add-on (ISBN: 5 digits, the others 2 or
// 5), a price printed above the add-on, a 2-digit ISSN sequence variant.
bool takesAddon(CodeType type);
bool takesPrice(CodeType type);
bool takesVariant(CodeType type);
// "EAN-13", "ISBN-10", "UPC-A", ...; "unknown code type" for values outside the list.
const char* codeTypeName(CodeType type);
// "eps", "png", "tiff", "jpg", "pdf", "svg"; nullptr for values outside the list.
const char* fileExtension(FileFormat format);

}  // namespace strimlo
