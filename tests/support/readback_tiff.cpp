// TIFF read back with libtiff, from memory. The tags our files rely on (ink set,
// interleaving, resolution unit) count only when the file states them, as a strict
// prepress check reads them.
#include <tiffio.h>

#include <sys/mman.h>
#include <unistd.h>

#include <memory>

#include "readback.h"

namespace strimlo::test {

namespace {

using TiffPtr = std::unique_ptr<TIFF, decltype(&TIFFClose)>;

// libtiff reads from a file descriptor; an anonymous file in memory serves as one.
TiffPtr openTiff(ByteView bytes) {
  // A file we cannot read says so by the result; libtiff's messages would be noise.
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  TiffPtr tif(nullptr, TIFFClose);
  const int fd = memfd_create("readback.tif", 0);
  if (fd < 0) return tif;
  if (write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && lseek(fd, 0, SEEK_SET) == 0)
    tif.reset(TIFFFdOpen(fd, "memory", "r"));
  if (!tif) close(fd);  // otherwise TIFFClose closes it
  return tif;
}

// A tag's value as the file states it, or 0 when it does not.
std::uint16_t stated(TIFF* tif, ttag_t tag) {
  std::uint16_t v = 0;
  return TIFFGetField(tif, tag, &v) ? v : 0;
}

std::string colourOf(TIFF* tif, std::uint16_t samples) {
  const std::uint16_t photometric = stated(tif, TIFFTAG_PHOTOMETRIC);
  const std::uint16_t planar = stated(tif, TIFFTAG_PLANARCONFIG);
  const std::uint16_t inkSet = stated(tif, TIFFTAG_INKSET);
  if (photometric == PHOTOMETRIC_SEPARATED && samples == 4 && planar == PLANARCONFIG_CONTIG &&
      inkSet == INKSET_CMYK)
    return "cmyk";
  return "photometric " + std::to_string(photometric) + ", " + std::to_string(samples) +
         " samples, planar " + std::to_string(planar) + ", ink set " + std::to_string(inkSet);
}

void readTags(TIFF* tif, FileFacts& f) {
  std::uint32_t w = 0, h = 0;
  std::uint16_t samples = 0, bits = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
  f.width = static_cast<int>(w);
  f.height = static_cast<int>(h);
  f.channels = samples;
  f.bitDepth = bits;
  f.colour = colourOf(tif, samples);
  const std::uint16_t compression = stated(tif, TIFFTAG_COMPRESSION);
  f.compression = compression == COMPRESSION_LZW ? "lzw" : "compression " + std::to_string(compression);
  float xr = 0, yr = 0;
  if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xr) && TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yr) &&
      stated(tif, TIFFTAG_RESOLUTIONUNIT) == RESUNIT_INCH) {
    f.xdpi = xr;
    f.ydpi = yr;
  }
}

// The scanlines as stored, for 8-bit CMYK, the one colour form our files use.
bool readSamples(TIFF* tif, FileFacts& f) {
  if (f.bitDepth != 8 || f.colour != "cmyk") return true;
  const auto rowBytes = static_cast<std::size_t>(f.width) * f.channels;
  if (static_cast<std::size_t>(TIFFScanlineSize64(tif)) != rowBytes) return false;
  f.samples.resize(rowBytes * f.height);
  for (int y = 0; y < f.height; ++y) {
    if (TIFFReadScanline(tif, f.samples.data() + y * rowBytes, static_cast<std::uint32_t>(y), 0) != 1)
      return false;
  }
  return true;
}

}  // namespace

std::optional<FileFacts> readTiff(ByteView bytes) {
  const TiffPtr tif = openTiff(bytes);
  if (!tif) return std::nullopt;
  FileFacts f;
  readTags(tif.get(), f);
  if (!readSamples(tif.get(), f)) return std::nullopt;
  f.grey = greyOf(f);
  return f;
}

}  // namespace strimlo::test
