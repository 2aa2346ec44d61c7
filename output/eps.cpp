#include "eps.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <new>
#include <utility>

#include "layout.h"

namespace strimlo {

namespace {

constexpr std::size_t kRunsPerLine = 20;

// Where a body starts its bars: the left edge of module 0, in points.
struct BarsOrigin {
  float x;
  int y;
};
constexpr BarsOrigin kEan8Bars{2, 10};
constexpr BarsOrigin kEan13Bars{12, 10};  // also ISBN, ISSN, ISMN, UPC-A and UPC-E
// An add-on 7.6 modules right of a 95-module symbol's bars, and of UPC-E's 51 modules.
constexpr BarsOrigin kAddonBars{98, 5};
constexpr BarsOrigin kUpcEAddonBars{61.125f, 5};
constexpr float kModule = 0.011640f * 72.0f;  // as /module says
// e1font's size, and the baselines of the digits under the bars and above the add-on.
constexpr float kDigitSize = 8.0f;
constexpr float kDigitBaseline = 3.0f;
constexpr float kAddonDigitBaseline = 59.5f;

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

// Helvetica's own encoding is StandardEncoding, which draws our Windows-1252 bytes as
// other glyphs (e acute as a slashed O). A text beyond ASCII therefore gets a Latin-1
// copy of the font; ASCII texts keep the plain one, so their files stay as they always
// were. Its code 45 stays the hyphen: ISOLatin1Encoding has a minus there, longer than
// the hyphen an ISBN line shows in the plain font and in the raster files.
constexpr std::string_view kLatin1FontHead =
    "/Helvetica-ISOLatin1 /Helvetica findfont dup length dict begin "
    "{ 1 index /FID ne { def } { pop pop } ifelse } forall "
    "/Encoding ISOLatin1Encoding 256 array copy dup 45 /hyphen put ";
constexpr std::string_view kLatin1FontTail =
    "def currentdict end definefont pop\n"
    "/isbnfont { /Helvetica-ISOLatin1 findfont 7 scalefont setfont 0.0 setgray} def\n";

// The glyphs Windows-1252 has at 0x80 to 0x9F, where ISOLatin1Encoding has accents or
// nothing; empty where it assigns none. Only a text that uses one of them gets these
// entries, so every other file keeps its bytes.
constexpr std::string_view kHighRowGlyphs[32] = {
    "Euro", "", "quotesinglbase", "florin", "quotedblbase", "ellipsis", "dagger", "daggerdbl",
    "circumflex", "perthousand", "Scaron", "guilsinglleft", "OE", "", "Zcaron", "",
    "", "quoteleft", "quoteright", "quotedblleft", "quotedblright", "bullet", "endash", "emdash",
    "tilde", "trademark", "scaron", "guilsinglright", "oe", "", "zcaron", "Ydieresis",
};

// UPC's number system and check digit are printed smaller than the other digits.
constexpr std::string_view kSmallFont =
    "/smallfont { /Helvetica findfont 6 scalefont setfont 0.0 setgray} def\n";

bool beyondAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; });
}

bool inHighRow(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char ch) {
    const auto b = static_cast<unsigned char>(ch);
    return b >= 0x80 && b < 0xA0;
  });
}

void appendTextFont(std::string& out, bool highRow) {
  out += kLatin1FontHead;
  for (std::size_t i = 0; highRow && i < std::size(kHighRowGlyphs); ++i) {
    if (kHighRowGlyphs[i].empty()) continue;
    out += "dup " + std::to_string(0x80 + i) + " /";
    out += kHighRowGlyphs[i];
    out += " put ";
  }
  out += kLatin1FontTail;
}

