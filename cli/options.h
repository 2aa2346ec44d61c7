#pragma once
// strimlo-cli's command line.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "codetypes.h"
#include "gs1.h"
#include "geometry.h"
#include "font.h"
#include "isbn_ranges.h"
#include "prepress.h"

namespace strimlo::cli {

struct Options {
  std::optional<CodeType> type;      // absent: EAN-13
  bool isbnByLength = false;         // --type isbn: ISBN-10 or ISBN-13 by the data's length
  std::optional<FileFormat> format;  // absent: from the output's extension, else EPS
  std::optional<SizeIndex> size;     // absent: 2
  std::optional<ResolutionIndex> res;  // absent: 2
  std::optional<std::string> addon;
  std::optional<std::string> price;
  std::optional<std::string> variant;  // ISSN only
  std::string output;
  std::string data;
  bool dataGiven = false;
  bool strict = false;           // --strict: a wrong check character refuses the file
  bool fixCheckDigits = false;   // --fix-check-digits: a batch replaces it, as one file does
  std::optional<char> delimiter;  // --delimiter: the batch file's separator; absent: detected
  // --bar-reduction MICRONS, --transparent; the quiet zones are below
  Prepress prepress;
  // --magnification, --module, --dpi, --no-snap, --snap-dpi, --height: any size
  FreeSize freeSize;
  // --quiet-zones, --no-quiet-zones; absent: the format's default (on for PDF and SVG)
  std::optional<bool> quietZones;
  // --preview WxH
  bool preview = false;
  int previewWidth = 0;
  int previewHeight = 0;
  // --batch
  std::optional<std::string> batch;
  std::optional<std::string> outdir;
  int jobs = 0;  // 0: one per core
  // --check FILE...: grade images; --json for machines
  bool check = false;
  bool json = false;
  std::vector<std::string> files;
  // --verify: grade the symbol before writing it; --min-grade A|B|C|D (default D)
  bool verify = false;
  char minGrade = 'D';
  // --report FILE.csv: with --batch, one row per line: output, data, decoded, grade, ...
  std::optional<std::string> report;
  // --ranges FILE: the ISBN agency's RangeMessage.xml (absent: $STRIMLO_RANGES, then the
  // user's copy); --ranges-info: its message date; --hyphenate: replace typed hyphens
  std::optional<std::string> ranges;
  bool rangesInfo = false;
  bool hyphenate = false;
  std::optional<std::string> priceCode;  // --price-code 'USD 19.99' or none
  std::shared_ptr<const IsbnRanges> loadedRanges;  // the file read once, by main
  bool help = false;
  bool version = false;
  // --font sans|ocrb: the face of every text; --outline-text: texts as outlines in EPS and PDF
  TypeFace font = TypeFace::Sans;
  bool outlineText = false;
  // --ai, --dl-domain, --ecc, --module, --companion, --companion-module, --no-text
  Gs1Options gs1;
  // --module as typed: a 2D type's X dimension (in gs1) or a linear one's (in freeSize),
  // by the type; a batch's lines route it by their own type.
  std::optional<std::string> moduleText;
};

// Options that pick an entry of one of the window's fixed lists by its index; the same
// names are CSV columns. Out of range is a usage error on the command line and refuses
// the line in a batch.
struct IndexOption {
  const char* name;                    // the option without "--", and the column's name
  int count;                           // the valid indexes are 0 .. count - 1
  int fallback;                        // the index when neither gives one
  std::optional<int> Options::*value;  // where the command line's value goes
};
inline const IndexOption kIndexOptions[] = {
    {"size", kSizeCount, 2, &Options::size},      // magnification of the module: 100 %
    {"res", kResolutionCount, 2, &Options::res},  // resolution of a raster file: 300 dpi
};
const IndexOption& indexOption(const std::string& name);
// "0 to 9"
std::string rangeText(const IndexOption& option);
// The index a word names, when it is a whole number within the option's range.
std::optional<int> parseIndex(const std::string& word, const IndexOption& option);

// The options of a free size, by their names without "--" (snap-dpi for the field
// snap_dpi); the same names are batch columns.
inline const char* const kFreeSizeOptions[] = {"magnification", "module", "dpi", "snap-dpi",
                                               "height"};
// Why a size and a free size, or a res and a dpi, are both given; "" when they are not.
std::string sizeClash(bool sizeGiven, bool resGiven, const FreeSize& free);

// The prepress options for a file of `format`.
Prepress prepressFor(const Options& o, FileFormat format);

struct Parsed {
  Options options;
  std::string error;  // non-empty: a usage error
};

Parsed parseOptions(const std::vector<std::string>& args);

// The 2D options: whether `name` is one taking a value, and whether the value is good
// (--ecc L|M|Q|H, --module and --companion-module in millimetres within the retail
// table's limits, --companion qr|datamatrix, --ai, --dl-domain).
bool isGs1Option(const std::string& name);
bool parseGs1Option(const std::string& name, const std::string& value, Gs1Options& into);
// --module (a batch's module cell) for a symbol of `type`: a 2D type's X dimension within
// GS1's retail table, or a linear symbol's free size. "" or why not, with the range.
std::string setModule(CodeType type, const std::string& text, FreeSize& free, Gs1Options& gs1);
// "qr" or "datamatrix" (or a 2D type's name) as the type it names.
std::optional<CodeType> parseCompanion(const std::string& word);
// A length in millimetres: "0.495".
std::optional<double> parseMillimetres(const std::string& word);

// Lower case without surrounding blanks: how names are compared.
std::string normalizedWord(std::string word);

std::optional<CodeType> parseType(const std::string& word);
// "isbn": a type word that leaves ISBN-10 or ISBN-13 to the data (parseType gives ISBN-13).
bool namesIsbnByLength(const std::string& word);
// ISBN-10 when the data holds 10 characters besides hyphens and spaces, else ISBN-13.
CodeType isbnTypeFor(const std::string& data);
std::optional<FileFormat> parseFormat(const std::string& word);
// "sans" (Helvetica) or "ocrb" ("ocr-b"), in any case.
std::optional<TypeFace> parseFont(const std::string& word);
// A batch file's separator: "," ";" a tab, or the words comma, semicolon, tab (or \t).
std::optional<char> parseDelimiter(const std::string& word);
std::optional<int> parseInt(const std::string& word);
// The format an output name asks for by its extension (.eps .png .tif .tiff .jpg .jpeg).
std::optional<FileFormat> formatFromPath(const std::string& path);
// Why a format asked for and an output's known extension disagree ("the format pdf does
// not agree with the output's extension .png ..."), or "" when they agree or either is
// missing: a file named .png holds a PNG.
std::string formatClash(std::optional<FileFormat> format, const std::string& output);

std::string usage();
// "strimlo-cli 1.2.0"
std::string versionText();

}  // namespace strimlo::cli
