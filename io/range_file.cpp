#include "range_file.h"

#include <expat.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "digits.h"

namespace strimlo {

namespace {

// What the parser has seen so far: the element path, the text of the current leaf and
// the prefix being filled.
struct Reader {
  IsbnRanges ranges;
  std::vector<std::string> path;
  std::string text;
  RangePrefix prefix;
  RangeRule rule;
  bool hasRange = false;
  bool hasLength = false;
  std::string error;
};

bool inside(const Reader& r, const char* parent) {
  return r.path.size() >= 2 && r.path[r.path.size() - 2] == parent;
}

// "0000000-5999999": two seven-digit bounds, the first not above the second.
bool parseRange(const std::string& text, RangeRule& rule) {
  if (text.size() != 15 || text[7] != '-') return false;
  const std::string low = text.substr(0, 7), high = text.substr(8);
  if (!allDigits(low) || !allDigits(high)) return false;
  rule.low = static_cast<std::uint32_t>(std::stoul(low));
  rule.high = static_cast<std::uint32_t>(std::stoul(high));
  return rule.low <= rule.high;
}

// "978" or "978-3": digits and hyphens, 3 to 8 digits in all.
bool parsePrefix(const std::string& text, std::string& digits) {
  digits.clear();
  for (char c : text) {
    if (isDigit(c)) digits.push_back(c);
    else if (c != '-') return false;
  }
  return digits.size() >= 3 && digits.size() <= 8;
}

void fail(Reader& r, std::string why) {
  if (r.error.empty()) r.error = std::move(why);
}

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char**) {
  auto& r = *static_cast<Reader*>(data);
  r.path.emplace_back(name);
  r.text.clear();
  if (r.path.back() == "EAN.UCC" || r.path.back() == "Group") r.prefix = {};
  if (r.path.back() == "Rule") {
    r.rule = {};
    r.hasRange = r.hasLength = false;
  }
}

void endLeaf(Reader& r, const std::string& name) {
  if (name == "MessageDate" && r.path.size() == 2) r.ranges.messageDate = r.text;
  if (name == "Prefix" && (inside(r, "EAN.UCC") || inside(r, "Group")) &&
      !parsePrefix(r.text, r.prefix.digits))
    fail(r, "a Prefix that is not a prefix (\"" + r.text.substr(0, 20) + "\")");
  if (name == "Range" && inside(r, "Rule")) {
    r.hasRange = parseRange(r.text, r.rule);
    if (!r.hasRange) fail(r, "a Range that is not two seven-digit numbers (\"" + r.text.substr(0, 20) + "\")");
  }
  if (name == "Length" && inside(r, "Rule")) {
    r.hasLength = r.text.size() == 1 && isDigit(r.text[0]) && r.text[0] <= '7';
    if (r.hasLength) r.rule.length = r.text[0] - '0';
    else fail(r, "a Length that is not 0 to 7 (\"" + r.text.substr(0, 20) + "\")");
  }
}

void XMLCALL onEnd(void* data, const XML_Char* name) {
  auto& r = *static_cast<Reader*>(data);
  const std::string element(name);
  endLeaf(r, element);
  if (element == "Rule" && r.hasRange && r.hasLength) r.prefix.rules.push_back(r.rule);
  if ((element == "EAN.UCC" || element == "Group") && !r.prefix.digits.empty())
    (element == "Group" ? r.ranges.groups : r.ranges.eanPrefixes).push_back(std::move(r.prefix));
  r.path.pop_back();
  r.text.clear();
}

void XMLCALL onText(void* data, const XML_Char* s, int len) {
  auto& r = *static_cast<Reader*>(data);
  // Only short leaves matter; a long text is not one of them.
  if (r.text.size() < 256) r.text.append(s, static_cast<std::size_t>(len));
}

// The whole file, at most kMaxRangeFileBytes.
bool readFile(const std::string& path, std::string& bytes, std::string& why) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    why = std::strerror(errno);
    return false;
  }
  bytes.resize(kMaxRangeFileBytes + 1);
  const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
  const bool error = std::ferror(f) != 0;
  const int code = errno;
  std::fclose(f);
  bytes.resize(n);
  if (error) why = std::strerror(code);
  else if (n > kMaxRangeFileBytes) why = "larger than 16 MB, which no range file is";
  return why.empty();
}

struct Cached {
  std::shared_ptr<const IsbnRanges> ranges;
  std::string note;
  off_t size = -1;
  struct timespec mtime {};
};

}  // namespace

std::shared_ptr<const IsbnRanges> parseRanges(std::string_view xml, std::string& why) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (parser == nullptr) {
    why = "out of memory";
    return nullptr;
  }
  Reader r;
  XML_SetUserData(parser, &r);
  XML_SetElementHandler(parser, onStart, onEnd);
  XML_SetCharacterDataHandler(parser, onText);
  const bool ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_OK;
  if (!ok)
    why = std::string("not well-formed XML (line ") +
          std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
          XML_ErrorString(XML_GetErrorCode(parser)) + ")";
  XML_ParserFree(parser);
  if (!ok) return nullptr;
  if (!r.error.empty()) {
    why = "holds " + r.error;
    return nullptr;
  }
  if (r.ranges.eanPrefixes.empty() || r.ranges.groups.empty()) {
    why = "holds no EAN.UCC prefixes or registration groups: not an ISBN range message";
    return nullptr;
  }
  return std::make_shared<const IsbnRanges>(std::move(r.ranges));
}

RangesLoad loadRanges(const std::string& path) {
  static std::mutex mutex;
  static std::map<std::string, Cached> cache;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return {nullptr, "ranges " + path + ": " + std::strerror(errno) + "; ISBNs are not hyphenated"};
  {
    std::lock_guard lock(mutex);
    const auto it = cache.find(path);
    if (it != cache.end() && it->second.size == st.st_size &&
        it->second.mtime.tv_sec == st.st_mtim.tv_sec && it->second.mtime.tv_nsec == st.st_mtim.tv_nsec)
      return {it->second.ranges, it->second.note};
  }
  std::string bytes, why;
  std::shared_ptr<const IsbnRanges> ranges;
  if (S_ISDIR(st.st_mode)) why = "a folder, not a file";
  else if (readFile(path, bytes, why)) ranges = parseRanges(bytes, why);
  const std::string note = ranges ? rangesAgeNote(*ranges, path)
                                  : "ranges " + path + ": " + why + "; ISBNs are not hyphenated";
  std::lock_guard lock(mutex);
  if (cache.size() > 16) cache.clear();
  cache[path] = {ranges, note, st.st_size, st.st_mtim};
  return {ranges, note};
}

std::string rangesAgeNote(const IsbnRanges& ranges, const std::string& path) {
  const auto day = messageDay(ranges.messageDate);
  const auto now = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  const long today = static_cast<long>(now.time_since_epoch().count());
  if (!day) return "ranges " + path + ": no message date; it may be out of date";
  if (today - *day <= 365) return {};
  return "ranges " + path + ": dated " + ranges.messageDate +
         ", over a year old; newer ISBNs may be hyphenated wrongly or not at all";
}

std::string userRangesPath() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/strimlo/RangeMessage.xml";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return std::string(home) + "/.local/share/strimlo/RangeMessage.xml";
}

std::string defaultRangesPath() {
  const char* env = std::getenv("STRIMLO_RANGES");
  if (env != nullptr && env[0] != '\0') return env;
  const std::string user = userRangesPath();
  struct stat st {};
  if (user.empty() || ::stat(user.c_str(), &st) != 0) return {};
  return user;
}

}  // namespace strimlo
