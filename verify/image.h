#pragma once
// A grey image as a verifier sees it: reflectance 0 (black) to 255 (white), top row first,
// and the size of its pixels. Read from PNG, TIFF or JPEG in memory, in any colour form
// their libraries give: grey, grey + alpha (over white), RGB by luminance, CMYK with all
// four inks darkening.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace strimlo::verify {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  double pixelsPerMm = 0;  // 0: the file states no resolution
  std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The most pixels an image may have to be read: 100 million (10000 x 10000).
inline constexpr std::uint64_t kMaxImagePixels = 100'000'000;

struct ReadImage {
  Image image;
  std::string error;  // non-empty: why no image, e.g. "not a PNG, TIFF or JPEG file"
};

ReadImage readImage(std::span<const std::uint8_t> bytes);

}  // namespace strimlo::verify
