#include "options.h"

#include "price_code.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>

#include "symbologies.h"

namespace strimlo::cli {

namespace {


bool parseSize(const std::string& word, int& w, int& h) {
  const auto x = word.find_first_of("xX");
  if (x == std::string::npos) return false;
  auto a = parseInt(word.substr(0, x));
  auto b = parseInt(word.substr(x + 1));
  if (!a || !b || *a <= 0 || *b <= 0) return false;
  w = *a;
  h = *b;
  return true;
}

// " (0 to 9)" after a bad value of an index option: the range it takes.
std::string rangeNote(const std::string& option) {
  for (const IndexOption& index : kIndexOptions)
    if (option == std::string("--") + index.name) return " (" + rangeText(index) + ")";
  if (option == "--price-code")
    return " (USD, CAD, GBP, AUD or NZD and an amount of at most two decimals, as in "
           "\"USD 19.99\"; or none)";
  return {};
}

// " (0.396 to 0.990 mm ...)" after a bad value of a 2D option.
std::string gs1RangeNote(const std::string& option) {
  char text[120];
  if (option == "--module" || option == "--companion-module") {
    std::snprintf(text, sizeof text, " (%.3f to %.3f mm, target %.3f)", kMatrixModuleMin,
                  kMatrixModuleMax, kMatrixModuleTarget);
    return text;
  }
  if (option == "--ecc") return " (L, M, Q or H)";
  if (option == "--companion") return " (qr, datamatrix or none)";
  return {};
}

}  // namespace

bool isGs1Option(const std::string& name) {
  return name == "--ai" || name == "--dl-domain" || name == "--ecc" || name == "--module" ||
         name == "--companion" || name == "--companion-module";
}

std::string setModule(CodeType type, const std::string& text, FreeSize& free, Gs1Options& gs1) {
  if (!isMatrixType(type)) return setFreeSizeField(free, "module", text);
  if (parseGs1Option("--module", text, gs1)) return {};
  return "module \"" + text.substr(0, 40) + "\" of a 2D type" + gs1RangeNote("--module");
}

std::optional<double> parseMillimetres(const std::string& word) {
  double value = 0;
  const std::string w = normalizedWord(word);
  const std::string number = w.size() > 2 && w.compare(w.size() - 2, 2, "mm") == 0 ? w.substr(0, w.size() - 2) : w;
  const char* end = number.data() + number.size();
  auto [ptr, ec] = std::from_chars(number.data(), end, value);
  if (ec != std::errc() || ptr != end || number.empty()) return std::nullopt;
  return value;
}

std::optional<CodeType> parseCompanion(const std::string& word) { return companionOf(word); }

bool parseGs1Option(const std::string& name, const std::string& value, Gs1Options& into) {
  if (name == "--ai") into.ai = value;
  else if (name == "--dl-domain") into.dlDomain = value;
  else if (name == "--ecc") {
    const std::optional<char> level = eccLevelOf(value);
    if (!level) return false;
    into.ecc = *level;
  } else if (name == "--companion") {
    if (meansNoCompanion(value)) {
      into.companion.reset();
      return true;
    }
    const std::optional<CodeType> t = parseCompanion(value);
    if (!t) return false;
    into.companion = t;
  } else if (name == "--module" || name == "--companion-module") {
    const std::optional<double> mm = parseMillimetres(value);
    if (!mm || !moduleRangeError(*mm, "").empty() || *mm == 0) return false;
    (name == "--module" ? into.moduleMm : into.companionModuleMm) = *mm;
  } else {
    return false;
  }
  return true;
}

std::string normalizedWord(std::string s) {
  const auto b = s.find_first_not_of(" \t");
  const auto e = s.find_last_not_of(" \t");
  s = b == std::string::npos ? "" : s.substr(b, e - b + 1);
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::optional<int> parseInt(const std::string& word) {
  int value = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec != std::errc() || ptr != end || word.empty()) return std::nullopt;
  return value;
}

std::optional<CodeType> parseType(const std::string& word) {
  if (const SymbologyRow* row = symbologyNamed(normalizedWord(word))) return row->type;
  // "isbn" alone: ISBN-13 here, ISBN-10 or -13 by the data's length where the data is known.
  if (namesIsbnByLength(word)) return kISBN13;
  return parseInt(word);  // a raw value is passed through, valid or not
}

bool namesIsbnByLength(const std::string& word) { return normalizedWord(word) == "isbn"; }

CodeType isbnTypeFor(const std::string& data) {
  const auto separators = std::count_if(data.begin(), data.end(),
                                        [](char c) { return c == '-' || c == ' '; });
  return data.size() - static_cast<std::size_t>(separators) == 10 ? kISBN10 : kISBN13;
}

std::optional<char> parseDelimiter(const std::string& word) {
  const std::string w = normalizedWord(word);
  if (word == "," || word == ";" || word == "\t") return word[0];
  if (w == "tab" || w == "\\t") return '\t';
  if (w == "comma") return ',';
  if (w == "semicolon") return ';';
  return std::nullopt;
}

std::optional<FileFormat> parseFormat(const std::string& word) {
  static const std::map<std::string, FileFormat> names = {
      {"eps", kEPS}, {"png", kPNG}, {"tif", kTIFF}, {"tiff", kTIFF}, {"jpg", kJPEG}, {"jpeg", kJPEG},
      {"pdf", kPDF}, {"svg", kSVG}};
  if (auto it = names.find(normalizedWord(word)); it != names.end()) return it->second;
  return parseInt(word);
}

std::optional<TypeFace> parseFont(const std::string& word) {
  const std::string w = normalizedWord(word);
  if (w == "sans") return TypeFace::Sans;
  if (w == "ocrb" || w == "ocr-b") return TypeFace::OcrB;
  return std::nullopt;
}

std::optional<FileFormat> formatFromPath(const std::string& path) {
  const auto dot = path.find_last_of('.');
  const auto slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
  const std::string ext = path.substr(dot + 1);
  if (parseInt(ext)) return std::nullopt;  // "x.2" names no format
  return parseFormat(ext);
}

std::string formatClash(std::optional<FileFormat> format, const std::string& output) {
  const std::optional<FileFormat> named = formatFromPath(output);
  const char* asked = format ? fileExtension(*format) : nullptr;
  if (asked == nullptr || !named || *named == *format) return {};  // an unknown one is refused later
  return std::string("the format ") + asked +
         " does not agree with the output's extension ." + fileExtension(*named) +
         "; give one or make them agree";
}

const IndexOption& indexOption(const std::string& name) {
  for (const IndexOption& option : kIndexOptions)
    if (name == option.name) return option;
  throw std::logic_error("no index option " + name);
}

std::string rangeText(const IndexOption& option) {
  return "0 to " + std::to_string(option.count - 1);
}

std::optional<int> parseIndex(const std::string& word, const IndexOption& option) {
  const std::optional<int> value = parseInt(word);
  if (!value || *value < 0 || *value >= option.count) return std::nullopt;
  return value;
}

std::string sizeClash(bool sizeGiven, bool resGiven, const FreeSize& free) {
  if (free.magnification && free.module)
    return "--magnification and --module both give the size; give one";
  if (sizeGiven && free.sizeGiven())
    return std::string("--size and --") + (free.module ? "module" : "magnification") +
           " both give the size; give one";
  if (resGiven && free.dpi) return "--res and --dpi both give the resolution; give one";
  return {};
}

Prepress prepressFor(const Options& o, FileFormat format) {
  Prepress p = o.prepress;
  p.quietZones = o.quietZones.value_or(quietZonesByDefault(format));
  return p;
}

Parsed parseOptions(const std::vector<std::string>& args) {
  Parsed p;
  Options& o = p.options;
  auto textOption = [](std::optional<std::string>& into) {
    return [&into](const std::string& v) { into = v; return true; };
  };
  // "-" is standard output, written where it stands.
  auto output = [&](const std::string& v) {
    o.output = v == "-" ? "/dev/stdout" : v;
    return !v.empty();
  };
  std::map<std::string, std::function<bool(const std::string&)>> valued = {
      {"--type", [&](const std::string& v) {
         o.isbnByLength = namesIsbnByLength(v);
         return (o.type = parseType(v)).has_value();
       }},
      {"--delimiter", [&](const std::string& v) {
         return (o.delimiter = parseDelimiter(v)).has_value();
       }},
      {"--format", [&](const std::string& v) { return (o.format = parseFormat(v)).has_value(); }},
      {"--addon", textOption(o.addon)},
      {"--price", textOption(o.price)},
      {"--variant", textOption(o.variant)},
      {"--ranges", textOption(o.ranges)},
      {"--price-code", [&](const std::string& v) {
         o.priceCode = v;
         return parsePriceCode(v).error.empty();
       }},
      {"-o", output},
      {"--output", output},
      {"--preview", [&](const std::string& v) {
         o.preview = true;
         return parseSize(v, o.previewWidth, o.previewHeight);
       }},
      {"--batch", textOption(o.batch)},
      {"--outdir", textOption(o.outdir)},
      {"--report", textOption(o.report)},
      {"--bar-reduction", [&](const std::string& v) {
         const auto n = parseInt(v);
         o.prepress.barReductionMicrons = n.value_or(0);
         return n && reductionInRange(*n);
       }},
      {"--min-grade", [&](const std::string& v) {
         const std::string g = normalizedWord(v);
         if (g.size() != 1 || g[0] < 'a' || g[0] > 'd') return false;
         o.minGrade = static_cast<char>(g[0] - 'a' + 'A');
         return true;
       }},
      {"--font", [&](const std::string& v) {
         const std::optional<TypeFace> face = parseFont(v);
         o.font = face.value_or(TypeFace::Sans);
         return face.has_value();
       }},
      {"--jobs", [&](const std::string& v) {
         auto n = parseInt(v);
         o.jobs = n.value_or(0);
         return n && *n > 0;
       }},
  };
  for (const IndexOption& index : kIndexOptions)
    valued[std::string("--") + index.name] = [&o, &index](const std::string& v) {
      return ((o.*index.value) = parseIndex(v, index)).has_value();
    };
  std::string freeSizeError;  // the reason a free size's value was refused, with its range
  for (const char* name : kFreeSizeOptions) {
    std::string field = name;
    std::replace(field.begin(), field.end(), '-', '_');
    valued[std::string("--") + name] = [&o, &freeSizeError, field](const std::string& v) {
      freeSizeError = setFreeSizeField(o.freeSize, field, v);
      return freeSizeError.empty();
    };
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
      return p;
    }
    if (a == "--version") {
      o.version = true;
      return p;
    }
    if (a == "--strict") {
      o.strict = true;
      continue;
    }
    if (a == "--fix-check-digits") {
      o.fixCheckDigits = true;
      continue;
    }
    if (a == "--quiet-zones" || a == "--no-quiet-zones") {
      o.quietZones = a == "--quiet-zones";
      continue;
    }
    if (a == "--check" || a == "--json" || a == "--verify") {
      (a == "--check" ? o.check : a == "--json" ? o.json : o.verify) = true;
      continue;
    }
    if (a == "--no-snap") {
      o.freeSize.snap = false;
      continue;
    }
    if (a == "--hyphenate" || a == "--ranges-info") {
      (a == "--hyphenate" ? o.hyphenate : o.rangesInfo) = true;
      continue;
    }
    if (a == "--transparent") {
      o.prepress.transparent = true;
      continue;
    }
    if (a == "--outline-text") {
      o.outlineText = true;
      continue;
    }
    if (a == "--no-text") {
      o.gs1.text = false;
      continue;
    }
    if (a == "--module") {  // routed by the type, which may come later
      if (i + 1 >= args.size()) return {o, a + " needs a value"};
      o.moduleText = args[++i];
      continue;
    }
    if (isGs1Option(a)) {
      if (i + 1 >= args.size()) return {o, a + " needs a value"};
      if (!parseGs1Option(a, args[++i], o.gs1))
        return {o, "bad value for " + a + ": " + args[i] + gs1RangeNote(a)};
      continue;
    }
    if (auto it = valued.find(a); it != valued.end()) {
      if (i + 1 >= args.size()) return {o, a + " needs a value"};
      if (!it->second(args[++i])) {
        if (!freeSizeError.empty()) return {o, "bad value for " + a + ": " + freeSizeError};
        return {o, "bad value for " + a + ": " + args[i] + rangeNote(a) +
                       (a == "--font" ? " (sans or ocrb)" : "")};
      }
      continue;
    }
    if (a.size() > 1 && a[0] == '-' && a != "--" && !(a[1] >= '0' && a[1] <= '9')) {
      return {o, "unknown option " + a};
    }
    if (a == "--") {
      if (i + 1 < args.size()) { o.data = args[++i]; o.dataGiven = true; }
      continue;
    }
    if (o.dataGiven) {
      o.files.push_back(a);
      continue;
    }
    o.data = a;
    o.dataGiven = true;
  }
  if (o.check) {
    if (o.dataGiven) o.files.insert(o.files.begin(), o.data);
    if (o.files.empty()) return {o, "--check needs one or more image files"};
    return p;
  }
  if (!o.files.empty()) return {o, "more than one data text: " + o.files.front()};
  if (o.report && !o.batch) return {o, "--report goes with --batch"};
  if (o.priceCode && o.addon)
    return {o, "--price-code sets the add-on: give --price-code or --addon, not both"};
  if (o.rangesInfo) return p;
  if (o.strict && o.fixCheckDigits)
    return {o, "--strict and --fix-check-digits do not go together"};
  if (o.gs1.companion && o.type && isMatrixType(*o.type))
    return {o, "--companion goes with a linear type (EAN, UPC, ISBN, ISSN, ISMN), not a 2D one"};
  if (o.moduleText) {
    // A batch without --type takes a module either kind of line may use: one only a 2D
    // type takes is left to each line, which checks it against its own type.
    FreeSize unused;
    Gs1Options matrix;
    const bool for2dLines = o.batch && !o.type &&
                            setModule(kGS1QR, *o.moduleText, unused, matrix).empty() &&
                            !setModule(kEAN13, *o.moduleText, unused, matrix).empty();
    if (!for2dLines)
      if (std::string e = setModule(o.type.value_or(kEAN13), *o.moduleText, o.freeSize, o.gs1);
          !e.empty())
        return {o, "bad value for --module: " + e};
  }
  if (std::string e = sizeClash(o.size.has_value(), o.res.has_value(), o.freeSize); !e.empty())
    return {o, e};
  if (o.batch) {
    if (o.dataGiven) return {o, "--batch takes its data from the file, not the command line"};
    if (o.preview) return {o, "--batch and --preview do not go together"};
    return p;
  }
  if (!o.dataGiven) return {o, "no data text given"};
  if (o.output.empty()) return {o, "no output file given (-o PATH)"};
  if (std::string e = formatClash(o.format, o.output); !e.empty()) return {o, e};
  return p;
}

