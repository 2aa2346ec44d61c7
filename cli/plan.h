#pragma once
// How the lines of a batch file become jobs: the columns, the header line, the cells.
#include <string>
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
  std::vector<int> columns;  // the column of each field; -1 for a field without a name
  std::string error;         // a usage error: an unknown or repeated name, no data column
};

// A first line holding no column name is data. One that holds a known name beside an
// unknown one is an error: a misspelt column would otherwise be read as data.
Header readHeader(const CsvRecord& first);

// One data line as a job. Empty cells take the command line's values. Outputs are
// relative to root, the folder they must stay in (the resolved --outdir, or ".").
BatchLine planLine(const CsvRecord& record, const Header& header, const Options& options,
                   const std::string& root);

// Every line of a parsed file (for tests); none when the header line has an error.
std::vector<BatchLine> planBatch(const std::vector<CsvRecord>& records, const Options& options);

}  // namespace strimlo::cli
