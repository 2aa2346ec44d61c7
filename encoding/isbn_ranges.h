#pragma once
// The ISBN agency's ranges, as its RangeMessage.xml gives them, and the hyphens they put
// in an ISBN: registration group, registrant, publication, check character. Reading the
// file is io/'s; here are only the values and the lookup.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "symbol.h"

namespace strimlo {

// One Rule: the seven digits after its prefix, from low to high inclusive, take the next
// element of `length` digits (0: a range not in use).
struct RangeRule {
  std::uint32_t low = 0;
  std::uint32_t high = 0;
  int length = 0;
};

// An EAN.UCC prefix ("978") whose rules give the registration group's length, or a
// registration group ("978-3") whose rules give the registrant's.
struct RangePrefix {
  std::string digits;  // the prefix without its hyphen: "978", "9783"
  std::vector<RangeRule> rules;
};

struct IsbnRanges {
  std::string messageDate;  // as the file gives it: "Tue, 8 Dec 2026 10:11:12 GMT"
  std::vector<RangePrefix> eanPrefixes;
  std::vector<RangePrefix> groups;
};

enum class HyphenStatus {
  Hyphenated,  // text holds the hyphenated ISBN
  NotInUse,    // a rule covers it with length 0: no ISBN is given there
  Unknown,     // no rule covers it (a group the file does not list)
};

struct Hyphenated {
  HyphenStatus status = HyphenStatus::Unknown;
  std::string text;  // "978-3-16-148410-0" or, for an ISBN-10, "3-16-148410-X"
};

// The hyphens of an ISBN given by its 13 EAN digits (978 or 979 and the rest); the
// ISBN-10 form leaves out "978-" and ends in its own check character.
Hyphenated hyphenateIsbn(const IsbnRanges& ranges, std::string_view thirteen, bool isbn10);

// Sets the hyphens of an ISBN symbol's line by the ranges: an ISBN typed without
// hyphens gets them; one typed with others keeps them, unless `replace`. Returns a note
// for the user when the typed hyphens differ (and are kept) or the ISBN cannot be
// hyphenated; "" otherwise. Other types are left alone.
std::string hyphenateLine(Symbol& symbol, const IsbnRanges& ranges, bool replace);

// The days since 1970-01-01 of a message date "Tue, 8 Dec 2026 10:11:12 GMT" (the
// weekday and time may be left out), or none when it is not such a date.
std::optional<long> messageDay(std::string_view date);

}  // namespace strimlo
