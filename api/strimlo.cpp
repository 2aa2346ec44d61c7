// The C API: a thin, checking shell over the stages. Nothing here decides anything about
// a symbol; it converts, validates and reports.
#include "strimlo/strimlo.h"

#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "geometry.h"
#include "gs1.h"
#include "price_code.h"
#include "stages.h"
#include "symbologies.h"

struct strimlo_request {
  strimlo::Request request;
  std::string error;
  std::vector<std::string> notes;
  std::optional<std::string> made;  // the file of the last render too large for its buffer
};

namespace {

using strimlo::Failure;

strimlo_status fail(strimlo_request* r, strimlo_status status, std::string message) {
  r->error = std::move(message);
  return status;
}

strimlo_status ok(strimlo_request* r) {
  r->error.clear();
  return STRIMLO_OK;
}

// Any change to the request makes a kept file stale.
strimlo_status changed(strimlo_request* r) {
  r->made.reset();
  return ok(r);
}

strimlo_status statusOf(Failure f) {
  switch (f) {
    case Failure::None: return STRIMLO_OK;
    case Failure::BadRequest: return STRIMLO_ERROR_ARGUMENT;
    case Failure::BadText: return STRIMLO_ERROR_TEXT;
    case Failure::Refused: return STRIMLO_ERROR_REFUSED;
    case Failure::WrongCheck: return STRIMLO_ERROR_CHECK_DIGIT;
    case Failure::NoFont: return STRIMLO_ERROR_NO_FONT;
    case Failure::FontUnreadable: return STRIMLO_ERROR_NO_FONT;
    case Failure::TooLarge: return STRIMLO_ERROR_TOO_LARGE;
    case Failure::OpaqueFormat: return STRIMLO_ERROR_ARGUMENT;
    case Failure::WriteFailed: return STRIMLO_ERROR_WRITE;
    case Failure::EncodeFailed: return STRIMLO_ERROR_INTERNAL;
  }
  return STRIMLO_ERROR_INTERNAL;
}

strimlo_status setText(strimlo_request* r, std::string strimlo::Request::*field,
                       const char* utf8, const char* what) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  try {
    std::string text = utf8 ? utf8 : "";
    // The texts' own checks, on a copy, so a bad text leaves the request as it was.
    strimlo::Request probe;
    probe.*field = text;
    const strimlo::Completed c = strimlo::complete(probe);
    if (c.failure == Failure::BadText) return fail(r, STRIMLO_ERROR_TEXT, c.message);
    if (text.size() > 4096) return fail(r, STRIMLO_ERROR_TEXT, std::string(what) + ": too long");
    r->request.*field = std::move(text);
    return changed(r);
  } catch (const std::bad_alloc&) {
    return fail(r, STRIMLO_ERROR_TOO_LARGE, "not enough memory");
  }
}

// A text of the 2D part: the stages' UTF-8 and control character checks, then its own rule
// (the function completion applies to it), so a bad text leaves the request as it was.
strimlo_status setGs1Text(strimlo_request* r, std::string strimlo::Gs1Options::*field, const char* utf8,
                          const char* what, std::string (*rule)(const std::string&)) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  try {
    std::string text = utf8 ? utf8 : "";
    if (text.size() > 4096) return fail(r, STRIMLO_ERROR_TEXT, std::string(what) + ": too long");
    strimlo::Request probe;
    probe.gs1.*field = text;
    const strimlo::Completed c = strimlo::complete(probe);
    if (c.failure == Failure::BadText) return fail(r, STRIMLO_ERROR_TEXT, c.message);
    if (std::string why = rule(text); !why.empty()) return fail(r, STRIMLO_ERROR_ARGUMENT, why);
    r->request.gs1.*field = std::move(text);
    return changed(r);
  } catch (const std::bad_alloc&) {
    return fail(r, STRIMLO_ERROR_TOO_LARGE, "not enough memory");
  }
}

