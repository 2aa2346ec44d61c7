#pragma once
// A symbol's fields, from a query string or a JSON object, read by the batch file's rules:
// the same names as its columns (type, data, addon, price, format, size, res, strict,
// quiet, bwr, transparent, variant), the same values, the same messages.
#include <string>

#include "plan.h"
#include "service.h"
#include "stages.h"

namespace strimlo::server {

struct Planned {
  Request request;
  std::string filename;  // from the digits and add-on, as a batch names its files
  std::string error;     // set when the fields make no request
  std::string field;     // the field the error is about, when one is
};

// Unknown and repeated names are errors; an absent field takes the command line's default.
Planned planFields(const Pairs& fields);

// A planned batch line as a request.
Request requestOf(const cli::Job& job);

// The field a message from the stages is about ("add-on: ..." is "addon"), or "".
std::string fieldOf(const Completed& completed);
std::string fieldOf(Failure failure, const std::string& message);

}  // namespace strimlo::server