// Only the line above the bars and the price are drawn in isbnfont; the digits in
// e1font are digits.
bool needsLatin1Font(CodeType type, std::optional<std::string_view> isbnLine,
                     std::optional<std::string_view> priceText) {
  return hasTextLine(type) && (beyondAscii(isbnLine.value_or("")) ||
                               (takesPrice(type) && beyondAscii(priceText.value_or(""))));
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
// escaped, and a control character goes in as its octal escape, so that no text can
// start a line of its own in the file. Everything else goes in as it is.
void appendPsString(std::string& out, std::string_view text) {
  out += '(';
  for (char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x20 || byte == 0x7F) {
      const char octal[] = {'\\', static_cast<char>('0' + (byte >> 6)),
                            static_cast<char>('0' + (byte >> 3 & 7)),
                            static_cast<char>('0' + (byte & 7))};
      out.append(octal, sizeof octal);
      continue;
    }
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

struct Box {
  std::string_view width, height;
};

// The newer types' boxes without an add-on and with a 2- or a 5-digit one: the bars and
// any add-on, UPC's small check digit, the ISSN and ISMN line. A price above an ISMN's
// add-on may reach as far as a 5-digit add-on does. An ISMN's 5-digit add-on keeps its
// light margin of 5 modules (it ends at 137.39, the margin at 141.58).
struct NewBoxes {
  CodeType type;
  std::string_view width[3];
  std::string_view height;
};
constexpr NewBoxes kNewBoxes[] = {
    {kUPCA, {"99", "116", "138"}, "70"},
    {kUPCE, {"61", "79", "102"}, "70"},
    {kISSN, {"94", "116", "138"}, "78"},
    {kISMN, {"94", "138", "142"}, "78"},
};

// A price without an add-on stands where the add-on would; its box keeps that room.
Box boundingBox(CodeType type, const ModulePattern* addon, bool priceAlone) {
  if (type == kEAN8) return {"60.25", "70"};
  if (type == kEAN13) return {"94", "70"};
  if (type == kISMN && priceAlone) return {"138", "78"};
  for (const NewBoxes& b : kNewBoxes)
    if (b.type == type) return {b.width[!addon ? 0 : addon->size() == kAddon2Modules ? 1 : 2], b.height};
  // ISBN: room for a price without an add-on, and the add-on's light margin with one.
  return {addon ? "142" : "138", "78"};
}

// Where the add-on's bars begin, after the main symbol's.
BarsOrigin addonBars(CodeType type) { return type == kUPCE ? kUpcEAddonBars : kAddonBars; }

// The leftmost digit: EAN-13's leading one, or UPC's small number system.
float leftmostDigit(CodeType type) {
  if (type == kUPCA) return kEpsPositions.upca_pos[0];
  if (type == kUPCE) return kEpsPositions.upce_pos[0];
  return kEpsPositions.lower_pos13[0];
}
constexpr float kIsbnBoxWidth = 138.0f;

// The first bar module of a pattern and the module after its last bar.
std::pair<int, int> barSpan(const ModulePattern& pattern, CodeType type, bool addon) {
  const std::vector<DarkRun> runs = darkRuns(pattern, type, addon);
  if (runs.empty()) return {0, static_cast<int>(pattern.size())};
  return {runs.front().module, runs.back().module + runs.back().modules};
}

// With quiet zones: the light margins' box in the bodies' coordinates, and the marks.
struct QuietBox {
  float left, right;  // the marks' tips
  float pageRight;    // the box's right edge: the margin's, or further out for a text
  float markY;  // baseline of ">": the digits', or the add-on digits' when there is one
  bool leftMark;
};

std::optional<QuietBox> quietBox(CodeType type, const ModulePattern& pattern,
                                 const ModulePattern* addon, bool priceAlone) {
  const std::optional<LightMargins> margins = lightMargins(type);
  if (!margins) return std::nullopt;
  const BarsOrigin origin = type == kEAN8 ? kEan8Bars : kEan13Bars;
  const auto [first, end] = barSpan(pattern, type, false);
  QuietBox box{origin.x + static_cast<float>(first - margins->left) * kModule, 0, 0,
               kDigitBaseline, margins->leftMark};
  // The leading digit stands 11.9 modules out: the box keeps it.
  if (type != kEAN8) box.left = std::min(box.left, leftmostDigit(type));
  box.right = origin.x + static_cast<float>(end + margins->right) * kModule;
  if (addon && takesAddon(type)) {  // the bodies draw no add-on for the EAN types
    box.right = addonBars(type).x + static_cast<float>(barSpan(*addon, type, true).second +
                                                       kAddonRightMargin) * kModule;
    box.markY = kAddonDigitBaseline;
  }
  // UPC's small check digit stands in the right margin, on the mark's line: the box grows
  // until the mark's ink begins half a module after the digit (6 pt, 0.556 em wide).
  if (!(addon && takesAddon(type)) && (type == kUPCA || type == kUPCE)) {
    const float digit = type == kUPCA ? kEpsPositions.upca_pos[11] : kEpsPositions.upce_pos[7];
    const double clear = digit + 0.556 * 6.0 + markClearance(kModule, kDigitSize);
    box.right = std::max(box.right, static_cast<float>(clear));
  }
  // A price without an add-on stands where the add-on would: the box keeps the room the
  // plain file gives it.
  box.pageRight = priceAlone ? std::max(box.right, kIsbnBoxWidth) : box.right;
  return box;
}

// A coordinate as short as it goes: "98", "61.125".
void appendShort(std::string& out, float value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value));
  out.append(buf, r.ptr);
}

