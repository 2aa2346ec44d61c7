#include "service.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <new>

#include <nlohmann/json.hpp>

#include "batch_zip.h"
#include "check.h"
#include "fields.h"
#include "gs1.h"
#include "page.h"
#include "text8.h"

namespace strimlo::server {

namespace {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

// Client text may be anything: invalid UTF-8 becomes U+FFFD rather than an exception.
std::string dump(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

ApiResponse jsonResponse(int status, const Json& json) {
  return {status, "application/json", dump(json) + "\n", {}};
}

// A strong validator from the bytes: FNV-1a, 64 bits. Equal requests give equal bytes.
std::string etagOf(const std::string& bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  char text[24];
  std::snprintf(text, sizeof text, "\"%016llx\"", static_cast<unsigned long long>(h));
  return text;
}

// If-None-Match: "*" or a list of tags, weak ones compared by their opaque part.
bool matchesTag(const std::string& header, const std::string& etag) {
  std::size_t pos = 0;
  while (pos < header.size()) {
    std::size_t end = header.find(',', pos);
    if (end == std::string::npos) end = header.size();
    std::string tag = header.substr(pos, end - pos);
    tag.erase(0, tag.find_first_not_of(" \t"));
    tag.erase(tag.find_last_not_of(" \t") + 1);
    if (tag.rfind("W/", 0) == 0) tag.erase(0, 2);
    if (tag == "*" || tag == etag) return true;
    pos = end + 1;
  }
  return false;
}

bool isRaster(Format f) { return f == Format::PNG || f == Format::TIFF || f == Format::JPEG; }

// The pixels a raster file would have, over the limit: the message, else "".
std::string pixelProblem(const Symbol& symbol, const Request& request, long long maxPixels) {
  if (!isRaster(request.format)) return {};
  const Layout layout = layOut(symbol, request);
  const long long pixels = static_cast<long long>(layout.pixelsWide) * layout.pixelsHigh;
  if (pixels <= maxPixels) return {};
  return "a " + std::to_string(layout.pixelsWide) + " x " + std::to_string(layout.pixelsHigh) +
         " image is more than this server makes (" + std::to_string(maxPixels) +
         " pixels); choose a smaller size or resolution";
}

// A JSON object's members as fields: strings as they are, numbers and true/false as a
// batch cell would spell them (a magnification of 120.5 as "120.5").
bool jsonFields(const std::string& body, Pairs& fields, ApiResponse& error) {
  const Json json = Json::parse(body, nullptr, false);
  if (json.is_discarded() || !json.is_object()) {
    error = errorResponse(400, "the body is not a JSON object");
    return false;
  }
  for (const auto& [name, value] : json.items()) {
    if (value.is_string()) fields.emplace_back(name, value.get<std::string>());
    else if (value.is_number_integer()) fields.emplace_back(name, std::to_string(value.get<long long>()));
    else if (value.is_number_float()) {
      char text[32];
      const auto end = std::to_chars(text, text + sizeof text, value.get<double>()).ptr;
      fields.emplace_back(name, std::string(text, end));
    } else if (value.is_boolean()) fields.emplace_back(name, value.get<bool>() ? "yes" : "no");
    else {
      error = errorResponse(400, "field \"" + name + "\" must be a string, a whole number or true/false", name);
      return false;
    }
  }
  return true;
}

bool requestFields(const ApiRequest& request, Pairs& fields, ApiResponse& error) {
  if (request.method == "POST") return jsonFields(request.body, fields, error);
  fields = request.query;
  return true;
}

// The request's fields planned and its symbol completed, as /symbol and /check both begin;
// false with the error response when either is refused.
bool completedSymbol(const ApiRequest& request, Planned& planned, Completed& completed,
                     ApiResponse& error) {
  Pairs fields;
  if (!requestFields(request, fields, error)) return false;
  planned = planFields(fields);
  if (!planned.error.empty()) {
    error = errorResponse(400, planned.error, planned.field);
    return false;
  }
  completed = complete(planned.request);
  if (!completed.symbol) {
    error = errorResponse(400, completed.message, fieldOf(completed));
    return false;
  }
  return true;
}

ApiResponse symbolResponse(Service& service, const ApiRequest& request) {
  Planned planned;
  Completed completed;
  ApiResponse error;
  if (!completedSymbol(request, planned, completed, error)) return error;
  if (const std::string too = pixelProblem(*completed.symbol, planned.request, service.limits().maxPixels);
      !too.empty())
    return errorResponse(413, too, "res");
  const Written written = write(*completed.symbol, planned.request);
  if (written.failure == Failure::TooLarge) return errorResponse(413, written.message, "res");
  if (written.failure != Failure::None)
    return errorResponse(written.failure == Failure::NoFont ? 503 : 500,
                         written.message.empty() ? "the file could not be made" : written.message);
  ApiResponse response;
  const std::string etag = etagOf(written.bytes);
  response.headers = {{"ETag", etag}, {"Cache-Control", "public, max-age=86400"}};
  if (matchesTag(request.header("If-None-Match"), etag)) {
    response.status = 304;
    return response;
  }
  response.contentType = mimeType(planned.request.format);
  response.headers.emplace_back("Content-Disposition", "attachment; filename=\"" + planned.filename + "\"");
  response.body = written.bytes;
  service.metrics().symbol(static_cast<int>(planned.request.format));
  return response;
}

// A 2D symbol's check, a 2D type's or a companion's: what it read and what was measured.
Json matrixJson(const verify::MatrixCheck& m, const std::string& refusal) {
  return {{"format", m.format},
          {"decoded", m.decoded ? Json(verify::visibleContent(m.content)) : Json(nullptr)},
          {"identifier", m.identifier},
          {"meets", m.decoded && m.error.empty()},
          {"error", m.error},
          {"symbol_contrast", std::round(m.contrast * 1000) / 1000},
          {"contrast_grade", m.contrastGrade},
          {"module_dots", std::round(m.moduleDots * 100) / 100},
          {"whole_dots", m.wholeDots},
          {"letter", std::string(1, m.letter)},
          {"summary", m.error.empty() ? verify::matrixSummary(m) : refusal}};
}

// A 2D type has no full grade: grade stays null, the letter is the lower of its decode and
// its contrast, and gradeNote says so.
void addMatrixGrade(Json& json, const cli::SymbolCheck& check) {
  const verify::MatrixCheck& m = *check.matrix;
  const bool read = m.decoded && m.error.empty();
  json["letter"] = std::string(1, m.letter);
  json["decoded"] = m.decoded ? Json(verify::visibleContent(m.content)) : Json(nullptr);
  json["dpi"] = std::lround(check.dpi);
  json["summary"] = read ? verify::matrixSummary(m, check.dpi) : check.refusal;
  json["weakest"] = json["summary"];
  json["gradeNote"] = read ? "decode, contrast and module measured; not a full ISO/IEC 15415 grade"
                           : check.refusal;
  json["parameters"] = {{"decode", {{"value", read ? 1.0 : 0.0}, {"grade", read ? 4 : 0},
                                    {"text", read ? "decode pass (A)" : "decode fail (F)"}}},
                        {"symbol_contrast", {{"value", std::round(m.contrast * 1000) / 1000},
                                             {"grade", m.contrastGrade}}}};
}

// The symbol graded as --verify grades it: drawn as the request's raster, or at 600 dpi for
// a vector format, and read back. A symbol that does not read is graded F; the grade is
// null only when the symbol cannot be drawn, with the reason beside it.
void addGrade(Json& json, const Symbol& symbol, const Request& request, long long maxPixels) {
  json["grade"] = nullptr;
  if (const std::string too = pixelProblem(symbol, request, maxPixels); !too.empty()) {
    json["gradeNote"] = too;
    return;
  }
  const cli::SymbolCheck check =
      cli::checkSymbol(symbol, static_cast<FileFormat>(request.format), request.size, request.res,
                       request.prepress, 0);
  if (check.dpi <= 0) {
    json["gradeNote"] = check.refusal;
    return;
  }
  if (check.matrix) json["matrix"] = matrixJson(*check.matrix, check.refusal);
  if (check.matrix && isMatrixType(symbol.type)) {
    addMatrixGrade(json, check);
    return;
  }
  const verify::Verification& v = check.verification;
  const bool read = v.error.empty();
  json["grade"] = read ? std::round(v.grade * 10) / 10 : 0.0;
  json["letter"] = std::string(1, read ? v.letter : 'F');
  json["decoded"] = read ? Json(v.digits + (v.addon.empty() ? "" : " " + v.addon)) : Json(nullptr);
  json["dpi"] = std::lround(check.dpi);
  json["summary"] = verify::summary(v);
  json["weakest"] = read ? verify::parameterText(v, v.weakest) : v.error;
  if (!check.refusal.empty()) json["gradeNote"] = check.refusal;
  Json parameters = Json::object();
  // Unread, there is nothing to measure but the failed decode.
  for (int k = 0; k < (read ? verify::kParameterCount : 1); ++k) {
    const auto p = static_cast<verify::Parameter>(k);
    std::string key = verify::parameterName(p);
    std::replace(key.begin(), key.end(), ' ', '_');
    parameters[key] = {{"value", read ? std::round(v.values[k] * 1000) / 1000 : 0.0},
                       {"grade", read ? v.grades[k] : 0},
                       {"text", verify::parameterText(v, p)}};
  }
  json["parameters"] = std::move(parameters);
}

ApiResponse checkResponse(Service& service, const ApiRequest& request) {
  Planned planned;
  Completed completed;
  ApiResponse error;
  if (!completedSymbol(request, planned, completed, error)) return error;
  const Symbol& s = *completed.symbol;
  Json json = {{"type", symbologyToken(planned.request.type)},
               {"digits", s.digits},
               {"line", text8ToUtf8(s.isbnLine)},
               {"addon", text8ToUtf8(s.addonText)},
               {"price", text8ToUtf8(s.priceText)},
               {"notes", completed.notes}};
  addGrade(json, s, planned.request, service.limits().maxPixels);
  return jsonResponse(200, json);
}

ApiResponse batchResponse(Service& service, const ApiRequest& request) {
  const Limits& limits = service.limits();
  BatchResult result = runBatchToZip(request.body, limits, Clock::now() + limits.timeout);
  if (!result.error.empty()) return errorResponse(result.status, result.error, result.field);
  for (const int format : result.formats) service.metrics().symbol(format);
  return {200, "application/zip", std::move(result.zip),
          {{"Content-Disposition", "attachment; filename=\"symbols.zip\""}}};
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The route's name for the metrics.
std::string routeName(const std::string& path) {
  if (path == "/api/v1/symbol") return "symbol";
  if (path == "/api/v1/batch") return "batch";
  if (path == "/api/v1/check") return "check";
  if (path == "/" || path == "/index.html") return "page";
  if (path == "/healthz") return "health";
  if (path == "/metrics") return "metrics";
  return "other";
}

ApiResponse methodNotAllowed(const char* allow) {
  ApiResponse r = errorResponse(405, std::string("method not allowed here (allowed: ") + allow + ")");
  r.headers.emplace_back("Allow", allow);
  return r;
}

}  // namespace

std::string ApiRequest::header(std::string_view name) const {
  const std::string wanted = lower(name);
  for (const auto& [key, value] : headers)
    if (lower(key) == wanted) return value;
  return {};
}

ApiResponse errorResponse(int status, const std::string& message, const std::string& field) {
  Json json = {{"error", message}};
  if (!field.empty()) json["field"] = field;
  return jsonResponse(status, json);
}

Service::Service(const Limits& limits)
    : limits_(limits), pool_(limits.threads, limits.queue) {}

ApiResponse Service::admitted(const ApiRequest& request,
                              ApiResponse (*work)(Service&, const ApiRequest&)) {
  ApiResponse response;
  switch (pool_.run([&] { response = work(*this, request); }, limits_.timeout)) {
    case WorkPool::Entry::Done: return response;
    case WorkPool::Entry::QueueFull:
      response = errorResponse(429, "too many requests are waiting; try again shortly");
      break;
    case WorkPool::Entry::TimedOut:
      response = errorResponse(503, "no worker was free in time; try again shortly");
      break;
  }
  response.headers.emplace_back("Retry-After", "1");
  return response;
}

ApiResponse Service::route(const ApiRequest& request) {
  const std::string& path = request.path;
  const bool get = request.method == "GET" || request.method == "HEAD";
  const bool post = request.method == "POST";
  if (request.body.size() > limits_.maxBody)
    return errorResponse(413, "the body is larger than " + std::to_string(limits_.maxBody) + " bytes");
  if (path == "/api/v1/symbol" || path == "/api/v1/check") {
    if (!get && !post) return methodNotAllowed("GET, POST");
    return admitted(request, path == "/api/v1/symbol" ? symbolResponse : checkResponse);
  }
  if (path == "/api/v1/batch") {
    if (!post) return methodNotAllowed("POST");
    return admitted(request, batchResponse);
  }
  if (path == "/" || path == "/index.html" || path == "/healthz" || path == "/metrics") {
    if (!get) return methodNotAllowed("GET");
    if (path == "/healthz") return {200, "text/plain; charset=utf-8", "ok\n", {}};
    if (path == "/metrics") return {200, "text/plain; version=0.0.4; charset=utf-8", metrics_.text(), {}};
    return {200, "text/html; charset=utf-8", std::string(kPage), {{"Cache-Control", "no-cache"}}};
  }
  return errorResponse(404, "no such resource (the API is under /api/v1/)");
}

ApiResponse Service::handle(const ApiRequest& request) {
  const auto start = Clock::now();
  ApiResponse response;
  try {
    response = route(request);
  } catch (const std::bad_alloc&) {
    response = errorResponse(503, "not enough memory for this request now");
  } catch (const std::exception&) {
    response = errorResponse(500, "the request could not be answered");
  }
  response.headers.emplace_back("X-Content-Type-Options", "nosniff");
  metrics_.request(routeName(request.path), response.status, Clock::now() - start);
  return response;
}

}  // namespace strimlo::server
