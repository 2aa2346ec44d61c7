#include "isbn_ranges.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "digits.h"

namespace strimlo {

namespace {

const RangePrefix* findPrefix(const std::vector<RangePrefix>& list, std::string_view digits) {
  for (const RangePrefix& p : list)
    if (digits.starts_with(p.digits)) return &p;
  return nullptr;
}

// The length a prefix's rules give the element that follows it in `digits`, which must
// start with the prefix; -1 when no rule covers it.
int elementLength(const RangePrefix& prefix, std::string_view digits) {
  std::string seven(digits.substr(prefix.digits.size(), 7));
  seven.resize(7, '0');
  const auto value = static_cast<std::uint32_t>(std::stoul(seven));
  for (const RangeRule& r : prefix.rules)
    if (value >= r.low && value <= r.high) return r.length;
  return -1;
}

// Hyphens and spaces as one hyphen between the groups, none at either end: how a typed
// ISBN is compared with its hyphenated form.
std::string groupsOf(std::string_view text) {
  std::string out;
  bool gap = false;
  for (char c : text) {
    if (c == '-' || c == ' ') {
      gap = !out.empty();
      continue;
    }
    if (gap) out.push_back('-');
    gap = false;
    out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  }
  return out;
}

}  // namespace

Hyphenated hyphenateIsbn(const IsbnRanges& ranges, std::string_view d, bool isbn10) {
  if (d.size() != 13 || !allDigits(d)) return {};
  const RangePrefix* ean = findPrefix(ranges.eanPrefixes, d.substr(0, 3));
  if (ean == nullptr) return {};
  const int groupLength = elementLength(*ean, d);
  if (groupLength <= 0) return {groupLength == 0 ? HyphenStatus::NotInUse : HyphenStatus::Unknown, {}};
  // Group and registrant leave the publication at least one digit.
  if (groupLength > 8) return {};
  const std::string group(d.substr(0, 3 + static_cast<std::size_t>(groupLength)));
  const RangePrefix* registration = nullptr;
  for (const RangePrefix& p : ranges.groups)
    if (p.digits == group) registration = &p;
  if (registration == nullptr) return {};
  const int registrant = elementLength(*registration, d);
  if (registrant <= 0) return {registrant == 0 ? HyphenStatus::NotInUse : HyphenStatus::Unknown, {}};
  if (groupLength + registrant > 8) return {};
  const auto g = static_cast<std::size_t>(groupLength);
  const auto r = static_cast<std::size_t>(registrant);
  std::string text = std::string(d.substr(3, g)) + "-" + std::string(d.substr(3 + g, r)) + "-" +
                     std::string(d.substr(3 + g + r, 9 - g - r)) + "-";
  if (isbn10) return {HyphenStatus::Hyphenated, text + isbn10CheckChar(d.substr(3, 9))};
  return {HyphenStatus::Hyphenated, std::string(d.substr(0, 3)) + "-" + text + d.back()};
}

std::string hyphenateLine(Symbol& s, const IsbnRanges& ranges, bool replace) {
  if (!isIsbn(s.type) || s.isbnLine.size() < 5) return {};
  const std::string typed = s.isbnLine.substr(5);
  const Hyphenated h = hyphenateIsbn(ranges, s.digits, s.type == kISBN10);
  const std::string isbn = groupsOf(typed);
  if (h.status == HyphenStatus::NotInUse)
    return "ISBN " + isbn + " lies in a range the ISBN agency has not put in use; not hyphenated";
  if (h.status == HyphenStatus::Unknown)
    return "ISBN " + isbn + ": the range file has no range for it; not hyphenated";
  const bool grouped = typed.find_first_of("- ") != std::string::npos;
  if (!grouped || replace) {
    s.isbnLine = "ISBN " + h.text;
    return {};
  }
  if (isbn == h.text) return {};
  return "ISBN " + isbn + ": the ISBN agency's ranges hyphenate it " + h.text +
         " (--hyphenate prints that)";
}

std::optional<long> messageDay(std::string_view date) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (const std::size_t comma = date.find(','); comma != std::string_view::npos)
    date.remove_prefix(comma + 1);
  auto word = [&date]() {
    while (!date.empty() && date.front() == ' ') date.remove_prefix(1);
    const std::size_t end = std::min(date.find(' '), date.size());
    const std::string_view w = date.substr(0, end);
    date.remove_prefix(end);
    return w;
  };
  const std::string_view day = word(), month = word(), year = word();
  if (day.empty() || day.size() > 2 || !allDigits(day) || year.size() != 4 || !allDigits(year))
    return std::nullopt;
  int m = 0;
  while (m < 12 && kMonths[static_cast<std::size_t>(m)] != month) ++m;
  if (m == 12) return std::nullopt;
  const int d = std::stoi(std::string(day));
  if (d < 1 || d > 31) return std::nullopt;
  // Days from civil (proleptic Gregorian), the year starting in March.
  long y = std::stol(std::string(year)) - (m < 2 ? 1 : 0);
  const long era = y / 400;
  const long yoe = y - era * 400;
  const long mp = (m + 9) % 12;
  const long doy = (153 * mp + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace strimlo
