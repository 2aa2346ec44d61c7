#include "makecode.h"

#include <new>

#include "encode.h"
#include "renderers.h"

namespace strimlo {

std::optional<PreviewImage> MakeCode::PreviewCode(CodeType type, std::string_view text,
                                                  std::string_view addon,
                                                  std::string_view price, int width,
                                                  int height, const Prepress& prepress) {
  // The named previews draw without options; with them, the same renderer is asked.
  if (prepress.quietZones) return renderPreview(type, text, addon, price, width, height, prepress);
  switch (type) {
    case kEAN8: return PreviewEAN8(text, width, height);
    case kEAN13: return PreviewEAN13(text, width, height);
    case kISBN10: return PreviewISBN10(text, addon, price, width, height);
    case kISBN13: return PreviewISBN13(text, addon, price, width, height);
    // Every other row of the symbology table; the renderer refuses a type outside it.
    default: return renderPreview(type, text, addon, price, width, height);
  }
}

bool MakeCode::FinalCode(CodeType type, SizeIndex size, std::string_view text,
                         std::string_view addon, std::string_view price, ResolutionIndex res,
                         FileFormat format, const std::string& path, const Prepress& prepress) {
  try {
    return static_cast<bool>(
        FinalCodeOutcome(type, size, text, addon, price, res, format, path, prepress));
  } catch (const std::bad_alloc&) {
    return false;  // the yes/no callers say "could not be saved"; nothing was written
  }
}

SaveOutcome MakeCode::FinalCodeOutcome(CodeType type, SizeIndex size, std::string_view text,
                                       std::string_view addon, std::string_view price,
                                       ResolutionIndex res, FileFormat format,
                                       const std::string& path, const Prepress& prepress) {
  // completeSymbol refuses an unknown type and gives the EAN types no add-on or price.
  return renderFile(type, text, addon, price, size, res, format, path, prepress);
}

std::optional<PreviewImage> MakeCode::PreviewEAN8(std::string_view text, int width, int height) {
  return renderPreview(kEAN8, text, {}, {}, width, height);
}

std::optional<PreviewImage> MakeCode::PreviewEAN13(std::string_view text, int width,
                                                   int height) {
  return renderPreview(kEAN13, text, {}, {}, width, height);
}

std::optional<PreviewImage> MakeCode::PreviewISBN10(std::string_view text, std::string_view addon,
                                                    std::string_view price, int width,
                                                    int height) {
  return renderPreview(kISBN10, text, addon, price, width, height);
}

std::optional<PreviewImage> MakeCode::PreviewISBN13(std::string_view text, std::string_view addon,
                                                    std::string_view price, int width,
                                                    int height) {
  return renderPreview(kISBN13, text, addon, price, width, height);
}

bool MakeCode::FinalEAN8(std::string_view text, SizeIndex size, ResolutionIndex res,
                         FileFormat format, const std::string& path) {
  return static_cast<bool>(renderFile(kEAN8, text, {}, {}, size, res, format, path));
}

bool MakeCode::FinalEAN13(std::string_view text, SizeIndex size, ResolutionIndex res,
                          FileFormat format, const std::string& path) {
  return static_cast<bool>(renderFile(kEAN13, text, {}, {}, size, res, format, path));
}

bool MakeCode::FinalISBN10(std::string_view text, std::string_view addon, std::string_view price,
                           SizeIndex size, ResolutionIndex res, FileFormat format,
                           const std::string& path) {
  return static_cast<bool>(renderFile(kISBN10, text, addon, price, size, res, format, path));
}

bool MakeCode::FinalISBN13(std::string_view text, std::string_view addon, std::string_view price,
                           SizeIndex size, ResolutionIndex res, FileFormat format,
                           const std::string& path) {
  return static_cast<bool>(renderFile(kISBN13, text, addon, price, size, res, format, path));
}

std::optional<std::vector<std::uint8_t>> MakeCode::imageData(const InkBitmap& bitmap,
                                                             FileFormat format) {
  return encodeImage(bitmap.source(), format);
}

std::string describe(const SaveOutcome& outcome, CodeType type, std::string_view text,
                     std::string_view addon) {
  switch (outcome.failure) {
    case SaveFailure::None: return "written";
    case SaveFailure::Refused: return refusalMessage(outcome.refusal, type, text, addon);
    case SaveFailure::BadFormat: return "unknown file format (0 EPS, 1 PNG, 2 TIFF, 3 JPEG, 4 PDF, 5 SVG)";
    case SaveFailure::NoFont:
      return "the Helvetica face (Nimbus Sans, Debian package fonts-urw-base35) is not installed";
    case SaveFailure::TooLarge: return "the image would be too large to make";
    case SaveFailure::EncodeFailed: return "the image could not be encoded";
    case SaveFailure::WriteFailed: return "the file could not be written; nothing was changed";
    case SaveFailure::BadReduction: return "the bar width reduction must be 0 to 100 micrometres";
    case SaveFailure::OpaqueFormat:
      return "TIFF and JPEG files are opaque CMYK: a transparent background needs PNG (or EPS)";
    case SaveFailure::NotSeekable:
      return "a TIFF file cannot go to a pipe or terminal (its writer moves back in the file); "
             "name a file";
    case SaveFailure::FontUnreadable:
      return "the PDF's font file (Nimbus Sans, Type 1) could not be read";
  }
  return {};
}

}  // namespace strimlo
