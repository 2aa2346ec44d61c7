#pragma once
// One symbol to make, as the command line or a batch line asks for it, and the making.
#include <string>
#include <vector>

#include "codetypes.h"

namespace strimlo::cli {

struct Job {
  CodeType type = kEAN13;
  FileFormat format = kEPS;
  SizeIndex size = 2;
  ResolutionIndex res = 2;
  std::string data;   // as given (UTF-8)
  std::string addon;
  std::string price;
  std::string output;
  bool strict = false;
};

struct JobResult {
  bool written = false;
  std::string error;                  // why not, when not written
  std::vector<std::string> warnings;  // texts changed, check digit replaced
};

// Converts the texts as the window does, checks the check digit when strict, and writes
// the file. Safe to call from several threads at once.
JobResult runJob(const Job& job);

// The window's 8-bit conversion (ISO-8859-1, "?" for the rest, cut to 31 bytes), with a
// warning naming `what` when it changed the text.
std::string convertText(const std::string& utf8, const char* what,
                        std::vector<std::string>& warnings);

// The note for a typed check character that differs from the correct one, or "".
std::string checkDigitMismatch(CodeType type, const std::string& data8,
                               const std::string& addon8);

}  // namespace strimlo::cli
