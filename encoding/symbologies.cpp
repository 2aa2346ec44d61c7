#include "symbologies.h"

#include <array>
#include <cctype>

namespace strimlo {

namespace {

// The window translates the labels below; Qt's lupdate finds them in this file by this
// name (the window's context, where their translations live).
#define QT_TRANSLATE_NOOP(context, text) text

// The EAN-13 family: 95 modules, guards at 0-2, 45-49 and 92-94, the leading digit left of
// the bars, the others under modules 3.. with the centre guard after the sixth.
constexpr Shape kEan13Shape = {95, 3, 45, 48, 92, 13, Outside::Leading, 3, 6, 1.2f};
constexpr LightMargins kEan13Margins = {11, 7, false};
constexpr Shape kMatrixShape = {0, 0, 1, 0, 0, 0, Outside::None, 0, -1, 1.0f};

constexpr std::array<SymbologyRow, 10> kRows = {{
    {kEAN8, "ean8", "ean-8", "EAN-8", AddonRule::None, false, false, false,
     {67, 3, 32, 35, 64, 8, Outside::None, 3, 3, 0.84f}, {7, 7, true},
     QT_TRANSLATE_NOOP("MainWindow", "EAN-8 (small products)"),
     "7 digits (an 8th, the check digit, is recomputed)"},
    {kEAN13, "ean13", "ean-13", "EAN-13", AddonRule::None, false, false, false, kEan13Shape,
     kEan13Margins, QT_TRANSLATE_NOOP("MainWindow", "EAN-13 (products)"),
     "12 digits (a 13th is recomputed)"},
    // Drawn as its EAN-13 (978 and the first nine digits).
    {kISBN10, "isbn10", "isbn-10", "ISBN-10", AddonRule::Five, true, false, true, kEan13Shape,
     kEan13Margins, QT_TRANSLATE_NOOP("MainWindow", "ISBN-10 (books)"),
     "an ISBN-10, hyphens or spaces allowed, e.g. 0-306-40615-2"},
    {kISBN13, "isbn13", "isbn-13", "ISBN-13", AddonRule::Five, true, false, true, kEan13Shape,
     kEan13Margins, QT_TRANSLATE_NOOP("MainWindow", "ISBN-13 (books)"),
     "an ISBN-13, hyphens or spaces allowed, e.g. 978-3-16-148410-0"},
    // The first and last symbol characters reach as low as the guards.
    {kUPCA, "upca", "upc-a", "UPC-A", AddonRule::TwoOrFive, false, false, false,
     {95, 10, 45, 48, 85, 12, Outside::Small, 10, 5, 1.2f}, {9, 9, false},
     QT_TRANSLATE_NOOP("MainWindow", "UPC-A (US and Canada products)"),
     "UPC-A: 11 digits (a 12th is recomputed), e.g. 03600029145"},
    // The end guard 010101 from module 45; as tall as UPC-A (95 / 1.2 modules).
    {kUPCE, "upce", "upc-e", "UPC-E", AddonRule::TwoOrFive, false, false, false,
     {51, 3, 1, 0, 45, 8, Outside::Small, 3, -1, 0.6442105f}, {9, 7, false},
     QT_TRANSLATE_NOOP("MainWindow", "UPC-E (small US products)"),
     "UPC-E: 6 digits (number system 0), 7 (0 and 6), 8 (with the check digit), "
     "or a UPC-A of 11 or 12 digits whose zeros UPC-E can leave out, e.g. 0123456"},
    // An EAN-13 with prefix 977.
    {kISSN, "issn", nullptr, "ISSN", AddonRule::TwoOrFive, false, true, true, kEan13Shape,
     kEan13Margins, QT_TRANSLATE_NOOP("MainWindow", "ISSN (magazines)"),
     "an ISSN, hyphen or space allowed, e.g. 0317-8471 (see --variant)"},
    // An EAN-13 with prefix 979-0.
    {kISMN, "ismn", nullptr, "ISMN", AddonRule::TwoOrFive, true, false, true, kEan13Shape,
     kEan13Margins, QT_TRANSLATE_NOOP("MainWindow", "ISMN (printed music)"),
     "an ISMN, hyphens or spaces allowed, e.g. 979-0-2600-0043-8 or M-2600-0043-8"},
    // 2D: no bars; the layout draws the matrix, its quiet zones always included.
    {kGS1QR, "gs1-qr", "gs1qr", "GS1 QR Code", AddonRule::None, false, false, false,
     kMatrixShape, {0, 0, false}, QT_TRANSLATE_NOOP("MainWindow", "GS1 QR Code (Digital Link)"),
     "a QR Code holding the GS1 Digital Link URI of a GTIN (8, 12, 13 or 14 digits, check "
     "digit last; or an ISBN, ISSN, ISMN), e.g. https://id.gs1.org/01/09780306406157"},
    {kGS1DataMatrix, "gs1-datamatrix", "gs1datamatrix", "GS1 DataMatrix", AddonRule::None, false,
     false, false, kMatrixShape, {0, 0, false},
     QT_TRANSLATE_NOOP("MainWindow", "GS1 DataMatrix (element string)"),
     "a GS1 DataMatrix (ECC 200, FNC1) holding the element string: (01), then the --ai "
     "elements"},
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

const char* windowLabel(const SymbologyRow& row) { return row.label ? row.label : row.name; }

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