void appendMoveto(std::string& out, BarsOrigin origin) {
  appendShort(out, origin.x);
  out += ' ';
  out += std::to_string(origin.y);
  out += " moveto\n";
}

void appendBoundingBox(std::string& out, CodeType type, const ModulePattern* addon,
                       bool priceAlone, const std::optional<QuietBox>& quiet) {
  const Box box = boundingBox(type, addon, priceAlone);
  out += "\n%%BoundingBox: 0 0 ";
  if (!quiet) {
    out += box.width;
    out += ' ';
    out += box.height;
    return;
  }
  const float width = quiet->pageRight - quiet->left;
  out += std::to_string(static_cast<int>(std::ceil(width)));  // never inside the margin
  out += ' ';
  out += box.height;
  out += "\n%%HiResBoundingBox: 0 0 ";
  appendFixed(out, width);
  out += ' ';
  out += box.height;
}

void appendHeader(std::string& out, CodeType type, std::string_view digits,
                  const ModulePattern* addon, bool priceAlone,
                  const std::optional<QuietBox>& quiet, int microns) {
  out += "%!PS-Adobe-2.0 EPSF-1.2\n";
  out += "%%Creator: Strimlo (Mac), ";
  out += kHomePage;
  out += "\n%%Title: ";
  // A line break would end the comment and turn the rest into PostScript.
  for (char ch : digits) out += static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F ? ' ' : ch;
  appendBoundingBox(out, type, addon, priceAlone, quiet);
  out += "\n% FILE GENERATED PGROGRAMMATICALLY - DO NOT MODIFY!\n";
  if (microns > 0) {
    out += "% " + reductionNote(microns, std::nullopt) + " (";
    appendFixed(out, static_cast<float>(reductionLength(microns, 72.0)));
    out += " pt)\n";
  }
  out += "%%EndComments\n";
}

// With a reduction every stroke is the run's width less it, still on the run's centre.
void appendProcedures(std::string& out, int microns) {
  if (microns <= 0) {
    out += kProcedures;
    return;
  }
  out += "/bwr { ";
  appendFixed(out, static_cast<float>(reductionLength(microns, 72.0)));
  out += " } def\n";
  constexpr std::string_view kWidth = "dup module mul setlinewidth";
  constexpr std::string_view kNarrower = "dup module mul bwr sub setlinewidth";
  std::string procedures(kProcedures);
  for (auto at = procedures.find(kWidth); at != std::string::npos;
       at = procedures.find(kWidth, at + kNarrower.size()))
    procedures.replace(at, kWidth.size(), kNarrower);
  out += procedures;
}

