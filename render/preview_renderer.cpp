// Previews: the symbol at a fixed 1.5-point module, centred in an image of the view's
// size, cut off where it does not fit. Single precision throughout, operation by
// operation, except the one double-precision addition of the first digit's position.
#include "renderers.h"
#include "shape.h"

namespace strimlo {

namespace {

constexpr float kModule = 1.5f;
constexpr float kDigitFont = 14.0f;
constexpr float kIsbnFont = 13.0f;
constexpr float kAddonLength = 70.5f;  // 47 modules

void addDigits(Layout& out, const Symbol& sym, const Shape& shape, float x0, float y,
               float tw) {
  // The only double-precision step, rounded back to single.
  float x = static_cast<float>(static_cast<double>(x0) + 5.25);
  int first = 0;
  if (shape.leadingDigit) {
    const float p = tw * (-2.5f) + x;
    out.texts.push_back({sym.digits.substr(0, 1), p, y, kDigitFont});
    x = tw * 2.5f + p;
    first = 1;
  }
  for (int i = first; i < shape.digits; ++i) {
    out.texts.push_back({sym.digits.substr(i, 1), x, y, kDigitFont});
    x = x + 10.5f;
    if (i == shape.centreAfter) x = x + 7.5f;
  }
}

}  // namespace

Layout previewLayout(const Symbol& sym, int width, int height, const Font& font) {
  const Shape shape = shapeOf(sym.type);
  const bool isbn = isIsbn(sym.type);
  const bool addon = isbn && sym.addon.has_value();
  const float W = static_cast<float>(width);
  const float H = static_cast<float>(height);
  const TextSize zero = font.measure("0", kDigitFont);
  const float tw = zero.width;
  const float th = zero.height;

  const float length = static_cast<float>(shape.modules) * kModule;  // 142.5 or 100.5
  const float K = length / shape.heightRatio;
  const float total = addon ? (tw + kAddonLength) + length : length;
  const float x0 = (W - total) * 0.5f;
  const float B = K - th;
  const float y0 = isbn ? (H - B) * 0.5f + th * (-0.5f) : (H - (B + th)) * 0.5f;
  const float U = B + y0;
  const float T = U + th * 0.5f;

  Layout out;
  out.width = W;
  out.height = H;
  out.pixelsWide = width;
  out.pixelsHigh = height;
  out.lineWidth = kModule;
  out.antialiasBars = true;
  for (int i = 0; i < shape.modules; ++i) {
    if (!sym.pattern[i]) continue;
    const float x = static_cast<float>(i) * kModule + x0;
    out.bars.push_back({x, shape.isGuard(i) ? y0 : y0 + th * 0.5f, T});
  }
  if (addon) {
    const float a0 = tw + (x0 + length);
    const float addonTop = U - th * 0.5f;
    std::size_t next = 0;
    for (int j = 0; j < kAddon5Modules; ++j) {
      const float x = a0 + static_cast<float>(j) * kModule;
      if ((*sym.addon)[j]) out.bars.push_back({x, y0, addonTop});
      if (j % 9 == 3 && next < sym.addonText.size())
        out.texts.push_back({sym.addonText.substr(next++, 1), x, addonTop, kDigitFont});
    }
  }
  addDigits(out, sym, shape, x0, y0 + (th * 3.0f) * (-0.125f), tw);
  if (isbn) {
    const float y = U + (th * 5.0f) * 0.125f;
    out.texts.push_back({sym.isbnLine, x0, y, kIsbnFont});
    if (addon && !sym.priceText.empty())
      out.texts.push_back({sym.priceText, (x0 + length) + tw, y, kIsbnFont});
  }
  return out;
}

std::optional<PreviewImage> renderPreview(CodeType type, std::string_view text,
                                          std::string_view addon, std::string_view price,
                                          int width, int height) {
  // The view asks for its own size; anything past a very large screen is refused rather
  // than allocated.
  constexpr long long kMaxPixels = 1LL << 26;
  if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels)
    return std::nullopt;
  const Completion c = completeSymbol(type, text, addon, price);
  if (!c.symbol) return std::nullopt;
  const Font* font = Font::helvetica();
  if (!font) return std::nullopt;
  return paintPreview(previewLayout(*c.symbol, width, height, *font), *font);
}

}  // namespace strimlo
