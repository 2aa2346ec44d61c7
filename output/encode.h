#pragma once
// PNG, TIFF and JPEG encoders over libpng, libtiff and libjpeg-turbo. Each reads the
// ink coverage strip by strip and writes the file as it goes.
//   PNG:  8-bit grey (255 - ink), pHYs with the resolution; grey + alpha when the
//         source is transparent.
//   TIFF: CMYK (C = M = Y = 0, K = ink), LZW, X/YResolution in inches.
//   JPEG: Adobe CMYK at quality 90, samples inverted as Adobe writes them, with the
//         resolution stated.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "codetypes.h"
#include "raster.h"

namespace strimlo {

// Writes to an open file, which must be seekable for TIFF. False for a format outside
// PNG, TIFF and JPEG, a transparent source for TIFF or JPEG, or when the encoder or the
// source fails. A source's comment is stated in every format.
bool encodeImage(const RasterSource& source, FileFormat format, std::FILE* out);

// The same into memory.
std::optional<std::vector<std::uint8_t>> encodeImage(const RasterSource& source,
                                                     FileFormat format);
std::optional<std::string> encodeImageBytes(const RasterSource& source, FileFormat format);

}  // namespace strimlo
