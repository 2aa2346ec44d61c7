// strimlo-cli: the command line over the same calls as the window.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "batch.h"
#include "check.h"
#include "decode.h"
#include "echo.h"
#include "job.h"
#include "makecode.h"
#include "options.h"
#include "preview_png.h"
#include "renderers.h"
#include "range_file.h"
#include "stages.h"
#include "symbol.h"
#include "text8.h"

using namespace strimlo;
using namespace strimlo::cli;

namespace {

constexpr std::size_t kWhole = SIZE_MAX;  // shown() without a cut

void onSignal(int sig) {
  removeTemporaryFiles();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

// SIGINT, SIGTERM and SIGHUP remove the temporary files, then end the program as the
// signal would: an interrupted save leaves nothing behind.
void removeTemporaryFilesOnSignals() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, onSignal);
}

// Through stdio: the iostreams' start-up would cost every run more than its output.
void say(const std::string& message) {
  const std::string line = "strimlo-cli: " + shown(message, kWhole) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

// Why the preview was not drawn: the texts, or the size.
std::string previewRefusal(const Options& o, CodeType type, const std::string& data,
                           const std::string& addon, const std::string& price) {
  const Completion c = completeWithGs1(type, data, addon, price, o.gs1);
  if (!c.symbol)
    return c.refusal == Refusal::Gs1Data ? c.detail
                                         : text8ToUtf8(refusalMessage(c.refusal, type, data, addon));
  return "the preview could not be drawn at " + std::to_string(o.previewWidth) + "x" +
         std::to_string(o.previewHeight) + " (too large?)";
}

// The preview, or none with the reason; a lack of memory is a reason, not an abort.
std::optional<PreviewImage> drawPreview(const Options& o, CodeType type, const std::string& data,
                                        const std::string& addon, const std::string& price,
                                        std::string& why) {
  try {
    // The 2D options (elements, domain, module, companion) shape what is drawn.
    auto image = renderPreview(type, data, addon, price, o.previewWidth, o.previewHeight,
                               prepressFor(o, kPNG), o.font, o.gs1);
    if (!image) why = previewRefusal(o, type, data, addon, price);
    return image;
  } catch (const std::bad_alloc&) {
    why = "not enough memory for a " + std::to_string(o.previewWidth) + " x " +
          std::to_string(o.previewHeight) + " image";
    return std::nullopt;
  }
}

int runPreview(const Options& o) {
  const CodeType type = o.isbnByLength ? isbnTypeFor(o.data) : o.type.value_or(kEAN13);
  std::vector<std::string> warnings;
  const std::string data = withVariant(type, convertText(o.data, "data", warnings),
                                       convertText(o.variant.value_or(""), "variant", warnings));
  std::string addon = convertText(o.addon.value_or(""), "add-on", warnings);
  std::string price = convertText(o.price.value_or(""), "price", warnings);
  std::string why;
  if (!applyPriceCode(type, o.priceCode.value_or(""), addon, price, warnings, why)) {
    say(why);
    return 1;
  }
  for (const auto& w : warnings) say("note: " + w);
  const auto image = drawPreview(o, type, data, addon, price, why);
  if (!image) {
    say(why);
    return 1;
  }
  if (!writePreviewPng(*image, o.output)) {
    const std::string cause = lastSaveFailure();
    say(o.output + ": " + (cause.empty() ? "could not be written" : cause) +
        "; nothing was changed");
    return 1;
  }
  return 0;
}

// A save killed outright leaves its temporary file; the next run in that folder removes it.
void tidyFolderOf(const std::string& output) {
  if (output == "-" || output.rfind("/dev/", 0) == 0 || output.rfind("/proc/", 0) == 0) return;
  const auto slash = output.rfind('/');
  removeStaleTemporaryFiles(slash == std::string::npos ? "."
                            : slash == 0                ? "/"
                                                        : output.substr(0, slash));
}

int runSingle(const Options& o) {
  tidyFolderOf(o.output);
  Job job;
  job.type = o.isbnByLength ? isbnTypeFor(o.data) : o.type.value_or(kEAN13);
  job.format = o.format ? *o.format : formatFromPath(o.output).value_or(kEPS);
  job.size = o.size.value_or(indexOption("size").fallback);
  job.res = o.res.value_or(indexOption("res").fallback);
  job.data = o.data;
  job.addon = o.addon.value_or("");
  job.price = o.price.value_or("");
  job.variant = o.variant.value_or("");
  job.output = o.output;
  job.strict = o.strict;
  job.prepress = prepressFor(o, job.format);
  job.freeSize = o.freeSize;
  job.verify = o.verify;
  job.minGrade = o.minGrade;
  job.ranges = o.loadedRanges;
  job.hyphenate = o.hyphenate;
  job.priceCode = o.priceCode.value_or("");
  job.gs1 = o.gs1;
  // A size outside its range is a usage error, as any bad option value is.
  if (const std::string why = freeSizeRefusal(job); !why.empty()) {
    say(why);
    std::fputs("(strimlo-cli --help shows the options)\n", stderr);
    return 2;
  }
  job.font = o.font;
  job.outlineText = o.outlineText;
  const JobResult r = runJob(job);
  for (const auto& w : r.warnings) say("note: " + w);
  if (!r.written) {
    say(r.error);
    return 1;
  }
  return 0;
}

// --ranges-info: the file in use, its message date and size; 1 when there is none.
int rangesInfo(const std::string& path, const RangesLoad& load) {
  if (path.empty()) {
    say("no range file: give --ranges FILE, set STRIMLO_RANGES, or copy the ISBN agency's "
        "RangeMessage.xml to " + userRangesPath());
    return 1;
  }
  if (!load.ranges) {
    say(load.note);
    return 1;
  }
  const std::string text = "ranges " + path + ": message date " + load.ranges->messageDate + ", " +
                           std::to_string(load.ranges->groups.size()) + " registration groups\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (!load.note.empty()) say("note: " + load.note);
  return 0;
}

// The range file is read once, its note said once, for one file or a whole batch. Only
// an ISBN needs it; with none, ISBN lines are as typed.
std::optional<int> takeRanges(Options& o) {
  const bool isbn = o.isbnByLength || (o.type && isIsbn(*o.type)) || o.batch;
  if (!o.rangesInfo && !isbn) return std::nullopt;
  const std::string path = o.ranges ? *o.ranges : defaultRangesPath();
  const RangesLoad load = path.empty() ? RangesLoad{} : loadRanges(path);
  if (o.rangesInfo) return rangesInfo(path, load);
  if (!load.note.empty()) say("note: " + load.note);
  o.loadedRanges = load.ranges;
  return std::nullopt;
}

int run(int argc, char** argv) {
  Parsed parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.options.help) {
    const std::string text = usage();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  if (parsed.options.version) {
    const std::string text = versionText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    say(parsed.error);
    std::fputs("(strimlo-cli --help shows the options)\n", stderr);
    return 2;
  }
  // The reader's library loads beside the first drawing, not after it.
  if (parsed.options.check || parsed.options.verify) verify::prepareDecoder();
  if (parsed.options.check) return checkMain(parsed.options);
  if (const auto status = takeRanges(parsed.options)) return *status;
  if (parsed.options.batch) return batchMain(parsed.options);
  removeTemporaryFilesOnSignals();
  if (parsed.options.preview) return runPreview(parsed.options);
  return runSingle(parsed.options);
}

// A summary or message that did not reach its reader fails the run: a script that reads
// "0 refused" from a full disk must not see success.
int withOutputChecked(int status) {
  errno = 0;
  const bool outFailed = std::fflush(stdout) != 0 || std::ferror(stdout);
  const int cause = errno != 0 ? errno : EIO;
  const bool errFailed = std::fflush(stderr) != 0 || std::ferror(stderr);
  if (outFailed && !errFailed)
    std::fprintf(stderr, "strimlo-cli: cannot write to standard output: %s\n",
                 errorText(cause).c_str());
  return (outFailed || errFailed) && status == 0 ? 1 : status;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return withOutputChecked(run(argc, argv));
  } catch (const std::bad_alloc&) {
    std::fputs("strimlo-cli: not enough memory; stopped\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "strimlo-cli: stopped: %s\n", shown(e.what(), kWhole).c_str());
  }
  return 1;
}
