// makeEPS with any code type, digit string, texts (also beyond 31 bytes) and patterns
// (any length, any bytes, add-on or not).
// Input: a control line of two bytes, the code type and one whose low four bits say
// which optional arguments are present (1 ISBN line, 2 add-on text, 4 price, 8 add-on
// pattern) and whose next two turn on quiet zones (16) and a 40 um reduction (32), then
// on separate lines: digits, pattern, add-on pattern, ISBN line, add-on
// text, and the price (the rest). Pattern characters '0' and '1' are those modules, any
// other byte is itself.
#include <algorithm>
#include <string>

#include "eps.h"
#include "fuzz_input.h"

namespace strimlo::fuzz {
namespace {

ModulePattern modulesOf(std::string_view text) {
  ModulePattern p;
  for (char c : text) p.push_back(c == '0' || c == '1' ? c - '0' : static_cast<std::uint8_t>(c));
  return p;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}
bool endsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool isLineEnd(char c) { return c == '\n' || c == '\r' || c == '\f'; }

// Reads the text as PostScript does as far as strings go: a comment runs to the line end,
// "(" opens a string that nests and takes backslash escapes. True when every string is
// closed and no ")" stands outside one, i.e. no text argument broke out of its string.
bool stringsBalanced(std::string_view ps) {
  int depth = 0;
  for (std::size_t i = 0; i < ps.size(); ++i) {
    const char c = ps[i];
    if (depth == 0) {
      if (c == '%') {
        while (i + 1 < ps.size() && !isLineEnd(ps[i + 1])) ++i;
      } else if (c == '(') {
        depth = 1;
      } else if (c == ')') {
        return false;
      }
    } else if (c == '\\') {
      ++i;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    }
  }
  return depth == 0;
}

// The newer types' boxes follow their add-on; only the start of the line is fixed.
// ISBN: the add-on's light margin with one, the price's room without.
std::string_view boundingBoxLine(CodeType type, bool addon) {
  if (type == kEAN8) return "\n%%BoundingBox: 0 0 60.25 70\n";
  if (type == kEAN13) return "\n%%BoundingBox: 0 0 94 70\n";
  if (isIsbn(type)) return addon ? "\n%%BoundingBox: 0 0 142 78\n" : "\n%%BoundingBox: 0 0 138 78\n";
  return "\n%%BoundingBox: 0 0 ";
}

}  // namespace

void fuzzOne(Input& in) {
  const CodeType type = in.selector();
  const int present = in.byte();
  const std::string_view digits = in.text();
  const ModulePattern pattern = modulesOf(in.text());
  const ModulePattern addon = modulesOf(in.text());
  auto optional = [&](int bit, std::string_view t) {
    return (present & bit) ? std::optional<std::string_view>(t) : std::nullopt;
  };
  const auto isbnLine = optional(1, in.text());
  const auto addonText = optional(2, in.text());
  const auto price = optional(4, in.rest());
  const ModulePattern* addonPattern = (present & 8) ? &addon : nullptr;
  const Prepress prepress{(present & 16) != 0, (present & 32) ? 40 : 0, false};

  const auto eps = makeEPS(type, digits, isbnLine, addonText, price, pattern, addonPattern, prepress);
  FUZZ_CHECK(eps.has_value() == (type >= kEAN8 && type <= kISMN));
  if (!eps) return;
  FUZZ_CHECK(startsWith(*eps, "%!PS-Adobe-2.0 EPSF-1.2\n"));
  FUZZ_CHECK(endsWith(*eps, "showpage\n"));
  // Quiet zones state their exact box beside the whole-point one; a symbol without a bar
  // has no light margins to measure from.
  const bool bars =
      std::any_of(pattern.begin(), pattern.end(), [](std::uint8_t m) { return m != 0; });
  const std::string_view box = prepress.quietZones && bars
                                   ? "\n%%HiResBoundingBox: 0 0 "
                                   : boundingBoxLine(type, addonPattern != nullptr);
  FUZZ_CHECK(eps->find(box) != std::string::npos);
  // Line breaks in the digit string must not end the %%Title comment early.
  FUZZ_CHECK(stringsBalanced(*eps));
  // The EAN types ignore every ISBN argument.
  if (type == kEAN8 || type == kEAN13)
    FUZZ_CHECK(*eps == makeEPS(type, digits, {}, {}, {}, pattern, nullptr, prepress));
  // UPC draws no line and no price; ISSN no price.
  if (type == kUPCA || type == kUPCE)
    FUZZ_CHECK(*eps == makeEPS(type, digits, {}, addonText, {}, pattern, addonPattern, prepress));
  if (type == kISSN)
    FUZZ_CHECK(*eps == makeEPS(type, digits, isbnLine, addonText, {}, pattern, addonPattern, prepress));
}

}  // namespace strimlo::fuzz
