#pragma once
// The window's decisions that need no widgets, kept apart so tests can call them.
#include <QList>
#include <QString>
#include <QVariant>
#include <optional>
#include <string>

#include "codetypes.h"
#include "prepress.h"
#include "range_file.h"
#include "symbol.h"
#include "matrix_check.h"
#include "verify.h"

namespace strimlo {

// What a renderer receives of a typed text: Windows-1252 bytes (a character it cannot
// hold becomes "?"), cut after the 31st character.
std::string text8(const QString& text);

// A field's text as one line: a pasted line break (CR, LF or CRLF), a tab or any other
// control character becomes one space, as the field already shows it.
QString oneLine(const QString& text);

// The code type list's entries, in the symbology table's order: each row's label in the
// window's language, and its token as the item's data (the list order is no part of what
// the window stores or passes on).
struct CodeTypeItem {
  QString label;
  QString token;  // "ean13"
};
QList<CodeTypeItem> codeTypeItems();
// The type an item's data names; EAN-13, the launch choice, for data that names none.
CodeType codeTypeOfItem(const QVariant& data);
// The token stored as the item's data for a type.
QString codeTypeToken(CodeType type);

// Which controls mean something for the current choices.
struct ControlStates {
  bool size;        // always: EPS files have one fixed size, but printing and copying use it
  bool resolution;  // raster files only: PDF and SVG are vector pages
  bool addOn;       // ISBN, UPC-A, UPC-E, ISSN, ISMN
  bool price;       // ISBN and ISMN: printed above the add-on
  bool variant;     // ISSN only
  bool companion;   // the linear types: a 2D code of the same GTIN beside them
  bool elements;    // the 2D types, and a linear type with a companion chosen
  bool resolver;    // a QR Code, alone or as the companion: its Digital Link domain
};
ControlStates controlStates(FileFormat format, CodeType type,
                            std::optional<CodeType> companion = std::nullopt);

// Whether the transparent background means something: TIFF and JPEG are opaque CMYK.
bool transparencyApplies(FileFormat format);
// The options a save asks for: as chosen, the background opaque where it cannot be clear.
Prepress savedPrepress(const Prepress& chosen, FileFormat format);

// The extension a saved file must end with ("eps", "png", "tiff", "jpg", "pdf", "svg");
// empty for a format outside the list.
QString requiredExtension(FileFormat format);
// The save dialog's file type line, e.g. "PNG image (*.png)".
QString fileTypeFilter(FileFormat format);
// The path as it will be written: ".ext" appended unless it already ends with it
// (letter case aside), so "label" and "label.jpg" both become "label.png" / "label.jpg.png".
QString withExtension(const QString& path, const QString& extension);

// The question asked before replacing a file the save dialog never named, e.g.
// "“label.tif.tiff” already exists. Replace it?": the file's name, without its folder.
QString replaceQuestionText(const QString& path);

// The note shown under the fields while the typed check character is wrong: the symbol
// always carries the correct one, but an ISBN line shows what was typed. Empty when the
// check character is right, absent, or the data cannot be encoded.
QString checkDigitWarning(CodeType type, const std::string& data8);

// The data the symbol is made from: an ISBN typed without hyphens gets the hyphens of
// the agency's ranges (and its right check character), so the preview and every file
// show them; anything else, and any ISBN without ranges, is passed as typed.
std::string hyphenatedData(CodeType type, const std::string& data8, const IsbnRanges* ranges);

// The note under the fields about an ISBN's line: the line as the ranges hyphenate it,
// typed hyphens that differ, or range data that is missing, unusable or old. Empty for
// the other types and for data that cannot be encoded.
QString isbnLineNote(CodeType type, const std::string& data8, const RangesLoad& load,
                     bool fileNamed);

// The add-on and price text a price code's currency ("USD", ...) and amount give, or none
// while the amount is not one (empty, or more than two decimals).
struct PriceFields {
  QString addOn;
  QString priceText;
};
std::optional<PriceFields> priceFields(const QString& currency, const QString& amount);

// The property-list key of the message shown after a save.
QString saveMessageKey(bool saved);

// The text field a refusal is about, so the window can point at it.
enum class Field { None, Data, AddOn, Variant, Elements, DlDomain };
Field refusalField(Refusal refusal);

// The badge beside the preview: how the symbol as it would be saved scans, e.g.
// "Scans: A (4.0) at 300 dpi" in green; amber for B and C; red for D, F or no decode,
// the weakest parameter (or why nothing was read) in the tooltip. Empty text for no symbol.
struct ScanBadge {
  QString text;
  QString colour;   // "#1a7f37", "#9a6700" or "#c62828"
  QString toolTip;
};
// A 2D type's badge is its check (`matrix`, with no grade in v): "Reads as meant: A at 300
// dpi", the letter the lower of decode and contrast; a companion that does not read as
// meant turns a linear symbol's badge red, and a passing one is named in the tooltip.
ScanBadge scanBadge(const verify::Verification& v, double dpi, bool symbol = true,
                    const std::optional<verify::MatrixCheck>& matrix = std::nullopt,
                    bool matrixType = false);

}  // namespace strimlo
