#include "csv.h"

namespace strimlo::cli {

CsvReader::CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool CsvReader::next(CsvRecord& record) {
  while (pos_ < text_.size() && error_.empty()) {
    record.line = line_;
    record.fields.clear();
    kept_ = 0;
    const bool whole = readRecord(record.fields);
    record.tooLong = kept_ > kMaxRecordBytes;
    if (record.tooLong) record.fields.assign(1, "");
    if (!whole) {
      error_ = "line " + std::to_string(record.line) + ": a quoted field is not closed";
      return false;
    }
    const bool blank = record.fields.size() == 1 && record.fields[0].empty() && !record.tooLong;
    if (!blank) return true;
  }
  return false;
}

// One record up to and including its line end; false for an unterminated quote.
bool CsvReader::readRecord(std::vector<std::string>& fields) {
  fields.emplace_back();
  while (pos_ < text_.size()) {
    const char ch = text_[pos_++];
    progressed();
    if (ch == '"' && fields.back().empty() && !quotedBefore_) {
      if (!readQuoted(fields.back())) return false;
      quotedBefore_ = true;
    } else if (ch == separator_) {
      if (++kept_ <= kMaxRecordBytes) fields.emplace_back();
      quotedBefore_ = false;
    } else if (ch == '\n' || ch == '\r') {
      if (ch == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
      ++line_;
      quotedBefore_ = false;
      return true;
    } else if (++kept_ <= kMaxRecordBytes) {
      fields.back().push_back(ch);
    }
  }
  quotedBefore_ = false;
  return true;
}

bool CsvReader::readQuoted(std::string& field) {
  while (pos_ < text_.size()) {
    const char ch = text_[pos_++];
    progressed();
    if (ch == '"') {
      if (pos_ < text_.size() && text_[pos_] == '"') {
        if (++kept_ <= kMaxRecordBytes) field.push_back('"');
        ++pos_;
        continue;
      }
      return true;
    }
    if (ch == '\n') ++line_;
    if (++kept_ <= kMaxRecordBytes) field.push_back(ch);
  }
  return false;
}

CsvResult parseCsv(std::string_view text, char separator) {
  CsvResult result;
  CsvReader reader(text, separator);
  CsvRecord record;
  while (reader.next(record)) result.records.push_back(record);
  result.error = reader.error();
  return result;
}

}  // namespace strimlo::cli
