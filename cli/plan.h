#pragma once
// How the lines of a batch file become jobs: the columns, the header line, the cells.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv.h"
#include "job.h"
#include "options.h"

namespace strimlo::cli {

struct BatchLine {
  int line = 0;
  Job job;
  std::string refusal;  // set when the line cannot be run at all (bad cell, no name, ...)
};

// The columns of the file: named by a header line, or type, data, addon, price, output,
// format, size, res, strict in that order (a line of one field is the data alone). The
// prepress columns quiet, bwr and transparent, and an ISSN's variant, come by name only.
struct Header {
  bool present = false;      // the first line names the columns
  std::vector<int> columns;  // the column of each field; negative for a field without one
  std::string error;         // a usage error: a repeated name, no data column
  std::string note;          // the unknown names, which are ignored, with what they may mean
  // "isbn", "issn" or "ismn" when the data column is named so and no type column exists:
  // the type of a line that gives none, unless the command line does.
  std::optional<std::string> dataType;
};

// A first line holding no column name is data. Names are compared in lower case without
// spaces, hyphens and underscores, and may be the window's labels ("Number", "Add-on")
// or common names ("ISBN", "EAN", "GTIN", "File"); a name beside them that is none of
// these is ignored, with a note.
Header readHeader(const CsvRecord& first);

// The file's separator (',' ';' or a tab): the one that splits the first line into the
// most known column names; without a header line, the one the first line holds most of.
char detectDelimiter(std::string_view text);

// For a file without a header line: why its first line is no data line either, naming
// what it holds; "" when it reads as data. A file whose separator was guessed wrong ends
// here instead of writing wrong files.
std::string firstLineProblem(const CsvRecord& first, const Options& options);

// One data line as a job. Empty cells take the command line's values. Outputs are
// relative to root, the folder they must stay in (the resolved --outdir, or ".").
BatchLine planLine(const CsvRecord& record, const Header& header, const Options& options,
                   const std::string& root);

// Every line of a parsed file (for tests); none when the header line has an error.
std::vector<BatchLine> planBatch(const std::vector<CsvRecord>& records, const Options& options);

}  // namespace strimlo::cli
