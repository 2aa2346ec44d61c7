// The Python module strimlo: keyword calls over the C++ stages (render/stages.h). The
// arguments become one Request while the GIL is held; completing, writing and saving run
// without it, so threads that render at once run at once.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "gs1.h"
#include "stages.h"
#include "symbologies.h"
#include "text8.h"

namespace py = pybind11;
using namespace strimlo;

namespace {

// What complete() tells about a symbol, in UTF-8.
struct PySymbol {
  std::string type;
  std::string digits;
  std::string line;
  std::string addon;
  std::string price;
  std::string content;
  std::vector<std::string> notes;
};

// A text argument as the UTF-8 bytes the stages check. A lone surrogate passes through
// as its bytes, so the stages name the field rather than Python failing the encoding.
std::string utf8(const py::str& text) {
  py::object bytes = py::reinterpret_steal<py::object>(
      PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogatepass"));
  if (!bytes) throw py::error_already_set();
  return bytes.cast<std::string>();
}

// An index or a length in micrometres: a value beyond int stays out of range, so the
// stages refuse it with their own message.
std::int32_t narrowed(long long value) {
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    return -1;
  return static_cast<std::int32_t>(value);
}

Symbology symbology(const std::string& token) {
  if (auto type = symbologyFromToken(token)) return *type;
  std::string list;
  for (const SymbologyRow& row : symbologies()) list += (list.empty() ? "" : ", ") + std::string(row.token);
  throw py::value_error("unknown code type \"" + token + "\"; one of " + list);
}

Format format(const std::string& token) {
  if (auto f = formatFromToken(token)) return *f;
  std::string list;
  for (int i = 0; i < kFormatCount; ++i)
    list += (i ? ", " : "") + std::string(formatToken(static_cast<Format>(i)));
  throw py::value_error("unknown file format \"" + token + "\"; one of " + list);
}

// The format a path's extension names, as the command line picks it: EPS when it names
// none.
Format formatOfPath(const std::string& path) {
  const auto dot = path.find_last_of('.');
  const auto slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return Format::EPS;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return formatFromToken(ext).value_or(Format::EPS);
}

struct Texts {
  py::str data, type, addon, price, variant;
  bool strict;
  py::str priceCode, ranges;
};

Request request(const Texts& t) {
  Request r;
  r.type = symbology(utf8(t.type));
  r.data = utf8(t.data);
  r.addon = utf8(t.addon);
  r.price = utf8(t.price);
  r.variant = utf8(t.variant);
  r.strict = t.strict;
  r.priceCode = utf8(t.priceCode);
  r.ranges = utf8(t.ranges);
  return r;
}

// The 2D part: a 2D type's GS1 data, or a linear symbol's companion. The texts' rules are
// checked with the rest of the request; the words here are the command line's.
struct Gs1Args {
  py::str ai, dlDomain, ecc, companion;
  std::optional<double> companionModule;
  bool text;
};

void applyGs1(Request& r, const Gs1Args& g) {
  r.gs1.ai = utf8(g.ai);
  r.gs1.dlDomain = utf8(g.dlDomain);
  const std::string ecc = utf8(g.ecc);
  const std::optional<char> level = eccLevelOf(ecc);
  if (!level) throw py::value_error("ecc: L, M, Q or H, not \"" + ecc + "\"");
  r.gs1.ecc = *level;
  if (const std::string companion = utf8(g.companion); !companion.empty() && !meansNoCompanion(companion)) {
    r.gs1.companion = companionOf(companion);
    if (!r.gs1.companion) throw py::value_error("companion: qr or datamatrix, not \"" + companion + "\"");
  }
  r.gs1.companionModuleMm = g.companionModule.value_or(0.0);
  r.gs1.text = g.text;
}

struct Options {
  long long size, res;
  bool quietZones;
  long long barReduction;
  bool transparent;
  std::string font;
  bool outlineText;
};

// Any size: None leaves the lists' size and resolution; the ranges are checked with the
// rest of the request.
struct FreeSizeArgs {
  std::optional<double> magnification, module;
  std::optional<long long> dpi;
  bool snap;
  std::optional<long long> snapDpi;
  std::optional<double> height;
};

void applyOptions(Request& r, const Options& o, const FreeSizeArgs& f) {
  r.size = narrowed(o.size);
  r.res = narrowed(o.res);
  r.prepress.quietZones = o.quietZones;
  r.prepress.barReductionMicrons = narrowed(o.barReduction);
  r.prepress.transparent = o.transparent;
  r.freeSize.magnification = f.magnification;
  r.freeSize.module = f.module;
  if (f.dpi) r.freeSize.dpi = narrowed(*f.dpi);
  r.freeSize.snap = f.snap;
  if (f.snapDpi) r.freeSize.snapDpi = narrowed(*f.snapDpi);
  r.freeSize.height = f.height;
  if (o.font != "sans" && o.font != "ocrb")
    throw py::value_error("font: sans or ocrb, not \"" + o.font + "\"");
  r.font = o.font == "ocrb" ? TypeFace::OcrB : TypeFace::Sans;
  r.outlineText = o.outlineText;
}

// The file's bytes, or ValueError for what the caller asked (the command line's
// message), MemoryError or RuntimeError for what this machine could not do.
std::string rendered(const Request& r) {
  Written w;
  {
    py::gil_scoped_release unlocked;
    w = render(r);
  }
  switch (w.failure) {
    case Failure::None: return std::move(w.bytes);
    case Failure::BadRequest:
    case Failure::BadText:
    case Failure::Refused:
    case Failure::WrongCheck:
    case Failure::OpaqueFormat: throw py::value_error(w.message);
    case Failure::TooLarge:
      PyErr_SetString(PyExc_MemoryError, w.message.c_str());
      throw py::error_already_set();
    default: throw std::runtime_error(w.message);
  }
}

// The errno whose text the save gave as its cause, so that Python raises the matching
// subclass (FileNotFoundError, PermissionError, ...); 0 when the cause is no errno's.
int errnoOf(const std::string& cause) {
  for (int e = 1; e < 134; ++e) {
    char buffer[128];
    if (cause == strerror_r(e, buffer, sizeof buffer)) return e;
  }
  return 0;
}

// OSError(errno, cause, path) as Python's own calls raise it, which makes the subclass of
// the cause; a cause that is no errno's text goes in the message.
[[noreturn]] void raiseSaveError(const py::object& path, const std::string& cause) {
  const py::handle oserror(PyExc_OSError);
  const int e = errnoOf(cause);
  py::object error;
  if (e != 0) {
    error = oserror(e, cause, path);
  } else {
    const std::string why = cause.empty() ? "could not be written" : cause;
    error = oserror(py::str(path).cast<std::string>() + ": " + why + "; nothing was changed");
  }
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
  throw py::error_already_set();
}

py::bytes renderCall(const py::str& data, const py::str& type, const py::str& addon,
                     const py::str& price, const py::str& variant, bool strict,
                     const py::str& fmt, long long size, long long res, bool quietZones,
                     long long barReduction, bool transparent, const py::str& font,
                     bool outlineText, const FreeSizeArgs& free, const py::str& priceCode,
                     const py::str& ranges, const Gs1Args& gs1) {
  Request r = request({data, type, addon, price, variant, strict, priceCode, ranges});
  applyGs1(r, gs1);
  r.format = format(utf8(fmt));
  applyOptions(r, {size, res, quietZones, barReduction, transparent, utf8(font), outlineText}, free);
  const std::string bytes = rendered(r);
  return py::bytes(bytes);
}

// The path as the file system takes it: os.fsencode, so a name Python decoded with
// surrogate escapes gets its own bytes back.
void saveCall(const py::object& pathLike, const py::str& data, const py::str& type,
              const py::str& addon, const py::str& price, const py::str& variant, bool strict,
              const std::optional<py::str>& fmt, long long size, long long res,
              bool quietZones, long long barReduction, bool transparent, const py::str& font,
              bool outlineText, const FreeSizeArgs& free, const py::str& priceCode,
              const py::str& ranges, const Gs1Args& gs1) {
  const py::module_ os = py::module_::import("os");
  const py::object filename = os.attr("fspath")(pathLike);
  const std::string path = os.attr("fsencode")(filename).cast<std::string>();
  if (path.find('\0') != std::string::npos) throw py::value_error("path: holds a NUL character");
  Request r = request({data, type, addon, price, variant, strict, priceCode, ranges});
  applyGs1(r, gs1);
  r.format = fmt ? format(utf8(*fmt)) : formatOfPath(path);
  applyOptions(r, {size, res, quietZones, barReduction, transparent, utf8(font), outlineText}, free);
  const std::string bytes = rendered(r);
  SaveResult saved;
  {
    py::gil_scoped_release unlocked;
    saved = save(bytes, path);
  }
  if (!saved.ok) raiseSaveError(filename, saved.cause);
}

PySymbol completeCall(const py::str& data, const py::str& type, const py::str& addon,
                      const py::str& price, const py::str& variant, bool strict,
                      const py::str& priceCode, const py::str& ranges, const Gs1Args& gs1) {
  Request r = request({data, type, addon, price, variant, strict, priceCode, ranges});
  applyGs1(r, gs1);
  Completed c;
  {
    py::gil_scoped_release unlocked;
    c = complete(r);
  }
  if (!c.symbol) throw py::value_error(c.message);
  const Symbol& s = *c.symbol;
  PySymbol out;
  out.type = symbologyToken(r.type);
  out.digits = s.digits;
  out.line = text8ToUtf8(s.isbnLine);
  if (s.addon) out.addon = text8ToUtf8(s.addonText);
  out.price = text8ToUtf8(s.priceText);
  if (s.matrix) out.content = s.matrix->content;
  out.notes = std::move(c.notes);
  return out;
}

constexpr const char* kModuleDoc = "The extension behind the package strimlo: import strimlo.";

constexpr const char* kRenderDoc = R"(The whole file of one symbol, in memory.

type: ean8, ean13, isbn10, isbn13, upca, upce, issn, ismn.
data: the digits (or the ISBN, ISSN, ISMN as written, hyphens allowed); a check digit
    typed is replaced by the right one unless strict.
addon: ISBN: 5 digits; UPC-A, UPC-E, ISSN, ISMN: 2 or 5 digits; none for EAN.
price: the line above an ISBN's or ISMN's add-on, e.g. "USD 12.99".
variant: ISSN's 2-digit sequence variant.
strict: a wrong check character raises ValueError instead of being replaced.
price_code: ISBN, ISMN: "USD 19.99" (CAD, GBP, AUD, NZD) or "none": the 5-digit price
    add-on and, without a price, the price line; not with an add-on.
ranges: the ISBN agency's RangeMessage.xml, which hyphenates ISBN lines typed without
    hyphens; "" for none.
format: eps, png, tiff, jpeg, pdf, svg (also jpg, tif).
size: magnification 0 to 9 (2 is 100 %); res: raster resolution 0 to 7 (2 is 300 dpi).
quiet_zones: grow the file to the light margins and draw the < > marks.
bar_reduction: narrow every bar by this many micrometres (0 to 100).
transparent: a PNG without background (TIFF and JPEG refuse it).
magnification: any size from 75 to 200 (percent), or module: the X dimension in mm
    (0.2475 to 0.66), instead of size; dpi: any raster resolution from 72 to 4800 instead
    of res, the module then whole dots unless snap=False; snap_dpi: a vector file's
    module in whole dots of the device that images it; height: the normal bars' length
    in mm (50 to 100 % of the nominal).
font: the face of every text, "sans" (Helvetica) or "ocrb" (OCR-B).
outline_text: every text as filled outlines: an EPS names no font, a PDF embeds none.
The 2D types gs1-qr and gs1-datamatrix take a GTIN (8, 12, 13 or 14 digits, or an ISBN,
    ISSN, ISMN) as data, and module as their X dimension (0.396 to 0.990 mm, target 0.495).
ai: further GS1 element strings, e.g. "(10)ABC123(17)271231" (10, 21, 22, 11, 15, 17,
    3100-3105, 3920-3923).
dl_domain: the QR Code's Digital Link resolver, "https://..." (default id.gs1.org).
ecc: the QR Code's error correction, "L", "M" (the default), "Q" or "H".
companion: "qr" or "datamatrix": EAN, UPC, ISBN, ISSN, ISMN get the 2D symbol of the same
    GTIN beside them; companion_module: its X dimension in mm (default 0.495).
text: the "(01) GTIN" line under the 2D symbol.

Raises ValueError for bad input, with the message the command line gives.)";

constexpr const char* kSaveDoc = R"(Renders like render() and replaces the file at path atomically, synced to disk
before it returns. Without format, the path's extension chooses it (EPS when it names
none), as on the command line.

