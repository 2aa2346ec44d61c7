#pragma once
// CSV as RFC 4180 has it: quoted fields with separators, quotes ("") and line breaks
// inside, CRLF or LF line ends, and an optional UTF-8 byte order mark. The separator is a
// comma, or what the file uses instead (a semicolon, a tab).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace strimlo::cli {

// A record longer than this is refused whole: a file of one endless line (or /dev/zero
// behind a pipe) must not take all memory.
constexpr std::size_t kMaxRecordBytes = 64 * 1024;

struct CsvRecord {
  int line = 0;  // the line the record starts on, from 1
  std::vector<std::string> fields;
  bool tooLong = false;  // longer than kMaxRecordBytes: its fields are left empty
};

// Reads one record at a time, so that a batch holds only the line it works on.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text, char separator = ',');
  // The next record, blank lines left out; false at the end or at an error.
  bool next(CsvRecord& record);
  const std::string& error() const { return error_; }  // e.g. an unterminated quote
  // Called with the bytes read so far every `step` bytes, so that a caller can give back
  // what lies behind (a mapped file's pages), also inside one long record.
  void onProgress(std::size_t step, std::function<void(std::size_t)> passed) {
    step_ = step;
    nextStep_ = pos_ + step;
    passed_ = std::move(passed);
  }

 private:
  bool readRecord(std::vector<std::string>& fields);
  bool readQuoted(std::string& field);

  std::string_view text_;
  char separator_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool quotedBefore_ = false;  // the current field began with a quoted part
  std::size_t kept_ = 0;       // bytes of the current record kept in its fields
  std::size_t step_ = 0, nextStep_ = SIZE_MAX;
  std::function<void(std::size_t)> passed_;
  void progressed() {
    if (pos_ < nextStep_) return;
    nextStep_ = pos_ + step_;
    passed_(pos_);
  }
  std::string error_;
};

struct CsvResult {
  std::vector<CsvRecord> records;  // blank lines are left out
  std::string error;               // e.g. an unterminated quote; records read so far are kept
};

CsvResult parseCsv(std::string_view text, char separator = ',');

}  // namespace strimlo::cli
