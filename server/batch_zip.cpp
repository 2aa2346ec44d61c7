#include "batch_zip.h"

#include <map>
#include <memory>

#include <zip.h>

#include "csv.h"
#include "echo.h"
#include "fields.h"
#include "plan.h"

namespace strimlo::server {

namespace {

// A CSV cell, quoted when it must be.
std::string cell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

struct Made {
  std::string bytes;
  std::string problem;  // why not made
  std::vector<std::string> notes;
};

Made makeLine(const cli::BatchLine& line, const Limits& limits) {
  Made m;
  if (!line.refusal.empty()) {
    m.problem = line.refusal;
    return m;
  }
  const Request request = requestOf(line.job);
  const Completed c = complete(request);
  m.notes = c.notes;
  if (!c.symbol) {
    m.problem = c.message;
    return m;
  }
  if (request.format == Format::PNG || request.format == Format::TIFF || request.format == Format::JPEG) {
    const Layout layout = layOut(*c.symbol, request);
    if (static_cast<long long>(layout.pixelsWide) * layout.pixelsHigh > limits.maxPixels) {
      m.problem = "a " + std::to_string(layout.pixelsWide) + " x " + std::to_string(layout.pixelsHigh) +
                  " image is more than this server makes";
      return m;
    }
  }
  Written w = write(*c.symbol, request);
  if (w.failure != Failure::None) m.problem = w.message.empty() ? "the file could not be made" : w.message;
  else m.bytes = std::move(w.bytes);
  return m;
}

// An archive in memory. Its entries point into `kept`, which outlives the archive.
class Archive {
 public:
  Archive() {
    zip_error_init(&error_);
    source_ = zip_source_buffer_create(nullptr, 0, 0, &error_);
    if (source_) zip_ = zip_open_from_source(source_, ZIP_TRUNCATE, &error_);
    if (zip_) zip_source_keep(source_);
  }
  ~Archive() {
    if (zip_) zip_discard(zip_);
    if (source_) zip_source_free(source_);
    zip_error_fini(&error_);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  bool add(const std::string& name, std::string bytes) {
    if (!zip_) return false;
    kept_.push_back(std::make_unique<std::string>(std::move(bytes)));
    zip_source_t* s = zip_source_buffer(zip_, kept_.back()->data(), kept_.back()->size(), 0);
    if (!s) return false;
    if (zip_file_add(zip_, name.c_str(), s, ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(s);
      return false;
    }
    return true;
  }

  // The archive's bytes; false when it could not be made.
  bool finish(std::string& out) {
    if (!zip_ || zip_close(zip_) != 0) return false;
    zip_ = nullptr;
    if (zip_source_open(source_) != 0) return false;
    bool ok = zip_source_seek(source_, 0, SEEK_END) == 0;
    const zip_int64_t size = ok ? zip_source_tell(source_) : -1;
    ok = ok && size >= 0 && zip_source_seek(source_, 0, SEEK_SET) == 0;
    if (ok) {
      out.resize(static_cast<std::size_t>(size));
      ok = zip_source_read(source_, out.data(), static_cast<zip_uint64_t>(size)) == size;
    }
    zip_source_close(source_);
    return ok;
  }

 private:
  zip_error_t error_;
  zip_source_t* source_ = nullptr;
  zip_t* zip_ = nullptr;
  std::vector<std::unique_ptr<std::string>> kept_;
};

}  // namespace

BatchResult runBatchToZip(const std::string& csv, const Limits& limits,
                          std::chrono::steady_clock::time_point deadline) {
  BatchResult result;
  auto refuse = [&](int status, std::string error, std::string field = {}) {
    result.status = status;
    result.error = std::move(error);
    result.field = std::move(field);
    return std::move(result);
  };
  const cli::CsvResult parsed = cli::parseCsv(csv);
  if (!parsed.error.empty()) return refuse(400, "the batch is not CSV: " + parsed.error, "body");
  if (parsed.records.empty()) return refuse(400, "the batch holds no lines", "body");
  const cli::Header header = cli::readHeader(parsed.records.front());
  if (!header.error.empty()) return refuse(400, header.error, "body");
  const std::size_t first = header.present ? 1 : 0;
  if (parsed.records.size() - first > static_cast<std::size_t>(limits.maxLines))
    return refuse(413, "the batch has more than " + std::to_string(limits.maxLines) + " lines", "body");
  cli::Options options;
  options.outdir = "";  // names from the data, inside the archive
  Archive archive;
  std::map<std::string, int> names{{"report.csv", 0}};  // a name and the line that took it
  std::string report = "line,data,file,result,message\n";
  for (std::size_t i = first; i < parsed.records.size(); ++i) {
    if (std::chrono::steady_clock::now() > deadline)
      return refuse(503, "the batch took longer than this server allows; send fewer lines");
    cli::BatchLine line = cli::planLine(parsed.records[i], header, options, "");
    const std::string name = line.job.relative;
    if (line.refusal.empty()) {
      const auto [it, fresh] = names.emplace(name, line.line);
      if (!fresh)
        line.refusal = "output \"" + cli::shown(name) + "\" is " +
                       (it->second ? "also line " + std::to_string(it->second) + "'s" : "the report's name");
    }
    Made made = makeLine(line, limits);
    std::string message = made.problem;
    for (const std::string& note : made.notes) message += (message.empty() ? "" : "; ") + note;
    const bool ok = made.problem.empty();
    report += std::to_string(line.line) + "," + cell(cli::shown(line.job.data)) + "," +
              cell(ok ? name : "") + "," + (ok ? "made" : "refused") + "," + cell(message) + "\n";
    if (ok) {
      if (!archive.add(name, std::move(made.bytes))) return refuse(500, "the archive could not be made");
      result.formats.push_back(static_cast<int>(requestOf(line.job).format));
    }
  }
  if (!archive.add("report.csv", std::move(report)) || !archive.finish(result.zip))
    return refuse(500, "the archive could not be made");
  return result;
}

}  // namespace strimlo::server