std::string elementsRule(const std::string& text) {
  std::vector<strimlo::Gs1Element> elements;
  return strimlo::parseElementString(text, elements);
}

std::string domainRule(const std::string& text) { return strimlo::checkDomain(text); }

// The enumeration's value as the caller passed it. A C caller may pass any int, and in C++
// reading an enumeration outside its values is undefined: the bytes are copied, not read
// as the enumeration.
template <typename Enum>
int rawValue(const Enum& e) {
  int value = 0;
  static_assert(sizeof(Enum) == sizeof(int));
  std::memcpy(&value, &e, sizeof value);
  return value;
}

strimlo_status setFlag(strimlo_request* r, bool value, bool& field) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  field = value;
  return changed(r);
}

// Makes the file into r->made, unless a kept one is still current.
strimlo_status make(strimlo_request* r) {
  if (r->made) return ok(r);
  try {
    std::vector<std::string> notes;
    strimlo::Written w = strimlo::render(r->request, &notes);
    r->notes = std::move(notes);
    if (w.failure != Failure::None) return fail(r, statusOf(w.failure), w.message);
    r->made = std::move(w.bytes);
    return ok(r);
  } catch (const std::bad_alloc&) {
    return fail(r, STRIMLO_ERROR_TOO_LARGE, "not enough memory to make the file");
  } catch (const std::exception& e) {
    return fail(r, STRIMLO_ERROR_INTERNAL, e.what());
  }
}

}  // namespace

namespace {

// One free size field: 0 clears it; otherwise its range is checked as the command line
// checks it, and a refused value leaves the field as it was.
template <typename T>
strimlo_status setFreeSize(strimlo_request* r, T value, std::optional<T> strimlo::FreeSize::*field,
                           std::optional<std::string> (*problem)(double)) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (value == T{}) {
    (r->request.freeSize.*field).reset();
    return changed(r);
  }
  if (auto why = problem(static_cast<double>(value))) return fail(r, STRIMLO_ERROR_ARGUMENT, *why);
  r->request.freeSize.*field = value;
  return changed(r);
}

// A bar height is checked against the type and size when the file is made.
std::optional<std::string> heightPositive(double millimetres) {
  if (millimetres > 0.0 && std::isfinite(millimetres)) return std::nullopt;
  return std::string("the bar height must be above 0 mm");
}

}  // namespace

extern "C" {

const char* strimlo_version(void) { return "1.2.0"; }

const char* strimlo_status_text(strimlo_status status) {
  switch (rawValue(status)) {
    case STRIMLO_OK: return "ok";
    case STRIMLO_ERROR_NULL: return "a required pointer was NULL";
    case STRIMLO_ERROR_ARGUMENT: return "a value outside its range";
    case STRIMLO_ERROR_TEXT: return "a text that is not UTF-8 or holds a control character";
    case STRIMLO_ERROR_REFUSED: return "the data cannot be encoded as this type";
    case STRIMLO_ERROR_CHECK_DIGIT: return "the check character is wrong";
    case STRIMLO_ERROR_BUFFER_TOO_SMALL: return "the buffer is too small";
    case STRIMLO_ERROR_NO_FONT: return "Nimbus Sans (fonts-urw-base35) is not installed";
    case STRIMLO_ERROR_TOO_LARGE: return "too large to make";
    case STRIMLO_ERROR_WRITE: return "the file could not be saved";
    case STRIMLO_ERROR_INTERNAL: return "the file could not be made";
  }
  return "unknown status";
}

strimlo_request* strimlo_request_new(void) { return new (std::nothrow) strimlo_request(); }

void strimlo_request_free(strimlo_request* request) { delete request; }

strimlo_status strimlo_set_type(strimlo_request* r, strimlo_type type) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  const int value = rawValue(type);
  if (strimlo::symbology(value) == nullptr)
    return fail(r, STRIMLO_ERROR_ARGUMENT, "unknown code type " + std::to_string(value));
  r->request.type = static_cast<strimlo::Symbology>(value);
  return changed(r);
}

