#pragma once
// Reads our raster files back with their own libraries (libpng, libtiff, libjpeg), as a
// prepress tool would, never with our writer's assumptions: what the file states, its
// samples, and a grey image (white = no ink) that zbarimg can read.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "test_support.h"

namespace strimlo::test {

struct FileFacts {
  int width = 0;
  int height = 0;
  // "gray", "gray+alpha", "rgb" (PNG, JPEG), "cmyk" (C, M, Y, K interleaved; a TIFF must state its ink
  // set and the interleaving, not leave them to defaults), "ycck" (JPEG), or what else
  // it found.
  std::string colour;
  int bitDepth = 0;         // bits a sample, as stored
  int channels = 0;         // samples a pixel, as in `samples`
  std::string compression;  // "deflate", "lzw", "jpeg", or what else it found
  double xdpi = 0;          // pixels per inch as stated; 0 when the file states none
  double ydpi = 0;
  bool inverted = false;    // CMYK stored with 255 as no ink (JPEG with an Adobe marker)
  // 8-bit samples, `channels` a pixel, top row first: as stored for 8-bit PNG and TIFF
  // (wider PNG samples cut to 8 bits, palettes expanded; TIFF: CMYK only), as decoded
  // for JPEG.
  std::vector<std::uint8_t> samples;
  GreyImage grey;  // 255 - ink; empty when the colour form says nothing of ink
};

using ByteView = std::span<const std::uint8_t>;

std::optional<FileFacts> readPng(ByteView bytes);
std::optional<FileFacts> readTiff(ByteView bytes);
// The resolution comes from the Photoshop resolution block (APP13, 8BIM 0x03ED).
std::optional<FileFacts> readJpeg(ByteView bytes);
// By the first bytes.
std::optional<FileFacts> readRaster(ByteView bytes);

std::optional<FileFacts> readPngFile(const std::string& path);
std::optional<FileFacts> readTiffFile(const std::string& path);
std::optional<FileFacts> readJpegFile(const std::string& path);
std::optional<FileFacts> readRasterFile(const std::string& path);

// The grey image of facts' samples by their channel count: grey as it is, grey + alpha
// over white, RGB by luminance, CMYK with all four inks darkening. Empty for other counts.
GreyImage greyOf(const FileFacts& facts);

}  // namespace strimlo::test
