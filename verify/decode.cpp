#include "decode.h"

#include <algorithm>
#include <vector>

#include "zxing_read.h"

namespace strimlo::verify {

namespace {

const char* formatName(int code) {
  switch (code) {
    case 13: return "EAN-13";
    case 8: return "EAN-8";
    case 12: return "UPC-A";
    case 6: return "UPC-E";
    default: return nullptr;
  }
}

}  // namespace

std::optional<Decoded> decode(const Image& image, std::string* problem) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    return std::nullopt;
  int format = 0, box[4] = {};
  char text[64] = {};
  const int found = strimlo_zxing_read(image.pixels.data(), image.width, image.height, &format, text,
                                       sizeof text, box);
  if (found < 0 && problem) *problem = text;
  const char* name = formatName(format);
  if (found != 1 || name == nullptr) return std::nullopt;
  Decoded d;
  d.format = name;
  // The add-on follows the main symbol's digits after a space.
  const std::string t = text;
  const auto space = t.find(' ');
  d.digits = t.substr(0, space);
  if (space != std::string::npos) d.addon = t.substr(space + 1);
  d.x0 = box[0];
  d.y0 = box[1];
  d.x1 = box[2];
  d.y1 = box[3];
  return d;
}

std::optional<DecodedMatrix> decodeMatrix(const Image& image, MatrixKind kind, std::string* problem) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    return std::nullopt;
  // Room for the largest QR Code's bytes: a content is never cut short unseen.
  std::vector<char> text(4096);
  char identifier[4] = {};
  int length = 0, box[4] = {};
  const bool qr = kind == MatrixKind::QR;
  const int found = strimlo_zxing_read_matrix(image.pixels.data(), image.width, image.height, qr ? 1 : 2,
                                              identifier, text.data(), static_cast<int>(text.size()),
                                              &length, box);
  if (found < 0 && problem) *problem = text.data();
  if (found != 1) return std::nullopt;
  DecodedMatrix d;
  d.format = qr ? "QR Code" : "DataMatrix";
  d.identifier = identifier;
  d.content.assign(text.data(), static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(text.size()) - 1)));
  d.x0 = box[0];
  d.y0 = box[1];
  d.x1 = box[2];
  d.y1 = box[3];
  return d;
}

void prepareDecoder() { strimlo_zxing_preload(); }

}  // namespace strimlo::verify
