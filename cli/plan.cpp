#include "plan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <utility>

#include "echo.h"
#include "placement.h"
#include "symbol.h"
#include "text8.h"

namespace strimlo::cli {

namespace {

enum Column {
  kType, kData, kAddon, kPrice, kOutput, kFormat, kSize, kRes, kStrict,
  kQuiet, kBwr, kTransparent,  // the prepress options: by name in a header line only
  kVariant,                     // likewise
  kMagnification, kModule, kDpi, kSnapDpi, kHeight,  // a free size: by name only
  kFont, kOutline,              // likewise
  kPriceCode,                                        // by name only
  kAi, kDlDomain, kCompanion, kCompanionModule, kEcc,  // the 2D part: likewise
  kGtinText,                                           // likewise
  kColumns
};

// The column names, in the order a file without a header line gives them.
const char* const kColumnNames[kColumns] = {
    "type",    // ean8, ean13, isbn10, isbn13, upca, upce, issn, ismn, or the type's number
    "data",    // the digits, or the ISBN, ISSN or ISMN with its hyphens
    "addon",   // ISBN: the 5-digit add-on; UPC, ISSN, ISMN: 2 or 5 digits
    "price",   // ISBN, ISMN: the price line above the add-on
    "output",  // the file, relative to the output folder
    "format",  // eps, png, tiff, jpg, or the format's number
    "size",    // index of the magnification
    "res",     // index of the resolution
    "strict",  // yes: verify a typed check digit
    "quiet",        // yes: quiet zones with their marks
    "bwr",          // the bar width reduction in micrometres
    "transparent",  // yes: no background
    "variant",      // ISSN: the 2-digit sequence variant
    "magnification",  // percent, 75 to 200; replaces size
    "module",         // the X dimension in millimetres; replaces size
    "dpi",            // a raster's resolution, 72 to 4800; replaces res
    "snap_dpi",       // PDF, SVG, EPS: the imaging device's dot grid
    "height",         // the normal bars' length in millimetres
    "font",         // sans or ocrb: the face of every text
    "outline",      // yes: every text as outlines
    "price_code",     // ISBN, ISMN: "USD 19.99" or none, for the add-on and price line
    "ai",               // 2D types and companions: "(10)ABC123(17)271231"
    "dl_domain",        // the QR Code's Digital Link resolver, https only
    "companion",        // qr or datamatrix beside a linear symbol
    "companion_module", // the companion's X dimension in mm
    "ecc",              // QR Code error correction L, M, Q, H
    "gtin_text",        // no: leave out the "(01) GTIN" line under the 2D symbol
};

// Other names a header line may give a column: the window's labels and common spellings,
// written as column keys.
const std::pair<const char*, Column> kAliases[] = {
    {"barcodetype", kType}, {"codetype", kType},
    {"number", kData}, {"isbn", kData}, {"issn", kData}, {"ismn", kData}, {"ean", kData},
    {"gtin", kData}, {"upc", kData},
    {"pricetext", kPrice}, {"pricecode", kPriceCode},
    {"file", kOutput}, {"filename", kOutput}, {"outputfile", kOutput},
    {"fileformat", kFormat},
    {"printsize", kSize},
    {"resolution", kRes},
    {"quietzones", kQuiet},
    {"barwidthreduction", kBwr}, {"barreduction", kBwr},
    {"transparentbackground", kTransparent},
    {"snapdpi", kSnapDpi}, {"xdimension", kModule}, {"barheight", kHeight},
    {"typeface", kFont}, {"outlinetext", kOutline},
    {"dldomain", kDlDomain}, {"companionmodule", kCompanionModule}, {"gtintext", kGtinText},
};

constexpr int kUnnamed = -1;  // a field under an empty name: a cell there is an error
constexpr int kIgnored = -2;  // a field under a name we do not know: its cells are skipped

// How names are compared: lower case, without spaces, hyphens and underscores, so that
// "Add-on", "add_on" and "ADDON" are one name.
std::string columnKey(const std::string& field) {
  std::string key;
  for (char c : field)
    if (c != ' ' && c != '-' && c != '_' && c != '\t')
      key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return key;
}

int columnOf(const std::string& field) {
  const std::string key = columnKey(field);
  if (key.empty()) return kUnnamed;
  const auto* it = std::find(std::begin(kColumnNames), std::end(kColumnNames), key);
  if (it != std::end(kColumnNames)) return static_cast<int>(it - std::begin(kColumnNames));
  for (const auto& [alias, column] : kAliases)
    if (key == alias) return column;
  return kIgnored;
}

// The edit distance of two short words.
std::size_t distance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The column an unknown name was probably meant to be, or none.
const char* nearestColumn(const std::string& field) {
  const std::string key = columnKey(field).substr(0, 40);
  std::size_t best = 3;  // two slips at most, and fewer than half the word
  const char* name = nullptr;
  auto consider = [&](const std::string& candidate, Column column) {
    const std::size_t d = distance(key, candidate);
    if (d < best && 2 * d < candidate.size()) {
      best = d;
      name = kColumnNames[column];
    }
  };
  for (int c = 0; c < kColumns; ++c) consider(columnKey(kColumnNames[c]), static_cast<Column>(c));
  for (const auto& [alias, column] : kAliases) consider(alias, column);
  return name;
}

std::string columnList() {
  std::string list;
  for (const char* name : kColumnNames) list += (list.empty() ? "" : ", ") + std::string(name);
  return list;
}

// What is wrong with a header line's names, or "".
std::string headerProblem(const std::vector<int>& columns) {
  std::vector<int> seen(kColumns, 0);
  for (const int column : columns)
    if (column >= 0 && seen[column]++)
      return "column \"" + std::string(kColumnNames[column]) +
             "\" appears twice in the header line";
  return seen[kData] ? "" : "the header line names no data column (the columns are " +
                                columnList() + ")";
}

// One note naming the header line's unknown columns, which are skipped; "" for none.
std::string ignoredColumnsNote(const CsvRecord& first, const std::vector<int>& columns) {
  constexpr int kNamed = 8;  // then "..." : a wide sheet's note stays one readable line
  std::string names;
  int named = 0;
  for (std::size_t f = 0; f < columns.size(); ++f) {
    if (columns[f] != kIgnored) continue;
    if (named++ == kNamed) {
      names += ", ...";
      break;
    }
    names += (names.empty() ? "\"" : ", \"") + shown(first.fields[f], 30) + "\"";
    if (const char* near = nearestColumn(first.fields[f]))
      names += std::string(" (did you mean ") + near + "?)";
  }
  return names.empty() ? "" : "unknown columns ignored: " + names;
}

// The type a data column's name gives, when the line gives none: ISBN (10 or 13 by the
// length), ISSN, ISMN.
std::optional<std::string> typeFromName(const std::string& field) {
  const std::string key = columnKey(field);
  if (key == "isbn" || key == "issn" || key == "ismn") return key;
  return std::nullopt;
}

const std::vector<int>& positionalColumns(const CsvRecord& record) {
  static const std::vector<int> dataAlone = {kData};
  static const std::vector<int> all = [] {
    std::vector<int> columns(kQuiet);
    for (int c = 0; c < kQuiet; ++c) columns[c] = c;
    return columns;
  }();
  return record.fields.size() == 1 ? dataAlone : all;
}

// A file name from the data: its letters and digits, then an ISSN's variant, then the
// add-on's, then a 2D part's elements' (so serials or lots of one GTIN get a file each);
// a 2D type's ends in -qr or -datamatrix and a companion's in -with-qr or
// -with-datamatrix, so a pack's EAN-13 and its 2D symbols of the same GTIN get a file each.
std::string nameFromData(const Job& job) {
  auto keep = [](const std::string& s) {
    std::string out;
    for (char c : s)
      if (std::isalnum(static_cast<unsigned char>(c))) out.push_back(c);
    return out;
  };
  std::string name = keep(job.data);
  if (name.empty()) return {};
  if (const std::string variant = keep(job.variant); takesVariant(job.type) && !variant.empty())
    name += "-" + variant;
  if (const std::string addon = keep(job.addon); !addon.empty()) name += "-" + addon;
  if (const std::string elements = elementsNamePart(job.gs1.ai);
      !elements.empty() && (isMatrixType(job.type) || job.gs1.companion))
    name += "-" + elements;
  if (isMatrixType(job.type)) name += job.type == kGS1QR ? "-qr" : "-datamatrix";
  else if (job.gs1.companion) name += *job.gs1.companion == kGS1QR ? "-with-qr" : "-with-datamatrix";
  const char* ext = fileExtension(job.format);
  return name + "." + (ext ? ext : "out");
}

// A yes/no cell in any of the usual spellings; empty takes the command line's value.
// Anything else is refused: a "y" read as "no" would replace a wrong check digit.
std::string takeYesNo(const std::string& cell, const char* name, bool& into) {
  static const char* const kYes[] = {"1", "yes", "y", "true", "on", "strict"};
  static const char* const kNo[] = {"0", "no", "n", "false", "off"};
  const std::string v = normalizedWord(cell);
  if (v.empty()) return {};
  if (std::find(std::begin(kYes), std::end(kYes), v) != std::end(kYes)) {
    into = true;
    return {};
  }
  if (std::find(std::begin(kNo), std::end(kNo), v) != std::end(kNo)) {
    into = false;
    return {};
  }
  return "bad " + std::string(name) + " \"" + shown(cell) +
         "\" (yes or no: 1/0, yes/no, y/n, true/false, on/off)";
}

// An index cell (size, res) or the command line's value; an error text when out of range.
std::string takeIndex(const std::string& cell, const Options& o, const char* name, int& into) {
  const IndexOption& option = indexOption(name);
  if (cell.empty()) {
    into = (o.*option.value).value_or(option.fallback);
    return {};
  }
  const std::optional<int> value = parseIndex(cell, option);
  if (!value)
    return "bad " + std::string(name) + " \"" + shown(cell) + "\" (" + rangeText(option) + ")";
  into = *value;
  return {};
}

// The prepress cells: yes / no as for strict, the reduction in whole micrometres; an empty
// cell takes the command line's choice, or the format's default.
std::string fillPrepress(const std::vector<std::string>& cell, const Options& o, FileFormat format,
                         Prepress& p) {
  p = prepressFor(o, format);
  if (std::string e = takeYesNo(cell[kQuiet], "quiet", p.quietZones); !e.empty()) return e;
  if (std::string e = takeYesNo(cell[kTransparent], "transparent", p.transparent); !e.empty())
    return e;
  if (cell[kBwr].empty()) return {};
  const std::optional<int> microns = parseInt(cell[kBwr]);
  if (!microns || !reductionInRange(*microns))
    return "bad bar width reduction \"" + shown(cell[kBwr]) + "\" (0 to 100 micrometres)";
  p.barReductionMicrons = *microns;
  return {};
}

// The free size cells over the command line's; a line that gives a size or a resolution
// both ways (a list's index and a free value, in its cells or over the command line's)
// is refused, as the command line refuses both options.
std::string fillFreeSize(const std::vector<std::string>& cell, const Options& o, Job& job) {
  static constexpr std::pair<Column, const char*> kFields[] = {
      {kMagnification, "magnification"}, {kModule, "module"}, {kDpi, "dpi"},
      {kSnapDpi, "snap_dpi"}, {kHeight, "height"}};
  // A 2D line's module is its own (the 2D part's); a linear line takes the command
  // line's when only a 2D type could (a batch without --type defers it to each line).
  const bool matrix = isMatrixType(job.type);
  FreeSize own;
  if (!matrix && cell[kModule].empty() && o.moduleText && !o.freeSize.module)
    if (std::string e = setFreeSizeField(own, "module", *o.moduleText); !e.empty()) return e;
  for (const auto& [column, name] : kFields)
    if (!cell[column].empty() && !(matrix && column == kModule))
      if (std::string e = setFreeSizeField(own, name, cell[column]); !e.empty()) return e;
  if (!cell[kSize].empty() && own.sizeGiven())
    return std::string("size and ") + (own.module ? "module" : "magnification") +
           " both give the size; give one";
  if (!cell[kRes].empty() && own.dpi) return "res and dpi both give the resolution; give one";
  // A line's own size, of either kind, replaces the command line's of either kind.
  job.freeSize = o.freeSize;
  if (matrix) job.freeSize.module.reset();
  if (!cell[kSize].empty()) job.freeSize.magnification.reset(), job.freeSize.module.reset();
  if (own.sizeGiven()) {
    job.freeSize.magnification = own.magnification;
    job.freeSize.module = own.module;
    job.size = indexOption("size").fallback;
  }
  if (!cell[kRes].empty()) job.freeSize.dpi.reset();
  if (own.dpi) job.freeSize.dpi = own.dpi, job.res = indexOption("res").fallback;
  if (own.snapDpi) job.freeSize.snapDpi = own.snapDpi;
  if (own.height) job.freeSize.height = own.height;
  return freeSizeRefusal(job);
}

// The 2D part: the command line's, each given cell taking its place.
std::string fillGs1(const std::vector<std::string>& cell, const Options& o, Job& job) {
  job.gs1 = o.gs1;
  struct Cell {
    Column column;
    const char* option;
    const char* name;
  };
  const Cell cells[] = {{kAi, "--ai", "ai"},
                        {kDlDomain, "--dl-domain", "dl_domain"},
                        {kCompanion, "--companion", "companion"},
                        {kCompanionModule, "--companion-module", "companion_module"},
                        {kEcc, "--ecc", "ecc"}};
  for (const Cell& c : cells) {
    if (cell[c.column].empty()) continue;
    if (!parseGs1Option(c.option, cell[c.column], job.gs1))
      return std::string("bad ") + c.name + " \"" + shown(cell[c.column]) + "\"";
  }
  if (std::string e = takeYesNo(cell[kGtinText], "gtin_text", job.gs1.text); !e.empty()) return e;
  if (job.gs1.companion && isMatrixType(job.type)) {
    // The command line's companion is for the linear lines; a 2D line's own cell asking
    // for one is refused.
    if (!cell[kCompanion].empty()) return "a companion goes with a linear type, not a 2D one";
    job.gs1.companion.reset();
  }
  // A 2D line's module: its cell, else the command line's, in GS1's retail limits.
  if (isMatrixType(job.type)) {
    const std::string& text = !cell[kModule].empty() ? cell[kModule] : o.moduleText.value_or("");
    FreeSize unused;
    if (!text.empty())
      if (std::string e = setModule(job.type, text, unused, job.gs1); !e.empty()) return e;
  }
  return {};
}

// The output cell, or a name made from the data, as a path inside the output folder
// (--outdir, or the current folder).
std::string placeOutput(const std::string& cell, const Options& o, const std::string& root,
                        Job& job) {
  std::string relative = cell;
  if (relative.empty()) {
    relative = nameFromData(job);
    if (relative.empty()) return "no output file name can be made from the data";
  }
  if (const std::string problem = relativePathProblem(relative); !problem.empty())
    return "output \"" + shown(relative) + "\": " + problem;
  job.root = root;
  job.relative = relative;
  job.output = o.outdir ? (std::filesystem::path(*o.outdir) / relative).string() : relative;
  return {};
}

// The line's type: its type cell, else the command line's, else the data column's name.
std::string takeType(const std::string& cell, const Options& o, const Header& header, Job& job) {
  std::string word = cell;
  if (word.empty() && !o.type && header.dataType) word = *header.dataType;
  if (word.empty()) {
    job.type = o.isbnByLength ? isbnTypeFor(job.data) : o.type.value_or(kEAN13);
    return {};
  }
  const std::optional<CodeType> t = parseType(word);
  if (!t) return "unknown type \"" + shown(word) + "\"";
  job.type = namesIsbnByLength(word) ? isbnTypeFor(job.data) : *t;
  return {};
}

// Fills one job from its cells; an error text for a cell that makes no sense.
std::string fillJob(const std::vector<std::string>& cell, const Options& o, const Header& header,
                    const std::string& root, Job& job) {
  auto given = [&](int c) { return !cell[c].empty(); };
  job.fromFile = true;
  if (!given(kData)) return "no data";
  if (std::string e = takeType(cell[kType], o, header, job); !e.empty()) return e;
  job.addon = given(kAddon) ? cell[kAddon] : o.addon.value_or("");
  job.price = given(kPrice) ? cell[kPrice] : o.price.value_or("");
  job.variant = given(kVariant) ? cell[kVariant] : o.variant.value_or("");
  job.priceCode = given(kPriceCode) ? cell[kPriceCode] : o.priceCode.value_or("");
  job.ranges = o.loadedRanges;
  job.hyphenate = o.hyphenate;
  if (std::string e = takeIndex(cell[kSize], o, "size", job.size); !e.empty()) return e;
  if (std::string e = takeIndex(cell[kRes], o, "res", job.res); !e.empty()) return e;
  std::optional<FileFormat> format = o.format;
  if (given(kFormat) && !(format = parseFormat(cell[kFormat])))
    return "unknown format \"" + shown(cell[kFormat]) + "\"";
  if (given(kOutput)) {
    if (std::string e = formatClash(format, cell[kOutput]); !e.empty()) return e;
    if (!format) format = formatFromPath(cell[kOutput]);
  }
  job.format = format.value_or(kEPS);
  // The data came from a file, not a person typing: a wrong check character is more
  // likely a damaged number than a slip, so it refuses the line unless asked otherwise.
  job.strict = o.strict || !o.fixCheckDigits;
  if (std::string e = takeYesNo(cell[kStrict], "strict", job.strict); !e.empty()) return e;
  job.verify = o.verify;
  job.minGrade = o.minGrade;
  if (std::string e = fillPrepress(cell, o, job.format, job.prepress); !e.empty()) return e;
  if (std::string e = fillFreeSize(cell, o, job); !e.empty()) return e;
  job.font = o.font;
  if (given(kFont)) {
    const std::optional<TypeFace> face = parseFont(cell[kFont]);
    if (!face) return "unknown font \"" + shown(cell[kFont]) + "\" (sans or ocrb)";
    job.font = *face;
  }
  job.outlineText = o.outlineText;
  if (std::string e = takeYesNo(cell[kOutline], "outline", job.outlineText); !e.empty()) return e;
  if (std::string e = fillGs1(cell, o, job); !e.empty()) return e;
  return placeOutput(cell[kOutput], o, root, job);
}

// A cell without the spaces and tabs around it.
std::string trimmed(const std::string& cell) {
  const auto b = cell.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return cell.substr(b, cell.find_last_not_of(" \t") - b + 1);
}

// A control character has no place in any cell; a NUL would even cut a file name short.
std::string controlCharacterProblem(const std::vector<std::string>& fields) {
  for (std::size_t f = 0; f < fields.size(); ++f)
    if (const std::string c = firstControlCharacter(fields[f]); !c.empty())
      return "field " + std::to_string(f + 1) + " holds a control character (" + c + ")";
  return {};
}

}  // namespace

Header readHeader(const CsvRecord& first) {
  Header header;
  // "ISSN" names the data column of a header line, and the type of a data line, which
  // always holds digits.
  const bool digits = std::any_of(first.fields.begin(), first.fields.end(), [](const std::string& f) {
    return f.find_first_of("0123456789") != std::string::npos;
  });
  for (const std::string& field : first.fields) {
    header.columns.push_back(digits && typeFromName(field) ? kIgnored : columnOf(field));
    header.present |= header.columns.back() >= 0;
    if (header.columns.back() == kData) header.dataType = typeFromName(field);
  }
  if (!header.present) return {};
  header.error = headerProblem(header.columns);
  header.note = ignoredColumnsNote(first, header.columns);
  if (std::find(header.columns.begin(), header.columns.end(), kType) != header.columns.end())
    header.dataType.reset();
  return header;
}

char detectDelimiter(std::string_view text) {
  static constexpr char kCandidates[] = {',', ';', '\t'};
  CsvRecord first;
  std::size_t best = 0;
  char chosen = 0;
  for (const char separator : kCandidates) {
    CsvReader reader(text, separator);
    if (!reader.next(first)) return ',';
    const Header header = readHeader(first);
    const auto known = static_cast<std::size_t>(std::count_if(
        header.columns.begin(), header.columns.end(), [](int c) { return c >= 0; }));
    if (known > best) best = known, chosen = separator;
  }
  if (chosen != 0) return chosen;
  // No header: the separator the first line holds most of; a comma when it holds none.
  const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
  std::size_t most = 0;
  chosen = ',';
  for (const char separator : kCandidates) {
    const auto n = static_cast<std::size_t>(std::count(line.begin(), line.end(), separator));
    if (n > most) most = n, chosen = separator;
  }
  return chosen;
}

BatchLine planLine(const CsvRecord& record, const Header& header, const Options& options,
                   const std::string& root) {
  BatchLine line;
  line.line = record.line;
  if (record.tooLong) {
    line.refusal = "longer than " + std::to_string(kMaxRecordBytes) + " bytes";
    return line;
  }
  const std::vector<int>& columns = header.present ? header.columns : positionalColumns(record);
  std::vector<std::string> fields(record.fields.size());
  std::transform(record.fields.begin(), record.fields.end(), fields.begin(), trimmed);
  std::vector<std::string> cell(kColumns);
  for (std::size_t f = 0; f < fields.size(); ++f) {
    const int c = f < columns.size() ? columns[f] : kUnnamed;
    if (c >= 0)
      cell[c] = fields[f];
    else if (c == kUnnamed && !fields[f].empty() && line.refusal.empty())
      line.refusal = "more fields than named columns";
  }
  line.job.data = cell[kData];
  if (line.refusal.empty()) line.refusal = controlCharacterProblem(fields);
  if (line.refusal.empty()) line.refusal = fillJob(cell, options, header, root, line.job);
  return line;
}

std::string firstLineProblem(const CsvRecord& first, const Options& options) {
  const std::vector<int>& columns = positionalColumns(first);
  std::vector<std::string> cell(kColumns);
  for (std::size_t f = 0; f < first.fields.size() && f < columns.size(); ++f)
    cell[columns[f]] = trimmed(first.fields[f]);
  Job job;
  job.data = cell[kData];
  std::string why = takeType(cell[kType], options, Header{}, job);
  if (why.empty()) {
    const std::string data =
        toText8(withVariant(job.type, job.data, options.variant.value_or(""))).bytes;
    const Completion c = completeSymbol(job.type, data);
    if (c.symbol) return {};
    why = shown(text8ToUtf8(refusalMessage(c.refusal, job.type, data, {})), 80);
  }
  std::string seen;
  for (const std::string& field : first.fields)
    seen += (seen.empty() ? "\"" : ", \"") + shown(field, 30) + "\"";
  return "the first line names no known column (" + columnList() +
         ") and is no data line either (" + why + "); its fields: " + seen;
}

std::vector<BatchLine> planBatch(const std::vector<CsvRecord>& records, const Options& options) {
  std::vector<BatchLine> lines;
  if (records.empty()) return lines;
  const Header header = readHeader(records.front());
  if (!header.error.empty()) return lines;
  for (std::size_t i = header.present ? 1 : 0; i < records.size(); ++i)
    lines.push_back(planLine(records[i], header, options, options.outdir.value_or(".")));
  return lines;
}

}  // namespace strimlo::cli
