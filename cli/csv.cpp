#include "csv.h"

namespace strimlo::cli {

namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  CsvResult read() {
    CsvResult result;
    while (pos_ < text_.size()) {
      CsvRecord record;
      record.line = line_;
      if (!readRecord(record.fields)) {
        result.error = "line " + std::to_string(record.line) + ": a quoted field is not closed";
        break;
      }
      const bool blank = record.fields.size() == 1 && record.fields[0].empty();
      if (!blank) result.records.push_back(std::move(record));
    }
    return result;
  }

 private:
  // One record up to and including its line end; false for an unterminated quote.
  bool readRecord(std::vector<std::string>& fields) {
    fields.emplace_back();
    while (pos_ < text_.size()) {
      const char ch = text_[pos_++];
      if (ch == '"' && fields.back().empty() && !quotedBefore_) {
        if (!readQuoted(fields.back())) return false;
        quotedBefore_ = true;
      } else if (ch == ',') {
        fields.emplace_back();
        quotedBefore_ = false;
      } else if (ch == '\n' || ch == '\r') {
        if (ch == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++line_;
        quotedBefore_ = false;
        return true;
      } else {
        fields.back().push_back(ch);
      }
    }
    quotedBefore_ = false;
    return true;
  }

  bool readQuoted(std::string& field) {
    while (pos_ < text_.size()) {
      const char ch = text_[pos_++];
      if (ch == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          field.push_back('"');
          ++pos_;
          continue;
        }
        return true;
      }
      if (ch == '\n') ++line_;
      field.push_back(ch);
    }
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool quotedBefore_ = false;  // the current field began with a quoted part
};

}  // namespace

CsvResult parseCsv(std::string_view text) { return Reader(text).read(); }

}  // namespace strimlo::cli