strimlo_status strimlo_set_type_name(strimlo_request* r, const char* name) {
  if (r == nullptr || name == nullptr) return r ? fail(r, STRIMLO_ERROR_NULL, "no type name") : STRIMLO_ERROR_NULL;
  const auto type = strimlo::symbologyFromToken(name);
  if (!type) {
    std::string tokens;
    for (const strimlo::SymbologyRow& row : strimlo::symbologies())
      tokens += (tokens.empty() ? "" : ", ") + std::string(row.token);
    return fail(r, STRIMLO_ERROR_ARGUMENT, "unknown code type; one of " + tokens);
  }
  r->request.type = *type;
  return changed(r);
}

strimlo_status strimlo_set_format(strimlo_request* r, strimlo_format format) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  const int value = rawValue(format);
  if (value < 0 || value >= strimlo::kFormatCount)
    return fail(r, STRIMLO_ERROR_ARGUMENT, "unknown file format " + std::to_string(value));
  r->request.format = static_cast<strimlo::Format>(value);
  return changed(r);
}

strimlo_status strimlo_set_format_name(strimlo_request* r, const char* name) {
  if (r == nullptr || name == nullptr) return r ? fail(r, STRIMLO_ERROR_NULL, "no format name") : STRIMLO_ERROR_NULL;
  const auto format = strimlo::formatFromToken(name);
  if (!format)
    return fail(r, STRIMLO_ERROR_ARGUMENT, "unknown file format; one of eps, png, tiff, jpeg, pdf, svg");
  r->request.format = *format;
  return changed(r);
}

strimlo_status strimlo_set_data(strimlo_request* r, const char* utf8) {
  return setText(r, &strimlo::Request::data, utf8, "data");
}
strimlo_status strimlo_set_addon(strimlo_request* r, const char* utf8) {
  return setText(r, &strimlo::Request::addon, utf8, "add-on");
}
strimlo_status strimlo_set_price(strimlo_request* r, const char* utf8) {
  return setText(r, &strimlo::Request::price, utf8, "price");
}
strimlo_status strimlo_set_variant(strimlo_request* r, const char* utf8) {
  return setText(r, &strimlo::Request::variant, utf8, "variant");
}

strimlo_status strimlo_set_size(strimlo_request* r, int size) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (size < 0 || size >= strimlo::kSizeCount) return fail(r, STRIMLO_ERROR_ARGUMENT, "size must be 0 to 9");
  r->request.size = size;
  return changed(r);
}

strimlo_status strimlo_set_resolution(strimlo_request* r, int res) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (res < 0 || res >= strimlo::kResolutionCount)
    return fail(r, STRIMLO_ERROR_ARGUMENT, "resolution must be 0 to 7");
  r->request.res = res;
  return changed(r);
}

strimlo_status strimlo_set_magnification(strimlo_request* r, double percent) {
  return setFreeSize(r, percent, &strimlo::FreeSize::magnification, strimlo::magnificationProblem);
}
strimlo_status strimlo_set_module(strimlo_request* r, double millimetres) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (millimetres == 0.0) return setFreeSize(r, millimetres, &strimlo::FreeSize::module, strimlo::moduleProblem);
  // A linear symbol's range or a 2D type's (GS1's retail table): the file checks it against
  // its type, so the type may come before or after. A value neither takes is refused now.
  const std::string matrixWhy = strimlo::moduleRangeError(millimetres, "module");
  const std::optional<std::string> linearWhy = strimlo::moduleProblem(millimetres);
  if (!matrixWhy.empty() && linearWhy)
    return fail(r, STRIMLO_ERROR_ARGUMENT,
                strimlo::isMatrixType(static_cast<strimlo::CodeType>(r->request.type)) ? matrixWhy : *linearWhy);
  r->request.freeSize.module = millimetres;
  return changed(r);
}
strimlo_status strimlo_set_dpi(strimlo_request* r, int dpi) {
  return setFreeSize(r, dpi, &strimlo::FreeSize::dpi, strimlo::dpiProblem);
}
strimlo_status strimlo_set_snap(strimlo_request* r, int on) {
  return r ? setFlag(r, on != 0, r->request.freeSize.snap) : STRIMLO_ERROR_NULL;
}
strimlo_status strimlo_set_snap_dpi(strimlo_request* r, int dpi) {
  return setFreeSize(r, dpi, &strimlo::FreeSize::snapDpi, strimlo::dpiProblem);
}
strimlo_status strimlo_set_bar_height(strimlo_request* r, double millimetres) {
  return setFreeSize(r, millimetres, &strimlo::FreeSize::height, heightPositive);
}

