#pragma once
// CSV as RFC 4180 has it: quoted fields with commas, quotes ("") and line breaks inside,
// CRLF or LF line ends, and an optional UTF-8 byte order mark.
#include <string>
#include <string_view>
#include <vector>

namespace strimlo::cli {

struct CsvRecord {
  int line = 0;  // the line the record starts on, from 1
  std::vector<std::string> fields;
};

struct CsvResult {
  std::vector<CsvRecord> records;  // blank lines are left out
  std::string error;               // e.g. an unterminated quote; records read so far are kept
};

CsvResult parseCsv(std::string_view text);

}  // namespace strimlo::cli