std::string versionText() { return "strimlo-cli " STRIMLO_VERSION "\n"; }

namespace {

// The word that picks ISBN-10 or -13 by the number's length; the command line's own.
constexpr const char* kIsbnWord = "isbn";
constexpr const char* kIsbnHint = "ISBN-10 or ISBN-13, by the number's length";

// "ean8|ean13|...|isbn|N": the table's tokens, the ISBN word, and the number form.
std::string typeWords() {
  std::string words;
  for (const SymbologyRow& row : symbologies()) words += std::string(row.token) + "|";
  return words + kIsbnWord + "|N";
}

// One type's lines under --type: its token, then what its number may be, wrapped at the
// width of the rest of the help.
std::string typeLines(const std::string& token, const std::string& hint) {
  constexpr std::size_t kIndent = 23, kWidth = 87;
  std::string out = std::string(15, ' ') + token;
  out.resize(std::max(out.size() + 1, kIndent), ' ');
  std::size_t column = out.size();
  std::size_t at = 0;
  while (at < hint.size()) {
    std::size_t end = hint.find(' ', at);
    if (end == std::string::npos) end = hint.size();
    const std::string word = hint.substr(at, end - at);
    if (column > kIndent && column + 1 + word.size() > kWidth) {
      out += "\n" + std::string(kIndent, ' ');
      column = kIndent;
    } else if (column > kIndent) {
      out += ' ';
      ++column;
    }
    out += word;
    column += word.size();
    at = end + 1;
  }
  return out + "\n";
}

// The list under --type, one entry per row of the symbology table.
std::string typeList() {
  std::string lines;
  for (const SymbologyRow& row : symbologies()) {
    lines += typeLines(row.token, row.dataHint ? row.dataHint : row.name);
    if (row.type == kISBN13) lines += typeLines(kIsbnWord, kIsbnHint);
  }
  return lines;
}

}  // namespace