strimlo_status strimlo_set_price_code(strimlo_request* r, const char* text) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  try {
    std::string code = text ? text : "";
    if (const std::string why = code.empty() ? "" : strimlo::parsePriceCode(code).error; !why.empty())
      return fail(r, STRIMLO_ERROR_ARGUMENT, why);
    r->request.priceCode = std::move(code);
    return changed(r);
  } catch (const std::bad_alloc&) {
    return fail(r, STRIMLO_ERROR_TOO_LARGE, "not enough memory");
  }
}

strimlo_status strimlo_set_ranges(strimlo_request* r, const char* path) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  try {
    r->request.ranges = path ? path : "";
    return changed(r);
  } catch (const std::bad_alloc&) {
    return fail(r, STRIMLO_ERROR_TOO_LARGE, "not enough memory");
  }
}

strimlo_status strimlo_set_hyphenate(strimlo_request* r, int on) {
  return r ? setFlag(r, on != 0, r->request.hyphenate) : STRIMLO_ERROR_NULL;
}

strimlo_status strimlo_set_strict(strimlo_request* r, int strict) {
  return r ? setFlag(r, strict != 0, r->request.strict) : STRIMLO_ERROR_NULL;
}

strimlo_status strimlo_set_quiet_zones(strimlo_request* r, int on) {
  return r ? setFlag(r, on != 0, r->request.prepress.quietZones) : STRIMLO_ERROR_NULL;
}

strimlo_status strimlo_set_transparent(strimlo_request* r, int on) {
  return r ? setFlag(r, on != 0, r->request.prepress.transparent) : STRIMLO_ERROR_NULL;
}

strimlo_status strimlo_set_font(strimlo_request* r, strimlo_font font) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (font != STRIMLO_FONT_SANS && font != STRIMLO_FONT_OCRB)
    return fail(r, STRIMLO_ERROR_ARGUMENT, "the font must be STRIMLO_FONT_SANS or STRIMLO_FONT_OCRB");
  r->request.font = font == STRIMLO_FONT_OCRB ? strimlo::TypeFace::OcrB : strimlo::TypeFace::Sans;
  return changed(r);
}

strimlo_status strimlo_set_outline_text(strimlo_request* r, int outline) {
  return r ? setFlag(r, outline != 0, r->request.outlineText) : STRIMLO_ERROR_NULL;
}

strimlo_status strimlo_set_bar_reduction(strimlo_request* r, int microns) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (!strimlo::reductionInRange(microns))
    return fail(r, STRIMLO_ERROR_ARGUMENT, "the bar width reduction must be 0 to 100 micrometres");
  r->request.prepress.barReductionMicrons = microns;
  return changed(r);
}

strimlo_status strimlo_set_ai(strimlo_request* r, const char* elements) {
  return setGs1Text(r, &strimlo::Gs1Options::ai, elements, "ai", elementsRule);
}

strimlo_status strimlo_set_dl_domain(strimlo_request* r, const char* url) {
  return setGs1Text(r, &strimlo::Gs1Options::dlDomain, url, "dl-domain", domainRule);
}

