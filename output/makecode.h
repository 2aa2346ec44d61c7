#pragma once
// The fixed contract: the named operations and their oddities (positional arguments, the
// EAN types ignoring add-on and price, a yes/no for a save) that callers and the file
// formats rely on, kept as they are. Each is a thin composition of the stages in
// stages.h; new code uses the stages.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codetypes.h"
#include "prepress.h"
#include "raster.h"
#include "paint.h"
#include "symbol.h"

namespace strimlo {

// Why a save did not happen, for the command line's messages. The window only needs yes/no.
enum class SaveFailure {
  None,
  Refused,      // the texts cannot be encoded; see refusal
  BadFormat,    // a file format outside EPS, PNG, TIFF, JPEG, PDF, SVG
  NoFont,       // Helvetica (Nimbus Sans; for PDF its Type 1 files) is not installed
  TooLarge,     // the bitmap cannot be made
  EncodeFailed, // the image encoder failed
  WriteFailed,  // the file could not be written (nothing was changed)
  BadReduction,   // a bar width reduction outside 0 to 100 micrometres
  OpaqueFormat,   // a transparent background asked of TIFF or JPEG (opaque CMYK)
  NotSeekable,    // TIFF to a pipe or terminal: its encoder goes back to write the directory
  FontUnreadable, // PDF: the Type 1 font file could not be read to be embedded
};

struct SaveOutcome {
  SaveFailure failure = SaveFailure::None;
  Refusal refusal = Refusal::None;
  explicit operator bool() const { return failure == SaveFailure::None; }
};

std::string describe(const SaveOutcome& outcome, CodeType type, std::string_view text,
                     std::string_view addon);

class MakeCode {
 public:
  MakeCode() = delete;

  // Dispatch by code type; a type outside 0..7 gets no image / false. UPC-A, UPC-E,
  // ISSN and ISMN have no named operations of their own. The prepress options default
  // to all off; a preview shows the quiet zones, not the reduction.
  static std::optional<PreviewImage> PreviewCode(CodeType type, std::string_view text,
                                                 std::string_view addon,
                                                 std::string_view price, int width,
                                                 int height, const Prepress& prepress = {},
                                                 TypeFace face = TypeFace::Sans);
  static bool FinalCode(CodeType type, SizeIndex size, std::string_view text,
                        std::string_view addon, std::string_view price, ResolutionIndex res,
                        FileFormat format, const std::string& path,
                        const Prepress& prepress = {});
  // FinalCode with the reason for a "no".
  static SaveOutcome FinalCodeOutcome(CodeType type, SizeIndex size, std::string_view text,
                                      std::string_view addon, std::string_view price,
                                      ResolutionIndex res, FileFormat format,
                                      const std::string& path, const Prepress& prepress = {},
                                      TypeFace face = TypeFace::Sans, bool outlineText = false);

  static std::optional<PreviewImage> PreviewEAN8(std::string_view text, int width, int height);
  static std::optional<PreviewImage> PreviewEAN13(std::string_view text, int width, int height);
  static std::optional<PreviewImage> PreviewISBN10(std::string_view text, std::string_view addon,
                                                   std::string_view price, int width, int height);
  static std::optional<PreviewImage> PreviewISBN13(std::string_view text, std::string_view addon,
                                                   std::string_view price, int width, int height);

  static bool FinalEAN8(std::string_view text, SizeIndex size, ResolutionIndex res,
                        FileFormat format, const std::string& path);
  static bool FinalEAN13(std::string_view text, SizeIndex size, ResolutionIndex res,
                         FileFormat format, const std::string& path);
  static bool FinalISBN10(std::string_view text, std::string_view addon, std::string_view price,
                          SizeIndex size, ResolutionIndex res, FileFormat format,
                          const std::string& path);
  static bool FinalISBN13(std::string_view text, std::string_view addon, std::string_view price,
                          SizeIndex size, ResolutionIndex res, FileFormat format,
                          const std::string& path);

  // The file bytes of a whole ink bitmap; none for a format outside PNG, TIFF, JPEG.
  static std::optional<std::vector<std::uint8_t>> imageData(const InkBitmap& bitmap,
                                                            FileFormat format);
};


}  // namespace strimlo
