#pragma once
// CSV as RFC 4180 has it: quoted fields with separators, quotes ("") and line breaks
// inside, CRLF or LF line ends, and an optional UTF-8 byte order mark. The separator is a
// comma, or what the file uses instead (a semicolon, a tab).
#include <string>
#include <string_view>
#include <vector>

namespace strimlo::cli {

struct CsvRecord {
  int line = 0;  // the line the record starts on, from 1
  std::vector<std::string> fields;
};

// Reads one record at a time, so that a batch holds only the line it works on.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text, char separator = ',');
  // The next record, blank lines left out; false at the end or at an error.
  bool next(CsvRecord& record);
  const std::string& error() const { return error_; }  // e.g. an unterminated quote

 private:
  bool readRecord(std::vector<std::string>& fields);
  bool readQuoted(std::string& field);

  std::string_view text_;
  char separator_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool quotedBefore_ = false;  // the current field began with a quoted part
  std::string error_;
};

struct CsvResult {
  std::vector<CsvRecord> records;  // blank lines are left out
  std::string error;               // e.g. an unterminated quote; records read so far are kept
};

CsvResult parseCsv(std::string_view text, char separator = ',');

}  // namespace strimlo::cli