Raises ValueError for bad input and OSError (its subclass for the cause, where there is
one) when the file cannot be written; an existing file is then left as it was.)";

constexpr const char* kCompleteDoc = R"(The completed symbol of the texts, without drawing it: its digits (the
check digit computed; a 2D type's GTIN-14), the text line above it (ISBN, ISSN, ISMN), its
add-on and price, what its 2D symbol holds, and notes on what was changed or left out.
Raises ValueError as render() does.)";

}  // namespace

PYBIND11_MODULE(_strimlo, m) {
  m.doc() = kModuleDoc;
  m.attr("__version__") = STRIMLO_VERSION;

  py::class_<PySymbol> symbol(m, "Symbol", "A completed symbol, as strimlo.complete() gives it.");
  symbol.attr("__module__") = "strimlo";  // where users import it from
  symbol
      .def_readonly("type", &PySymbol::type, "The code type's token, e.g. \"isbn13\".")
      .def_readonly("digits", &PySymbol::digits,
                    "The digits the bars encode, the check digit last: 13 for EAN-13, ISBN, "
                    "ISSN and ISMN, 8 for EAN-8, 12 for UPC-A, 8 for UPC-E; a 2D type's GTIN-14.")
      .def_readonly("line", &PySymbol::line,
                    "The line above the bars, e.g. \"ISBN 978-3-16-148410-0\"; empty for EAN, UPC.")
      .def_readonly("addon", &PySymbol::addon, "The add-on's digits; empty without an add-on.")
      .def_readonly("price", &PySymbol::price, "The price line (ISBN, ISMN); else empty.")
      .def_readonly("content", &PySymbol::content,
                    "What the 2D symbol (a 2D type's, or a companion) holds: the Digital Link URI, "
                    "or the element string with GS between fields; empty without one.")
      .def_readonly("notes", &PySymbol::notes,
                    "What was changed or left out, e.g. a check character replaced.")
      .def("__repr__", [](const PySymbol& s) {
        return "Symbol(type=" + py::repr(py::str(s.type)).cast<std::string>() +
               ", digits=" + py::repr(py::str(s.digits)).cast<std::string>() +
               ", line=" + py::repr(py::str(s.line)).cast<std::string>() +
               ", addon=" + py::repr(py::str(s.addon)).cast<std::string>() +
               ", price=" + py::repr(py::str(s.price)).cast<std::string>() +
               ", content=" + py::repr(py::str(s.content)).cast<std::string>() +
               ", notes=" + py::repr(py::cast(s.notes)).cast<std::string>() + ")";
      });

  m.def("render",
        [](const py::str& data, const py::str& type, const py::str& addon, const py::str& price,
           const py::str& variant, bool strict, const py::str& fmt, long long size, long long res,
           bool quietZones, long long barReduction, bool transparent, const py::str& font,
           bool outlineText, std::optional<double> magnification, std::optional<double> module,
           std::optional<long long> dpi, bool snap, std::optional<long long> snapDpi,
           std::optional<double> height, const py::str& priceCode, const py::str& ranges,
           const py::str& ai, const py::str& dlDomain, const py::str& ecc, const py::str& companion,
           std::optional<double> companionModule, bool text) {
          return renderCall(data, type, addon, price, variant, strict, fmt, size, res, quietZones,
                            barReduction, transparent, font, outlineText,
                            {magnification, module, dpi, snap, snapDpi, height}, priceCode, ranges,
                            {ai, dlDomain, ecc, companion, companionModule, text});
        },
        kRenderDoc, py::arg("data"), py::kw_only(),
        py::arg("type") = "ean13", py::arg("addon") = "", py::arg("price") = "",
        py::arg("variant") = "", py::arg("strict") = false, py::arg("format") = "eps",
        py::arg("size") = 2, py::arg("res") = 2, py::arg("quiet_zones") = false,
        py::arg("bar_reduction") = 0, py::arg("transparent") = false, py::arg("font") = "sans",
        py::arg("outline_text") = false, py::arg("magnification") = py::none(), py::arg("module") = py::none(),
        py::arg("dpi") = py::none(), py::arg("snap") = true, py::arg("snap_dpi") = py::none(),
        py::arg("height") = py::none(), py::arg("price_code") = "", py::arg("ranges") = "",
        py::arg("ai") = "", py::arg("dl_domain") = "", py::arg("ecc") = "M", py::arg("companion") = "",
        py::arg("companion_module") = py::none(), py::arg("text") = true);
  m.def("save",
        [](const py::object& path, const py::str& data, const py::str& type, const py::str& addon,
           const py::str& price, const py::str& variant, bool strict,
           const std::optional<py::str>& fmt, long long size, long long res, bool quietZones,
           long long barReduction, bool transparent, const py::str& font, bool outlineText,
           std::optional<double> magnification,
           std::optional<double> module, std::optional<long long> dpi, bool snap,
           std::optional<long long> snapDpi, std::optional<double> height,
           const py::str& priceCode, const py::str& ranges, const py::str& ai,
           const py::str& dlDomain, const py::str& ecc, const py::str& companion,
           std::optional<double> companionModule, bool text) {
          saveCall(path, data, type, addon, price, variant, strict, fmt, size, res, quietZones,
                   barReduction, transparent, font, outlineText,
                   {magnification, module, dpi, snap, snapDpi, height}, priceCode, ranges,
                   {ai, dlDomain, ecc, companion, companionModule, text});
        },
        kSaveDoc, py::arg("path"), py::arg("data"), py::kw_only(),
        py::arg("type") = "ean13", py::arg("addon") = "", py::arg("price") = "",
        py::arg("variant") = "", py::arg("strict") = false, py::arg("format") = py::none(),
        py::arg("size") = 2, py::arg("res") = 2, py::arg("quiet_zones") = false,
        py::arg("bar_reduction") = 0, py::arg("transparent") = false, py::arg("font") = "sans",
        py::arg("outline_text") = false, py::arg("magnification") = py::none(), py::arg("module") = py::none(),
        py::arg("dpi") = py::none(), py::arg("snap") = true, py::arg("snap_dpi") = py::none(),
        py::arg("height") = py::none(), py::arg("price_code") = "", py::arg("ranges") = "",
        py::arg("ai") = "", py::arg("dl_domain") = "", py::arg("ecc") = "M", py::arg("companion") = "",
        py::arg("companion_module") = py::none(), py::arg("text") = true);
  m.def("complete",
        [](const py::str& data, const py::str& type, const py::str& addon, const py::str& price,
           const py::str& variant, bool strict, const py::str& priceCode, const py::str& ranges,
           const py::str& ai, const py::str& dlDomain, const py::str& ecc, const py::str& companion,
           std::optional<double> companionModule) {
          return completeCall(data, type, addon, price, variant, strict, priceCode, ranges,
                              {ai, dlDomain, ecc, companion, companionModule, true});
        },
        kCompleteDoc, py::arg("data"), py::kw_only(),
        py::arg("type") = "ean13", py::arg("addon") = "", py::arg("price") = "",
        py::arg("variant") = "", py::arg("strict") = false, py::arg("price_code") = "",
        py::arg("ranges") = "", py::arg("ai") = "", py::arg("dl_domain") = "", py::arg("ecc") = "M",
        py::arg("companion") = "", py::arg("companion_module") = py::none());
}
