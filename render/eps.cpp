#include "eps.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <new>

#include "shape.h"

namespace strimlo {

namespace {

// x of each human-readable digit under an EAN-8 symbol, in points from the left edge.
constexpr float lower_pos8[8] = {5.5f, 11.5f, 17.5f, 23.5f, 32.5f, 38.5f, 44.5f, 50.5f};

// x of each human-readable digit under an EAN-13 or ISBN symbol; the first stands in
// the quiet zone left of the bars.
constexpr float lower_pos13[13] = {2.0f,  15.5f, 21.5f, 27.5f, 33.5f, 39.5f, 45.5f,
                                   54.0f, 60.0f, 66.0f, 72.0f, 78.0f, 84.0f};

// x of each add-on digit above the add-on bars, which begin at x = 98: far enough from
// the main symbol for scanners to find the add-on's gap.
constexpr float addon_pos[5] = {100.0f, 108.0f, 116.0f, 124.0f, 132.0f};

constexpr std::size_t kRunsPerLine = 20;

constexpr std::string_view kProcedures =
    "/e1font { /Helvetica findfont 8 scalefont setfont 0.0 setgray} def\n"
    "/isbnfont { /Helvetica findfont 7 scalefont setfont 0.0 setgray} def\n"
    "/step { module 0 rmoveto } def\n"
    "/module { 0.011640 72 mul } def\n"
    "/height { 0.800000 72 mul } def\n"
    "/S { module mul 0 rmoveto } def\n"
    "/B { dup module mul 2 div 0 rmoveto\n"
    "dup module mul setlinewidth\n"
    "0 height rlineto 0 height neg rmoveto\n"
    "currentpoint stroke moveto\n"
    "module mul 2 div 0 rmoveto } def\n"
    "/L { dup module mul 2 div 0 rmoveto\n"
    "dup module mul setlinewidth\n"
    "0 -5 rmoveto 0 5 rlineto\n"
    "0 height rlineto 0 height neg rmoveto\n"
    "currentpoint stroke moveto\n"
    "module mul 2 div 0 rmoveto } def\n";

// Helvetica's own encoding is StandardEncoding, which draws our ISO-8859-1 bytes as other
// glyphs (e acute as a slashed O). A text beyond ASCII therefore gets a Latin-1 copy of
// the font; ASCII texts keep the plain one, so their files stay as they always were. Its
// code 45 stays the hyphen: ISOLatin1Encoding has a minus there, longer than the hyphen
// an ISBN line shows in the plain font and in the raster files.
constexpr std::string_view kLatin1IsbnFont =
    "/Helvetica-ISOLatin1 /Helvetica findfont dup length dict begin "
    "{ 1 index /FID ne { def } { pop pop } ifelse } forall "
    "/Encoding ISOLatin1Encoding 256 array copy dup 45 /hyphen put def "
    "currentdict end definefont pop\n"
    "/isbnfont { /Helvetica-ISOLatin1 findfont 7 scalefont setfont 0.0 setgray} def\n";

bool beyondAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; });
}

// Only the ISBN line and the price are drawn in isbnfont; the digits in e1font are digits.
bool needsLatin1Font(CodeType type, std::optional<std::string_view> isbnLine,
                     std::optional<std::string_view> priceText) {
  return isIsbn(type) &&
         (beyondAscii(isbnLine.value_or("")) || beyondAscii(priceText.value_or("")));
}

// Six decimals and always a full stop: printf would follow the C locale, which a
// toolkit may have set to one with a decimal comma.
void appendFixed(std::string& out, float value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                               std::chars_format::fixed, 6);
  out.append(buf, r.ptr);
}

// A PostScript string literal; the three characters that would end or break it are
// escaped, everything else goes in as it is.
void appendPsString(std::string& out, std::string_view text) {
  out += '(';
  for (char ch : text) {
    if (ch == '\\' || ch == '(' || ch == ')') out += '\\';
    out += ch;
  }
  out += ')';
}

// "x y moveto (text) show" with the pieces between as each body lays them out.
void appendShowAt(std::string& out, float x, std::string_view moveto, std::string_view text,
                  std::string_view show) {
  appendFixed(out, x);
  out += moveto;
  appendPsString(out, text);
  out += show;
}

std::string_view boundingBox(CodeType type) {
  if (type == kEAN8) return " 60.25 70";
  if (type == kEAN13) return " 94 70";
  return " 138 78";
}

void appendHeader(std::string& out, CodeType type, std::string_view digits) {
  out += "%!PS-Adobe-2.0 EPSF-1.2\n";
  out += "%%Creator: Strimlo (Mac), ";
  out += kHomePage;
  out += "\n%%Title: ";
  // A line break would end the comment and turn the rest into PostScript.
  for (char ch : digits) out += ch == '\n' || ch == '\r' || ch == '\f' ? ' ' : ch;
  out += "\n%%BoundingBox: 0 0";
  out += boundingBox(type);
  out += "\n% FILE GENERATED PGROGRAMMATICALLY - DO NOT MODIFY!\n";
  out += "%%EndComments\n";
}

