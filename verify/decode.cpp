#include "decode.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>

namespace strimlo::verify {

namespace {

const char* formatName(ZXing::BarcodeFormat f) {
  switch (f) {
    case ZXing::BarcodeFormat::EAN13: return "EAN-13";
    case ZXing::BarcodeFormat::EAN8: return "EAN-8";
    case ZXing::BarcodeFormat::UPCA: return "UPC-A";
    case ZXing::BarcodeFormat::UPCE: return "UPC-E";
    default: return nullptr;
  }
}

}  // namespace

std::optional<Decoded> decode(const Image& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    return std::nullopt;
  const ZXing::ImageView view(image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum);
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::EAN13 | ZXing::BarcodeFormat::EAN8 |
                   ZXing::BarcodeFormat::UPCA | ZXing::BarcodeFormat::UPCE);
  hints.setTryHarder(true);
  hints.setTryRotate(false);  // the profiles run along rows
  hints.setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read);
  const ZXing::Result r = ZXing::ReadBarcode(view, hints);
  const char* name = formatName(r.format());
  if (!r.isValid() || name == nullptr) return std::nullopt;
  Decoded d;
  d.format = name;
  // The add-on follows the main symbol's digits after a space.
  const std::string text = r.text();
  const auto space = text.find(' ');
  d.digits = text.substr(0, space);
  if (space != std::string::npos) d.addon = text.substr(space + 1);
  const ZXing::Position& p = r.position();
  d.x0 = std::min({p.topLeft().x, p.bottomLeft().x, p.topRight().x, p.bottomRight().x});
  d.x1 = std::max({p.topLeft().x, p.bottomLeft().x, p.topRight().x, p.bottomRight().x});
  d.y0 = std::min({p.topLeft().y, p.bottomLeft().y, p.topRight().y, p.bottomRight().y});
  d.y1 = std::max({p.topLeft().y, p.bottomLeft().y, p.topRight().y, p.bottomRight().y});
  return d;
}

}  // namespace strimlo::verify
