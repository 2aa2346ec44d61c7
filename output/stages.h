#pragma once
// The stages from what a caller asks for to a file, each a value the next one takes:
//   Request -> complete() -> Completed (a Symbol, or the reason for a "no")
//           -> layOut() -> Layout (prepress applied) -> write() -> the file's bytes
//           -> save() -> a result that carries the cause.
// Every front end (the command line, the window, the library's C API) goes this way, and
// none completes a symbol twice: once a value exists it is passed on.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codetypes.h"
#include "geometry.h"
#include "font.h"
#include "isbn_ranges.h"
#include "layout.h"
#include "prepress.h"
#include "atomic_file.h"
#include "symbol.h"
#include "gs1.h"

namespace strimlo {

enum class Symbology : std::int32_t {
  EAN8, EAN13, ISBN10, ISBN13, UPCA, UPCE, ISSN, ISMN, GS1QR, GS1DataMatrix
};
enum class Format : std::int32_t { EPS, PNG, TIFF, JPEG, PDF, SVG };

inline constexpr int kFormatCount = 6;

// Everything a caller chose for one symbol. Texts are UTF-8 as typed; complete() makes
// them the 8-bit texts the symbol carries.
struct Request {
  Symbology type = Symbology::EAN13;
  std::string data;
  std::string addon;    // ISBN: 5 digits; UPC, ISSN, ISMN: 2 or 5; others take none
  std::string price;    // the line above an ISBN's or ISMN's add-on
  std::string variant;  // ISSN's 2-digit sequence variant
  bool strict = false;  // a wrong typed check character refuses instead of being replaced
  Format format = Format::EPS;
  SizeIndex size = 2;        // magnification, an index of the fixed list (100 %)
  ResolutionIndex res = 2;   // raster resolution, an index of the fixed list (300 dpi)
  Prepress prepress;
  // The ISBN agency's RangeMessage.xml that hyphenates ISBN lines; "" for none (the line
  // as typed). The library reads no variable: front ends choose the file.
  std::string ranges;
  bool hyphenate = false;  // typed hyphens that differ from the ranges' are replaced
  // "USD 19.99", "none", ...: sets the add-on and, when price is empty, the price line.
  std::string priceCode;
  Gs1Options gs1;  // the 2D types, and a linear symbol's 2D companion
  // Any magnification, module, resolution, dot grid or bar height: what it gives replaces
  // size and res. Empty: the lists' size, byte for byte.
  FreeSize freeSize;
  TypeFace font = TypeFace::Sans;  // the face of every text: Helvetica, or OCR-B
  bool outlineText = false;  // EPS, PDF: every text as filled outlines, no font (SVG always)
};

// Why a request went no further, from the first stage that said no.
enum class Failure {
  None,
  BadRequest,    // a value outside its list (type, format, size, resolution, reduction,
                 // price code)
  BadText,       // a text that is not UTF-8 or holds a control character
  Refused,       // the texts cannot be encoded; see refusal
  WrongCheck,    // strict, and the typed check character is wrong
  NoFont,        // Nimbus Sans (fonts-urw-base35) is not installed
  FontUnreadable,  // PDF: the Type 1 font file could not be read to be embedded
  TooLarge,      // the bitmap cannot be made
  EncodeFailed,  // the writer failed
  OpaqueFormat,  // a transparent background asked of TIFF or JPEG
  WriteFailed,   // the file could not be saved; nothing was changed
};

struct Completed {
  std::optional<Symbol> symbol;
  Failure failure = Failure::None;
  Refusal refusal = Refusal::None;
  std::string message;             // UTF-8, for a person; empty when a symbol was made
  std::vector<std::string> notes;  // UTF-8: texts changed, a check character replaced, ...
};

// The symbol of a request, checked: type and options in range, texts valid UTF-8 without
// control characters, the check character verified when strict; a price code turned into
// the add-on, and an ISBN line hyphenated by the ranges.
Completed complete(const Request& request);

// The add-on and price a price code gives, for the types that take a price: the add-on
// replaced, the price only when empty. An empty code changes nothing. False, with the
// reason in `error`, for a code that is not one.
bool applyPriceCode(CodeType type, const std::string& code, std::string& addon,
                    std::string& price, std::vector<std::string>& notes, std::string& error);

// The notes a completed book-trade symbol gets: an add-on and a price that disagree, and
// the line's hyphens by the ranges (none: the line as typed).
void bookTradeNotes(Symbol& symbol, const IsbnRanges* ranges, bool hyphenate,
                    std::vector<std::string>& notes);

// The file layout of a completed symbol for the request's format and size (points for
// vector formats, pixels at the resolution for rasters), prepress applied. EPS files have
// the EPS style (epsLayout): one fixed size, whatever the request's.
Layout layOut(const Symbol& symbol, const Request& request);

// The geometry layOut() draws at, and the sentence that states it ("module 4 dots =
// 0.3387 mm, 102.6 %"; empty for the lists' sizes), which the file's description holds.
Geometry geometryOf(const Request& request);
std::string sizeNoteOf(const Request& request);

struct Written {
  std::string bytes;
  Failure failure = Failure::None;
  std::string message;  // UTF-8; empty on success
};

// The whole file in memory.
Written write(const Symbol& symbol, const Request& request);

struct SaveResult {
  bool ok = false;
  std::string cause;  // e.g. "No space left on device"; empty when ok or unknown
};

// Replaces path atomically with bytes, synced before it returns unless options say not.
SaveResult save(std::string_view bytes, const std::string& path, const SaveOptions& options = {});

// complete() and write() in one, with the first failure's message.
Written render(const Request& request, std::vector<std::string>* notes = nullptr);

// "ean8", "ean13", "isbn10", "isbn13", "upca", "upce", "issn", "ismn" and back.
const char* symbologyToken(Symbology type);
std::optional<Symbology> symbologyFromToken(std::string_view token);
// "eps", "png", "tiff", "jpeg", "pdf", "svg" (and "jpg", "tif") and back; MIME types.
const char* formatToken(Format format);
std::optional<Format> formatFromToken(std::string_view token);
const char* mimeType(Format format);

}  // namespace strimlo
