#include "symbologies.h"

#include <array>
#include <cctype>

namespace strimlo {

namespace {

// The EAN-13 family: 95 modules, guards at 0-2, 45-49 and 92-94, the leading digit left of
// the bars, the others under modules 3.. with the centre guard after the sixth.
constexpr Shape kEan13Shape = {95, 3, 45, 48, 92, 13, Outside::Leading, 3, 6, 1.2f};
constexpr LightMargins kEan13Margins = {11, 7, false};
constexpr Shape kMatrixShape = {0, 0, 1, 0, 0, 0, Outside::None, 0, -1, 1.0f};

constexpr std::array<SymbologyRow, 10> kRows = {{
    {kEAN8, "ean8", "ean-8", "EAN-8", AddonRule::None, false, false, false,
     {67, 3, 32, 35, 64, 8, Outside::None, 3, 3, 0.84f}, {7, 7, true}},
    {kEAN13, "ean13", "ean-13", "EAN-13", AddonRule::None, false, false, false, kEan13Shape,
     kEan13Margins},
    // Drawn as its EAN-13 (978 and the first nine digits).
    {kISBN10, "isbn10", "isbn-10", "ISBN-10", AddonRule::Five, true, false, true, kEan13Shape,
     kEan13Margins},
    {kISBN13, "isbn13", "isbn-13", "ISBN-13", AddonRule::Five, true, false, true, kEan13Shape,
     kEan13Margins},
    // The first and last symbol characters reach as low as the guards.
    {kUPCA, "upca", "upc-a", "UPC-A", AddonRule::TwoOrFive, false, false, false,
     {95, 10, 45, 48, 85, 12, Outside::Small, 10, 5, 1.2f}, {9, 9, false}},
    // The end guard 010101 from module 45; as tall as UPC-A (95 / 1.2 modules).
    {kUPCE, "upce", "upc-e", "UPC-E", AddonRule::TwoOrFive, false, false, false,
     {51, 3, 1, 0, 45, 8, Outside::Small, 3, -1, 0.6442105f}, {9, 7, false}},
    // An EAN-13 with prefix 977.
    {kISSN, "issn", nullptr, "ISSN", AddonRule::TwoOrFive, false, true, true, kEan13Shape,
     kEan13Margins},
    // An EAN-13 with prefix 979-0.
    {kISMN, "ismn", nullptr, "ISMN", AddonRule::TwoOrFive, true, false, true, kEan13Shape,
     kEan13Margins},
    // 2D: no bars; the layout draws the matrix, its quiet zones always included.
    {kGS1QR, "gs1-qr", "gs1qr", "GS1 QR Code", AddonRule::None, false, false, false,
     kMatrixShape, {0, 0, false}},
    {kGS1DataMatrix, "gs1-datamatrix", "gs1datamatrix", "GS1 DataMatrix", AddonRule::None, false,
     false, false, kMatrixShape, {0, 0, false}},
}};

bool sameWord(std::string_view a, const char* b) {
  if (b == nullptr) return false;
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return i == a.size() && b[i] == '\0';
}

}  // namespace

std::span<const SymbologyRow> symbologies() { return kRows; }

const SymbologyRow* symbology(CodeType type) {
  for (const SymbologyRow& row : kRows)
    if (row.type == type) return &row;
  return nullptr;
}

const SymbologyRow* symbologyNamed(std::string_view word) {
  for (const SymbologyRow& row : kRows)
    if (sameWord(word, row.token) || sameWord(word, row.alias)) return &row;
  return nullptr;
}

}  // namespace strimlo
