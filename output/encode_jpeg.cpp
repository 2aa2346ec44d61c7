// JPEG: Adobe CMYK at quality 90. Samples are stored inverted as Adobe writes them
// (255 = no ink), which is what common readers expect of an Adobe-marked CMYK file.
// The resolution is stated three times, because readers each look in one place only:
// a JFIF density (most viewers, pdflatex), an Exif resolution (photo tools) and a
// Photoshop resolution block (prepress). All four components keep full resolution: the
// largest file codes in about a third of a second that way, so subsampling (as YCCK)
// would buy little.
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "encode_detail.h"

namespace strimlo::detail {

namespace {

constexpr int kQuality = 90;  // the compression factor 0.9 on libjpeg's scale

// libjpeg's default error handler ends the process; ours jumps back to the encoder.
struct JpegError {
  jpeg_error_mgr mgr;  // first, so the library's pointer to it is a pointer to us
  std::jmp_buf jump;
};

[[noreturn]] void onJpegError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}
void onJpegMessage(j_common_ptr, int) {}

struct JpegWriter {
  jpeg_compress_struct cinfo{};  // zeroed: destroying a never-created struct is safe
  JpegError error{};
  JpegWriter() {
    cinfo.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = onJpegError;
    error.mgr.emit_message = onJpegMessage;
  }
  JpegWriter(const JpegWriter&) = delete;
  JpegWriter& operator=(const JpegWriter&) = delete;
  ~JpegWriter() { jpeg_destroy_compress(&cinfo); }
};

void putBig(std::uint8_t*& p, std::uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) *p++ = static_cast<std::uint8_t>(v >> (8 * i));
}

// APP13 "Photoshop 3.0" with one 8BIM ResolutionInfo (0x03ED) resource: horizontal and
// vertical resolution in 16.16 fixed pixels per inch, each followed by its display
// units (1 = pixels per inch, 1 = inches).
void writeResolutionMarker(j_compress_ptr cinfo, double dpi) {
  static constexpr char kSignature[] = "Photoshop 3.0";  // with its NUL
  std::array<std::uint8_t, sizeof kSignature + 12 + 16> block{};
  std::uint8_t* p = std::copy(kSignature, kSignature + sizeof kSignature, block.data());
  p = std::copy_n("8BIM", 4, p);
  putBig(p, 0x03ED, 2);
  putBig(p, 0, 2);   // empty resource name, padded to even length
  putBig(p, 16, 4);  // resource data size
  const auto fixed = static_cast<std::uint32_t>(std::lround(dpi * 65536.0));
  for (int axis = 0; axis < 2; ++axis) {
    putBig(p, fixed, 4);
    putBig(p, 1, 2);
    putBig(p, 1, 2);
  }
  jpeg_write_marker(cinfo, JPEG_APP0 + 13, block.data(), static_cast<unsigned>(block.size()));
}

// APP1 "Exif" with a big-endian TIFF header and one IFD of three entries: XResolution and
// YResolution (rationals dpi/1, stored after the IFD) and ResolutionUnit 2 (inches).
void writeExifMarker(j_compress_ptr cinfo, double dpi) {
  static constexpr char kSignature[] = "Exif\0";  // "Exif", two NULs
  constexpr std::uint32_t kIfd = 8, kEntries = 3, kRationals = kIfd + 2 + 12 * kEntries + 4;
  std::array<std::uint8_t, sizeof kSignature + kRationals + 16> block{};
  std::uint8_t* p = std::copy(kSignature, kSignature + sizeof kSignature, block.data());
  p = std::copy_n("MM\0*", 4, p);
  putBig(p, kIfd, 4);
  putBig(p, kEntries, 2);
  for (std::uint32_t tag : {0x011Au, 0x011Bu}) {  // X and Y resolution
    putBig(p, tag, 2);
    putBig(p, 5, 2);  // RATIONAL
    putBig(p, 1, 4);
    putBig(p, kRationals + 8 * (tag - 0x011A), 4);
  }
  putBig(p, 0x0128, 2);  // ResolutionUnit
  putBig(p, 3, 2);       // SHORT, left-justified in the value field
  putBig(p, 1, 4);
  putBig(p, 2, 2);
  putBig(p, 0, 2);
  putBig(p, 0, 4);  // no next IFD
  const auto perInch = static_cast<std::uint32_t>(std::lround(dpi));
  for (int axis = 0; axis < 2; ++axis) {
    putBig(p, perInch, 4);
    putBig(p, 1, 4);
  }
  jpeg_write_marker(cinfo, JPEG_APP0 + 1, block.data(), static_cast<unsigned>(block.size()));
}

void setParameters(j_compress_ptr cinfo, const RasterSource& source) {
  cinfo->image_width = static_cast<JDIMENSION>(source.width);
  cinfo->image_height = static_cast<JDIMENSION>(source.height);
  cinfo->input_components = 4;
  cinfo->in_color_space = JCS_CMYK;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, kQuality, TRUE);
  jpeg_set_colorspace(cinfo, JCS_CMYK);  // also asks for the Adobe marker
  cinfo->write_Adobe_marker = TRUE;
  // libjpeg leaves JFIF out for CMYK, but its density is the one most readers take.
  cinfo->write_JFIF_header = TRUE;
  cinfo->JFIF_major_version = 1;
  cinfo->JFIF_minor_version = 2;
  cinfo->density_unit = 1;  // dots per inch
  const auto density = static_cast<UINT16>(std::lround(std::min(source.dpi, 65535.0)));
  cinfo->X_density = density;
  cinfo->Y_density = density;
}

// Stored as Adobe does: C = M = Y = 255 (no ink), K = 255 - ink.
void inkToAdobeCmyk(const std::uint8_t* ink, JSAMPLE* cmyk, int width) {
  for (int x = 0; x < width; ++x, cmyk += 4) {
    cmyk[0] = cmyk[1] = cmyk[2] = 255;
    cmyk[3] = static_cast<JSAMPLE>(255 - ink[x]);
  }
}

// Every failure, libjpeg's or the source's, lands at the one setjmp. Nothing in this
// frame has a destructor, so the long jump skips no cleanup.
bool writeJpeg(JpegWriter& w, const RasterSource& source, StripReader& reader,
               JSAMPLE* cmyk, std::FILE* out) {
  if (setjmp(w.error.jump)) return false;
  j_compress_ptr cinfo = &w.cinfo;
  jpeg_create_compress(cinfo);
  jpeg_stdio_dest(cinfo, out);
  setParameters(cinfo, source);
  jpeg_start_compress(cinfo, TRUE);
  writeExifMarker(cinfo, source.dpi);
  writeResolutionMarker(cinfo, source.dpi);
  if (!source.comment.empty())
    jpeg_write_marker(cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(source.comment.data()),
                      static_cast<unsigned>(source.comment.size()));
  for (int y = 0; y < source.height; ++y) {
    const std::uint8_t* ink = reader.row(y);
    if (ink == nullptr) onJpegError(reinterpret_cast<j_common_ptr>(cinfo));
    inkToAdobeCmyk(ink, cmyk, source.width);
    jpeg_write_scanlines(cinfo, &cmyk, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

bool encodeJpeg(const RasterSource& source, std::FILE* out) {
  if (source.width > JPEG_MAX_DIMENSION || source.height > JPEG_MAX_DIMENSION) return false;
  JpegWriter writer;
  StripReader reader(source);
  std::vector<JSAMPLE> cmyk(static_cast<std::size_t>(source.width) * 4);
  return writeJpeg(writer, source, reader, cmyk.data(), out);
}

}  // namespace strimlo::detail
