// Symbol files: the layout of a symbol in pixels of the file bitmap, and the save itself.
// Every quantity is single precision, computed operation by operation in the order
// written, so that the bitmap sizes come out exactly (453 x 331 pixels for EAN-13 at
// 100% and 300 dpi, 14012 x 7920 for an ISBN with add-on at 197% and 3200 dpi).
#include <cstdio>
#include <string>

#include "atomic_file.h"
#include "encode.h"
#include "eps.h"
#include "renderers.h"
#include "shape.h"

namespace strimlo {

namespace {

// The lengths every position is made of, in pixels.
struct Geometry {
  float d;   // dots per inch
  float F;   // digit font size, 0.14 inch
  float F2;  // ISBN line font size, 0.11 inch
  float q;   // margin unit, 0.1 inch
  float T;   // text band, 0.15 inch
  float m;   // module, 0.33 mm
  float x0;  // centre of module 0
  float xe;  // end of the main symbol's modules
  float W, H;
  float y0;  // bottom of the guard bars
  float Yt;  // top of the data bars' length
};

Geometry geometryOf(const Shape& shape, CodeType type, bool addon, SizeIndex size,
                    ResolutionIndex res) {
  const bool ean8 = type == kEAN8;
  const bool isbn = isIsbn(type);
  const float s = getScale(size);
  Geometry g{};
  g.d = getResolution(res);
  const float f = g.d / 100.0f;
  const float u = 2540.0f / g.d;
  g.F = (f * 14.0f) * s;
  g.F2 = (f * 11.0f) * s;
  g.q = s * (f * 10.0f);
  g.T = s * (f * 15.0f);
  g.m = s * (33.0f / u);
  const float m = g.m, n = static_cast<float>(shape.modules);
  g.x0 = ean8 ? m * 3.0f : g.q + g.q;
  g.xe = g.x0 + m * n;
  const float A = addon ? m * 47.0f + g.q : 0.0f;
  g.W = ean8 ? m * n + m * 6.0f : (A + g.xe) + m * 6.0f;
  const float Hb = (m * n) / shape.heightRatio;  // nominal bar height
  g.H = isbn ? g.T + (m * 6.0f + Hb) : m * 6.0f + Hb;
  const float L = Hb - g.T;  // length of a data bar
  g.y0 = isbn ? m * 4.0f + ((g.H - L) * 0.5f - g.T) : m * 4.0f + (g.H - (g.T + L)) * 0.5f;
  g.Yt = L + g.y0;
  return g;
}

// The human-readable digits at y = m: digit 0 left of the symbol (EAN-13 family), the
// others under the first module of their seven.
void addDigits(Layout& out, const Symbol& sym, const Shape& shape, const Geometry& g) {
  const float m = g.m;
  float x;
  int first = 0;
  if (shape.leadingDigit) {
    const float xs = m * 3.0f + g.x0;
    const float p = g.q * (-1.75f) + xs;
    out.texts.push_back({sym.digits.substr(0, 1), p, m, g.F});
    x = g.q * 1.75f + p;
    first = 1;
  } else {
    x = g.x0 + g.x0;
  }
  for (int i = first; i < shape.digits; ++i) {
    out.texts.push_back({sym.digits.substr(i, 1), x, m, g.F});
    x = x + m * 7.0f;
    if (i == shape.centreAfter) x = x + m * 5.0f;
  }
}

// The add-on's bars, level with the guard bars at the bottom and T below the main bars'
// tops, and its digits standing on them, a gap of q after the main symbol.
void addAddon(Layout& out, const Symbol& sym, const Geometry& g) {
  const float xa = g.q + g.xe;
  const float top = g.T * (-0.5f) + g.Yt;
  std::size_t next = 0;
  for (int j = 0; j < kAddon5Modules; ++j) {
    const float x = static_cast<float>(j) * g.m + xa;
    if ((*sym.addon)[j]) out.bars.push_back({x, g.y0, top});
    if (j % 9 == 3 && next < sym.addonText.size())  // modules 3, 12, 21, 30, 39
      out.texts.push_back({sym.addonText.substr(next++, 1), x, top, g.F});
  }
}

}  // namespace

Layout fileLayout(const Symbol& sym, SizeIndex size, ResolutionIndex res) {
  const Shape shape = shapeOf(sym.type);
  const bool addon = isIsbn(sym.type) && sym.addon.has_value();
  const Geometry g = geometryOf(shape, sym.type, addon, size, res);

  Layout out;
  out.width = g.W;
  out.height = g.H;
  out.pixelsWide = static_cast<int>(g.W);
  out.pixelsHigh = static_cast<int>(g.H);
  out.pointsWide = g.W / (g.d / 72.0f);
  out.pointsHigh = g.H / (g.d / 72.0f);
  out.dpi = g.d;
  out.lineWidth = g.m;
  // Crisp bars where pixels are small; smoothed ones at 72 and 100 dpi.
  out.antialiasBars = g.d < 300.0f;

  // Every bar ends at the same top; guard bars reach T/2 further down than data bars.
  const float top = g.T * 0.5f + g.Yt;
  for (int i = 0; i < shape.modules; ++i) {
    if (!sym.pattern[i]) continue;
    const float x = static_cast<float>(i) * g.m + g.x0;
    out.bars.push_back({x, shape.isGuard(i) ? g.y0 : g.y0 + g.T * 0.5f, top});
  }
  if (addon) addAddon(out, sym, g);
  addDigits(out, sym, shape, g);
  if (isIsbn(sym.type)) {
    const float y = g.Yt + (g.T * 5.0f) * 0.125f;
    out.texts.push_back({sym.isbnLine, g.x0 - g.m, y, g.F2});
    if (addon && !sym.priceText.empty()) out.texts.push_back({sym.priceText, g.q + g.xe, y, g.F2});
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

SaveOutcome writeRaster(const Symbol& sym, SizeIndex size, ResolutionIndex res,
                        FileFormat format, const std::string& path) {
  if (format < kPNG || format > kJPEG) return fail(SaveFailure::BadFormat);
  const Font* font = Font::helvetica();
  if (!font) return fail(SaveFailure::NoFont);
  const Layout layout = fileLayout(sym, size, res);
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
                       FileFormat format, const std::string& path) {
  Completion c = completeSymbol(type, text, addon, price);
  if (!c.symbol) return {SaveFailure::Refused, c.refusal};
  if (format == kEPS) return writeEps(*c.symbol, path);
  return writeRaster(*c.symbol, size, res, format, path);
}

}  // namespace strimlo
