#include "job.h"

#include "makecode.h"
#include "symbol.h"
#include "text8.h"

namespace strimlo::cli {

std::string convertText(const std::string& utf8, const char* what, std::vector<std::string>& warnings) {
  Text8 t = toText8(utf8);
  if (t.replaced)
    warnings.push_back(std::string(what) + ": characters outside ISO-8859-1 became \"?\"");
  if (t.cut) warnings.push_back(std::string(what) + ": cut to 31 bytes");
  return t.bytes;
}

std::string checkDigitMismatch(CodeType type, const std::string& data8, const std::string& addon8) {
  const Completion c = completeSymbol(type, data8, addon8);
  const char expected = c.symbol ? wrongCheckChar(*c.symbol) : 0;
  if (expected == 0) return {};
  return std::string("check character ") + c.symbol->typedCheck + " is wrong; " + expected +
         " expected";
}

JobResult runJob(const Job& job) {
  JobResult r;
  const std::string data = convertText(job.data, "data", r.warnings);
  const std::string addon = convertText(job.addon, "add-on", r.warnings);
  const std::string price = convertText(job.price, "price", r.warnings);
  if (const std::string note = checkDigitMismatch(job.type, data, addon); !note.empty()) {
    if (job.strict) {
      r.error = note;
      return r;
    }
    r.warnings.push_back(note + ", replaced");
  }
  const SaveOutcome outcome =
      MakeCode::FinalCodeOutcome(job.type, job.size, data, addon, price, job.res, job.format,
                                 job.output);
  r.written = static_cast<bool>(outcome);
  if (!r.written) r.error = latin1ToUtf8(describe(outcome, job.type, data, addon));
  return r;
}

}  // namespace strimlo::cli
