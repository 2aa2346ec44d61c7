// TIFF: CMYK, 8 bits x 4 samples interleaved, C = M = Y = 0 and K = ink, LZW, the
// resolution in pixels per inch. libtiff writes through stdio procs over the caller's
// FILE*, which it must not close.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <memory>
#include <sys/stat.h>
#include <vector>

#include "encode_detail.h"

namespace strimlo::detail {

namespace {

// No horizontal differencing: it makes the file about 30% smaller but the encode about
// 10% slower, and LZW already codes the repeating quadruples of a bar row well.
constexpr std::uint16_t kPredictor = PREDICTOR_NONE;
// About this many uncompressed bytes per strip (readers load a strip at a time). Larger
// strips compress a little better but encode slower.
constexpr std::size_t kStripBytes = std::size_t{256} << 10;

// The FILE* and where the TIFF starts in it: TIFF offsets count from the header.
struct Stream {
  std::FILE* file;
  off_t base;
};

Stream& stream(thandle_t h) { return *static_cast<Stream*>(h); }

tmsize_t readProc(thandle_t h, void* buf, tmsize_t size) {
  return static_cast<tmsize_t>(std::fread(buf, 1, static_cast<std::size_t>(size), stream(h).file));
}
tmsize_t writeProc(thandle_t h, void* buf, tmsize_t size) {
  return static_cast<tmsize_t>(std::fwrite(buf, 1, static_cast<std::size_t>(size), stream(h).file));
}
toff_t seekProc(thandle_t h, toff_t offset, int whence) {
  Stream& s = stream(h);
  const off_t from = whence == SEEK_SET ? s.base : 0;
  if (fseeko(s.file, from + static_cast<off_t>(offset), whence) != 0) return static_cast<toff_t>(-1);
  return static_cast<toff_t>(ftello(s.file) - s.base);
}
int closeProc(thandle_t) { return 0; }  // the caller owns the file
toff_t sizeProc(thandle_t h) {
  Stream& s = stream(h);
  struct stat st {};
  if (std::fflush(s.file) != 0 || fstat(fileno(s.file), &st) != 0) return 0;
  return static_cast<toff_t>(st.st_size - s.base);
}
int mapProc(thandle_t, void**, toff_t*) { return 0; }
void unmapProc(thandle_t, void*, toff_t) {}

// libtiff's messages would go to stderr; a failure is reported by return codes anyway.
int quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
  void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr openTiff(Stream& s) {
  TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
  if (opts == nullptr) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(opts, quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(opts, quiet, nullptr);
  TiffPtr tif(TIFFClientOpenExt("strimlo", "wm", &s, readProc, writeProc, seekProc, closeProc,
                                sizeProc, mapProc, unmapProc, opts));
  TIFFOpenOptionsFree(opts);
  return tif;
}

bool setTags(TIFF* tif, const RasterSource& source) {
  const auto rowBytes = static_cast<std::size_t>(source.width) * 4;
  const auto stripRows = std::clamp<std::size_t>(kStripBytes / rowBytes, 1,
                                                 static_cast<std::size_t>(source.height));
  const auto dpi = static_cast<float>(source.dpi);
  return TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(source.width)) &&
         TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(source.height)) &&
         TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8) &&
         TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4) &&
         TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED) &&
         TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK) &&
         TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
         TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW) &&
         TIFFSetField(tif, TIFFTAG_PREDICTOR, kPredictor) &&
         TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(stripRows)) &&
         TIFFSetField(tif, TIFFTAG_XRESOLUTION, dpi) &&
         TIFFSetField(tif, TIFFTAG_YRESOLUTION, dpi) &&
         TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) &&
         (source.comment.empty() ||
          TIFFSetField(tif, TIFFTAG_IMAGEDESCRIPTION, source.comment.c_str()));
}

// Rewritten in full for every row: libtiff may change the buffer in place (a predictor
// differences it).
void inkToCmyk(const std::uint8_t* ink, std::uint8_t* cmyk, int width) {
  for (int x = 0; x < width; ++x, cmyk += 4) {
    cmyk[0] = cmyk[1] = cmyk[2] = 0;
    cmyk[3] = ink[x];
  }
}

bool writeRows(TIFF* tif, const RasterSource& source, std::uint8_t* cmyk) {
  StripReader reader(source);
  for (int y = 0; y < source.height; ++y) {
    const std::uint8_t* ink = reader.row(y);
    if (ink == nullptr) return false;
    inkToCmyk(ink, cmyk, source.width);
    if (TIFFWriteScanline(tif, cmyk, static_cast<std::uint32_t>(y), 0) < 0) return false;
  }
  return true;
}

}  // namespace

bool encodeTiff(const RasterSource& source, std::FILE* out) {
  Stream s{out, ftello(out)};
  if (s.base < 0) return false;  // not seekable
  TiffPtr tif = openTiff(s);
  std::vector<std::uint8_t> cmyk(static_cast<std::size_t>(source.width) * 4);
  // TIFFFlush writes the directory and reports its failure, which TIFFClose would not.
  // It leaves the stream inside the file; the caller expects it at the end.
  return tif && setTags(tif.get(), source) && writeRows(tif.get(), source, cmyk.data()) &&
         TIFFFlush(tif.get()) != 0 && fseeko(out, 0, SEEK_END) == 0;
}

}  // namespace strimlo::detail
