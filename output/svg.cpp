#include "svg.h"

#include <charconv>

#include "text8.h"

namespace strimlo {

namespace {

constexpr double kMillimetresPerPoint = 25.4 / 72.0;

// At most `decimals` decimals, no trailing zeros, and a full stop whatever the locale.
void appendNumber(std::string& out, double value, int decimals) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string_view s(buf, static_cast<std::size_t>(r.ptr - buf));
  while (s.find('.') != std::string_view::npos && (s.back() == '0' || s.back() == '.'))
    s.remove_suffix(1);
  out += s == "-0" ? "0" : s;
}

// The user's text as UTF-8 character data or attribute value: the five characters XML
// gives a meaning are references, and control characters (which XML 1.0 cannot hold)
// become "?".
void appendEscaped(std::string& out, std::string_view text) {
  for (char ch : text) {
    const char32_t c = text8Char(static_cast<unsigned char>(ch));
    switch (ch) {
      case '&': out += "&amp;"; continue;
      case '<': out += "&lt;"; continue;
      case '>': out += "&gt;"; continue;
      case '"': out += "&quot;"; continue;
      case '\'': out += "&apos;"; continue;
      default: break;
    }
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      out += '?';
    } else {
      out += text8ToUtf8(std::string_view(&ch, 1));
    }
  }
}

// Millimetres as print work states them: three decimals, every one written.
void appendMillimetres(std::string& out, double points) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, points * kMillimetresPerPoint,
                               std::chars_format::fixed, 3);
  out.append(buf, r.ptr);
  out += "mm";
}

void appendHeader(std::string& out, const Layout& layout, std::string_view title,
                  std::string_view note, bool background) {
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
  appendMillimetres(out, layout.pointsWide);
  out += "\" height=\"";
  appendMillimetres(out, layout.pointsHigh);
  out += "\" viewBox=\"0 0 ";
  appendNumber(out, layout.width, 4);
  out += ' ';
  appendNumber(out, layout.height, 4);
  out += "\" role=\"img\" aria-label=\"";
  appendEscaped(out, title);
  out += "\">\n<title>";
  appendEscaped(out, title);
  out += "</title>\n";
  if (!note.empty()) {
    out += "<desc>";
    appendEscaped(out, note);
    out += "</desc>\n";
  }
  if (!background) return;
  out += "<rect width=\"";
  appendNumber(out, layout.width, 4);
  out += "\" height=\"";
  appendNumber(out, layout.height, 4);
  out += "\" fill=\"#FFFFFF\"/>\n";
}

// SVG's y runs downward from the top; the layout's upward from the bottom.
void appendRun(std::string& out, const DarkRun& run, double height) {
  out += "<rect x=\"";
  appendNumber(out, run.x0, 4);
  out += "\" y=\"";
  appendNumber(out, height - run.y1, 4);
  out += "\" width=\"";
  appendNumber(out, run.x1 - run.x0, 4);
  out += "\" height=\"";
  appendNumber(out, run.y1 - run.y0, 4);
  out += "\"/>\n";
}

// A 2D symbol's row runs as one path, filled once: separate rectangles would leave a
// hairline seam between rows wherever a renderer smooths each edge on its own.
void appendMatrixRuns(std::string& out, const std::vector<DarkRun>& runs, double height) {
  bool any = false;
  for (const DarkRun& run : runs) {
    if (run.part != RunPart::Matrix) continue;
    out += any ? "M" : "<path d=\"M";
    any = true;
    appendNumber(out, run.x0, 4);
    out += ',';
    appendNumber(out, height - run.y1, 4);
    out += 'H';
    appendNumber(out, run.x1, 4);
    out += 'V';
    appendNumber(out, height - run.y0, 4);
    out += 'H';
    appendNumber(out, run.x0, 4);
    out += 'Z';
  }
  if (any) out += "\"/>\n";
}

void appendOutline(std::string& out, const std::vector<OutlineStep>& steps, double height) {
  out += "<path d=\"";
  for (const OutlineStep& step : steps) {
    out += step.op;
    const int points = step.op == 'C' ? 3 : step.op == 'Z' ? 0 : 1;
    for (int i = 0; i < points; ++i) {
      appendNumber(out, step.p[2 * i], 3);
      out += ',';
      appendNumber(out, height - step.p[2 * i + 1], 3);
      out += i + 1 < points ? " " : "";
    }
  }
  out += "\"/>\n";
}

}  // namespace

std::string makeSvg(const Layout& layout, const Font& font, std::string_view title,
                    std::string_view note, bool background) {
  std::string out;
  appendHeader(out, layout, title, note, background);
  const double height = layout.height;
  out += "<g fill=\"#000000\">\n";
  for (const DarkRun& run : layout.runs)
    if (run.part != RunPart::Matrix) appendRun(out, run, height);
  appendMatrixRuns(out, layout.runs, height);
  for (const TextItem& text : layout.texts) {
    // The anchor is the lower-left corner of the layout box; the baseline is a descent up.
    const double baseline = static_cast<double>(text.y) + font.descent(text.size);
    const auto steps = font.forText(text.text).outline(text.text, text.size, text.x, baseline);
    if (!steps.empty()) appendOutline(out, steps, height);
  }
  out += "</g>\n</svg>\n";
  return out;
}

}  // namespace strimlo
