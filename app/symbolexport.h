#pragma once
// The symbol leaving the window other than by "Save": as clipboard data, and as drag data
// that also carries a file for file managers. Both are made by the file renderer, so
// what is pasted or dropped is byte for byte what a save would write.
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "codetypes.h"
#include "geometry.h"
#include "gs1.h"
#include "makecode.h"
#include "matrix_check.h"
#include "prepress.h"
#include "range_file.h"
#include "stages.h"
#include "verify.h"

class QByteArray;
class QMimeData;

namespace strimlo {

// What the window shows and would save: the code type, the four texts as typed, and
// the file settings with the prepress options.
struct SymbolChoice {
  CodeType type = kEAN13;
  QString data, addOn, price, variant;
  FileFormat format = kEPS;
  SizeIndex size = 2;
  ResolutionIndex resolution = 2;
  Prepress prepress;
  FreeSize freeSize;  // a typed size or resolution, replacing the lists' entry
  TypeFace font = TypeFace::Sans;  // the face of every text
  bool outlineText = false;        // EPS and PDF: texts as filled outlines
  // The 2D types' elements after the GTIN, and a linear symbol's 2D companion.
  Gs1Options gs1;
};

// The symbol the choice makes, with its 2D part: a 2D type's matrix, or a linear symbol
// and its companion; a typed module is a 2D type's X dimension.
Completion completeChoice(const SymbolChoice& choice);
// Whether the 2D options shape the symbol: a 2D type, or a companion chosen.
bool usesGs1(const SymbolChoice& choice);
// Why the 2D part cannot be made (the GTIN, an element, the data too large), naming the
// rule; empty when it can, when there is none, or while no number is typed.
QString gs1Problem(const SymbolChoice& choice);

// The data text the renderers take: the ISSN's variant joined to it.
std::string symbolData(const SymbolChoice& choice);

// What the window asks of the stages for one file of the format: its texts as typed, its
// size, face and prepress, and the window's range file to hyphenate the line.
Request requestFor(const SymbolChoice& choice, FileFormat format);

// The ISBN range file the window uses ($STRIMLO_RANGES, else the user's copy), read
// once while it stays unchanged; no ranges and no note when there is none.
struct WindowRanges {
  RangesLoad load;
  bool named = false;  // a file was found or named, usable or not
  std::string path;    // that file
};
WindowRanges windowRanges();
// Copies a range file to the user's copy, after reading it; the reason when it is not a
// range file or cannot be copied, empty when done.
QString installRanges(const QString& from);

// Saves the symbol as the save button does, the transparency only where the format can
// have it; the outcome says why not when it is refused or not written.
SaveOutcome saveSymbol(const SymbolChoice& choice, FileFormat format, SizeIndex size,
                       ResolutionIndex resolution, const QString& path);

// A size or resolution typed into its list: "120 %", "120,5", "0.4 mm" into the size
// list; "203 dpi" or "203" into the resolution list. Sets free's field and returns "", or
// returns the reason with the accepted range, free untouched.
// A 2D type's module ("0.6 mm") is checked against the 2D limits instead.
std::string takeTypedSize(const QString& text, bool resolution, FreeSize& free,
                          bool matrix = false);

// The line under the preview: the real X dimension and magnification, and for images the
// module in dots ("X 0.3387 mm, 102.6 %, module 4 dots at 300 dpi"); EPS at its own size
// unless a free size scales it.
QString sizeSummary(const SymbolChoice& choice);
// A 2D type's line is its X dimension ("GS1 QR Code: X 0.495 mm, module 6 dots at 300
// dpi"), and a companion's is added after the linear symbol's.
// The note below 80 %, or empty.
QString smallSizeWarning(const SymbolChoice& choice);

// Why a save failed, as the command line says it (English, as its messages are): the
// texts' refusal, or what the system said about the file.
QString saveFailureCause(const SymbolChoice& choice, const SaveOutcome& outcome);

// Where the save dialog starts: the folder last saved to (else none) and a name made from
// the digits, as a drag names its file; the folder alone when the texts make no symbol.
QString proposedSavePath(const SymbolChoice& choice, const QString& lastFolder);

// A file name from the completed digits (and the add-on, and a 2D part's elements), with
// the chosen format's extension, e.g. "9783161484100-51299.eps" or
// "09780306406157-21S1.png"; empty when the texts make no symbol.
QString symbolFileName(const SymbolChoice& choice);

// The clipboard's data: the symbol as PNG at 100% and 300 dpi (and as an image for
// programs that take any); none when the texts make no symbol.
std::unique_ptr<QMimeData> clipboardData(const SymbolChoice& choice);

// The clipboard's data plus a file in the chosen format, size and resolution, written
// into folder (which must outlive the drop) and offered as text/uri-list.
std::unique_ptr<QMimeData> dragData(const SymbolChoice& choice, const QString& folder);

// The symbol drawn as the chosen file's raster (PDF, SVG and EPS at 600 dpi, as the
// command line's --verify draws them), read back and graded; dpi is the grid it was drawn
// at. Empty (no error, no grade) when the texts make no symbol.
struct ScanCheck {
  bool symbol = false;
  double dpi = 0;
  verify::Verification verification;
  std::optional<verify::MatrixCheck> matrix;  // a 2D type's check, or its companion's
};
ScanCheck checkScan(const SymbolChoice& choice);

}  // namespace strimlo
