#pragma once
// Reads our raster files back with their own libraries, as a prepress tool would, and
// turns them into grey images (white = no ink) that zbarimg can read.
#include <optional>
#include <string>

#include "test_support.h"

namespace strimlo::test {

struct FileFacts {
  int width = 0;
  int height = 0;
  double xdpi = 0;
  double ydpi = 0;
  std::string colour;       // "gray", "cmyk", "rgb"
  std::string compression;  // "deflate", "lzw", "jpeg", ...
  GreyImage grey;           // 255 - ink
};

std::optional<FileFacts> readPngFile(const std::string& path);
std::optional<FileFacts> readTiffFile(const std::string& path);
std::optional<FileFacts> readJpegFile(const std::string& path);
// By the file's first bytes.
std::optional<FileFacts> readRasterFile(const std::string& path);

}  // namespace strimlo::test
