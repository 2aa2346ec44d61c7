#include "eps.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <new>
#include <utility>

#include "paint.h"

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
// With texts as outlines no font is named: the text procedures only set the colour, and
// each text is its glyphs' path, filled.
constexpr std::string_view kOutlineFonts =
    "/e1font { 0.0 setgray} def\n"
    "/isbnfont { 0.0 setgray} def\n";
constexpr std::string_view kOutlineSmallFont = "/smallfont { 0.0 setgray} def\n";

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
bool inIsbnFont(const TextItem& text) {
  return text.role == TextRole::Line || text.role == TextRole::Price;
}

// Six decimals and always a full stop: printf would follow the C locale, which a
// toolkit may have set to one with a decimal comma.
void appendFixed(std::string& out, float value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                               std::chars_format::fixed, 6);
  out.append(buf, r.ptr);
}

// A coordinate as short as it goes: "98", "61.125", "60.25".
void appendShort(std::string& out, float value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, r.ptr);
}

// The baseline a text's box stands for. The layout keeps the box's lower edge and the
// file states the baseline, a descent up; rounded to 1/10000 point, so that adding the
// descent back shows no last bit ("3", "59.5").
double baselineOf(const TextItem& text) {
  const double baseline = static_cast<double>(text.y) + static_cast<double>(kDescender * text.size);
  return std::nearbyint(baseline * 10000.0) / 10000.0;
}