strimlo_status strimlo_set_ecc(strimlo_request* r, strimlo_ecc level) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  const int value = rawValue(level);
  const char letter = value > 0 && value < 128 ? static_cast<char>(value) : '?';
  const std::optional<char> ecc = strimlo::eccLevelOf(std::string_view(&letter, 1));
  if (!ecc)
    return fail(r, STRIMLO_ERROR_ARGUMENT,
                "unknown error correction level " + std::to_string(value) + "; STRIMLO_ECC_L, _M, _Q or _H");
  r->request.gs1.ecc = *ecc;
  return changed(r);
}

strimlo_status strimlo_set_companion(strimlo_request* r, strimlo_companion companion) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  switch (rawValue(companion)) {
    case STRIMLO_COMPANION_NONE: r->request.gs1.companion.reset(); break;
    case STRIMLO_COMPANION_QR: r->request.gs1.companion = strimlo::kGS1QR; break;
    case STRIMLO_COMPANION_DATAMATRIX: r->request.gs1.companion = strimlo::kGS1DataMatrix; break;
    default:
      return fail(r, STRIMLO_ERROR_ARGUMENT,
                  "unknown companion " + std::to_string(rawValue(companion)) +
                      "; STRIMLO_COMPANION_NONE, _QR or _DATAMATRIX");
  }
  return changed(r);
}

strimlo_status strimlo_set_companion_module(strimlo_request* r, double millimetres) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (std::string why = strimlo::moduleRangeError(millimetres, "companion module"); !why.empty())
    return fail(r, STRIMLO_ERROR_ARGUMENT, why);
  r->request.gs1.companionModuleMm = millimetres;
  return changed(r);
}

strimlo_status strimlo_set_gtin_text(strimlo_request* r, int on) {
  return r ? setFlag(r, on != 0, r->request.gs1.text) : STRIMLO_ERROR_NULL;
}

strimlo_status strimlo_render(strimlo_request* r, unsigned char* buffer, size_t capacity,
                              size_t* size) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (size == nullptr) return fail(r, STRIMLO_ERROR_NULL, "no place for the size");
  if (buffer == nullptr && capacity != 0) return fail(r, STRIMLO_ERROR_NULL, "no buffer");
  if (const strimlo_status s = make(r); s != STRIMLO_OK) return s;
  *size = r->made->size();
  if (buffer == nullptr) return ok(r);
  if (capacity < r->made->size())
    return fail(r, STRIMLO_ERROR_BUFFER_TOO_SMALL,
                "the file needs " + std::to_string(r->made->size()) + " bytes");
  std::memcpy(buffer, r->made->data(), r->made->size());
  return ok(r);
}

strimlo_status strimlo_render_file(strimlo_request* r, const char* path) {
  if (r == nullptr) return STRIMLO_ERROR_NULL;
  if (path == nullptr || *path == '\0') return fail(r, STRIMLO_ERROR_NULL, "no file name");
  if (const strimlo_status s = make(r); s != STRIMLO_OK) return s;
  try {
    const strimlo::SaveResult saved = strimlo::save(*r->made, path);
    if (!saved.ok)
      return fail(r, STRIMLO_ERROR_WRITE,
                  std::string(path) + ": " + (saved.cause.empty() ? "could not be written" : saved.cause) +
                      "; nothing was changed");
    return ok(r);
  } catch (const std::bad_alloc&) {
    return fail(r, STRIMLO_ERROR_TOO_LARGE, "not enough memory");
  }
}

const char* strimlo_error(const strimlo_request* r) { return r ? r->error.c_str() : "no request"; }

const char* strimlo_note(const strimlo_request* r, size_t index) {
  if (r == nullptr || index >= r->notes.size()) return nullptr;
  return r->notes[index].c_str();
}

}  // extern "C"
