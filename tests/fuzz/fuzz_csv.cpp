// The batch CSV reader and the planning after it on any bytes: the separator's
// detection, parseCsv, planBatch, the first line's messages and the clash check, with and without an output folder; and the echo of untrusted text.
// Input: a control line whose first byte's low bits choose the command line's options
// (1 an output folder, 2 an absolute one, 4 a type, 8 a format), then the CSV text.
#include <set>
#include <string>

#include "clash.h"
#include "csv.h"
#include "echo.h"
#include "fuzz_input.h"
#include "job.h"
#include "placement.h"
#include "plan.h"

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

// What reaches a terminal holds no control character.
void checkShown(const std::string& text) {
  for (char c : shown(text)) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
}

// A line that will be written names a file inside its folder, from cells without
// control characters.
void checkPlan(const std::vector<BatchLine>& lines, const Options& o) {
  for (const BatchLine& l : lines) {
    checkShown(l.refusal);
    checkShown(l.job.data);
    if (!l.refusal.empty()) continue;
    FUZZ_CHECK(relativePathProblem(l.job.relative).empty());
    FUZZ_CHECK(firstControlCharacter(l.job.relative).empty() &&
               firstControlCharacter(l.job.data).empty());
    if (o.outdir) FUZZ_CHECK(l.job.output.rfind(*o.outdir, 0) == 0);
    // The cheap part of running a line: the texts' check-digit note.
    (void)checkDigitMismatch(l.job.type, l.job.data, l.job.addon);
  }
}

// After the clash check no two lines still to be written name the same file.
void checkNoSharedOutputs(const std::vector<BatchLine>& lines) {
  ClashCheck check;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].refusal.empty()) check.add(i, lines[i].job.output);
  for (std::uint32_t i : check.suspects()) check.confirm(i, lines[i].line, lines[i].job.output);
  for (const std::string& m : check.messages()) checkShown(m);
  std::set<std::string> outputs;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].refusal.empty() && check.refusal(i).empty())
      FUZZ_CHECK(outputs.insert(lines[i].job.output).second);
}

}  // namespace

void fuzzOne(Input& in) {
  const cli::Options options = optionsFrom(in.byte());
  const std::string_view text = in.rest();
  const cli::CsvResult csv = cli::parseCsv(text, cli::detectDelimiter(text));
  checkRecords(csv);
  // What is printed of the first line as it stands goes to a terminal unescaped.
  if (!csv.records.empty()) {
    const cli::Header header = cli::readHeader(csv.records.front());
    for (const std::string& said : {cli::firstLineProblem(csv.records.front(), options), header.note})
      for (char c : said) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  }
  const std::vector<cli::BatchLine> lines = cli::planBatch(csv.records, options);
  FUZZ_CHECK(lines.size() <= csv.records.size());
  checkPlan(lines, options);
  checkNoSharedOutputs(lines);
}

}  // namespace strimlo::fuzz
