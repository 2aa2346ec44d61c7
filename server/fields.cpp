#include "fields.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "echo.h"

namespace strimlo::server {

namespace {

constexpr std::array<const char*, 26> kFields = {"type",   "data",  "addon", "price",
                                                 "format", "size",  "res",   "strict",
                                                 "quiet",  "bwr",   "transparent", "variant",
                                                 "magnification", "module", "dpi", "snap_dpi",
                                                 "height", "font", "outline", "price_code",
                                                 "ai", "dl_domain", "companion", "companion_module",
                                                 "ecc", "gtin_text"};

bool known(const std::string& name) {
  return std::find_if(kFields.begin(), kFields.end(),
                      [&](const char* f) { return name == f; }) != kFields.end();
}

std::string fieldList() {
  std::string list;
  for (const char* f : kFields) list += (list.empty() ? "" : ", ") + std::string(f);
  return list;
}

// The field a batch planner's refusal names.
std::string fieldOfRefusal(const std::string& refusal, const Pairs& fields) {
  static const std::array<std::pair<const char*, const char*>, 22> prefixes = {{
      {"unknown type", "type"}, {"unknown format", "format"}, {"bad size", "size"},
      {"bad res", "res"}, {"bad bar width reduction", "bwr"},
      {"magnification", "magnification"}, {"module", "module"}, {"resolution", "dpi"},
      {"snap", "snap_dpi"}, {"bar height", "height"}, {"size and", "size"}, {"res and", "res"},
      {"dpi", "dpi"}, {"height", "height"}, {"unknown font", "font"}, {"bad outline", "outline"},
      {"bad companion_module", "companion_module"}, {"bad companion", "companion"},
      {"a companion", "companion"}, {"bad ecc", "ecc"}, {"bad gtin_text", "gtin_text"},
      {"bad dl_domain", "dl_domain"}}};
  for (const auto& [prefix, field] : prefixes)
    if (refusal.rfind(prefix, 0) == 0) return field;
  // A linear size asked of a 2D type: the field that asked it.
  if (refusal.rfind("a 2D symbol's size", 0) == 0)
    for (const char* asked : {"magnification", "height", "snap_dpi"})
      for (const auto& given : fields)
        if (given.first == asked) return asked;
  int number = 0;  // "field 3 holds a control character"
  if (std::sscanf(refusal.c_str(), "field %d", &number) == 1 && number >= 1 &&
      static_cast<std::size_t>(number) <= fields.size())
    return fields[static_cast<std::size_t>(number) - 1].first;
  return {};
}

}  // namespace

Request requestOf(const cli::Job& job) {
  Request r;
  r.type = static_cast<Symbology>(job.type);
  r.format = static_cast<Format>(job.format);
  r.data = job.data;
  r.addon = job.addon;
  r.price = job.price;
  r.variant = job.variant;
  r.priceCode = job.priceCode;
  r.strict = job.strict;
  r.size = job.size;
  r.res = job.res;
  r.prepress = job.prepress;
  r.freeSize = job.freeSize;
  r.font = job.font;
  r.outlineText = job.outlineText;
  r.gs1 = job.gs1;
  return r;
}

Planned planFields(const Pairs& fields) {
  Planned p;
  cli::CsvRecord names, values;
  for (const auto& [name, value] : fields) {
    if (!known(name)) {
      p.error = "unknown field \"" + cli::shown(name) + "\" (the fields are " + fieldList() + ")";
      p.field = cli::shown(name);
      return p;
    }
    if (std::find(names.fields.begin(), names.fields.end(), name) != names.fields.end()) {
      p.error = "field \"" + name + "\" appears twice";
      p.field = name;
      return p;
    }
    names.fields.push_back(name);
    values.fields.push_back(value);
  }
  if (names.fields.empty() ||
      std::find(names.fields.begin(), names.fields.end(), "data") == names.fields.end()) {
    p.error = "no data (give the digits, or the ISBN, ISSN or ISMN, as data)";
    p.field = "data";
    return p;
  }
  const cli::Header header = cli::readHeader(names);
  cli::Options options;
  options.outdir = "";  // names come from the data, as in a batch with an output folder
  const cli::BatchLine line = cli::planLine(values, header, options, "");
  // Data without a letter or digit makes no name; the symbol's own refusal says why.
  const bool noName = line.refusal.rfind("no output file name", 0) == 0;
  if (!line.refusal.empty() && !noName) {
    p.error = line.refusal;
    p.field = fieldOfRefusal(line.refusal, fields);
    return p;
  }
  p.request = requestOf(line.job);
  p.filename = noName ? std::string("symbol.") + formatToken(p.request.format) : line.job.relative;
  return p;
}

std::string fieldOf(Failure failure, const std::string& message) {
  switch (failure) {
    case Failure::WrongCheck: return "data";
    case Failure::OpaqueFormat: return "transparent";
    case Failure::TooLarge: return "res";
    default: break;
  }
  if (message.find("transparent") != std::string::npos) return "transparent";
  static const std::array<std::pair<const char*, const char*>, 7> prefixes = {{
      {"data:", "data"}, {"add-on:", "addon"}, {"price:", "price"}, {"variant:", "variant"},
      {"ai:", "ai"}, {"dl-domain:", "dl_domain"}, {"a companion", "companion"}}};
  for (const auto& [prefix, field] : prefixes)
    if (message.rfind(prefix, 0) == 0) return field;
  return {};
}

namespace {

// The field of the GS1 part a refusal names: the AIs, the domain, a module; the GTIN is the
// data.
std::string gs1FieldOf(const std::string& message) {
  switch (gs1PartOf(message)) {
    case Gs1Part::Elements: return "ai";
    case Gs1Part::Domain: return "dl_domain";
    case Gs1Part::Module: return "module";
    case Gs1Part::CompanionModule: return "companion_module";
    case Gs1Part::Data: break;
  }
  return "data";
}

}  // namespace

std::string fieldOf(const Completed& c) {
  switch (c.refusal) {
    case Refusal::Gs1Data: return gs1FieldOf(c.message);
    case Refusal::AddonNotDigits:
    case Refusal::AddonLength: return "addon";
    case Refusal::Variant: return "variant";
    case Refusal::None: return fieldOf(c.failure, c.message);
    default: return "data";
  }
}

}  // namespace strimlo::server
