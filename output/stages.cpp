#include "stages.h"

#include <array>
#include <new>

#include "price_code.h"
#include "range_file.h"
#include "gs1.h"
#include "symbologies.h"
#include "text8.h"

namespace strimlo {

namespace {

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates,
// nothing past U+10FFFF.
bool isUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int more = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) { ++i; continue; }
    if (c >= 0xC2 && c <= 0xDF) { more = 1; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { more = 2; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { more = 3; cp = c & 0x07; }
    else return false;
    if (s.size() - i <= static_cast<std::size_t>(more)) return false;
    for (int k = 1; k <= more; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    i += static_cast<std::size_t>(more) + 1;
  }
  return true;
}

// A byte below 0x20, DEL, or a C1 control (U+0080..U+009F): nothing a symbol's text may
// carry, and in a PostScript file a line break would start a new comment line.
bool hasControl(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < s.size()) {
      const auto d = static_cast<unsigned char>(s[i + 1]);
      if (d >= 0x80 && d <= 0x9F) return true;
    }
  }
  return false;
}

Completed no(Failure failure, std::string message) {
  Completed c;
  c.failure = failure;
  c.message = std::move(message);
  return c;
}

// The 8-bit text of one field, with a note when the conversion changed it.
std::string text8(const std::string& utf8, const char* what, std::vector<std::string>& notes) {
  Text8 t = toText8(utf8);
  if (t.replaced)
    notes.push_back(std::string(what) + ": characters outside Windows-1252 became \"?\"");
  if (t.cut) notes.push_back(std::string(what) + ": cut to 31 characters");
  return t.bytes;
}

std::optional<std::string> badField(const Request& r) {
  const std::array<std::pair<const char*, const std::string*>, 6> fields = {
      {{"data", &r.data}, {"add-on", &r.addon}, {"price", &r.price}, {"variant", &r.variant},
       {"ai", &r.gs1.ai}, {"dl-domain", &r.gs1.dlDomain}}};
  for (const auto& [name, text] : fields) {
    if (!isUtf8(*text)) return std::string(name) + ": not valid UTF-8";
    if (hasControl(*text))
      return std::string(name) + ": holds a control character (a line break, tab or the like)";
  }
  return std::nullopt;
}

std::optional<std::string> badOption(const Request& r) {
  const auto type = static_cast<int>(r.type);
  const auto format = static_cast<int>(r.format);
  if (symbology(type) == nullptr) return "unknown code type";
  if (format < 0 || format >= kFormatCount) return "unknown file format";
  if (r.size < 0 || r.size >= kSizeCount) return "size must be 0 to 9";
  if (r.res < 0 || r.res >= kResolutionCount) return "resolution must be 0 to 7";
  if (!reductionInRange(r.prepress.barReductionMicrons))
    return "the bar width reduction must be 0 to 100 micrometres";
  if (r.prepress.transparent && !allowsTransparency(static_cast<FileFormat>(format)))
    return "TIFF and JPEG files are opaque CMYK: a transparent background needs PNG (or EPS)";
  if (isMatrixType(static_cast<CodeType>(type))) {
    // A 2D symbol would drop its companion without a word.
    if (r.gs1.companion)
      return std::string("a companion goes with a linear type (EAN, UPC, ISBN, ISSN, ISMN), not a 2D one");
    // A 2D symbol's size is its module alone, in GS1's retail table; it has no bars.
    if (r.freeSize.magnification || r.freeSize.height || r.freeSize.snapDpi)
      return std::string("a 2D symbol's size is its module; magnification, bar height and snap "
                         "dpi are for linear symbols");
    if (r.freeSize.module)
      if (std::string e = moduleRangeError(*r.freeSize.module, "module"); !e.empty()) return e;
    if (r.freeSize.dpi)
      if (auto why = dpiProblem(*r.freeSize.dpi)) return why;
    return std::nullopt;
  }
  if (auto why = freeSizeProblem(r.freeSize, static_cast<CodeType>(type), r.size)) return why;
  if (r.freeSize.height && r.format == Format::EPS)
    return std::string("EPS files keep their bar height: a bar height needs PDF, SVG or an image");
  return std::nullopt;
}

void droppedNotes(CodeType type, const Request& r, std::vector<std::string>& notes) {
  const std::string name = codeTypeName(type);
  if (!takesAddon(type) && !r.addon.empty()) notes.push_back("add-on: " + name + " takes none; left out");
  if (!takesPrice(type) && !r.price.empty()) notes.push_back("price: " + name + " takes none; left out");
  if (!takesVariant(type) && !r.variant.empty())
    notes.push_back("variant: " + name + " takes none; left out");
  unusedGs1Notes(type, r.gs1, notes, r.prepress.barReductionMicrons);
}

}  // namespace

