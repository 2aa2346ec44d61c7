// Symbol files: the EPS layout through the EPS writer, a PDF or SVG page of the file layout
// in points, or a bitmap of the file layout through an image encoder. Each writer gives the
// whole file in memory; only save() touches the disk, atomically.
#include <cstdio>
#include <string>

#include "atomic_file.h"
#include "encode.h"
#include "eps.h"
#include "paint.h"
#include "pdf.h"
#include "renderers.h"
#include "stages.h"
#include "svg.h"

namespace strimlo {

namespace {

Written fail(Failure failure) { return {{}, failure, {}}; }

bool isBitmap(Format format) {
  return format == Format::PNG || format == Format::TIFF || format == Format::JPEG;
}

// The face a request's texts are set in, and whether vector files draw them as outlines:
// always for OCR-B, whose OpenType (CFF) file neither an EPS nor the PDF library can
// carry, and a print shop seldom has.
struct TextFace {
  const Font* font;
  bool outlined;
};

TextFace textFace(const Request& request) {
  return {Font::of(request.font), request.outlineText || request.font != TypeFace::Sans};
}

Written noFont(TypeFace face) {
  Written w = fail(Failure::NoFont);
  if (face == TypeFace::OcrB)
    w.message = "the OCR-B face (Debian package fonts-ocr-b) is not installed";
  return w;
}

Written epsBytes(const Symbol& sym, Layout layout, const Request& request, const TextFace& face) {
  // A chosen size scales the fixed drawing; the lists' sizes leave it as it always was.
  if (layout.eps && (request.freeSize.sizeGiven() || request.freeSize.snapDpi)) {
    const Geometry g = geometryOf(request);
    layout.eps->scale = epsScaleFor(kNominalModule * g.scale * 72.0 / 25.4);
    layout.eps->sizeNote = sizeNoteOf(request);
  }
  auto text = writeEps(layout, sym.digits, request.prepress.barReductionMicrons,
                       face.outlined ? face.font : nullptr);
  if (!text) return fail(Failure::EncodeFailed);
  return {std::move(*text), Failure::None, {}};
}

// What a reader is told the symbol says: the lines printed with it, in reading order.
std::string humanText(const Symbol& sym) {
  std::string text = sym.isbnLine.empty() ? sym.digits : sym.isbnLine + " " + sym.digits;
  if (sym.addon) text += " " + sym.addonText;
  if (!sym.priceText.empty()) text += " " + sym.priceText;
  // A 2D symbol says its content: the Digital Link URI, or the element string.
  if (sym.matrix) text = isMatrixType(sym.type) ? sym.matrix->content : text + " " + sym.matrix->content;
  return text;
}

// Two sentences of the description, either of which may be empty.
std::string joined(std::string a, const std::string& b) {
  if (a.empty() || b.empty()) return a + b;
  return a + "; " + b;
}

// The page is the symbol's box at the magnification, in points and unrounded: the box a
// bitmap of the same size has before it is cut to whole pixels.
Written vectorBytes(const Symbol& sym, const Layout& layout, FileFormat format,
                    const Request& request, const TextFace& face) {
  const Prepress& prepress = request.prepress;
  const Font* font = face.font;
  const bool embeds = format == kPDF && !face.outlined;
  const Type1Font* type1 = embeds ? helveticaType1() : nullptr;
  if (!font || (embeds && !type1)) return fail(Failure::NoFont);
  const std::string note =
      joined(reductionNote(prepress.barReductionMicrons, std::nullopt), sizeNoteOf(request));
  std::optional<std::string> bytes;
  bool fontUnreadable = false;
  if (format == kPDF) {
    bytes = makePdf(layout, *font, type1, sym.digits, note, &fontUnreadable);
    // A remembered file that cannot be read gives way to the one fontconfig names.
    const Type1Font* found = fontUnreadable ? helveticaType1Found() : nullptr;
    if (found && found->outlines != type1->outlines)
      bytes = makePdf(layout, *font, found, sym.digits, note, &fontUnreadable);
  } else bytes = makeSvg(layout, *font, humanText(sym), note, !prepress.transparent);
  if (!bytes) return fail(fontUnreadable ? Failure::FontUnreadable : Failure::EncodeFailed);
  return {std::move(*bytes), Failure::None, {}};
}

Written rasterBytes(const Layout& layout, FileFormat format, const Request& request,
                    const Font* font) {
  const Prepress& prepress = request.prepress;
  if (!font) return fail(Failure::NoFont);
  // The largest bitmap the lists make is 14012 x 7920, a free size at 4800 dpi one about
  // twice as wide; anything beyond cairo's limit is refused before drawing.
  if (layout.pixelsWide <= 0 || layout.pixelsHigh <= 0 ||
      layout.pixelsWide > kMaxSurfaceSide || layout.pixelsHigh > kMaxSurfaceSide)
    return fail(Failure::TooLarge);

  RasterSource source;
  source.width = layout.pixelsWide;
  source.height = layout.pixelsHigh;
  source.dpi = layout.dpi;
  source.stripRows = 256;
  source.transparent = prepress.transparent;
  source.comment =
      joined(reductionNote(prepress.barReductionMicrons, layout.dpi), sizeNoteOf(request));
  source.rows = [&layout, font](int first, int count, std::uint8_t* dst, std::size_t stride) {
    return paintInkStrip(layout, *font, first, count, dst, stride);
  };
  std::optional<std::string> bytes = encodeImageBytes(source, format);
  if (!bytes) return fail(Failure::EncodeFailed);
  return {std::move(*bytes), Failure::None, {}};
}

SaveFailure saveFailureOf(Failure f) {
  switch (f) {
    case Failure::None: return SaveFailure::None;
    case Failure::NoFont: return SaveFailure::NoFont;
    case Failure::TooLarge: return SaveFailure::TooLarge;
    case Failure::OpaqueFormat: return SaveFailure::OpaqueFormat;
    case Failure::WriteFailed: return SaveFailure::WriteFailed;
    case Failure::FontUnreadable: return SaveFailure::FontUnreadable;
    default: return SaveFailure::EncodeFailed;
  }
}

}  // namespace

Geometry geometryOf(const Request& request) {
  return geometryFor(request.size, request.res, request.freeSize, isBitmap(request.format));
}

std::string sizeNoteOf(const Request& request) {
  return sizeNote(geometryOf(request), request.freeSize, isBitmap(request.format));
}

Layout layOut(const Symbol& symbol, const Request& request) {
  const bool bitmap = isBitmap(request.format);
  // A 2D symbol keeps its quiet zones always and takes no bar width reduction; a page
  // (EPS too) has it in points.
  if (isMatrixType(symbol.type))
    return matrixLayout(symbol, bitmap ? geometryOf(request).dpi : 72.0f, bitmap);
  // A companion's EPS is drawn from the page's layout in points, not the EPS style.
  Layout layout = request.format == Format::EPS && !symbol.matrix ? epsLayout(symbol)
                                                                  : fileLayout(symbol, geometryOf(request));
  applyPrepress(layout, symbol.type, request.prepress, bitmap);  // a page has no pixels
  placeCompanion(layout, symbol, bitmap);
  return layout;
}

Written write(const Symbol& symbol, const Request& request) {
  const auto format = static_cast<FileFormat>(request.format);
  if (!reductionInRange(request.prepress.barReductionMicrons)) return fail(Failure::BadRequest);
  if (request.prepress.transparent && !allowsTransparency(format))
    return fail(Failure::OpaqueFormat);
  // A 2D symbol carries its module in its matrix; the rest of a free size is checked alike.
  FreeSize checked = request.freeSize;
  if (symbol.matrix && isMatrixType(symbol.type)) checked.module.reset();
  if (freeSizeProblem(checked, symbol.type, request.size) ||
      (format == kEPS && request.freeSize.height))
    return fail(Failure::BadRequest);
  if (request.font != TypeFace::Sans && request.font != TypeFace::OcrB)
    return fail(Failure::BadRequest);
  const TextFace face = textFace(request);
  // An EPS in Helvetica names the font and needs none here.
  if (!face.font && (format != kEPS || face.outlined)) return noFont(request.font);
  if (format < kEPS || format > kSVG) return fail(Failure::BadRequest);
  Layout layout = layOut(symbol, request);
  if (format == kEPS && symbol.matrix) {
    std::optional<std::string> text =
        makeMatrixEPS(layout, humanText(symbol), face.outlined ? face.font : nullptr);
    if (!text) return fail(Failure::EncodeFailed);
    return {std::move(*text), Failure::None, {}};
  }
  if (format == kEPS) return epsBytes(symbol, std::move(layout), request, face);
  setInFace(layout, *face.font);
  // A 2D symbol's resolution is in its layout; the size note speaks of a linear module.
  Request described = request;
  if (isMatrixType(symbol.type)) described.freeSize = {};
  if (format == kPDF || format == kSVG)
    return vectorBytes(symbol, layout, format, described, face);
  return rasterBytes(layout, format, described, face.font);
}

SaveResult save(std::string_view bytes, const std::string& path, const SaveOptions& options) {
  if (writeFileAtomically(path, bytes, options)) return {true, {}};
  return {false, lastSaveFailure()};
}

SaveOutcome renderFile(CodeType type, std::string_view text, std::string_view addon,
                       std::string_view price, SizeIndex size, ResolutionIndex res,
                       FileFormat format, const std::string& path, const Prepress& prepress,
                       TypeFace face, bool outlineText) {
  Completion c = completeSymbol(type, text, addon, price);
  if (!c.symbol) return {SaveFailure::Refused, c.refusal};
  if (!reductionInRange(prepress.barReductionMicrons)) return {SaveFailure::BadReduction, {}};
  if (format < kEPS || format > kSVG) return {SaveFailure::BadFormat, {}};
  Request request;
  request.format = static_cast<Format>(format);
  request.size = size;
  request.res = res;
  request.prepress = prepress;
  request.font = face;
  request.outlineText = outlineText;
  const Written file = write(*c.symbol, request);
  if (file.failure != Failure::None) return {saveFailureOf(file.failure), Refusal::None};
  return save(file.bytes, path).ok ? SaveOutcome{} : SaveOutcome{SaveFailure::WriteFailed, {}};
}

}  // namespace strimlo
