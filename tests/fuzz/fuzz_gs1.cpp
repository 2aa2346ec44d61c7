// The GS1 data of the 2D types on any bytes: the GTIN, the element string, the Digital
// Link domain and the error correction. Whatever is made must carry exactly what was
// given: the URI read back (split at its separators, percent-decoded) gives the GTIN and
// each element in its own component, and a DataMatrix's element string holds them in
// order. A refusal names its reason.
// Input: a control line (type 0 QR Code, 1 DataMatrix, 2 EAN-13 with a QR companion;
// error correction L M Q H; anything else as it comes), then the data, the AIs and the
// domain, one a line.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "gs1.h"

namespace strimlo::fuzz {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A component of the URI percent-decoded; every byte outside the unreserved set must
// have been encoded.
std::string decoded(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '%') {
      FUZZ_CHECK(i + 2 < s.size());
      const int hi = hexValue(s[i + 1]);
      const int lo = hexValue(s[i + 2]);
      FUZZ_CHECK(hi >= 0 && lo >= 0);
      out.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
      continue;
    }
    FUZZ_CHECK((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '.' || c == '_' || c == '~');
    out.push_back(c);
  }
  return out;
}

std::vector<std::string_view> split(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  while (true) {
    const auto at = s.find(sep);
    parts.push_back(s.substr(0, at));
    if (at == std::string_view::npos) return parts;
    s.remove_prefix(at + 1);
  }
}

void checkUri(const std::string& uri, const std::string& domain, const std::string& gtin14,
              const std::vector<Gs1Element>& elements) {
  // Blanks around the domain are no part of it.
  const auto first = domain.find_first_not_of(" \t");
  const std::string typed =
      first == std::string::npos ? "" : domain.substr(first, domain.find_last_not_of(" \t") - first + 1);
  std::string base = typed.empty() ? "https://id.gs1.org" : typed;
  if (base.back() == '/') base.pop_back();
  FUZZ_CHECK(uri.compare(0, base.size(), base) == 0);
  const std::string_view rest = std::string_view(uri).substr(base.size());
  const auto q = rest.find('?');
  const std::vector<std::string_view> path = split(rest.substr(1, q == std::string_view::npos ? q : q - 1), '/');
  FUZZ_CHECK(rest.front() == '/' && path.size() % 2 == 0 && path.size() >= 2);
  FUZZ_CHECK(path[0] == "01" && path[1] == gtin14);
  std::vector<Gs1Element> found;
  for (std::size_t i = 2; i < path.size(); i += 2) found.push_back({std::string(path[i]), decoded(path[i + 1])});
  if (q != std::string_view::npos)
    for (std::string_view pair : split(rest.substr(q + 1), '&')) {
      const auto eq = pair.find('=');
      FUZZ_CHECK(eq != std::string_view::npos);
      found.push_back({std::string(pair.substr(0, eq)), decoded(pair.substr(eq + 1))});
    }
  std::size_t given = 0;
  for (const Gs1Element& e : elements) {
    if (e.ai == "01") continue;
    ++given;
    bool there = false;
    for (const Gs1Element& f : found) there = there || f == e;
    FUZZ_CHECK(there);
  }
  FUZZ_CHECK(found.size() == given);
}

}  // namespace

void fuzzOne(Input& in) {
  const int kind = in.byte() % 3;
  const char ecc = "LMQH"[in.byte() % 4];
  const std::string data(in.text());
  Gs1Options options;
  options.ai = std::string(in.text());
  options.dlDomain = std::string(in.text());
  options.ecc = ecc;
  const CodeType type = kind == 0 ? kGS1QR : kind == 1 ? kGS1DataMatrix : kEAN13;
  if (kind == 2) options.companion = kGS1QR;
  const Completion c = completeWithGs1(type, data, "", "", options);
  if (!c.symbol) {
    FUZZ_CHECK(c.refusal != Refusal::None);
    FUZZ_CHECK(c.refusal != Refusal::Gs1Data || !c.detail.empty());
    return;
  }
  if (!c.symbol->matrix) {
    FUZZ_CHECK(kind == 2 && c.refusal == Refusal::None);
    return;
  }
  const Matrix& m = *c.symbol->matrix;
  FUZZ_CHECK(m.rows > 0 && m.cols > 0 && m.dark.size() == static_cast<std::size_t>(m.rows) * m.cols);
  const std::string gtin14 = m.hri.substr(5);
  FUZZ_CHECK(m.hri.size() == 19 && m.hri.compare(0, 5, "(01) ") == 0);
  std::vector<Gs1Element> elements;
  FUZZ_CHECK(parseElementString(options.ai, elements).empty());
  for (const Gs1Element& e : elements) FUZZ_CHECK(checkElement(e).empty());
  if (kind == 1) {
    FUZZ_CHECK(m.content.compare(0, 16, "01" + gtin14) == 0);
    for (const Gs1Element& e : elements)
      FUZZ_CHECK(e.ai == "01" || m.content.find(e.ai + e.value) != std::string::npos);
  } else {
    FUZZ_CHECK(checkDomain(options.dlDomain).empty());
    checkUri(m.content, options.dlDomain, gtin14, elements);
  }
}

}  // namespace strimlo::fuzz
