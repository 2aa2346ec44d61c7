#include "check.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "drawn.h"
#include "gs1.h"
#include "echo.h"
#include "makecode.h"
#include "prepress.h"
#include "paint.h"
#include "stages.h"
#include "verify.h"

namespace strimlo::cli {

namespace {

using verify::Verification;

// A file larger than this is not read: 100 million pixels compress to far less.
constexpr long long kMaxFileBytes = 512LL << 20;

// The file's bytes, or why not.
std::optional<std::string> readWhole(const std::string& path, std::string& error) {
  const std::unique_ptr<FILE, decltype(&std::fclose)> f(std::fopen(path.c_str(), "rb"), std::fclose);
  struct stat st {};
  if (!f || fstat(fileno(f.get()), &st) != 0) {
    error = std::strerror(errno);
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    error = "not a regular file";
    return std::nullopt;
  }
  if (st.st_size > kMaxFileBytes) {
    error = "the file is too large (" + std::to_string(st.st_size) + " bytes; at most 512 MiB are read)";
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
    error = "could not be read";
    return std::nullopt;
  }
  return bytes;
}

Verification checkFile(const std::string& path) {
  Verification v;
  const std::optional<std::string> bytes = readWhole(path, v.error);
  if (!bytes) return v;
  const verify::ReadImage read = verify::readImage(
      {reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()});
  if (!read.error.empty()) {
    v.error = read.error;
    return v;
  }
  return verify::verifyImage(read.image);
}

std::string jsonString(const std::string& s) {
  std::string out = "\"";
  for (const unsigned char c : s) {
    if (c == '"' || c == '\\') out += {'\\', static_cast<char>(c)};
    else if (c < 0x20) {
      char u[8];
      std::snprintf(u, sizeof u, "\\u%04x", c);
      out += u;
    } else out += static_cast<char>(c);
  }
  return out + "\"";
}

std::string jsonOf(const std::string& path, const Verification& v, bool meets) {
  std::string j = "{\"file\": " + jsonString(path) + ", \"meets\": " + (meets ? "true" : "false");
  if (!v.error.empty()) return j + ", \"error\": " + jsonString(v.error) + "}";
  char num[160];
  std::snprintf(num, sizeof num, ", \"grade\": %.1f, \"letter\": \"%c\", \"worst_line\": %d, \"module_px\": %.3f, \"px_per_mm\": %.3f, \"resolution_stated\": %s",
                v.grade, v.letter, v.worstLine, v.modulePixels, v.pixelsPerMm, v.resolutionStated ? "true" : "false");
  j += ", \"format\": " + jsonString(v.format) + ", \"data\": " + jsonString(v.digits) +
       ", \"addon\": " + jsonString(v.addon) + num + ", \"parameters\": {";
  for (int k = 0; k < verify::kParameterCount; ++k) {
    std::string key = verify::parameterName(static_cast<verify::Parameter>(k));
    std::replace(key.begin(), key.end(), ' ', '_');
    std::snprintf(num, sizeof num, "%s\"%s\": {\"value\": %.3f, \"grade\": %d}", k ? ", " : "",
                  key.c_str(), v.values[k], v.grades[k]);
    j += num;
  }
  return j + "}}";
}

std::string textOf(const std::string& path, const Verification& v) {
  const std::string name = shown(path);
  if (!v.error.empty()) return name + ": " + v.error + "\n";
  std::string t = name + ": " + v.format + " " + v.digits + (v.addon.empty() ? "" : " add-on " + v.addon) + "\n";
  char line[200];
  std::snprintf(line, sizeof line, "  grade %c (%.1f); worst scan line %d of 10 (grade %d)\n", v.letter,
                v.grade, v.worstLine, v.lines.empty() ? 0 : v.lines[v.worstLine - 1].grade);
  t += line;
  for (int k = 0; k < verify::kParameterCount; ++k)
    t += "  " + verify::parameterText(v, static_cast<verify::Parameter>(k)) + "\n";
  std::snprintf(line, sizeof line, "  module %.2f px, %.2f px/mm (%s), aperture %.3f mm\n", v.modulePixels,
                v.pixelsPerMm, v.resolutionStated ? "as the file states" : "none stated: a 0.330 mm module assumed",
                v.apertureMm);
  return t + line;
}

// The symbol's digits as the reader reports them: UPC-A with EAN-13's leading zero.
std::string asEan(const std::string& format, const std::string& digits) {
  return format == "UPC-A" ? "0" + digits : digits;
}

}  // namespace

std::vector<std::string> checkCellNames() {
  std::vector<std::string> names = {"decoded", "grade", "letter"};
  for (int k = 0; k < verify::kParameterCount; ++k) {
    std::string name = verify::parameterName(static_cast<verify::Parameter>(k));
    std::replace(name.begin(), name.end(), ' ', '_');
    names.push_back(name);
  }
  return names;
}

std::vector<std::string> matrixCellNames() {
  return {"matrix_decoded", "matrix_symbol_contrast", "matrix_module_dots", "matrix_whole_dots"};
}

double gradeFloor(char letter) {
  switch (letter) {
    case 'A': return 3.5;
    case 'B': return 2.5;
    case 'C': return 1.5;
    default: return 0.5;
  }
}

int checkMain(const Options& o) {
  bool all = true;
  std::string out = o.json ? "[" : "";
  for (std::size_t i = 0; i < o.files.size(); ++i) {
    const Verification v = checkFile(o.files[i]);
    const bool meets = v.error.empty() && v.grade >= gradeFloor(o.minGrade);
    all = all && meets;
    out += o.json ? (i ? ",\n " : "") + jsonOf(o.files[i], v, meets) : textOf(o.files[i], v);
    if (!o.json) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  if (o.json) {
    out += "]\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
  }
  return all ? 0 : 1;
}

namespace {

// A 2D symbol's part of the check: its note, its cells, and why it refuses the file ("").
// A 2D type's is "the symbol", one beside a linear symbol "the companion".
std::string checkMatrixPart(SymbolCheck& c, const verify::MatrixCheck& m, bool companion, char minGrade) {
  const std::string who = companion ? "the companion" : "the symbol";
  c.matrix = m;
  char cell[32];
  c.matrixCells.push_back(m.decoded ? verify::visibleContent(m.content) : "");
  std::snprintf(cell, sizeof cell, "%.3f", m.contrast);
  c.matrixCells.push_back(cell);
  std::snprintf(cell, sizeof cell, "%.2f", m.moduleDots);
  c.matrixCells.push_back(m.moduleDots > 0 ? cell : "");
  c.matrixCells.push_back(m.moduleDots > 0 ? (m.wholeDots ? "1" : "0") : "");
  char dpi[40];
  std::snprintf(dpi, sizeof dpi, " at %.0f dpi", c.dpi);
  if (!m.decoded) return who + " does not scan" + dpi + ": " + m.error;
  if (!m.error.empty()) return who + " " + m.error;
  c.matrixNote = verify::matrixSummary(m, c.dpi);
  const char letter = "FDCBA"[std::clamp(m.contrastGrade, 0, 4)];
  if (m.contrastGrade < gradeFloor(minGrade))
    return std::string(companion ? "the companion's " : "") + "contrast grade " + letter +
           " is below the --min-grade " + minGrade;
  return {};
}

// A 2D type's cells in the report's own columns: what it decoded to and its contrast; no
// grade or letter, as it has no full grade.
void matrixTypeCells(SymbolCheck& c, const verify::MatrixCheck& m) {
  char cell[32];
  c.cells = {m.decoded ? verify::visibleContent(m.content) : "", "", "", m.decoded && m.error.empty() ? "1.000" : "0.000"};
  std::snprintf(cell, sizeof cell, "%.3f", m.contrast);
  c.cells.push_back(cell);
  c.cells.resize(checkCellNames().size());
}

}  // namespace

SymbolCheck checkSymbol(const Symbol& symbol, FileFormat format, SizeIndex size, ResolutionIndex res,
                        const Prepress& prepress, char minGrade, InkBitmap* drawnInk,
                        const FreeSize& free) {
  const verify::DrawnGrade drawn =
      verify::gradeDrawn(symbol, format, size, res, prepress, drawnInk, free);
  if (!drawn.problem.empty()) return {{}, drawn.problem, {}, {}, 0, {}, {}, {}};
  SymbolCheck c;
  c.verification = drawn.verification;
  c.dpi = drawn.dpi;
  if (isMatrixType(symbol.type) && drawn.matrix) {
    matrixTypeCells(c, *drawn.matrix);
    c.refusal = checkMatrixPart(c, *drawn.matrix, false, minGrade);
    c.note = c.matrixNote;
    return c;
  }
  const Verification& v = c.verification;
  c.cells.push_back(v.digits + (v.addon.empty() ? "" : " " + v.addon));
  char cell[32];
  std::snprintf(cell, sizeof cell, "%.1f", v.grade);
  c.cells.push_back(v.error.empty() ? cell : "");
  c.cells.push_back(v.error.empty() ? std::string(1, v.letter) : "");
  for (int k = 0; k < verify::kParameterCount; ++k) {
    std::snprintf(cell, sizeof cell, "%.3f", v.values[k]);
    c.cells.push_back(v.error.empty() ? cell : "");
  }
  char dpi[40];
  std::snprintf(dpi, sizeof dpi, " at %.0f dpi", drawn.dpi);
  if (!v.error.empty()) {
    c.refusal = std::string("the symbol does not scan") + dpi + ": " + v.error;
    return c;
  }
  c.note = verify::summary(v) + dpi;
  const std::string meant = symbol.digits.size() == 12 ? "0" + symbol.digits : symbol.digits;
  const std::string addon = symbol.addon ? symbol.addonText : "";
  if (asEan(v.format, v.digits) != meant || v.addon != addon)
    c.refusal = "the symbol reads as " + v.digits + (v.addon.empty() ? "" : " " + v.addon) + ", not " +
                symbol.digits + (addon.empty() ? "" : " " + addon);
  else if (v.grade < gradeFloor(minGrade))
    c.refusal = std::string("grade ") + v.letter + " is below the --min-grade " + minGrade;
  // The companion must pass as well; the linear symbol's reason, when it has one, comes first.
  if (drawn.matrix) {
    const std::string why = checkMatrixPart(c, *drawn.matrix, true, minGrade);
    if (!c.matrixNote.empty()) c.matrixNote = "companion: " + c.matrixNote;
    if (c.refusal.empty()) c.refusal = why;
  }
  return c;
}

std::optional<Verification> rasterGrade(const Symbol& symbol, FileFormat format, SizeIndex size,
                                        ResolutionIndex res, const Prepress& prepress) {
  Request request;
  request.format = static_cast<Format>(format);
  request.size = size;
  request.res = res;
  request.prepress = prepress;
  Layout layout = layOut(symbol, request);
  // The texts lie beside the bars, not across the row graded; drawing them was a third of
  // the cost.
  layout.texts.clear();
  const Font* font = Font::helvetica();
  if (!font || layout.pixelsWide <= 0 || layout.pixelsHigh <= 0 || layout.pixelsWide > kMaxSurfaceSide)
    return std::nullopt;
  // Halfway between the data bars' tops and bottoms (y upward): above the guards' extension
  // and the digits, below any text over the bars.
  double low = 0, high = layout.pixelsHigh;
  for (const DarkRun& run : layout.runs)
    if (run.part == RunPart::Data) {
      low = std::max(low, run.y0);
      high = std::min(high, run.y1);
    }
  const int row = std::clamp(static_cast<int>(layout.pixelsHigh - (low + high) / 2), 0, layout.pixelsHigh - 1);
  verify::Image image;
  image.width = layout.pixelsWide;
  image.height = 1;
  image.pixelsPerMm = layout.dpi / 25.4;
  image.pixels.resize(static_cast<std::size_t>(image.width));
  if (!paintInkStrip(layout, *font, row, 1, image.pixels.data(), image.pixels.size())) return std::nullopt;
  verify::invertInk(image.pixels);
  verify::Decoded known;
  known.format = symbol.type == kEAN8 ? "EAN-8" : symbol.type == kUPCA ? "UPC-A" : symbol.type == kUPCE ? "UPC-E" : "EAN-13";
  known.digits = symbol.digits;
  known.addon = symbol.addon ? symbol.addonText : "";
  known.x1 = image.width;
  Verification v = verify::gradeKnown(image, known);
  if (!v.error.empty()) return std::nullopt;
  return v;
}

}  // namespace strimlo::cli