void appendBaseline(std::string& out, double value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
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

// With a reduction every stroke is the run's width less it, still on the run's centre.
// At a chosen size the strokes are drawn scaled, so the reduction is given unscaled.
void appendProcedures(std::string& out, int microns, double scale, bool outlined) {
  std::string procedures(kProcedures);
  if (outlined) {  // the two font lines come first
    const std::size_t fonts = procedures.find("/step ");
    procedures.replace(0, fonts, kOutlineFonts);
  }
  if (microns <= 0) {
    out += procedures;
    return;
  }
  out += "/bwr { ";
  appendFixed(out, static_cast<float>(reductionLength(microns, 72.0) / scale));
  out += " } def\n";
  constexpr std::string_view kWidth = "dup module mul setlinewidth";
  constexpr std::string_view kNarrower = "dup module mul bwr sub setlinewidth";
  for (auto at = procedures.find(kWidth); at != std::string::npos;
       at = procedures.find(kWidth, at + kNarrower.size()))
    procedures.replace(at, kWidth.size(), kNarrower);
  out += procedures;
}

// The header comments, the procedures and fonts, and with light margins the translate
// that moves the drawing onto their box.
void appendProlog(std::string& out, const Layout& layout, std::string_view title, int microns,
                  bool outlined) {
  const EpsFrame& eps = *layout.eps;
  out += "%!PS-Adobe-2.0 EPSF-1.2\n";
  out += "%%Creator: Strimlo (Mac), ";
  out += kHomePage;
  out += "\n%%Title: ";
  // A line break would end the comment and turn the rest into PostScript.
  for (char ch : title) out += static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F ? ' ' : ch;
  out += "\n%%BoundingBox: 0 0 ";
  if (eps.scale != 1.0) {
    // At a chosen size the box is scaled: whole points rounded up, and the exact box.
    const double w = layout.width * eps.scale;
    const double h = layout.height * eps.scale;
    out += std::to_string(static_cast<int>(std::ceil(w))) + ' ' +
           std::to_string(static_cast<int>(std::ceil(h)));
    out += "\n%%HiResBoundingBox: 0 0 ";
    appendFixed(out, static_cast<float>(w));
    out += ' ';
    appendFixed(out, static_cast<float>(h));
  } else if (eps.lightMargins)
    out += std::to_string(static_cast<int>(std::ceil(layout.width)));  // never inside the margin
  else
    appendShort(out, layout.width);
  if (eps.scale == 1.0) {
    out += ' ';
    appendShort(out, layout.height);
  }
  if (eps.lightMargins && eps.scale == 1.0) {
    out += "\n%%HiResBoundingBox: 0 0 ";
    appendFixed(out, layout.width);
    out += ' ';
    appendShort(out, layout.height);
  }
  out += "\n% FILE GENERATED PGROGRAMMATICALLY - DO NOT MODIFY!\n";
  if (microns > 0) {
    out += "% " + reductionNote(microns, std::nullopt) + " (";
    appendFixed(out, static_cast<float>(reductionLength(microns, 72.0)));
    out += " pt)\n";
  }
  if (!eps.sizeNote.empty()) {
    out += "% ";
    for (char ch : eps.sizeNote) out += static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F ? ' ' : ch;
    out += '\n';
  }
  out += "%%EndComments\n";
  appendProcedures(out, microns, eps.scale, outlined);
  bool latin1 = false, highRow = false;
  for (const TextItem& text : layout.texts) {
    if (!inIsbnFont(text)) continue;
    latin1 = latin1 || beyondAscii(text.text);
    highRow = highRow || inHighRow(text.text);
  }
  if (latin1 && !outlined) appendTextFont(out, highRow);
  if (std::any_of(layout.texts.begin(), layout.texts.end(),
                  [](const TextItem& t) { return t.role == TextRole::SmallDigit; }))
    out += outlined ? kOutlineSmallFont : kSmallFont;
  // The drawing scaled to a chosen size, then moved onto the light margins' box.
  if (eps.scale != 1.0) {
    appendFixed(out, static_cast<float>(eps.scale));
    out += ' ';
    appendFixed(out, static_cast<float>(eps.scale));
    out += " scale\n";
  }
  if (eps.lightMargins) {
    appendFixed(out, static_cast<float>(eps.translateX));
    out += " 0 translate\n";
  }
}

// Three decimals: a thousandth of a point is far below any press's dot.
void appendCoordinate(std::string& out, double value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
  out.append(buf, r.ptr);
}

// The text's glyphs as one path, filled, in the face of `outlines` as every other file
// sets it (a digit centred in Helvetica's box); a line of its own. y is the baseline,
// which inFace keeps.
void appendOutlined(std::string& out, const TextItem& text, float y, const Font& outlines) {
  const TextItem set = inFace({text.text, text.x, y, text.size}, outlines);
  const std::vector<OutlineStep> steps =
      outlines.forText(text.text).outline(set.text, set.size, set.x, y);
  if (!out.empty() && out.back() != '\n') out += '\n';
  if (steps.empty()) return;
  out += "newpath\n";
  for (const OutlineStep& step : steps) {
    const int points = step.op == 'C' ? 3 : step.op == 'Z' ? 0 : 1;
    for (int i = 0; i < points; ++i) {
      appendCoordinate(out, step.p[2 * i]);
      out += ' ';
      appendCoordinate(out, step.p[2 * i + 1]);
      out += ' ';
    }
    out += step.op == 'M' ? "moveto\n" : step.op == 'L' ? "lineto\n"
           : step.op == 'C' ? "curveto\n" : "closepath\n";
  }
  out += "fill\n";
}

// One text: its font procedure unless it goes on in the previous text's (an add-on digit
// after another, the price after the line), then "x y moveto (text) show". Digits and
// add-on digits state x to six decimals, the line and the price as short as they go, the
// marks both coordinates to six decimals and a line each; EAN-8's digits give every
// command a line of its own.
void appendText(std::string& out, const TextItem& text, const TextItem* previous, bool perLine,
                const Font* outlines) {
  const bool mark = text.role == TextRole::Mark;
  const char gap = perLine && text.role == TextRole::Digit ? '\n' : ' ';
  const bool goesOn =
      previous && ((text.role == TextRole::AddonDigit && previous->role == TextRole::AddonDigit) ||
                   (text.role == TextRole::Price && previous->role == TextRole::Line));
  if (!goesOn) {
    out += inIsbnFont(text)                    ? "isbnfont"
           : text.role == TextRole::SmallDigit ? "smallfont"
                                               : "e1font";
    out += gap;
  }
  // As outlines: the text's path where the font would have set it.
  if (outlines) return appendOutlined(out, text, static_cast<float>(baselineOf(text)), *outlines);
  if (inIsbnFont(text)) appendShort(out, text.x);
  else appendFixed(out, text.x);
  out += ' ';
  if (mark) appendFixed(out, static_cast<float>(baselineOf(text)));
  else appendBaseline(out, baselineOf(text));
  out += " moveto";
  out += gap;
  appendPsString(out, text.text);
  out += " show";
  out += mark ? '\n' : gap;
}

bool underBars(TextRole role) { return role == TextRole::Digit || role == TextRole::SmallDigit; }

// The texts of the given roles: the digits under the bars in reading order (UPC's small
// ones among them), the others in the layout's order.
void appendTexts(std::string& out, const Layout& layout, bool (*wanted)(TextRole),
                 const Font* outlines) {
  std::vector<const TextItem*> texts;
  for (const TextItem& text : layout.texts)
    if (wanted(text.role)) texts.push_back(&text);
  std::stable_sort(texts.begin(), texts.end(), [](const TextItem* a, const TextItem* b) {
    if (underBars(a->role) && underBars(b->role)) return a->x < b->x;
    return underBars(a->role) && !underBars(b->role);
  });
  const TextItem* previous = nullptr;
  for (const TextItem* text : texts) {
    appendText(out, *text, previous, layout.eps->textPerLine, outlines);
    previous = text;
  }
}

void appendMoveto(std::string& out, float x, float y) {
  appendShort(out, x);
  out += ' ';
  appendShort(out, y);
  out += " moveto\n";
}

// Writes the dark runs of one pattern as "n B" ("n L" for a guard bar, which reaches 5 pt
// lower) with the light runs between them as "n S", twenty to a line; the final run goes
// last on its line and is not counted.
void appendRuns(std::string& out, const Layout& layout, bool addon) {
  std::vector<const DarkRun*> runs;
  for (const DarkRun& run : layout.runs)
    if ((run.part == RunPart::Addon) == addon) runs.push_back(&run);
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
    const DarkRun& run = *runs[k];
    if (run.module > end) write(run.module - end, 'S', true);
    write(run.modules, run.part == RunPart::Guard ? 'L' : 'B', k + 1 < runs.size());
    end = run.module + run.modules;
  }
}

}  // namespace