Completed complete(const Request& request) {
  if (auto why = badOption(request)) return no(Failure::BadRequest, *why);
  if (auto why = badField(request)) return no(Failure::BadText, *why);
  const auto type = static_cast<CodeType>(request.type);
  Completed out;
  const std::string data = withVariant(type, text8(request.data, "data", out.notes),
                                       text8(request.variant, "variant", out.notes));
  std::string addon = text8(request.addon, "add-on", out.notes);
  std::string price = text8(request.price, "price", out.notes);
  if (std::string why; !applyPriceCode(type, request.priceCode, addon, price, out.notes, why))
    return no(Failure::BadRequest, why);
  Gs1Options gs1 = request.gs1;
  // A 2D type's module is its X dimension, whichever field carried it.
  if (isMatrixType(type) && request.freeSize.module && gs1.moduleMm == 0)
    gs1.moduleMm = *request.freeSize.module;
  Completion c = completeWithGs1(type, data, addon, price, gs1);
  if (!c.symbol) {
    Completed refused = no(Failure::Refused, c.refusal == Refusal::Gs1Data
                                                 ? c.detail
                                                 : text8ToUtf8(refusalMessage(c.refusal, type, data, addon)));
    refused.refusal = c.refusal;
    return refused;
  }
  if (const char expected = wrongCheckChar(*c.symbol)) {
    const std::string note = std::string("check character ") + c.symbol->typedCheck +
                             " is wrong; " + expected + " expected";
    if (request.strict) return no(Failure::WrongCheck, note);
    out.notes.push_back(note + ", replaced");
  }
  droppedNotes(type, request, out.notes);
  if (isIsbn(type) && !request.ranges.empty()) {
    const RangesLoad load = loadRanges(request.ranges);
    if (!load.note.empty()) out.notes.push_back(load.note);
    bookTradeNotes(*c.symbol, load.ranges.get(), request.hyphenate, out.notes);
  } else {
    bookTradeNotes(*c.symbol, nullptr, request.hyphenate, out.notes);
  }
  out.symbol = std::move(c.symbol);
  return out;
}

bool applyPriceCode(CodeType type, const std::string& code, std::string& addon,
                    std::string& price, std::vector<std::string>& notes, std::string& error) {
  if (code.empty()) return true;
  if (!takesPrice(type)) {
    notes.push_back("price code: " + std::string(codeTypeName(type)) + " takes none; left out");
    return true;
  }
  const PriceCode p = parsePriceCode(code);
  if (!p.error.empty()) {
    error = p.error;
    return false;
  }
  if (!addon.empty()) {
    error = "a price code sets the add-on: give a price code or an add-on, not both";
    return false;
  }
  addon = p.addon;
  if (price.empty()) price = p.line;
  if (!p.note.empty()) notes.push_back(p.note);
  return true;
}

void bookTradeNotes(Symbol& symbol, const IsbnRanges* ranges, bool hyphenate,
                    std::vector<std::string>& notes) {
  if (takesPrice(symbol.type))
    if (std::string note = priceMismatchNote(symbol.addonText, symbol.priceText); !note.empty())
      notes.push_back(std::move(note));
  if (ranges == nullptr) return;
  if (std::string note = hyphenateLine(symbol, *ranges, hyphenate); !note.empty())
    notes.push_back(std::move(note));
}

Written render(const Request& request, std::vector<std::string>* notes) {
  try {
    Completed c = complete(request);
    if (notes) *notes = c.notes;
    if (!c.symbol) return {{}, c.failure, c.message};
    Written w = write(*c.symbol, request);
    if (w.failure != Failure::None && w.message.empty()) {
      switch (w.failure) {
        case Failure::NoFont:
          w.message = "the Helvetica face (Nimbus Sans, Debian package fonts-urw-base35) is not installed";
          break;
        case Failure::TooLarge: w.message = "the image would be too large to make"; break;
        case Failure::FontUnreadable:
          w.message = "the PDF's font file (Nimbus Sans, Type 1) could not be read";
          break;
        default: w.message = "the file could not be made"; break;
      }
    }
    return w;
  } catch (const std::bad_alloc&) {
    return {{}, Failure::TooLarge, "not enough memory to make the file"};
  }
}

namespace {

constexpr std::array<const char*, kFormatCount> kFormatTokens = {"eps", "png", "tiff",
                                                                 "jpeg", "pdf", "svg"};
constexpr std::array<const char*, kFormatCount> kMimeTypes = {
    "application/postscript", "image/png", "image/tiff", "image/jpeg", "application/pdf",
    "image/svg+xml"};

}  // namespace

const char* symbologyToken(Symbology type) {
  const SymbologyRow* row = symbology(static_cast<CodeType>(type));
  return row ? row->token : nullptr;
}

std::optional<Symbology> symbologyFromToken(std::string_view token) {
  const SymbologyRow* row = symbologyNamed(token);
  if (row == nullptr) return std::nullopt;
  return static_cast<Symbology>(row->type);
}

const char* formatToken(Format format) {
  const auto i = static_cast<std::size_t>(format);
  return i < kFormatTokens.size() ? kFormatTokens[i] : nullptr;
}

std::optional<Format> formatFromToken(std::string_view token) {
  if (token == "jpg") return Format::JPEG;
  if (token == "tif") return Format::TIFF;
  for (std::size_t i = 0; i < kFormatTokens.size(); ++i)
    if (token == kFormatTokens[i]) return static_cast<Format>(i);
  return std::nullopt;
}

const char* mimeType(Format format) {
  const auto i = static_cast<std::size_t>(format);
  return i < kMimeTypes.size() ? kMimeTypes[i] : nullptr;
}

}  // namespace strimlo
