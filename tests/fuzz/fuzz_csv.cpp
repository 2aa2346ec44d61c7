// The batch CSV reader and the planning after it on any bytes: parseCsv, planBatch and
// refuseSharedOutputs, with and without an output folder.
// Input: a control line whose first byte's low bits choose the command line's options
// (1 an output folder, 2 an absolute one, 4 a type, 8 a format), then the CSV text.
#include <set>
#include <string>

#include "batch.h"
#include "csv.h"
#include "fuzz_input.h"
#include "job.h"

namespace strimlo::fuzz {
namespace {

using namespace strimlo::cli;

Options optionsFrom(int bits) {
  Options o;
  if (bits & 1) o.outdir = (bits & 2) ? "/nonexistent/strimlo-fuzz" : "out";
  if (bits & 4) o.type = kISBN13;
  if (bits & 8) o.format = kPNG;
  return o;
}

void checkRecords(const CsvResult& csv) {
  int previous = 1;
  for (const CsvRecord& r : csv.records) {
    FUZZ_CHECK(r.line >= previous);
    previous = r.line;
    FUZZ_CHECK(!r.fields.empty());
    FUZZ_CHECK(!(r.fields.size() == 1 && r.fields[0].empty()));  // blank lines are left out
  }
}

void checkPlan(const std::vector<BatchLine>& lines, const CsvResult& csv, const Options& o) {
  FUZZ_CHECK(lines.size() + 1 >= csv.records.size() && lines.size() <= csv.records.size());
  for (const BatchLine& l : lines) {
    if (!l.refusal.empty()) continue;
    FUZZ_CHECK(!l.job.output.empty());
    if (o.outdir && l.job.output.front() != '/')
      FUZZ_CHECK(l.job.output.rfind(*o.outdir, 0) == 0);
    // The cheap part of running a line: the texts' check-digit note.
    (void)checkDigitMismatch(l.job.type, l.job.data, l.job.addon);
  }
}

// After the clash check no two lines still to be written name the same file.
void checkNoSharedOutputs(const std::vector<BatchLine>& lines,
                          const std::vector<std::string>& messages) {
  std::set<std::string> outputs;
  for (const BatchLine& l : lines)
    if (l.refusal.empty()) FUZZ_CHECK(outputs.insert(l.job.output).second);
  for (const std::string& m : messages) FUZZ_CHECK(!m.empty());
}

}  // namespace

void fuzzOne(Input& in) {
  const cli::Options options = optionsFrom(in.byte());
  const cli::CsvResult csv = cli::parseCsv(in.rest());
  checkRecords(csv);
  std::vector<cli::BatchLine> lines = cli::planBatch(csv.records, options);
  checkPlan(lines, csv, options);
  const auto messages = cli::refuseSharedOutputs(lines);
  checkNoSharedOutputs(lines, messages);
}

}  // namespace strimlo::fuzz
