// Symbol files: the layout of a symbol in pixels of the file bitmap, and the save itself.
// Every quantity is single precision, computed operation by operation in the order
// written, so that the pixel sizes come out exactly as documented (453 x 331 for EAN-13
// at 300 dpi, ...).
#include <string>

#include "atomic_file.h"
#include "encode.h"
#include "eps.h"
#include "renderers.h"
#include "shape.h"

namespace strimlo {

namespace {

// The human-readable digits at y = m: digit 0 left of the symbol (EAN-13 family), the
// others under the first module of their seven.
void addDigits(Layout& out, const Symbol& sym, const Shape& shape, float m, float q, float x0,
               float size) {
  float x;
  int first = 0;
  if (shape.leadingDigit) {
    const float xs = m * 3.0f + x0;
    const float p = q * (-1.75f) + xs;
    out.texts.push_back({sym.digits.substr(0, 1), p, m, size});
    x = q * 1.75f + p;
    first = 1;
  } else {
    x = x0 + x0;
  }
  for (int i = first; i < shape.digits; ++i) {
    out.texts.push_back({sym.digits.substr(i, 1), x, m, size});
    x = x + m * 7.0f;
    if (i == shape.centreAfter) x = x + m * 5.0f;
  }
}

}  // namespace

Layout fileLayout(const Symbol& sym, SizeIndex size, ResolutionIndex res, const Font& font) {
  (void)font;  // positions are those of the text boxes; no measurement is needed
  const Shape shape = shapeOf(sym.type);
  const bool ean8 = sym.type == kEAN8;
  const bool isbn = isIsbn(sym.type);
  const bool addon = isbn && sym.addon.has_value();

  const float s = getScale(size);
  const float d = getResolution(res);
  const float f = d / 100.0f;
  const float u = 2540.0f / d;
  const float F = (f * 14.0f) * s;
  const float q = s * (f * 10.0f);
  const float T = s * (f * 15.0f);
  const float m = s * (33.0f / u);
  const float n = static_cast<float>(shape.modules);

  const float x0 = ean8 ? m * 3.0f : q + q;
  const float xe = x0 + m * n;
  const float A = addon ? m * 47.0f + q : 0.0f;
  const float W = ean8 ? m * n + m * 6.0f : (A + xe) + m * 6.0f;
  const float Hb = (m * n) / shape.heightRatio;
  const float H = isbn ? T + (m * 6.0f + Hb) : m * 6.0f + Hb;
  const float L = Hb - T;
  const float y0 = isbn ? m * 4.0f + ((H - L) * 0.5f - T) : m * 4.0f + (H - (T + L)) * 0.5f;
  const float Yt = L + y0;
  const float top = T * 0.5f + Yt;

  Layout out;
  out.width = W;
  out.height = H;
  out.pixelsWide = static_cast<int>(W);
  out.pixelsHigh = static_cast<int>(H);
  out.pointsWide = W / (d / 72.0f);
  out.pointsHigh = H / (d / 72.0f);
  out.dpi = d;
  out.lineWidth = m;
  // Crisp bars where pixels are small; smoothed ones at 72 and 100 dpi.
  out.antialiasBars = d < 300.0f;

  for (int i = 0; i < shape.modules; ++i) {
    if (!sym.pattern[i]) continue;
    const float x = static_cast<float>(i) * m + x0;
    out.bars.push_back({x, shape.isGuard(i) ? y0 : y0 + T * 0.5f, top});
  }
  if (addon) {
    const float xa = q + xe;
    const float addonTop = T * (-0.5f) + Yt;
    std::size_t next = 0;
    for (int j = 0; j < kAddon5Modules; ++j) {
      const float x = static_cast<float>(j) * m + xa;
      if ((*sym.addon)[j]) out.bars.push_back({x, y0, addonTop});
      // Each add-on digit stands on the add-on bars, over its own seven modules.
      if (j % 9 == 3 && next < sym.addonText.size())
        out.texts.push_back({sym.addonText.substr(next++, 1), x, addonTop, F});
    }
  }
  addDigits(out, sym, shape, m, q, x0, F);
  if (isbn) {
    const float F2 = (f * 11.0f) * s;
    const float y = Yt + (T * 5.0f) * 0.125f;
    out.texts.push_back({sym.isbnLine, x0 - m, y, F2});
    if (addon && !sym.priceText.empty()) out.texts.push_back({sym.priceText, q + xe, y, F2});
  }
  return out;
}

namespace {

SaveOutcome fail(SaveFailure failure) { return {failure, Refusal::None}; }

SaveOutcome writeEps(const Symbol& sym, const std::string& path) {
  const bool isbn = isIsbn(sym.type);
  auto text = makeEPS(sym.type, sym.digits,
                      isbn ? std::optional<std::string_view>(sym.isbnLine) : std::nullopt,
                      isbn ? std::optional<std::string_view>(sym.addonText) : std::nullopt,
                      isbn ? std::optional<std::string_view>(sym.priceText) : std::nullopt,
                      sym.pattern, sym.addon ? &*sym.addon : nullptr);
  if (!text) return fail(SaveFailure::EncodeFailed);
  return writeFileAtomically(path, *text) ? SaveOutcome{} : fail(SaveFailure::WriteFailed);
}

// The largest bitmap the sizes on offer make is 14012 x 7920; anything beyond cairo's
// limit is refused before drawing.
constexpr int kMaxPixels = 32767;

SaveOutcome writeRaster(const Symbol& sym, SizeIndex size, ResolutionIndex res,
                        FileFormat format, const std::string& path) {
  if (format < kPNG || format > kJPEG) return fail(SaveFailure::BadFormat);
  const Font* font = Font::helvetica();
  if (!font) return fail(SaveFailure::NoFont);
  const Layout layout = fileLayout(sym, size, res, *font);
  if (layout.pixelsWide <= 0 || layout.pixelsHigh <= 0 || layout.pixelsWide > kMaxPixels ||
      layout.pixelsHigh > kMaxPixels)
    return fail(SaveFailure::TooLarge);

  RasterSource source;
  source.width = layout.pixelsWide;
  source.height = layout.pixelsHigh;
  source.dpi = layout.dpi;
  source.stripRows = 256;
  source.rows = [&layout, font](int first, int count, std::uint8_t* dst, std::size_t stride) {
    return paintInkStrip(layout, *font, first, count, dst, stride);
  };
  AtomicFile file(path);
  if (!file.ok()) return fail(SaveFailure::WriteFailed);
  if (!encodeImage(source, format, file.file())) {
    file.fail();
    return fail(SaveFailure::EncodeFailed);
  }
  return file.commit() ? SaveOutcome{} : fail(SaveFailure::WriteFailed);
}

}  // namespace

SaveOutcome renderFile(CodeType type, std::string_view text, std::string_view addon,
                       std::string_view price, SizeIndex size, ResolutionIndex res,
                       FileFormat format, const std::string& path) {
  Completion c = completeSymbol(type, text, addon, price);
  if (!c.symbol) return {SaveFailure::Refused, c.refusal};
  if (format == kEPS) return writeEps(*c.symbol, path);
  return writeRaster(*c.symbol, size, res, format, path);
}

}  // namespace strimlo
