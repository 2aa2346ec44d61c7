#include "job.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>
#include <optional>

#include "atomic_file.h"
#include "check.h"
#include "digits.h"
#include "encode.h"
#include "echo.h"
#include "makecode.h"
#include "stages.h"
#include "placement.h"
#include "font.h"
#include "symbol.h"
#include "symbologies.h"
#include "text8.h"

namespace strimlo::cli {

namespace {

constexpr std::size_t kWhole = SIZE_MAX;  // shown() without a cut: for our own messages

// Below about one and a half pixels per module the bars of a raster merge and split
// unevenly, and readers fail on them.
constexpr double kFewestPixelsPerModule = 1.5;
constexpr double kModuleMillimetres = 0.33;  // the nominal module, at 100 %

double pixelsPerModule(SizeIndex size, ResolutionIndex res) {
  return kModuleMillimetres * getScale(size) * getResolution(res) / 25.4;
}

// A note when a raster gets too few pixels per module to be read, naming the lowest
// resolution of the list that gives enough at this size; "" otherwise.
// An image's 2D module where the grid's nearest whole dots would leave GS1's table: the
// dots drawn instead, and what they measure.
std::string matrixGridNote(const Job& job) {
  if (job.format != kPNG && job.format != kTIFF && job.format != kJPEG) return {};
  const bool own = isMatrixType(job.type);
  if (!own && !job.gs1.companion) return {};
  const double asked = own ? job.gs1.moduleMm : job.gs1.companionModuleMm;
  const double mm = asked > 0 ? asked : kMatrixModuleTarget;
  const double dpi = geometryFor(job.size, job.res, job.freeSize, true).dpi;
  const int dots = matrixModuleDots(mm, dpi);
  if (dots == std::max(1, static_cast<int>(std::nearbyint(mm * dpi / 25.4)))) return {};
  char text[200];
  std::snprintf(text, sizeof text,
                "%s: %d dots at %.0f dpi = %.3f mm, the nearest inside GS1's 0.396 to 0.990 mm "
                "(%.3f mm asked)",
                own ? "module" : "companion module", dots, dpi, dots * 25.4 / dpi, mm);
  return text;
}

std::string lowResolutionNote(const Job& job) {
  if (job.format != kPNG && job.format != kTIFF && job.format != kJPEG) return {};
  if (job.freeSize.any()) {
    const Geometry g = geometryFor(job.size, job.res, job.freeSize, true);
    const double pixels =
        g.moduleDots > 0 ? g.moduleDots : kModuleMillimetres * g.scale * g.dpi / 25.4;
    if (pixels >= kFewestPixelsPerModule) return {};
    char text[160];
    std::snprintf(text, sizeof text,
                  "resolution: %.0f dpi gives %.1f pixels per module, too few to be read",
                  static_cast<double>(g.dpi), pixels);
    return text;
  }
  const double pixels = pixelsPerModule(job.size, job.res);
  if (pixels >= kFewestPixelsPerModule) return {};
  int enough = job.res;
  while (enough + 1 < kResolutionCount && pixelsPerModule(job.size, enough) < kFewestPixelsPerModule)
    ++enough;
  char text[200];
  std::snprintf(text, sizeof text,
                "resolution: %.0f dpi gives %.1f pixels per module, too few to be read; "
                "%.0f dpi (res %d) or more makes a readable file",
                static_cast<double>(getResolution(job.res)), pixels,
                static_cast<double>(getResolution(enough)), enough);
  return text;
}

// A note when a raster with enough pixels per module would still grade below C: bar edges
// rounded to whole pixels one by one leave the widths uneven. It names the lowest higher
// resolution, and the nearest size at this resolution, that grade B or better; "" when the
// grade is C or better, or when the pixels per module already drew a note. Graded on one
// drawn row (rasterGrade), so a plain write stays as fast as it was.
std::string lowGradeNote(const Job& job, const Symbol& symbol) {
  // A free size is graded on its own geometry only by --verify; the presets are known here.
  // The grader reads bars; a 2D symbol is not graded.
  if (isMatrixType(symbol.type) || job.verify || job.freeSize.any() || (job.format != kPNG && job.format != kTIFF && job.format != kJPEG))
    return {};
  // From six pixels a module on, rounding moves an edge at most a twelfth of a module:
  // such files grade A, and are not graded here.
  const double pixels = pixelsPerModule(job.size, job.res);
  if (pixels < kFewestPixelsPerModule || pixels >= 6) return {};
  const auto grade = [&](SizeIndex size, ResolutionIndex res) {
    return rasterGrade(symbol, job.format, size, res, job.prepress);
  };
  const std::optional<verify::Verification> here = grade(job.size, job.res);
  if (!here || here->grade >= gradeFloor('C')) return {};
  char text[160];
  std::snprintf(text, sizeof text, "resolution: at %.0f dpi the file would ", static_cast<double>(getResolution(job.res)));
  const std::string note = text + verify::summary(*here) +
                           ", below C (bar edges rounded to whole pixels make widths uneven)";
  std::string better;
  for (ResolutionIndex res = job.res + 1; res < kResolutionCount; ++res)
    if (const auto g = grade(job.size, res); g && g->grade >= gradeFloor('B')) {
      std::snprintf(text, sizeof text, "%.0f dpi (res %d) grades %c", static_cast<double>(getResolution(res)),
                    res, g->letter);
      better = text;
      break;
    }
  // The nearest size, the larger first, whose modules fall better on this resolution's dots.
  for (int step = 1; step < kSizeCount; ++step) {
    std::optional<SizeIndex> found;
    for (const int size : {job.size + step, job.size - step})
      if (size >= 0 && size < kSizeCount)
        if (const auto g = grade(size, job.res); g && g->grade >= gradeFloor('B')) {
          std::snprintf(text, sizeof text, "size %d (%.0f %%) grades %c at %.0f dpi", size,
                        static_cast<double>(getScale(size)) * 100, g->letter,
                        static_cast<double>(getResolution(job.res)));
          found = size;
          break;
        }
    if (found) {
      better += (better.empty() ? "" : ", or ") + std::string(text);
      break;
    }
  }
  return note + (better.empty() ? "" : "; " + better);
}

// Whether the price, drawn where the file layout puts it, ends inside the image. The
// layout scales as a whole, so the answer holds at every size and resolution.
bool priceFits(const Symbol& symbol, const Job& job) {
  const Font* font = Font::helvetica();
  if (font == nullptr) return true;  // nothing to measure with; the save says why
  const Layout layout = fileLayout(symbol, geometryFor(job.size, job.res, job.freeSize, true));
  for (const TextItem& t : layout.texts)
    if (t.text == symbol.priceText && t.x + font->measure(t.text, t.size).width > layout.width)
      return false;
  return true;
}

// Digits only, one to `fewer` short of `needed`: a number a spreadsheet stored without its
// leading zeros.
bool lostLeadingZeros(const std::string& text, std::size_t needed, std::size_t fewer) {
  return !text.empty() && text.size() < needed && text.size() + fewer >= needed &&
         allDigits(text);
}

// What a refused data or add-on text from a file may have lost on its way through a
// spreadsheet, or "".
std::string spreadsheetHint(Refusal refusal, const Job& job, const std::string& data8,
                            const std::string& addon8) {
  bool lost = false;
  if (refusal == Refusal::DataLength) {
    if (job.type == kUPCA) lost = lostLeadingZeros(data8, 11, 3);
    if (job.type == kEAN8) lost = lostLeadingZeros(data8, 7, 3);
    if (job.type == kEAN13) lost = lostLeadingZeros(data8, 12, 3);
    if (job.type == kISSN) lost = lostLeadingZeros(data8, 8, 3);
  }
  if (refusal == Refusal::AddonLength)
    lost = lostLeadingZeros(addon8, addon8.size() < 2 && !isIsbn(job.type) ? 2 : 5, 4);
  return lost ? " (leading zeros lost by a spreadsheet?)" : "";
}

// The type to give for refused EAN-13 data that is an ISBN, ISMN or ISSN written with its
// hyphens or spaces, or "".
std::string typeHint(Refusal refusal, const Job& job, const std::string& data8) {
  if (job.type != kEAN13 || (refusal != Refusal::DataNotDigits && refusal != Refusal::DataLength))
    return {};
  if (data8.find_first_of("- ") == std::string::npos) return {};
  std::string bare;
  for (char c : data8)
    if (c != '-' && c != ' ') bare.push_back(c);
  const bool thirteen = bare.size() == 13 && allDigits(bare);
  const char* what = nullptr;
  const char* type = nullptr;
  if (thirteen && bare.compare(0, 4, "9790") == 0) {
    what = "ISMN", type = "ismn";
  } else if (thirteen && (bare.compare(0, 3, "978") == 0 || bare.compare(0, 3, "979") == 0)) {
    what = "ISBN-13", type = "isbn13 (or isbn)";
  } else if (bare.size() == 10 && allDigits(bare.substr(0, 9))) {
    what = "ISBN-10", type = "isbn10 (or isbn)";
  } else if (bare.size() == 8 && allDigits(bare.substr(0, 7))) {
    what = "ISSN", type = "issn";
  } else {
    return {};
  }
  return std::string(" (it looks like an ") + what + ": give the type " + type + ")";
}

// The reason a save failed, for one line of output.
std::string failureMessage(const SaveOutcome& outcome, const Job& job, const std::string& data8,
                           const std::string& addon8) {
  if (outcome.failure != SaveFailure::WriteFailed) {
    std::string hint = typeHint(outcome.refusal, job, data8);
    if (job.fromFile) hint += spreadsheetHint(outcome.refusal, job, data8, addon8);
    return shown(text8ToUtf8(describe(outcome, job.type, data8, addon8)), kWhole) + hint;
  }
  const std::string cause = lastSaveFailure();
  return shown(job.output) + ": " + (cause.empty() ? "could not be written" : cause) +
         "; nothing was changed";
}

// The save's own failure as the command line names it.
SaveOutcome outcomeOf(const Written& file, const Job& job) {
  switch (file.failure) {
    case Failure::None: return {};
    case Failure::BadRequest:
      return {reductionInRange(job.prepress.barReductionMicrons) ? SaveFailure::BadFormat
                                                                 : SaveFailure::BadReduction,
              Refusal::None};
    case Failure::NoFont: return {SaveFailure::NoFont, Refusal::None};
    case Failure::FontUnreadable: return {SaveFailure::FontUnreadable, Refusal::None};
    case Failure::TooLarge: return {SaveFailure::TooLarge, Refusal::None};
    case Failure::OpaqueFormat: return {SaveFailure::OpaqueFormat, Refusal::None};
    case Failure::WriteFailed: return {SaveFailure::WriteFailed, Refusal::None};
    default: return {SaveFailure::EncodeFailed, Refusal::None};
  }
}

// Saves the file's bytes, through the checked folder when the job must stay inside one.
// A batch's files (those with a folder to stay in) are synced once at the batch's end,
// and their names come from untrusted data, so a link found there is replaced.
SaveOutcome saveBytes(const Job& job, std::string_view bytes, std::string& error) {
  std::optional<ConfinedFolder> folder;
  if (!job.root.empty()) {
    folder.emplace(job.root, job.relative);
    if (!folder->ok()) {
      error = shown(job.output) + ": " + folder->error() + "; nothing was changed";
      return {SaveFailure::WriteFailed, Refusal::None};
    }
  }
  SaveOptions options;
  options.sync = job.root.empty();
  options.replaceLinks = !job.root.empty();
  if (save(bytes, folder ? folder->path() : job.output, options).ok) return {};
  return {SaveFailure::WriteFailed, Refusal::None};
}

// The file of a raster symbol already drawn to be verified: the bytes write() makes,
// encoded from the bitmap in memory rather than drawn again (which was most of what
// --verify added to a batch). What write() refuses, write() still says.
Written rasterFile(const Symbol& symbol, const InkBitmap& drawn, const Request& request) {
  const auto format = static_cast<FileFormat>(request.format);
  // The bitmap graded is drawn in Helvetica: another face is drawn again, in its own.
  if (drawn.ink.empty() || request.font != TypeFace::Sans ||
      !reductionInRange(request.prepress.barReductionMicrons) ||
      (request.prepress.transparent && !allowsTransparency(format)))
    return write(symbol, request);
  RasterSource source = drawn.source();
  source.transparent = request.prepress.transparent;
  source.comment = reductionNote(request.prepress.barReductionMicrons, drawn.dpi);
  // As write() says it: a 2D symbol's resolution is in its layout, not a linear module's note.
  Request described = request;
  if (isMatrixType(symbol.type)) described.freeSize = {};
  if (const std::string size = sizeNoteOf(described); !size.empty())
    source.comment += (source.comment.empty() ? "" : "; ") + size;
  std::optional<std::string> bytes = encodeImageBytes(source, format);
  if (!bytes) return {{}, Failure::EncodeFailed, {}};
  return {std::move(*bytes), Failure::None, {}};
}

// What a free size became: the module on the dot grid, a size below GS1's minimum.
void sizeNotes(const Request& request, std::vector<std::string>& notes) {
  const FreeSize& free = request.freeSize;
  const Geometry g = geometryOf(request);
  const bool bitmap = request.format == Format::PNG || request.format == Format::TIFF ||
                      request.format == Format::JPEG;
  if ((bitmap && g.moduleDots > 0) || (!bitmap && free.snapDpi))
    notes.push_back(sizeNoteOf(request));
  if (free.sizeGiven() || free.snapDpi)
    if (std::string note = smallSizeNote(g.scale); !note.empty()) notes.push_back(note);
}

// The symbol is completed once; every check, the verification and the file take it.
void makeFile(const Job& job, JobResult& r) {
  if (std::string why = freeSizeRefusal(job); !why.empty()) {
    r.error = why;
    return;
  }
  const std::string data = withVariant(job.type, convertText(job.data, "data", r.warnings),
                                       convertText(job.variant, "variant", r.warnings));
  std::string addon = convertText(job.addon, "add-on", r.warnings);
  std::string price = convertText(job.price, "price", r.warnings);
  if (!applyPriceCode(job.type, job.priceCode, addon, price, r.warnings, r.error)) return;
  Completion c = completeWithGs1(job.type, data, addon, price, job.gs1);
  if (c.refusal == Refusal::Gs1Data) {
    r.error = shown(c.detail, kWhole);
    return;
  }
  if (const char expected = c.symbol ? wrongCheckChar(*c.symbol) : 0) {
    const std::string note = std::string("check character ") + c.symbol->typedCheck +
                             " is wrong; " + expected + " expected";
    if (job.strict) {
      r.error = note;
      return;
    }
    r.warnings.push_back(note + ", replaced");
  }
  for (std::string& note : droppedInputNotes(job, data, addon, price))
    r.warnings.push_back(std::move(note));
  if (!c.symbol) {
    r.error = failureMessage({SaveFailure::Refused, c.refusal}, job, data, addon);
    return;
  }
  bookTradeNotes(*c.symbol, job.ranges.get(), job.hyphenate, r.warnings);
  if (const std::string note = lowGradeNote(job, *c.symbol); !note.empty()) r.warnings.push_back(note);
  InkBitmap drawn;
  if (job.verify) {
    const SymbolCheck check = checkSymbol(*c.symbol, job.format, job.size, job.res, job.prepress,
                                          job.minGrade, &drawn, job.freeSize);
    if (!check.note.empty()) r.warnings.push_back(check.note);
    if (!check.matrixNote.empty() && !isMatrixType(job.type)) r.warnings.push_back(check.matrixNote);
    r.verification = check.cells;
    r.matrixVerification = check.matrixCells;
    if (!check.refusal.empty()) {
      r.error = shown(job.output) + ": " + check.refusal + "; nothing was written";
      return;
    }
  }
  Request request;
  request.format = static_cast<Format>(job.format);
  request.size = job.size;
  request.res = job.res;
  request.prepress = job.prepress;
  request.freeSize = job.freeSize;
  if (!isMatrixType(job.type)) sizeNotes(request, r.warnings);  // they speak of a linear module
  request.font = job.font;
  request.outlineText = job.outlineText;
  const Written file = rasterFile(*c.symbol, drawn, request);
  SaveOutcome outcome = outcomeOf(file, job);
  if (!outcome && !file.message.empty()) r.error = file.message;  // it names the face missing
  if (outcome) outcome = saveBytes(job, file.bytes, r.error);
  r.written = static_cast<bool>(outcome);
  if (!r.written && r.error.empty()) r.error = failureMessage(outcome, job, data, addon);
}

}  // namespace

std::string convertText(const std::string& utf8, const char* what,
                        std::vector<std::string>& warnings) {
  Text8 t = toText8(utf8);
  if (t.replaced)
    warnings.push_back(std::string(what) + ": characters outside Windows-1252 became \"?\"");
  if (t.cut) warnings.push_back(std::string(what) + ": cut to 31 characters");
  return t.bytes;
}

std::string checkDigitMismatch(CodeType type, const std::string& data8, const std::string& addon8) {
  const Completion c = completeSymbol(type, data8, addon8);
  const char expected = c.symbol ? wrongCheckChar(*c.symbol) : 0;
  if (expected == 0) return {};
  return std::string("check character ") + c.symbol->typedCheck + " is wrong; " + expected +
         " expected";
}

std::vector<std::string> droppedInputNotes(const Job& job, const std::string& data8,
                                           const std::string& addon8, const std::string& price8) {
  std::vector<std::string> notes;
  if (!symbology(job.type)) return notes;
  const std::string name = codeTypeName(job.type);
  if (!takesAddon(job.type) && !addon8.empty())
    notes.push_back("add-on: " + name + " takes none; left out");
  if (!takesPrice(job.type) && !price8.empty())
    notes.push_back("price: " + name + " takes none; left out");
  if (!takesVariant(job.type) && !job.variant.empty())
    notes.push_back("variant: " + name + " takes none; left out");
  unusedGs1Notes(job.type, job.gs1, notes, job.prepress.barReductionMicrons);
  if (const std::string note = matrixGridNote(job); !note.empty()) notes.push_back(note);
  if (isMatrixType(job.type)) return notes;
  if (const std::string note = lowResolutionNote(job); !note.empty()) notes.push_back(note);
  if (!takesPrice(job.type)) return notes;
  const Completion c = completeSymbol(job.type, data8, addon8, price8);
  if (c.symbol && !price8.empty() && !priceFits(*c.symbol, job))
    notes.push_back("price: wider than the room beside the bars; cut at the image's edge");
  return notes;
}

std::string freeSizeRefusal(const Job& job) {
  // A 2D symbol's size is its module alone, from GS1's retail table; it has no bars.
  if (isMatrixType(job.type) && (job.freeSize.magnification || job.freeSize.module ||
                                 job.freeSize.height || job.freeSize.snapDpi))
    return "a 2D symbol's size is its module (the X dimension, 0.396 to 0.990 mm); "
           "magnification, bar height and snap dpi are for linear symbols";
  if (auto why = freeSizeProblem(job.freeSize, job.type, job.size)) return *why;
  if (job.freeSize.height && job.format == kEPS)
    return "EPS files keep their bar height: a bar height needs PDF, SVG or an image";
  return {};
}

std::string memoryMessage(const Job& job) noexcept {
  try {
    const Completion c =
        completeSymbol(job.type, toText8(job.data).bytes, toText8(job.addon).bytes);
    if (job.format == kEPS || !c.symbol) return "not enough memory to make the file";
    const Layout layout = fileLayout(*c.symbol, geometryFor(job.size, job.res, job.freeSize, true));
    return "not enough memory for a " + std::to_string(layout.pixelsWide) + " x " +
           std::to_string(layout.pixelsHigh) + " image";
  } catch (...) {
    return {};
  }
}

namespace {

std::string failedMessage(const std::exception& e) noexcept {
  try {
    return "failed: " + shown(e.what(), kWhole);
  } catch (...) {
    return {};
  }
}

}  // namespace

JobResult runJob(const Job& job) noexcept {
  JobResult r;
  try {
    makeFile(job, r);
  } catch (const std::bad_alloc&) {
    r = {};  // the temporary file went with the stack; nothing was written
    r.error = memoryMessage(job);
  } catch (const std::exception& e) {
    r = {};
    r.error = failedMessage(e);
  }
  return r;
}

}  // namespace strimlo::cli
