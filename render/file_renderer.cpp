// Symbol files: EPS text from the EPS writer, or a bitmap of the file layout streamed
// through an image encoder; either way written atomically.
#include <cstdio>
#include <string>

#include "atomic_file.h"
#include "encode.h"
#include "eps.h"
#include "renderers.h"

namespace strimlo {

namespace {

SaveOutcome fail(SaveFailure failure) { return {failure, Refusal::None}; }

SaveOutcome writeEps(const Symbol& sym, const Prepress& prepress, const std::string& path) {
  const bool isbn = isIsbn(sym.type);
  auto text = makeEPS(sym.type, sym.digits,
                      isbn ? std::optional<std::string_view>(sym.isbnLine) : std::nullopt,
                      isbn ? std::optional<std::string_view>(sym.addonText) : std::nullopt,
                      isbn ? std::optional<std::string_view>(sym.priceText) : std::nullopt,
                      sym.pattern, sym.addon ? &*sym.addon : nullptr, prepress);
  if (!text) return fail(SaveFailure::EncodeFailed);
  return writeFileAtomically(path, *text) ? SaveOutcome{} : fail(SaveFailure::WriteFailed);
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
  return writeRaster(*c.symbol, size, res, format, prepress, path);
}

}  // namespace strimlo
