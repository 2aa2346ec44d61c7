#pragma once
// One symbol to make, as the command line or a batch line asks for it, and the making.
#include <memory>
#include <string>
#include <vector>

#include "codetypes.h"
#include "gs1.h"
#include "geometry.h"
#include "font.h"
#include "isbn_ranges.h"
#include "prepress.h"

namespace strimlo::cli {

struct Job {
  CodeType type = kEAN13;
  FileFormat format = kEPS;
  SizeIndex size = 2;
  ResolutionIndex res = 2;
  std::string data;   // as given (UTF-8)
  std::string addon;
  std::string price;
  std::string variant;   // ISSN only
  std::string output;    // the file as the user named it (with --outdir before it)
  std::string root;      // batch: the resolved folder the file must stay inside; "" for one file
  std::string relative;  // batch: the file's path under root
  bool strict = false;    // a wrong check character refuses the file instead of being replaced
  bool fromFile = false;  // a batch line: its texts came through a spreadsheet, not a person
  Prepress prepress;
  FreeSize freeSize;  // any magnification, module, dpi, dot grid or bar height
  bool verify = false;  // grade the symbol first; write it only when it reads as meant
  char minGrade = 'D';
  TypeFace font = TypeFace::Sans;  // the face of every text
  bool outlineText = false;        // texts as filled outlines in EPS and PDF
  std::shared_ptr<const IsbnRanges> ranges;  // hyphenate ISBN lines; null: as typed
  bool hyphenate = false;  // typed hyphens that differ from the ranges' are replaced
  std::string priceCode;   // "USD 19.99", "none": the add-on, and the price when none given
  Gs1Options gs1;  // the 2D types, and a linear symbol's 2D companion
};

struct JobResult {
  bool written = false;
  std::string error;                  // why not, when not written
  std::vector<std::string> warnings;  // texts changed, check digit replaced
  // With verify: what was read, the grade, its letter and each parameter's worst value.
  std::vector<std::string> verification;
  // With verify, for a 2D type or a companion: its content read, contrast, module in dots.
  std::vector<std::string> matrixVerification;
};

// Converts the texts as the window does, checks the check digit when strict, and writes
// the file. Safe to call from several threads at once; throws nothing: a lack of memory
// refuses the file.
JobResult runJob(const Job& job) noexcept;

// The window's 8-bit conversion (Windows-1252, "?" for the rest, cut to 31 characters), with a
// warning naming `what` when it changed the text.
std::string convertText(const std::string& utf8, const char* what,
                        std::vector<std::string>& warnings);

// Notes for what the user gave and the symbol leaves out: an add-on, price or variant for
// a type that takes none, a price wider than the room beside the add-on; and for a raster
// with too few pixels per module to be read, the resolution that gives enough.
std::vector<std::string> droppedInputNotes(const Job& job, const std::string& data8,
                                           const std::string& addon8, const std::string& price8);

// Why a job's free size cannot be drawn for its type and format, or "".
std::string freeSizeRefusal(const Job& job);

// "not enough memory for a 14012 x 7920 image" (or "... to make the file" for EPS); ""
// when even this text cannot be made.
std::string memoryMessage(const Job& job) noexcept;

// The note for a typed check character that differs from the correct one, or "".
std::string checkDigitMismatch(CodeType type, const std::string& data8,
                               const std::string& addon8);

}  // namespace strimlo::cli
