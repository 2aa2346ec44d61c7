// strimlo-cli: the command line over the same calls as the window.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "batch.h"
#include "job.h"
#include "makecode.h"
#include "options.h"
#include "preview_png.h"
#include "symbol.h"
#include "text8.h"

using namespace strimlo;
using namespace strimlo::cli;

namespace {

int runPreview(const Options& o) {
  const CodeType type = o.type.value_or(kEAN13);
  std::vector<std::string> warnings;
  const std::string data = convertText(o.data, "data", warnings);
  const std::string addon = convertText(o.addon.value_or(""), "add-on", warnings);
  const std::string price = convertText(o.price.value_or(""), "price", warnings);
  for (const auto& w : warnings) std::cerr << "strimlo-cli: note: " << w << "\n";
  auto image = MakeCode::PreviewCode(type, data, addon, price, o.previewWidth, o.previewHeight);
  if (!image) {
    const Completion c = completeSymbol(type, data, addon, price);
    std::cerr << "strimlo-cli: "
              << (c.symbol ? "the preview could not be drawn at " + std::to_string(o.previewWidth) +
                                 "x" + std::to_string(o.previewHeight) + " (too large?)"
                           : latin1ToUtf8(refusalMessage(c.refusal, type, data, addon)))
              << "\n";
    return 1;
  }
  if (!writePreviewPng(*image, o.output)) {
    std::cerr << "strimlo-cli: could not write " << o.output << "\n";
    return 1;
  }
  return 0;
}

int runSingle(const Options& o) {
  Job job;
  job.type = o.type.value_or(kEAN13);
  job.format = o.format ? *o.format : formatFromPath(o.output).value_or(kEPS);
  job.size = o.size.value_or(2);
  job.res = o.res.value_or(2);
  job.data = o.data;
  job.addon = o.addon.value_or("");
  job.price = o.price.value_or("");
  job.output = o.output;
  job.strict = o.strict;
  const JobResult r = runJob(job);
  for (const auto& w : r.warnings) std::cerr << "strimlo-cli: note: " << w << "\n";
  if (!r.written) {
    std::cerr << "strimlo-cli: " << r.error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Parsed parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.options.help) {
    std::cout << usage();
    return 0;
  }
  if (!parsed.error.empty()) {
    std::cerr << "strimlo-cli: " << parsed.error << "\n(strimlo-cli --help shows the options)\n";
    return 2;
  }
  if (parsed.options.batch) return batchMain(parsed.options);
  removeTemporaryFilesOnSignals();
  if (parsed.options.preview) return runPreview(parsed.options);
  return runSingle(parsed.options);
}
