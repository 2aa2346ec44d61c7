#include "eps.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <new>

#include "layout.h"

namespace strimlo {

namespace {

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

// Writes dark runs as "n B" ("n L" for a guard bar, which reaches 5 pt lower) with the
// light runs between them as "n S", twenty to a line; the final run goes last on its
// line and is not counted.
void appendRuns(std::string& out, const std::vector<DarkRun>& runs) {
  std::size_t onLine = 0;
  auto write = [&](int length, char command, bool counted) {
    out += std::to_string(length);
    out += ' ';
    out += command;
    out += ' ';
    if (counted && ++onLine == kRunsPerLine) {
      out += '\n';
      onLine = 0;
    }
  };
  int end = 0;  // the module after the previous dark run
  for (std::size_t k = 0; k < runs.size(); ++k) {
    const DarkRun& run = runs[k];
    if (run.module > end) write(run.module - end, 'S', true);
    write(run.modules, run.part == RunPart::Guard ? 'L' : 'B', k + 1 < runs.size());
    end = run.module + run.modules;
  }
}

// EAN-8: run commands as for EAN-13, the digits one command per line.
void appendEan8Body(std::string& out, std::string_view digits, const ModulePattern& pattern) {
  out += "2 10 moveto\n";
  appendRuns(out, darkRuns(pattern, kEAN8, false));
  out += "\nstroke\n";
  const auto& pos = kEpsPositions.lower_pos8;
  for (std::size_t i = 0; i < std::size(pos) && i < digits.size(); ++i) {
    out += "e1font\n";
    appendShowAt(out, pos[i], " 3 moveto\n", digits.substr(i, 1), " show\n");
  }
}

// The add-on bars and, when its text is known, its digits above them.
void appendAddon(std::string& out, const ModulePattern& addon,
                 std::optional<std::string_view> addonText) {
  out += "/height { 0.730000 72 mul } def\n";
  out += "98 5 moveto\n";
  appendRuns(out, darkRuns(addon, kEAN13, true));
  out += "\nstroke\n";
  if (!addonText) return;
  out += "e1font ";
  const auto& pos = kEpsPositions.addon_pos;
  for (std::size_t k = 0; k < std::size(pos) && k < addonText->size(); ++k) {
    appendShowAt(out, pos[k], " 59.5 moveto ", addonText->substr(k, 1), " show ");
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
  appendRuns(out, darkRuns(pattern, type, false));
  out += "\nstroke\n";
  const auto& pos = kEpsPositions.lower_pos13;
  for (std::size_t i = 0; i < std::size(pos) && i < digits.size(); ++i) {
    out += "e1font ";
    appendShowAt(out, pos[i], " 3 moveto ", digits.substr(i, 1), " show ");
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