// Each mark's tip on the box's edge, in the digits' font and on their baseline.
void appendMarks(std::string& out, const QuietBox& box) {
  if (!out.empty() && out.back() != '\n') out += '\n';
  auto mark = [&out](float x, float y, std::string_view text) {
    std::string moveto = " ";
    appendFixed(moveto, y);
    moveto += " moveto ";
    out += "e1font ";
    appendShowAt(out, x, moveto, text, " show\n");
  };
  mark(box.right - kGreaterTip * kDigitSize, box.markY, ">");
  if (box.leftMark) mark(box.left - kLessTip * kDigitSize, kDigitBaseline, "<");
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
  appendMoveto(out, kEan8Bars);
  appendRuns(out, darkRuns(pattern, kEAN8, false));
  out += "\nstroke\n";
  const auto& pos = kEpsPositions.lower_pos8;
  for (std::size_t i = 0; i < std::size(pos) && i < digits.size(); ++i) {
    out += "e1font\n";
    appendShowAt(out, pos[i], " 3 moveto\n", digits.substr(i, 1), " show\n");
  }
}

// The add-on bars from origin on and, when its text is known, its digits above them.
void appendAddon(std::string& out, BarsOrigin origin, const ModulePattern& addon,
                 std::optional<std::string_view> addonText) {
  out += "/height { 0.730000 72 mul } def\n";
  appendMoveto(out, origin);
  appendRuns(out, darkRuns(addon, kEAN13, true));
  out += "\nstroke\n";
  if (!addonText) return;
  out += "e1font ";
  const auto& pos = kEpsPositions.addon_pos;
  const std::size_t digits = addon.size() == kAddon2Modules ? 2 : std::size(pos);
  for (std::size_t k = 0; k < digits && k < addonText->size(); ++k) {
    appendShowAt(out, pos[k] + (origin.x - kAddonBars.x), " 59.5 moveto ",
                 addonText->substr(k, 1), " show ");
  }
}

struct IsbnTexts {
  std::optional<std::string_view> line, addon, price;
  const ModulePattern* addonPattern;
};

// EAN-13 and the ISBN, ISSN and ISMN types: run commands, then every text on one line.
void appendEan13Body(std::string& out, CodeType type, std::string_view digits,
                     const ModulePattern& pattern, const IsbnTexts& isbn) {
  appendMoveto(out, kEan13Bars);
  appendRuns(out, darkRuns(pattern, type, false));
  out += "\nstroke\n";
  const auto& pos = kEpsPositions.lower_pos13;
  for (std::size_t i = 0; i < std::size(pos) && i < digits.size(); ++i) {
    out += "e1font ";
    appendShowAt(out, pos[i], " 3 moveto ", digits.substr(i, 1), " show ");
  }
  if (!hasTextLine(type)) return;
  out += "isbnfont 12 69.5 moveto ";
  appendPsString(out, isbn.line.value_or(""));
  out += " show ";
  if (isbn.price && takesPrice(type)) {  // written even when empty, with or without an add-on
    out += "98 69.5 moveto ";
    appendPsString(out, *isbn.price);
    out += " show ";
  }
  if (isbn.addonPattern) appendAddon(out, kAddonBars, *isbn.addonPattern, isbn.addon);
}

// UPC-A and UPC-E: run commands as for EAN-13, the number system and check digit small
// outside the bars, the others under them, then any add-on.
void appendUpcBody(std::string& out, CodeType type, std::string_view digits,
                   const ModulePattern& pattern, const IsbnTexts& texts) {
  appendMoveto(out, kEan13Bars);
  appendRuns(out, darkRuns(pattern, type, false));
  out += "\nstroke\n";
  const bool upca = type == kUPCA;
  const float* pos = upca ? kEpsPositions.upca_pos : kEpsPositions.upce_pos;
  const std::size_t count =
      upca ? std::size(kEpsPositions.upca_pos) : std::size(kEpsPositions.upce_pos);
  for (std::size_t i = 0; i < count && i < digits.size(); ++i) {
    out += i == 0 || i + 1 == count ? "smallfont " : "e1font ";
    appendShowAt(out, pos[i], " 3 moveto ", digits.substr(i, 1), " show ");
  }
  if (texts.addonPattern) appendAddon(out, addonBars(type), *texts.addonPattern, texts.addon);
}

}  // namespace

