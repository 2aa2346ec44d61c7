#include "plan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "echo.h"
#include "placement.h"

namespace strimlo::cli {

namespace {

enum Column {
  kType, kData, kAddon, kPrice, kOutput, kFormat, kSize, kRes, kStrict,
  kQuiet, kBwr, kTransparent,  // the prepress options: by name in a header line only
  kVariant,                     // likewise
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
};

int columnOf(const std::string& field) {
  const std::string name = normalizedWord(field);
  const auto* it = std::find(std::begin(kColumnNames), std::end(kColumnNames), name);
  return it == std::end(kColumnNames) ? -1 : static_cast<int>(it - std::begin(kColumnNames));
}

std::string columnList() {
  std::string list;
  for (const char* name : kColumnNames) list += (list.empty() ? "" : ", ") + std::string(name);
  return list;
}

// What is wrong with a header line's names, or "".
std::string headerProblem(const CsvRecord& first, const std::vector<int>& columns) {
  std::vector<int> seen(kColumns, 0);
  for (std::size_t f = 0; f < columns.size(); ++f) {
    const std::string& name = first.fields[f];
    if (columns[f] < 0 && !normalizedWord(name).empty())
      return "unknown column \"" + shown(name) + "\" in the header line (the columns are " +
             columnList() + ")";
    if (columns[f] >= 0 && seen[columns[f]]++)
      return "column \"" + std::string(kColumnNames[columns[f]]) +
             "\" appears twice in the header line";
  }
  return seen[kData] ? "" : "the header line names no data column";
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
// add-on's.
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
  const char* ext = fileExtension(job.format);
  return name + "." + (ext ? ext : "out");
}

bool parseStrict(const std::string& cell, bool fallback) {
  const std::string v = normalizedWord(cell);
  if (v.empty()) return fallback;
  return v == "1" || v == "yes" || v == "true" || v == "strict";
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
  p.quietZones = parseStrict(cell[kQuiet], p.quietZones);
  p.transparent = parseStrict(cell[kTransparent], p.transparent);
  if (cell[kBwr].empty()) return {};
  const std::optional<int> microns = parseInt(cell[kBwr]);
  if (!microns || !reductionInRange(*microns))
    return "bad bar width reduction \"" + shown(cell[kBwr]) + "\" (0 to 100 micrometres)";
  p.barReductionMicrons = *microns;
  return {};
}

// The output cell, or a name made from the data, as a path inside the output folder.
std::string placeOutput(const std::string& cell, const Options& o, const std::string& root,
                        Job& job) {
  std::string relative = cell;
  if (relative.empty()) {
    if (!o.outdir) return "no output file (give an output column or --outdir)";
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

// Fills one job from its cells; an error text for a cell that makes no sense.
std::string fillJob(const std::vector<std::string>& cell, const Options& o, const std::string& root,
                    Job& job) {
  auto given = [&](int c) { return !cell[c].empty(); };
  job.type = o.type.value_or(kEAN13);
  if (given(kType)) {
    auto t = parseType(cell[kType]);
    if (!t) return "unknown type \"" + shown(cell[kType]) + "\"";
    job.type = *t;
  }
  job.addon = given(kAddon) ? cell[kAddon] : o.addon.value_or("");
  job.price = given(kPrice) ? cell[kPrice] : o.price.value_or("");
  job.variant = given(kVariant) ? cell[kVariant] : o.variant.value_or("");
  if (std::string e = takeIndex(cell[kSize], o, "size", job.size); !e.empty()) return e;
  if (std::string e = takeIndex(cell[kRes], o, "res", job.res); !e.empty()) return e;
  std::optional<FileFormat> format = o.format;
  if (given(kFormat) && !(format = parseFormat(cell[kFormat])))
    return "unknown format \"" + shown(cell[kFormat]) + "\"";
  if (!format && given(kOutput)) format = formatFromPath(cell[kOutput]);
  job.format = format.value_or(kEPS);
  job.strict = parseStrict(cell[kStrict], o.strict);
  if (std::string e = fillPrepress(cell, o, job.format, job.prepress); !e.empty()) return e;
  return placeOutput(cell[kOutput], o, root, job);
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
  for (const std::string& field : first.fields) {
    header.columns.push_back(columnOf(field));
    header.present |= header.columns.back() >= 0;
  }
  if (!header.present) return {};
  header.error = headerProblem(first, header.columns);
  return header;
}

BatchLine planLine(const CsvRecord& record, const Header& header, const Options& options,
                   const std::string& root) {
  BatchLine line;
  line.line = record.line;
  const std::vector<int>& columns = header.present ? header.columns : positionalColumns(record);
  std::vector<std::string> cell(kColumns);
  for (std::size_t f = 0; f < record.fields.size(); ++f) {
    const int c = f < columns.size() ? columns[f] : -1;
    if (c >= 0)
      cell[c] = record.fields[f];
    else if (!record.fields[f].empty() && line.refusal.empty())
      line.refusal = "more fields than named columns";
  }
  line.job.data = cell[kData];
  if (line.refusal.empty()) line.refusal = controlCharacterProblem(record.fields);
  if (line.refusal.empty()) line.refusal = fillJob(cell, options, root, line.job);
  return line;
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