std::optional<std::string> makeMatrixEPS(const Layout& layout, std::string_view title,
                                         const Font* outlines) {
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
    if (outlines) {
      for (const TextItem& t : layout.texts)
        appendOutlined(out, t, t.y + kDescender * t.size, *outlines);
      out += "showpage\n";
      return out;
    }
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
      appendFixed(out, t.x);
      out += moveto;
      appendPsString(out, t.text);
      out += " show\n";
    }
    out += "showpage\n";
    return out;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::string> writeEps(const Layout& layout, std::string_view title,
                                    int reductionMicrons, const Font* outlines) {
  if (!layout.eps || !(layout.eps->scale > 0.0) || !std::isfinite(layout.eps->scale))
    return std::nullopt;
  try {
    const EpsFrame& eps = *layout.eps;
    const int microns = std::clamp(reductionMicrons, 0, kMaxBarReductionMicrons);
    std::string out;
    out.reserve(2048);
    appendProlog(out, layout, title, microns, outlines != nullptr);
    appendMoveto(out, eps.barsX, eps.barsY);
    appendRuns(out, layout, false);
    out += "\nstroke\n";
    appendTexts(out, layout, [](TextRole r) {
      return r != TextRole::AddonDigit && r != TextRole::Mark;
    }, outlines);
    if (eps.addon) {
      out += "/height { 0.730000 72 mul } def\n";
      appendMoveto(out, eps.addonX, eps.addonY);
      appendRuns(out, layout, true);
      out += "\nstroke\n";
      appendTexts(out, layout, [](TextRole r) { return r == TextRole::AddonDigit; }, outlines);
    }
    if (std::any_of(layout.texts.begin(), layout.texts.end(),
                    [](const TextItem& t) { return t.role == TextRole::Mark; }) &&
        out.back() != '\n')
      out += '\n';
    appendTexts(out, layout, [](TextRole r) { return r == TextRole::Mark; }, outlines);
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
                                   const Prepress& prepress, const Font* outlines) {
  if (type < kEAN8 || type > kISMN) return std::nullopt;
  try {
    Symbol sym;
    sym.type = type;
    sym.digits = digits;
    sym.pattern = pattern;
    // The EAN types take no add-on, UPC no line, only ISBN and ISMN a price.
    if (addonPattern && takesAddon(type)) sym.addon = *addonPattern;
    if (hasTextLine(type)) sym.isbnLine = isbnLine.value_or("");
    sym.addonText = addonText.value_or("");
    if (takesPrice(type)) sym.priceText = priceText.value_or("");
    Layout layout = epsLayout(sym);
    // An absent text is not drawn (an empty one is, where the style draws it).
    std::erase_if(layout.texts, [&](const TextItem& t) {
      return (!priceText && t.role == TextRole::Price) ||
             (!addonText && t.role == TextRole::AddonDigit);
    });
    applyPrepress(layout, type, prepress, false);
    return writeEps(layout, digits, prepress.barReductionMicrons, outlines);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace strimlo