std::optional<std::string> makeMatrixEPS(const Layout& layout, std::string_view title) {
  try {
    // The header every file of ours has, so readers that look for it find it.
    std::string out = "%!PS-Adobe-2.0 EPSF-1.2\n%%Creator: Strimlo (Mac), ";
    out += kHomePage;
    out += "\n%%Title: ";
    for (char ch : title) out += static_cast<unsigned char>(ch) < 0x20 ? ' ' : ch;
    out += "\n%%BoundingBox: 0 0 " + std::to_string(static_cast<int>(std::ceil(layout.width))) + " " +
           std::to_string(static_cast<int>(std::ceil(layout.height))) + "\n%%HiResBoundingBox: 0 0 ";
    appendFixed(out, layout.width);
    out += ' ';
    appendFixed(out, layout.height);
    out += "\n%%EndComments\n0.0 setgray newpath\n";
    for (const DarkRun& run : layout.runs) {
      appendFixed(out, static_cast<float>(run.x0));
      out += ' ';
      appendFixed(out, static_cast<float>(run.y0));
      out += " moveto ";
      appendFixed(out, static_cast<float>(run.x1 - run.x0));
      out += " 0 rlineto 0 ";
      appendFixed(out, static_cast<float>(run.y1 - run.y0));
      out += " rlineto ";
      appendFixed(out, static_cast<float>(run.x0 - run.x1));
      out += " 0 rlineto closepath\n";
    }
    out += "fill\n";
    const bool latin1 = std::any_of(layout.texts.begin(), layout.texts.end(),
                                    [](const TextItem& t) { return beyondAscii(t.text); });
    if (latin1)
      appendTextFont(out, std::any_of(layout.texts.begin(), layout.texts.end(),
                                      [](const TextItem& t) { return inHighRow(t.text); }));
    for (const TextItem& t : layout.texts) {
      out += latin1 ? "/Helvetica-ISOLatin1" : "/Helvetica";
      out += " findfont ";
      appendFixed(out, t.size);
      out += " scalefont setfont ";
      std::string moveto = " ";
      appendFixed(moveto, t.y + kDescender * t.size);
      moveto += " moveto ";
      appendShowAt(out, t.x, moveto, t.text, " show\n");
    }
    out += "showpage\n";
    return out;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::string> makeEPS(CodeType type, std::string_view digits,
                                   std::optional<std::string_view> isbnLine,
                                   std::optional<std::string_view> addonText,
                                   std::optional<std::string_view> priceText,
                                   const ModulePattern& pattern,
                                   const ModulePattern* addonPattern,
                                   const Prepress& prepress) {
  if (type < kEAN8 || type > kISMN) return std::nullopt;
  try {
    const bool priceAlone = takesPrice(type) && !addonPattern && !priceText.value_or("").empty();
    const std::optional<QuietBox> quiet =
        prepress.quietZones ? quietBox(type, pattern, addonPattern, priceAlone) : std::nullopt;
    const int microns = std::clamp(prepress.barReductionMicrons, 0, kMaxBarReductionMicrons);
    std::string out;
    out.reserve(2048);
    appendHeader(out, type, digits, addonPattern, priceAlone, quiet, microns);
    appendProcedures(out, microns);
    if (needsLatin1Font(type, isbnLine, priceText))
      appendTextFont(out, inHighRow(isbnLine.value_or("")) ||
                              (takesPrice(type) && inHighRow(priceText.value_or(""))));
    const bool upc = type == kUPCA || type == kUPCE;
    if (upc) out += kSmallFont;
    if (quiet) {
      appendFixed(out, -quiet->left);
      out += " 0 translate\n";
    }
    const IsbnTexts texts{isbnLine, addonText, priceText, addonPattern};
    if (type == kEAN8)
      appendEan8Body(out, digits, pattern);
    else if (upc)
      appendUpcBody(out, type, digits, pattern, texts);
    else
      appendEan13Body(out, type, digits, pattern, texts);
    if (quiet) appendMarks(out, *quiet);
    out += "showpage\n";
    return out;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace strimlo
