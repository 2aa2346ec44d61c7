// Symbol files: EPS text from the EPS writer, a PDF or SVG page of the file layout in
// points, or a bitmap of the file layout through an image encoder. Each writer gives the
// whole file in memory; only save() touches the disk, atomically.
#include <cstdio>
#include <string>

#include "atomic_file.h"
#include "encode.h"
#include "eps.h"
#include "pdf.h"
#include "renderers.h"
#include "stages.h"
#include "svg.h"

namespace strimlo {

namespace {

Written fail(Failure failure) { return {{}, failure, {}}; }

std::optional<std::string_view> textIf(bool wanted, const std::string& text) {
  return wanted ? std::optional<std::string_view>(text) : std::nullopt;
}

Written epsBytes(const Symbol& sym, const Prepress& prepress) {
  // ISBN files have always carried the price, even an empty one without an add-on; an
  // ISMN's is written when there is one, above the add-on or where it would stand.
  const bool price =
      isIsbn(sym.type) || (takesPrice(sym.type) && (sym.addon || !sym.priceText.empty()));
  auto text = makeEPS(sym.type, sym.digits, textIf(hasTextLine(sym.type), sym.isbnLine),
                      textIf(takesAddon(sym.type), sym.addonText), textIf(price, sym.priceText),
                      sym.pattern, sym.addon ? &*sym.addon : nullptr, prepress);
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

// The page is the symbol's box at the magnification, in points and unrounded: the box a
// bitmap of the same size has before it is cut to whole pixels.
Written vectorBytes(const Symbol& sym, const Layout& layout, FileFormat format,
                    const Prepress& prepress) {
  const Font* font = Font::helvetica();
  const Type1Font* type1 = format == kPDF ? helveticaType1() : nullptr;
  if (!font || (format == kPDF && !type1)) return fail(Failure::NoFont);
  const std::string note = reductionNote(prepress.barReductionMicrons, std::nullopt);
  std::optional<std::string> bytes;
  bool fontUnreadable = false;
  if (format == kPDF) {
    bytes = makePdf(layout, *font, *type1, sym.digits, note, &fontUnreadable);
    // A remembered file that cannot be read gives way to the one fontconfig names.
    const Type1Font* found = fontUnreadable ? helveticaType1Found() : nullptr;
    if (found && found->outlines != type1->outlines)
      bytes = makePdf(layout, *font, *found, sym.digits, note, &fontUnreadable);
  } else bytes = makeSvg(layout, *font, humanText(sym), note, !prepress.transparent);
  if (!bytes) return fail(fontUnreadable ? Failure::FontUnreadable : Failure::EncodeFailed);
  return {std::move(*bytes), Failure::None, {}};
}

Written rasterBytes(const Layout& layout, FileFormat format, const Prepress& prepress) {
  const Font* font = Font::helvetica();
  if (!font) return fail(Failure::NoFont);
  // The largest bitmap the sizes on offer make is 14012 x 7920; anything beyond cairo's
  // limit is refused before drawing.
  if (layout.pixelsWide <= 0 || layout.pixelsHigh <= 0 ||
      layout.pixelsWide > kMaxSurfaceSide || layout.pixelsHigh > kMaxSurfaceSide)
    return fail(Failure::TooLarge);

  RasterSource source;
  source.width = layout.pixelsWide;
  source.height = layout.pixelsHigh;
  source.dpi = layout.dpi;
  source.stripRows = 256;
  source.transparent = prepress.transparent;
  source.comment = reductionNote(prepress.barReductionMicrons, layout.dpi);
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

Layout layOut(const Symbol& symbol, const Request& request) {
  const auto format = static_cast<FileFormat>(request.format);
  const bool bitmap = format != kPDF && format != kSVG && format != kEPS;
  // EPS draws a 2D symbol, or a companion, from this layout in points.
  // A 2D symbol keeps its quiet zones always and takes no bar width reduction.
  if (isMatrixType(symbol.type))
    return matrixLayout(symbol, bitmap ? getResolution(request.res) : 72.0f, bitmap);
  Layout layout = fileLayout(symbol, request.size, bitmap ? request.res : 0);
  applyPrepress(layout, symbol.type, request.prepress, bitmap);  // a page has no pixels
  placeCompanion(layout, symbol, bitmap);
  return layout;
}

Written write(const Symbol& symbol, const Request& request) {
  const auto format = static_cast<FileFormat>(request.format);
  if (!reductionInRange(request.prepress.barReductionMicrons)) return fail(Failure::BadRequest);
  if (request.prepress.transparent && !allowsTransparency(format))
    return fail(Failure::OpaqueFormat);
  if (format == kEPS && !symbol.matrix) return epsBytes(symbol, request.prepress);
  if (format < kEPS || format > kSVG) return fail(Failure::BadRequest);
  const Layout layout = layOut(symbol, request);
  if (format == kEPS) {
    std::optional<std::string> text = makeMatrixEPS(layout, humanText(symbol));
    if (!text) return fail(Failure::EncodeFailed);
    return {std::move(*text), Failure::None, {}};
  }
  if (format == kPDF || format == kSVG)
    return vectorBytes(symbol, layout, format, request.prepress);
  return rasterBytes(layout, format, request.prepress);
}

SaveResult save(std::string_view bytes, const std::string& path, const SaveOptions& options) {
  if (writeFileAtomically(path, bytes, options)) return {true, {}};
  return {false, lastSaveFailure()};
}

SaveOutcome renderFile(CodeType type, std::string_view text, std::string_view addon,
                       std::string_view price, SizeIndex size, ResolutionIndex res,
                       FileFormat format, const std::string& path, const Prepress& prepress) {
  Completion c = completeSymbol(type, text, addon, price);
  if (!c.symbol) return {SaveFailure::Refused, c.refusal};
  if (!reductionInRange(prepress.barReductionMicrons)) return {SaveFailure::BadReduction, {}};
  if (format < kEPS || format > kSVG) return {SaveFailure::BadFormat, {}};
  Request request;
  request.format = static_cast<Format>(format);
  request.size = size;
  request.res = res;
  request.prepress = prepress;
  const Written file = write(*c.symbol, request);
  if (file.failure != Failure::None) return {saveFailureOf(file.failure), Refusal::None};
  return save(file.bytes, path).ok ? SaveOutcome{} : SaveOutcome{SaveFailure::WriteFailed, {}};
}

}  // namespace strimlo
