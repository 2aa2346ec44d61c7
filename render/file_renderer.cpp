// Symbol files: EPS text from the EPS writer, a PDF or SVG page of the file layout in
// points, or a bitmap of the file layout streamed through an image encoder; every one
// written atomically.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "atomic_file.h"
#include "encode.h"
#include "eps.h"
#include "pdf.h"
#include "svg.h"
#include "renderers.h"

namespace strimlo {

namespace {

SaveOutcome fail(SaveFailure failure) { return {failure, Refusal::None}; }

std::optional<std::string_view> textIf(bool wanted, const std::string& text) {
  return wanted ? std::optional<std::string_view>(text) : std::nullopt;
}

SaveOutcome writeEps(const Symbol& sym, const Prepress& prepress, const std::string& path) {
  // ISBN files have always carried the price, even without an add-on; an ISMN's stands
  // above its add-on only, as in the raster files.
  const bool price = isIsbn(sym.type) || (takesPrice(sym.type) && sym.addon);
  auto text = makeEPS(sym.type, sym.digits, textIf(hasTextLine(sym.type), sym.isbnLine),
                      textIf(takesAddon(sym.type), sym.addonText), textIf(price, sym.priceText),
                      sym.pattern, sym.addon ? &*sym.addon : nullptr, prepress);
  if (!text) return fail(SaveFailure::EncodeFailed);
  return writeFileAtomically(path, *text) ? SaveOutcome{} : fail(SaveFailure::WriteFailed);
}

// What a reader is told the symbol says: the lines printed with it, in reading order.
std::string humanText(const Symbol& sym) {
  std::string text = sym.isbnLine.empty() ? sym.digits : sym.isbnLine + " " + sym.digits;
  if (sym.addon) text += " " + sym.addonText;
  if (sym.addon && !sym.priceText.empty()) text += " " + sym.priceText;
  return text;
}

// The page is the symbol's box at the magnification, in points and unrounded: the box a
// bitmap of the same size has before it is cut to whole pixels.
SaveOutcome writeVector(const Symbol& sym, SizeIndex size, FileFormat format,
                        const Prepress& prepress, const std::string& path) {
  const Font* font = Font::helvetica();
  const Type1Font* type1 = format == kPDF ? helveticaType1() : nullptr;
  if (!font || (format == kPDF && !type1)) return fail(SaveFailure::NoFont);
  Layout layout = fileLayout(sym, size, 0);
  applyPrepress(layout, sym.type, prepress, false);  // exact: a page has no pixels
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
  if (!bytes) return fail(fontUnreadable ? SaveFailure::FontUnreadable : SaveFailure::EncodeFailed);
  return writeFileAtomically(path, *bytes) ? SaveOutcome{} : fail(SaveFailure::WriteFailed);
}

SaveOutcome writeRaster(const Symbol& sym, SizeIndex size, ResolutionIndex res,
                        FileFormat format, const Prepress& prepress, const std::string& path) {
  if (format < kPNG || format > kJPEG) return fail(SaveFailure::BadFormat);
  const Font* font = Font::helvetica();
  if (!font) return fail(SaveFailure::NoFont);
  Layout layout = fileLayout(sym, size, res);
  applyPrepress(layout, sym.type, prepress, true);
  // The largest bitmap the sizes on offer make is 14012 x 7920; anything beyond cairo's
  // limit is refused before drawing.
  if (layout.pixelsWide <= 0 || layout.pixelsHigh <= 0 ||
      layout.pixelsWide > kMaxSurfaceSide || layout.pixelsHigh > kMaxSurfaceSide)
    return fail(SaveFailure::TooLarge);

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
  AtomicFile file(path);
  if (!file.ok()) return fail(SaveFailure::WriteFailed);
  if (format == kTIFF && lseek(file.fd(), 0, SEEK_CUR) < 0) {
    file.fail();
    return fail(SaveFailure::NotSeekable);
  }
  if (!encodeImage(source, format, file.file())) {
    // A full disk shows as a stream error; anything else is the encoder's.
    const bool writeError = std::ferror(file.file()) != 0;
    file.fail();
    return fail(writeError ? SaveFailure::WriteFailed : SaveFailure::EncodeFailed);
  }
  return file.commit() ? SaveOutcome{} : fail(SaveFailure::WriteFailed);
}

}  // namespace

SaveOutcome renderFile(CodeType type, std::string_view text, std::string_view addon,
                       std::string_view price, SizeIndex size, ResolutionIndex res,
                       FileFormat format, const std::string& path, const Prepress& prepress) {
  Completion c = completeSymbol(type, text, addon, price);
  if (!c.symbol) return {SaveFailure::Refused, c.refusal};
  if (!reductionInRange(prepress.barReductionMicrons)) return fail(SaveFailure::BadReduction);
  if (prepress.transparent && !allowsTransparency(format)) return fail(SaveFailure::OpaqueFormat);
  if (format == kEPS) return writeEps(*c.symbol, prepress, path);
  if (format == kPDF || format == kSVG) return writeVector(*c.symbol, size, format, prepress, path);
  return writeRaster(*c.symbol, size, res, format, prepress, path);
}

}  // namespace strimlo
