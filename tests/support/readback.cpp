#include "readback.h"

#include <algorithm>
#include <string_view>

namespace strimlo::test {

namespace {

// Ink of one pixel, 0 to 255.
int inkOf(const std::uint8_t* p, int channels, bool inverted) {
  if (channels == 1) return 255 - p[0];
  if (channels == 2) return (255 - p[0]) * p[1] / 255;  // grey + alpha, over white
  // libpng's default weights for grey from RGB: 0.2126, 0.7152, 0.0722 of 32768.
  if (channels == 3) return 255 - ((6968 * p[0] + 23434 * p[1] + 2366 * p[2] + 16384) >> 15);
  int ink = 0;
  for (int c = 0; c < 4; ++c) ink += inverted ? 255 - p[c] : p[c];
  return std::min(ink, 255);
}

ByteView bytesOf(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

GreyImage greyOf(const FileFacts& facts) {
  const int channels = facts.channels;
  const auto pixels = static_cast<std::size_t>(facts.width) * facts.height;
  if (channels < 1 || channels > 4 || facts.samples.size() != pixels * channels)
    return {};
  GreyImage grey{facts.width, facts.height, std::vector<std::uint8_t>(pixels)};
  for (std::size_t i = 0; i < pixels; ++i)
    grey.pixels[i] = static_cast<std::uint8_t>(255 - inkOf(&facts.samples[i * channels], channels, facts.inverted));
  return grey;
}

std::optional<FileFacts> readRaster(ByteView bytes) {
  const std::string_view head(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (head.starts_with("\x89PNG")) return readPng(bytes);
  if (head.starts_with("II*") || head.starts_with("MM")) return readTiff(bytes);
  if (head.starts_with("\xFF\xD8")) return readJpeg(bytes);
  return std::nullopt;
}

std::optional<FileFacts> readPngFile(const std::string& path) { return readPng(bytesOf(readFile(path))); }
std::optional<FileFacts> readTiffFile(const std::string& path) { return readTiff(bytesOf(readFile(path))); }
std::optional<FileFacts> readJpegFile(const std::string& path) { return readJpeg(bytesOf(readFile(path))); }
std::optional<FileFacts> readRasterFile(const std::string& path) { return readRaster(bytesOf(readFile(path))); }

}  // namespace strimlo::test
