#include "batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

namespace strimlo::cli {

namespace {

enum Column { kType, kData, kAddon, kPrice, kOutput, kFormat, kSize, kRes, kStrict, kColumns };
const char* const kColumnNames[kColumns] = {"type",   "data", "addon", "price", "output",
                                            "format", "size", "res",   "strict"};

// Column positions from a header row, or none when the row is data.
std::optional<std::vector<int>> headerColumns(const CsvRecord& record) {
  std::vector<int> columns;
  bool hasData = false;
  for (const std::string& field : record.fields) {
    const std::string name = normalizedWord(field);
    const auto* it = std::find(std::begin(kColumnNames), std::end(kColumnNames), name);
    if (it == std::end(kColumnNames)) return std::nullopt;
    columns.push_back(static_cast<int>(it - std::begin(kColumnNames)));
    hasData |= columns.back() == kData;
  }
  if (!hasData) return std::nullopt;
  return columns;
}

std::vector<int> positionalColumns(const CsvRecord& record) {
  if (record.fields.size() == 1) return {kData};
  std::vector<int> columns;
  for (int c = 0; c < kColumns; ++c) columns.push_back(c);
  return columns;
}

// A file name from the data: its letters and digits, then the add-on's.
std::string nameFromData(const Job& job) {
  auto keep = [](const std::string& s) {
    std::string out;
    for (char c : s)
      if (std::isalnum(static_cast<unsigned char>(c))) out.push_back(c);
    return out;
  };
  std::string name = keep(job.data);
  if (name.empty()) return {};
  if (const std::string addon = keep(job.addon); !addon.empty()) name += "-" + addon;
  const char* ext = fileExtension(job.format);
  return name + "." + (ext ? ext : "out");
}

bool parseStrict(const std::string& cell, bool fallback) {
  const std::string v = normalizedWord(cell);
  if (v.empty()) return fallback;
  return v == "1" || v == "yes" || v == "true" || v == "strict";
}

// Fills one job from its cells; an error text for a cell that makes no sense.
std::string fillJob(const std::vector<std::string>& cell, const Options& o, Job& job) {
  auto given = [&](int c) { return !cell[c].empty(); };
  job.data = cell[kData];
  job.type = o.type.value_or(kEAN13);
  if (given(kType)) {
    auto t = parseType(cell[kType]);
    if (!t) return "unknown type \"" + cell[kType] + "\"";
    job.type = *t;
  }
  job.addon = given(kAddon) ? cell[kAddon] : o.addon.value_or("");
  job.price = given(kPrice) ? cell[kPrice] : o.price.value_or("");
  const std::optional<int> size = given(kSize) ? parseInt(cell[kSize]) : o.size.value_or(2);
  if (!size) return "bad size \"" + cell[kSize] + "\"";
  const std::optional<int> res = given(kRes) ? parseInt(cell[kRes]) : o.res.value_or(2);
  if (!res) return "bad resolution \"" + cell[kRes] + "\"";
  job.size = *size;
  job.res = *res;
  std::optional<FileFormat> format = o.format;
  if (given(kFormat) && !(format = parseFormat(cell[kFormat])))
    return "unknown format \"" + cell[kFormat] + "\"";
  if (!format && given(kOutput)) format = formatFromPath(cell[kOutput]);
  job.format = format.value_or(kEPS);
  job.strict = parseStrict(cell[kStrict], o.strict);
  if (given(kOutput)) {
    std::filesystem::path out(cell[kOutput]);
    if (o.outdir && out.is_relative()) out = std::filesystem::path(*o.outdir) / out;
    job.output = out.string();
  } else {
    if (!o.outdir) return "no output file (give an output column or --outdir)";
    const std::string name = nameFromData(job);
    if (name.empty()) return "no output file name can be made from the data";
    job.output = (std::filesystem::path(*o.outdir) / name).string();
  }
  return {};
}

}  // namespace

std::vector<BatchLine> planBatch(const std::vector<CsvRecord>& records, const Options& o) {
  std::vector<BatchLine> lines;
  std::optional<std::vector<int>> header;
  if (!records.empty()) header = headerColumns(records.front());
  for (std::size_t i = header ? 1 : 0; i < records.size(); ++i) {
    const CsvRecord& r = records[i];
    const std::vector<int> columns = header ? *header : positionalColumns(r);
    std::vector<std::string> cell(kColumns);
    BatchLine line;
    line.line = r.line;
    for (std::size_t f = 0; f < r.fields.size(); ++f) {
      if (f < columns.size()) cell[columns[f]] = r.fields[f];
      else if (!r.fields[f].empty() && line.refusal.empty()) line.refusal = "more fields than columns";
    }
    if (line.refusal.empty()) line.refusal = fillJob(cell, o, line.job);
    else line.job.data = cell[kData];
      lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> refuseSharedOutputs(std::vector<BatchLine>& lines) {
  std::map<std::string, std::vector<std::size_t>> byPath;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].refusal.empty()) continue;
    std::error_code ec;
    auto p = std::filesystem::weakly_canonical(std::filesystem::absolute(lines[i].job.output), ec);
    byPath[ec ? lines[i].job.output : p.string()].push_back(i);
  }
  std::vector<std::string> messages;
  for (const auto& [path, users] : byPath) {
    if (users.size() < 2) continue;
    std::string which;
    for (std::size_t i : users) which += (which.empty() ? "" : ", ") + std::to_string(lines[i].line);
    messages.push_back("lines " + which + " would all write " + path + "; none of them is written");
    for (std::size_t i : users) lines[i].refusal = "shares its output file with lines " + which;
  }
  return messages;
}

BatchReport runBatch(const std::vector<BatchLine>& lines, int threads,
                     const std::function<void(int, int)>& progress,
                     const std::function<bool()>& stop) {
  const int total = static_cast<int>(lines.size());
  std::vector<JobResult> results(lines.size());
  std::vector<char> started(lines.size(), 0);
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  std::mutex mutex;
  std::condition_variable finished;
  auto worker = [&] {
    for (;;) {
      if (stop()) break;
      const int i = next++;
      if (i >= total) break;
      started[i] = 1;
      if (lines[i].refusal.empty()) results[i] = runJob(lines[i].job);
      else results[i].error = lines[i].refusal;
      ++done;
      finished.notify_one();
    }
  };
  std::vector<std::thread> pool;
  for (int t = 0; t < std::max(1, std::min(threads, total)); ++t) pool.emplace_back(worker);
  {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, std::chrono::milliseconds(200), [&] { return done >= total; })) {
      progress(done, total);
      if (stop()) break;  // the lines under way finish; no new one starts
    }
  }
  for (auto& t : pool) t.join();
  progress(done, total);

  BatchReport report;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!started[i]) {
      report.interrupted = true;
      continue;
    }
    const std::string who = "line " + std::to_string(lines[i].line) + ": " + lines[i].job.data;
    for (const auto& w : results[i].warnings) report.notes.push_back(who + ": " + w);
    if (results[i].written) {
      ++report.written;
    } else {
      ++report.refused;
      report.problems.push_back(who + ": " + results[i].error);
    }
  }
  return report;
}

}  // namespace strimlo::cli
