#include "zxing_read.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

int formatCode(ZXing::BarcodeFormat f) {
  switch (f) {
    case ZXing::BarcodeFormat::EAN13: return 13;
    case ZXing::BarcodeFormat::EAN8: return 8;
    case ZXing::BarcodeFormat::UPCA: return 12;
    case ZXing::BarcodeFormat::UPCE: return 6;
    default: return 0;
  }
}

// The corners' bounding box, in pixels.
void boxOf(const ZXing::Position& p, int box[4]) {
  box[0] = std::min({p.topLeft().x, p.bottomLeft().x, p.topRight().x, p.bottomRight().x});
  box[1] = std::min({p.topLeft().y, p.bottomLeft().y, p.topRight().y, p.bottomRight().y});
  box[2] = std::max({p.topLeft().x, p.bottomLeft().x, p.topRight().x, p.bottomRight().x});
  box[3] = std::max({p.topLeft().y, p.bottomLeft().y, p.topRight().y, p.bottomRight().y});
}

}  // namespace

extern "C" void strimlo_zxing_preload(void) {}  // linked in: ready at start

extern "C" int strimlo_zxing_read(const unsigned char* pixels, int width, int height, int* format,
                                  char* text, int textSize, int box[4]) {
  try {
    const ZXing::ImageView view(pixels, width, height, ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::EAN13 | ZXing::BarcodeFormat::EAN8 |
                     ZXing::BarcodeFormat::UPCA | ZXing::BarcodeFormat::UPCE);
    hints.setTryHarder(true);
    hints.setTryRotate(false);  // the profiles run along rows
    hints.setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read);
    const ZXing::Result r = ZXing::ReadBarcode(view, hints);
    *format = formatCode(r.format());
    if (!r.isValid() || *format == 0 || textSize < 1) return 0;
    const std::string t = r.text();
    const std::size_t n = std::min(t.size(), static_cast<std::size_t>(textSize - 1));
    std::memcpy(text, t.data(), n);
    text[n] = '\0';
    boxOf(r.position(), box);
    return 1;
  } catch (...) {
    return 0;  // nothing may cross a C boundary
  }
}

extern "C" int strimlo_zxing_read_matrix(const unsigned char* pixels, int width, int height, int kind,
                                         char* identifier, char* text, int textSize, int* length,
                                         int box[4]) {
  try {
    if (textSize < 1 || (kind != 1 && kind != 2)) return 0;
    const ZXing::ImageView view(pixels, width, height, ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(kind == 1 ? ZXing::BarcodeFormat::QRCode : ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    const ZXing::Result r = ZXing::ReadBarcode(view, hints);
    if (!r.isValid()) return 0;
    // Bytes, not the text: a reader hands on the bytes, and GS stays GS.
    const ZXing::ByteArray& bytes = r.bytes();
    const std::size_t n = std::min(bytes.size(), static_cast<std::size_t>(textSize - 1));
    std::memcpy(text, bytes.data(), n);
    text[n] = '\0';
    *length = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 30));
    const std::string id = r.symbologyIdentifier();
    const std::size_t m = std::min<std::size_t>(id.size(), 3);
    std::memcpy(identifier, id.data(), m);
    identifier[m] = '\0';
    boxOf(r.position(), box);
    return 1;
  } catch (...) {
    return 0;  // nothing may cross a C boundary
  }
}
