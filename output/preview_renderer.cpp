// Previews: the symbol at a fixed 1.5-point module, centred in an image of the view's
// size, cut off where it does not fit.
#include "renderers.h"

namespace strimlo {

std::optional<PreviewImage> renderPreview(CodeType type, std::string_view text,
                                          std::string_view addon, std::string_view price,
                                          int width, int height, const Prepress& prepress,
                                          TypeFace face) {
  const Completion c = completeSymbol(type, text, addon, price);
  if (!c.symbol) return std::nullopt;
  return renderPreview(*c.symbol, width, height, prepress, face);
}

std::optional<PreviewImage> renderPreview(CodeType type, std::string_view text,
                                          std::string_view addon, std::string_view price,
                                          int width, int height, const Prepress& prepress,
                                          TypeFace face, const Gs1Options& gs1) {
  if (!isMatrixType(type) && !gs1.companion)
    return MakeCode::PreviewCode(type, text, addon, price, width, height, prepress, face);
  const Completion c = completeWithGs1(type, text, addon, price, gs1);
  if (!c.symbol) return std::nullopt;
  return renderPreview(*c.symbol, width, height, prepress, face);
}

std::optional<PreviewImage> renderPreview(const Symbol& symbol, int width, int height,
                                          const Prepress& prepress, TypeFace face) {
  // The view asks for its own size; anything past a very large screen is refused rather
  // than allocated.
  constexpr long long kMaxPixels = 1LL << 26;
  if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels)
    return std::nullopt;
  const Font* font = Font::of(face);
  if (!font) return std::nullopt;
  Layout layout = previewLayout(symbol, width, height, font->lineHeightPerEm());
  // The reduction is a few hundredths of a point at the preview's scale: not shown.
  if (prepress.quietZones) addPreviewQuietZones(layout, symbol.type);
  placePreviewCompanion(layout, symbol);
  setInFace(layout, *font);
  return paintPreview(layout, *font);
}

}  // namespace strimlo