// Bars of the main symbol whose run ends just before module `next` belong to the start,
// centre or end guard and reach 5 pt lower.
bool endsInGuard(std::size_t next) {
  return next <= 3 || (next >= 46 && next <= 49) || next >= 92;
}

enum class Guards { Marked, None };

// Writes the pattern as runs of equal modules, "n S" for spaces and "n B" / "n L" for
// bars, twenty to a line; the final run goes last on its line and is not counted.
void appendRuns(std::string& out, const ModulePattern& modules, Guards guards) {
  std::size_t onLine = 0;
  auto write = [&](std::size_t length, char command) {
    out += std::to_string(length);
    out += ' ';
    out += command;
    out += ' ';
  };
  bool previous = true;  // every pattern opens with a bar
  std::size_t length = 0;
  for (std::size_t i = 0; i < modules.size(); ++i) {
    const bool bar = modules[i] != 0;
    if (bar == previous) {
      ++length;
      continue;
    }
    if (length > 0) {  // only a pattern opening with a space has an empty first run
      const bool guard = guards == Guards::Marked && endsInGuard(i);
      write(length, !previous ? 'S' : guard ? 'L' : 'B');
      if (++onLine == kRunsPerLine) {
        out += '\n';
        onLine = 0;
      }
    }
    length = 1;
    previous = bar;
  }
  if (length == 0) return;
  write(length, !previous ? 'S' : guards == Guards::Marked ? 'L' : 'B');
}

// EAN-8: one module per line, digits one command per line.
void appendEan8Body(std::string& out, std::string_view digits, const ModulePattern& pattern) {
  out += "2 10 moveto\n";
  const Shape shape = shapeOf(kEAN8);
  for (std::size_t i = 0; i < pattern.size(); ++i)
    out += pattern[i] == 0 ? "1 S\n" : shape.isGuard(static_cast<int>(i)) ? "1 L\n" : "1 B\n";
  out += "stroke\n";
  for (std::size_t i = 0; i < std::size(lower_pos8) && i < digits.size(); ++i) {
    out += "e1font\n";
    appendShowAt(out, lower_pos8[i], " 3 moveto\n", digits.substr(i, 1), " show\n");
  }
}

// The add-on bars and, when its text is known, its digits above them.
void appendAddon(std::string& out, const ModulePattern& addon,
                 std::optional<std::string_view> addonText) {
  out += "/height { 0.730000 72 mul } def\n";
  out += "98 5 moveto\n";
  appendRuns(out, addon, Guards::None);
  out += "\nstroke\n";
  if (!addonText) return;
  out += "e1font ";
  for (std::size_t k = 0; k < std::size(addon_pos) && k < addonText->size(); ++k) {
    appendShowAt(out, addon_pos[k], " 59.5 moveto ", addonText->substr(k, 1), " show ");
  }
}

struct IsbnTexts {
  std::optional<std::string_view> line, addon, price;
  const ModulePattern* addonPattern;
};

// EAN-13 and the ISBN types: run commands, then every text on one line.
void appendEan13Body(std::string& out, CodeType type, std::string_view digits,
                     const ModulePattern& pattern, const IsbnTexts& isbn) {
  out += "12 10 moveto\n";
  appendRuns(out, pattern, Guards::Marked);
  out += "\nstroke\n";
  for (std::size_t i = 0; i < std::size(lower_pos13) && i < digits.size(); ++i) {
    out += "e1font ";
    appendShowAt(out, lower_pos13[i], " 3 moveto ", digits.substr(i, 1), " show ");
  }
  if (!isIsbn(type)) return;
  out += "isbnfont 12 69.5 moveto ";
  appendPsString(out, isbn.line.value_or(""));
  out += " show ";
  if (isbn.price) {  // written even when empty, and with or without an add-on
    out += "98 69.5 moveto ";
    appendPsString(out, *isbn.price);
    out += " show ";
  }
  if (isbn.addonPattern) appendAddon(out, *isbn.addonPattern, isbn.addon);
}

}  // namespace

std::optional<std::string> makeEPS(CodeType type, std::string_view digits,
                                   std::optional<std::string_view> isbnLine,
                                   std::optional<std::string_view> addonText,
                                   std::optional<std::string_view> priceText,
                                   const ModulePattern& pattern,
                                   const ModulePattern* addonPattern) {
  if (type < kEAN8 || type > kISBN13) return std::nullopt;
  try {
    std::string out;
    out.reserve(2048);
    appendHeader(out, type, digits);
    out += kProcedures;
    if (needsLatin1Font(type, isbnLine, priceText)) out += kLatin1IsbnFont;
    if (type == kEAN8)
      appendEan8Body(out, digits, pattern);
    else
      appendEan13Body(out, type, digits, pattern, {isbnLine, addonText, priceText, addonPattern});
    out += "showpage\n";
    return out;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace strimlo