std::string usage() {
  std::string text = R"(Usage:
  strimlo-cli [--type TYPES]
              [--addon TEXT | --price-code 'USD 19.99'] [--price TEXT] [--variant NN]
              [--ranges FILE] [--hyphenate]
              [--ai '(10)LOT(17)YYMMDD'] [--dl-domain https://...] [--ecc L|M|Q|H]
              [--companion qr|datamatrix|none] [--companion-module MM] [--no-text]
              [--format eps|png|tiff|jpg|pdf|svg|N] [--size N] [--res N] [--strict]
              [--magnification PERCENT | --module MM] [--dpi N [--no-snap]]
              [--snap-dpi N] [--height MM]
              [--quiet-zones | --no-quiet-zones] [--bar-reduction MICRONS] [--transparent]
              [--font sans|ocrb] [--outline-text] -o PATH|- DATA
  strimlo-cli --preview WxH [--type ...] [--addon ...] [--price ...] [--variant NN]
              [--quiet-zones] [--font sans|ocrb] -o PATH.png DATA
  strimlo-cli --batch FILE|- [--jobs N] [--outdir DIR] [--delimiter ,|;|tab]
              [--type ...] [--format ...] [--size N] [--res N] [--magnification ...]
              [--module ...] [--dpi ...] [--no-snap] [--snap-dpi ...] [--height ...] [--addon ...]
              [--price ...] [--variant NN] [--strict|--fix-check-digits]
              [--quiet-zones | --no-quiet-zones] [--bar-reduction MICRONS] [--transparent]
              [--font sans|ocrb] [--outline-text] [--verify] [--min-grade A|B|C|D] [--report FILE.csv]
  strimlo-cli --check [--json] [--min-grade A|B|C|D] FILE...
  strimlo-cli --ranges-info [--ranges FILE]
  strimlo-cli --help | --version

Makes one retail barcode file of a type below, with its add-on: EPS, a print-ready PDF,
an SVG, a greyscale PNG, or a CMYK TIFF or JPEG.

  --type     the symbology (default ean13):
LIST  --ai TEXT  2D types and companions: elements after the GTIN, as (AI)value...:
             10 batch/lot, 21 serial, 22 variant (up to 20 of GS1's 82 characters),
             11 production, 15 best before, 17 expiry (YYMMDD, DD 00 for 15, 17 and
             11), 3100-3105 net weight kg (6 digits), 3920-3923 price (up to 15
             digits), e.g. '(10)ABC123(17)271231'; anything else is refused
  --dl-domain URL  the QR Code's resolver (default https://id.gs1.org): https only,
             a host, a port and path segments, nothing else
  --ecc L|M|Q|H  QR Code error correction (default M)
  --module MM  2D types: the X dimension in mm; GS1 retail point of sale: minimum
             0.396, target 0.495 (the default), maximum 0.990; rasters take it as
             whole pixels. Quiet zones (4X QR Code, 1X DataMatrix) are always drawn
  --companion qr|datamatrix  EAN, UPC, ISBN, ISSN, ISMN: the 2D symbol of the same GTIN
             beside the linear one, bottoms aligned, in one file (dual marking); none:
             no companion (a batch cell over the command line's; a 2D line takes none)
  --companion-module MM  the companion's X dimension (limits as --module)
  --no-text  2D types and companions: leave out the "(01) GTIN" line under the symbol
  --addon    ISBN: a 5-digit add-on (e.g. 51299); UPC-A, UPC-E, ISSN, ISMN: 2 digits
             (e.g. an issue number) or 5. Another length is refused; empty means none
  --price    ISBN and ISMN: a price line printed above the add-on (without one,
             where the add-on would stand)
  --price-code 'CUR AMOUNT'  ISBN and ISMN: the 5-digit price add-on from a price,
             and the price line unless --price gives one. CUR is USD (add-on 5...),
             CAD (6), GBP (0), AUD (3) or NZD (4), the amount at most two decimals:
             'USD 19.99' gives 51999; 99.99 or more gives x9999; none gives 90000
             (no price). Sources disagree on Canada: 6 is reserved for it, but most
             Canadian books carry 5 and the US price. With --addon and --price that
             name different prices, a note says so (the file is still made)
  --ranges FILE  the ISBN agency's RangeMessage.xml (downloaded from the agency),
             which hyphenates ISBN lines typed without hyphens (978-3-16-148410-0)
             and notes typed hyphens that differ; default $STRIMLO_RANGES, then
             $XDG_DATA_HOME/strimlo/RangeMessage.xml. Without one, ISBN lines are as
             typed. ISMN lines typed without hyphens are hyphenated by their
             publisher number, with no file
  --hyphenate  replace typed ISBN hyphens by the ranges' own
  --ranges-info  the range file in use and its message date (a note when over a
             year old)
  --variant  ISSN only: the 2-digit sequence variant (default 00)
  --format   eps (default; size and resolution do not apply), png, tiff or jpg;
             pdf (K-only black, PDF/X-1a) or svg: vector at the size, no resolution;
             taken from the output's extension when not given; an extension
             that names another format is refused
  --size N   magnification of the nominal 0.33 mm module (default 2):
               0 82%  1 91%  2 100%  3 110%  4 121%  5 136%  6 152%  7 167%  8 182%  9 197%
  --res N    resolution of a raster file (default 2):
               0 72 dpi  1 100 dpi  2 300 dpi  3 600 dpi  4 1200 dpi  5 2400 dpi
               6 2540 dpi  7 3200 dpi
  --magnification PERCENT  any size from 75 to 200 % (decimals allowed, "120,5" too;
             below 80 % a note says GS1 sets 80 % as the minimum), instead of --size
  --module MM  EAN, UPC, ISBN, ISSN, ISMN: the X dimension, 0.2475 to 0.66 mm
  --dpi N    any resolution of a raster file from 72 to 4800, instead of --res; the
             module becomes a whole number of dots (at least 1), the real X dimension
             and magnification are noted and kept in the file's description
  --no-snap  with --dpi, the module exactly as asked, off the dot grid
  --snap-dpi N  PDF, SVG, EPS: a module of whole dots of the device that images the
             page (platesetter, printer), 72 to 4800
  --height MM  the normal bars' length, 50 to 100 % of the nominal at the size (GS1
             allows less only when space is short); not for EPS
  --strict   verify a typed check digit (ISBN-10, ISSN: their own check character)
             instead of replacing it; a batch does this unless told otherwise
  --fix-check-digits  a batch replaces a wrong check digit with a note, as one file
             does (a strict cell of 0 does it for its line)
  -o PATH    the file to write; "-" is standard output
  --quiet-zones  grow the file to the minimum light margins (EAN-13 11 modules left,
                 7 right; EAN-8 7 and 7; UPC-A 9 and 9; UPC-E 9 and 7; 5 after an
                 add-on) and draw the "<" / ">" marks at their edges; the default
                 for PDF and SVG (--no-quiet-zones leaves them out)
  --bar-reduction MICRONS  make every bar this much narrower (0 to 100), keeping its
                 centre: about 10 for offset at 2540 dpi, 20 for 1200 dpi lasers, 40
                 for 600 dpi; images take it to the nearest whole pixel
  --transparent  no background: a PNG gets grey + alpha (EPS has none anyway); TIFF and
                 JPEG are opaque CMYK and refuse it
  --font sans|ocrb  the face of every text: sans (Helvetica, as Nimbus Sans; the
             default) or ocrb (OCR-B, Debian package fonts-ocr-b), whose digits stand
             centred under their bars; EPS, PDF and SVG carry OCR-B as outlines
  --outline-text  every text as filled outlines: the EPS names no font and the PDF
             embeds none, so no font is needed to print them (SVG always has outlines)
  --verify   draw the symbol as the file's raster (PDF, SVG, EPS: at 600 dpi), read it
             and grade it (ISO/IEC 15416) before writing: written only when it reads
             as the data and add-on meant; the grade goes to standard error. A 2D
             type, and a --companion beside the bars, must decode to exactly its URI or
             element string; its contrast and module in dots are measured, not a full
             ISO/IEC 15415 grade
  --min-grade A|B|C|D  with --verify, refuse a symbol graded below it; with --check,
             the grade every file must reach for exit status 0 (default D)
  --check FILE...  read and grade EAN-13, EAN-8, UPC-A and UPC-E symbols (with add-ons)
             in PNG, TIFF or JPEG images, grey, RGB or CMYK, up to 100 million pixels:
             the data, the grade, every parameter and the worst of the ten scan lines
  --report FILE.csv  with --batch, one row per line: output, data, decoded, grade,
             letter, each parameter (with --verify), and why a line was refused; then
             a 2D symbol's (a 2D type's or companion's) content, contrast, module dots
  --json     with --check, one JSON object per file
  --preview WxH  write the on-screen preview as an RGB PNG of W x H pixels
  --batch FILE   one symbol per CSV line (type,data,addon,price,output[,format,size,res,
                 strict]); "-" reads standard input; a header row may also name the
                 columns quiet, bwr (micrometres), transparent, variant,
                 magnification, module, dpi, snap_dpi, height, font (sans or
                 ocrb), outline (yes or no) and price_code, and may
                 use the window's labels (Number, Add-on, File, ...); other columns
                 are ignored with a note
  --delimiter C  the batch file's separator: ",", ";" or tab (default: found from
                 the header line, else from the first line)
  --jobs N       threads for --batch (default: one per core)
  --outdir DIR   folder for --batch outputs (default: the current folder), made when
                 missing; names made from the data when no output. An output must
                 stay inside it: no absolute path, no "..", no folder that leads out
  --version      the version of strimlo-cli

Texts are converted to Windows-1252 ("?" for what it cannot hold; it has the euro
sign) and cut to 31 characters.
Exit status: 0 written, 1 refused or failed, 2 usage error.
)";
  // The types come from the symbology table, so the help and the completion that reads
  // it list every type there is.
  for (const auto& [mark, value] : {std::pair<std::string, std::string>{"TYPES", typeWords()},
                                    {"LIST", typeList()}})
    text.replace(text.find(mark), mark.size(), value);
  return text;
}

}  // namespace strimlo::cli
