#include "gs1.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "digits.h"
#include "upc.h"

namespace strimlo {

namespace {

// GS1's AI encodable character set 82: the characters of an alphanumeric AI value.
bool inSet82(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!\"%&'()*+,-./:;<=>?_").find(c) != std::string_view::npos;
}

enum class Kind { Digits, Set82, Date, DateDay00 };

struct AiRule {
  const char* ai;
  Kind kind;
  int minLength;
  int maxLength;
  bool fixed;  // a predefined length: no separator follows it in an element string
  bool key;    // a key qualifier, in a Digital Link URI's path (22, 10, 21 in that order)
  const char* what;
};

// The AIs we accept. 11, 15 and 17 take a day of 00 for a whole month.
constexpr AiRule kRules[] = {
    {"01", Kind::Digits, 14, 14, true, false, "GTIN"},
    {"22", Kind::Set82, 1, 20, false, true, "consumer product variant"},
    {"10", Kind::Set82, 1, 20, false, true, "batch or lot"},
    {"21", Kind::Set82, 1, 20, false, true, "serial number"},
    {"11", Kind::DateDay00, 6, 6, true, false, "production date"},
    {"15", Kind::DateDay00, 6, 6, true, false, "best before date"},
    {"17", Kind::DateDay00, 6, 6, true, false, "expiry date"},
    {"3100", Kind::Digits, 6, 6, true, false, "net weight, kg"},
    {"3101", Kind::Digits, 6, 6, true, false, "net weight, kg"},
    {"3102", Kind::Digits, 6, 6, true, false, "net weight, kg"},
    {"3103", Kind::Digits, 6, 6, true, false, "net weight, kg"},
    {"3104", Kind::Digits, 6, 6, true, false, "net weight, kg"},
    {"3105", Kind::Digits, 6, 6, true, false, "net weight, kg"},
    {"3920", Kind::Digits, 1, 15, false, false, "price"},
    {"3921", Kind::Digits, 1, 15, false, false, "price"},
    {"3922", Kind::Digits, 1, 15, false, false, "price"},
    {"3923", Kind::Digits, 1, 15, false, false, "price"},
};

const AiRule* ruleOf(std::string_view ai) {
  for (const AiRule& r : kRules)
    if (ai == r.ai) return &r;
  return nullptr;
}

// Printable for a message: a byte outside printable ASCII as \xNN, the text cut short.
std::string shownText(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size() && i < 40; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  if (s.size() > 40) out += "...";
  return out;
}

std::string shownChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u == ' ') return "a space";
  // Appended, not joined with +: GCC 12 at -O3 warns falsely (-Wrestrict) on the join.
  std::string out(1, '"');
  out += shownText(std::string_view(&c, 1));
  out += '"';
  return out;
}

int gs1CheckDigit(std::string_view digits) {  // over every digit given, the rightmost weighted 3
  int sum = 0;
  int weight = 3;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    sum += (*it - '0') * weight;
    weight = 4 - weight;
  }
  return (10 - sum % 10) % 10;
}

int twoDigits(std::string_view s, std::size_t at) { return (s[at] - '0') * 10 + (s[at + 1] - '0'); }

std::string checkDate(std::string_view v, bool day00) {
  const int yy = twoDigits(v, 0);
  const int mm = twoDigits(v, 2);
  const int dd = twoDigits(v, 4);
  if (mm < 1 || mm > 12) return "month " + std::to_string(mm) + " does not exist";
  // GS1 places a two-digit year within 49 years back and 50 ahead; every year in that
  // window divisible by four is a leap year.
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int days = mm == 2 && yy % 4 != 0 ? 28 : kDays[mm - 1];
  if (dd == 0) return day00 ? "" : "day 00 is not allowed";
  if (dd > days) return "day " + std::to_string(dd) + " does not exist in month " + std::to_string(mm);
  return {};
}

bool unreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

std::string percentEncoded(std::string_view s) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : s) {
    if (unreserved(c)) {
      out.push_back(c);
    } else {
      const auto u = static_cast<unsigned char>(c);
      out.push_back('%');
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 15]);
    }
  }
  return out;
}

std::string withoutGrouping(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '-' && c != ' ') out.push_back(c);
  return out;
}

std::string elementsError(const Gs1Options& options, std::vector<Gs1Element>& elements) {
  if (std::string e = parseElementString(options.ai, elements); !e.empty()) return e;
  return {};
}

// The element (01) given with --ai must be the symbol's own GTIN; it is then left out, as
// the GTIN is always first.
std::string takeGtin(std::vector<Gs1Element>& elements, const std::string& gtin14) {
  for (auto it = elements.begin(); it != elements.end(); ++it) {
    if (it->ai != "01") continue;
    if (it->value != gtin14)
      return "AI (01) " + it->value + " is not the symbol's GTIN " + gtin14 + "; give one GTIN";
    elements.erase(it);
    return {};
  }
  return {};
}

// A key qualifier's value stands as a path segment of the URI: "." or ".." there would be
// a dot-segment, which readers and resolvers remove with the segment before it, encoded
// or not, so the URI would name another item.
std::string pathSegmentError(const std::vector<Gs1Element>& elements) {
  for (const Gs1Element& e : elements) {
    const AiRule* rule = ruleOf(e.ai);
    if (rule && rule->key && (e.value == "." || e.value == ".."))
      return "AI (" + e.ai + ") \"" + e.value +
             "\": a Digital Link path segment cannot be \".\" or \"..\" (a QR Code's URI would name another item)";
  }
  return {};
}

// The matrix, its content and the GTIN line for a GTIN and the options' elements.
std::string buildMatrix(CodeType type, const std::string& gtin14, const Gs1Options& options,
                        double moduleMm, Matrix& m) {
  std::vector<Gs1Element> elements;
  if (std::string e = elementsError(options, elements); !e.empty()) return e;
  if (std::string e = takeGtin(elements, gtin14); !e.empty()) return e;
  const bool qr = type == kGS1QR;
  if (qr) {
    if (std::string e = checkDomain(options.dlDomain); !e.empty()) return e;
    if (std::string e = pathSegmentError(elements); !e.empty()) return e;
    m.content = digitalLinkUri(options.dlDomain, gtin14, elements);
  } else {
    m.content = elementString(gtin14, elements);
  }
  const std::string input = qr ? m.content : bracketedElementString(gtin14, elements);
  const MatrixEncoding enc =
      encodeMatrix(qr ? MatrixKind::QR : MatrixKind::DataMatrix, input, options.ecc, m);
  if (!enc.ok) return enc.error;
  m.hri = "(01) " + gtin14;
  m.moduleMm = moduleMm > 0 ? moduleMm : kMatrixModuleTarget;
  m.quiet = qr ? 4 : 1;
  m.text = options.text;
  return {};
}

// The GTIN-14 of a 2D type's data, and the typed and the correct check character.
std::string readGtin(std::string_view data, std::string& gtin14, char& typed, char& wrong) {
  const std::string bare = withoutGrouping(data);
  const bool grouped = bare.size() != data.size();
  std::optional<CodeType> book;
  if (!bare.empty() && (bare[0] == 'M' || bare[0] == 'm')) book = kISMN;
  else if (bare.size() == 10) book = kISBN10;
  else if (bare.size() == 8 && (grouped || bare[7] == 'X' || bare[7] == 'x')) book = kISSN;
  if (book) {
    const Completion c = completeSymbol(*book, data);
    if (!c.symbol)
      return "GTIN: " + refusalMessage(c.refusal, *book, data, {});
    gtin14 = gtin14Of(*c.symbol);
    typed = c.symbol->typedCheck;
    wrong = wrongCheckChar(*c.symbol);
    return {};
  }
  if (bare.size() != 8 && bare.size() != 12 && bare.size() != 13 && bare.size() != 14)
    return "GTIN: 8, 12, 13 or 14 digits, the check digit last (or an ISBN, ISSN, ISMN); got " +
           std::to_string(bare.size()) + " characters";
  if (!allDigits(bare)) return "GTIN: digits only; got \"" + shownText(data) + "\"";
  gtin14 = std::string(14 - bare.size(), '0') + bare;
  typed = gtin14.back();
  const char check = static_cast<char>('0' + gs1CheckDigit(std::string_view(gtin14).substr(0, 13)));
  if (check != typed) {
    wrong = check;
    gtin14.back() = check;
  }
  return {};
}

}  // namespace

bool isMatrixType(CodeType type) { return type == kGS1QR || type == kGS1DataMatrix; }

// Spaces and tabs around a typed text, as a pasted cell brings them: not part of it.
static std::string_view blankTrimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string parseElementString(std::string_view text, std::vector<Gs1Element>& out) {
  out.clear();
  text = blankTrimmed(text);
  // An AI in parentheses at i: its digits, or empty.
  auto aiAt = [&text](std::size_t i) -> std::string_view {
    if (i >= text.size() || text[i] != '(') return {};
    std::size_t j = i + 1;
    while (j < text.size() && j - i <= 5 && text[j] >= '0' && text[j] <= '9') ++j;
    if (j >= text.size() || text[j] != ')' || j - i - 1 < 2 || j - i - 1 > 4) return {};
    return text.substr(i + 1, j - i - 1);
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const std::string_view ai = aiAt(i);
    if (ai.empty())
      return "AI: the element string must be AIs in parentheses, each followed by its value, "
             "e.g. (10)ABC123(17)271231; got \"" + shownText(text.substr(i)) + "\"";
    std::size_t j = i + ai.size() + 2;
    const std::size_t start = j;
    while (j < text.size() && aiAt(j).empty()) ++j;
    Gs1Element e{std::string(ai), std::string(text.substr(start, j - start))};
    if (std::string why = checkElement(e); !why.empty()) return why;
    for (const Gs1Element& seen : out) {
      if (seen.ai == e.ai) return "AI (" + e.ai + ") is given twice";
      if (seen.ai.compare(0, 3, "310") == 0 && e.ai.compare(0, 3, "310") == 0)
        return "AI (" + e.ai + ") and (" + seen.ai + ") are both a net weight; give one";
      if (seen.ai.compare(0, 3, "392") == 0 && e.ai.compare(0, 3, "392") == 0)
        return "AI (" + e.ai + ") and (" + seen.ai + ") are both a price; give one";
    }
    out.push_back(std::move(e));
    i = j;
  }
  return {};
}

std::string checkElement(const Gs1Element& element) {
  const std::string name = "AI (" + element.ai + ")";
  const AiRule* rule = ruleOf(element.ai);
  if (rule == nullptr)
    return name + " is not one we accept (01, 10, 11, 15, 17, 21, 22, 3100-3105, 3920-3923)";
  const std::string& v = element.value;
  const std::string full = name + " " + rule->what;
  if (v.empty()) return full + ": no value";
  const auto n = static_cast<int>(v.size());
  if (n < rule->minLength || n > rule->maxLength) {
    const std::string want = rule->minLength == rule->maxLength
                                 ? std::to_string(rule->maxLength)
                                 : "up to " + std::to_string(rule->maxLength);
    return full + ": " + want + " characters; got " + std::to_string(n);
  }
  for (char c : v) {
    if (rule->kind == Kind::Set82) {
      if (!inSet82(c))
        return full + ": " + shownChar(c) +
               " is outside the GS1 character set 82 (A-Z a-z 0-9 and !\"%&'()*+,-./:;<=>?_)";
    } else if (c < '0' || c > '9') {
      return full + ": digits only; got " + shownChar(c);
    }
  }
  if (rule->kind == Kind::Date || rule->kind == Kind::DateDay00) {
    if (std::string why = checkDate(v, rule->kind == Kind::DateDay00); !why.empty())
      return full + " " + v + " (YYMMDD): " + why;
  }
  if (element.ai == "01" && gs1CheckDigit(std::string_view(v).substr(0, 13)) != v[13] - '0')
    return full + " " + v + ": check digit " + v[13] + " is wrong; " +
           static_cast<char>('0' + gs1CheckDigit(std::string_view(v).substr(0, 13))) + " expected";
  return {};
}

std::string checkDomain(std::string_view domain) {
  domain = blankTrimmed(domain);
  if (domain.empty()) return {};
  const std::string_view scheme = "https://";
  if (domain.size() > 200) return "Digital Link domain: longer than 200 characters";
  if (domain.substr(0, scheme.size()) != scheme)
    return "Digital Link domain: must start with https:// (got \"" + shownText(domain) + "\")";
  for (char c : domain) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u >= 0x7F) return "Digital Link domain: spaces, control characters and non-ASCII are not allowed";
    if (!unreserved(c) && c != '/' && c != ':')
      return "Digital Link domain: " + shownChar(c) +
             " is not allowed (letters, digits, - . _ ~, a port after \":\" and path segments only)";
  }
  std::string_view rest = domain.substr(scheme.size());
  if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  const std::size_t slash = rest.find('/');
  std::string_view host = rest.substr(0, slash);
  if (const std::size_t colon = host.find(':'); colon != std::string_view::npos) {
    const std::string_view port = host.substr(colon + 1);
    if (port.empty() || port.size() > 5 || !allDigits(port))
      return "Digital Link domain: the port after \":\" must be digits";
    host = host.substr(0, colon);
  }
  if (host.empty() || host.front() == '.' || host.back() == '.' || host.find("..") != std::string_view::npos ||
      host.find_first_of("_~") != std::string_view::npos)
    return "Digital Link domain: \"" + shownText(host) + "\" is not a host name";
  if (slash != std::string_view::npos) {
    std::string_view path = rest.substr(slash + 1);
    while (true) {
      const std::size_t next = path.find('/');
      const std::string_view segment = path.substr(0, next);
      if (segment.empty() || segment == "." || segment == "..")
        return "Digital Link domain: its path may not hold empty, \".\" or \"..\" segments";
      if (segment.find(':') != std::string_view::npos)
        return "Digital Link domain: \":\" is only allowed before a port";
      if (next == std::string_view::npos) break;
      path = path.substr(next + 1);
    }
  }
  return {};
}

std::string digitalLinkUri(std::string_view domain, std::string_view gtin14,
                           const std::vector<Gs1Element>& elements) {
  domain = blankTrimmed(domain);
  std::string uri = domain.empty() ? "https://id.gs1.org" : std::string(domain);
  if (uri.back() == '/') uri.pop_back();
  uri += "/01/";
  uri += gtin14;
  for (const char* key : {"22", "10", "21"})
    for (const Gs1Element& e : elements)
      if (e.ai == key) uri += "/" + e.ai + "/" + percentEncoded(e.value);
  char sep = '?';
  for (const Gs1Element& e : elements) {
    const AiRule* rule = ruleOf(e.ai);
    if (e.ai == "01" || (rule && rule->key)) continue;
    uri += sep + e.ai + "=" + percentEncoded(e.value);
    sep = '&';
  }
  return uri;
}

std::string bracketedElementString(std::string_view gtin14, const std::vector<Gs1Element>& elements) {
  std::string s = "[01]" + std::string(gtin14);
  for (const Gs1Element& e : elements) s += "[" + e.ai + "]" + e.value;
  return s;
}

std::string elementString(std::string_view gtin14, const std::vector<Gs1Element>& elements) {
  std::string s = "01" + std::string(gtin14);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    s += elements[i].ai + elements[i].value;
    const AiRule* rule = ruleOf(elements[i].ai);
    if (i + 1 < elements.size() && !(rule && rule->fixed)) s.push_back('\x1D');
  }
  return s;
}

std::string gtin14Of(const Symbol& linear) {
  if (linear.type == kUPCE) return "00" + expandUpcE(linear.digits.substr(0, 7)) + linear.digits.back();
  return std::string(14 - std::min<std::size_t>(14, linear.digits.size()), '0') + linear.digits;
}

std::string moduleRangeError(double mm, const char* option) {
  if (mm == 0) return {};
  if (!(mm >= kMatrixModuleMin && mm <= kMatrixModuleMax)) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "%s: the 2D X dimension must be %.3f to %.3f mm (GS1 retail point of sale)", option,
                  kMatrixModuleMin, kMatrixModuleMax);
    return text;
  }
  return {};
}

Gs1Completion completeMatrix(CodeType type, std::string_view data, const Gs1Options& options) {
  if (!isMatrixType(type)) return {std::nullopt, "not a 2D type"};
  if (std::string e = moduleRangeError(options.moduleMm, "--module"); !e.empty()) return {std::nullopt, e};
  Symbol s;
  s.type = type;
  std::string gtin14;
  char typed = 0;
  char wrong = 0;
  if (std::string e = readGtin(data, gtin14, typed, wrong); !e.empty()) return {std::nullopt, e};
  Matrix m;
  if (std::string e = buildMatrix(type, gtin14, options, options.moduleMm, m); !e.empty())
    return {std::nullopt, e};
  m.wrongCheck = wrong;
  s.digits = gtin14;
  s.typedCheck = typed;
  s.matrix = std::move(m);
  return {std::move(s), {}};
}

std::string addCompanion(Symbol& linear, const Gs1Options& options) {
  if (!options.companion) return {};
  if (!isMatrixType(*options.companion)) return "companion: must be qr or datamatrix";
  if (std::string e = moduleRangeError(options.companionModuleMm, "--companion-module"); !e.empty())
    return e;
  Matrix m;
  if (std::string e = buildMatrix(*options.companion, gtin14Of(linear), options,
                                  options.companionModuleMm, m);
      !e.empty())
    return "companion: " + e;
  linear.matrix = std::move(m);
  return {};
}

namespace {

std::string wordOf(std::string_view text) {
  const auto b = text.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  std::string w(text.substr(b, text.find_last_not_of(" \t") - b + 1));
  for (char& c : w)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return w;
}

}  // namespace

std::optional<char> eccLevelOf(std::string_view word) {
  const std::string w = wordOf(word);
  if (w.size() != 1 || std::string_view("lmqh").find(w[0]) == std::string_view::npos) return std::nullopt;
  return static_cast<char>(w[0] - 'a' + 'A');
}

std::optional<CodeType> companionOf(std::string_view word) {
  const std::string w = wordOf(word);
  if (w == "qr" || w == "gs1-qr" || w == "gs1qr") return kGS1QR;
  if (w == "datamatrix" || w == "dm" || w == "gs1-datamatrix" || w == "gs1datamatrix") return kGS1DataMatrix;
  return std::nullopt;
}

Gs1Part gs1PartOf(std::string_view refusal) {
  // A companion's refusals say "companion: " before the same words.
  if (refusal.substr(0, 11) == "companion: ") refusal.remove_prefix(11);
  static constexpr std::pair<std::string_view, Gs1Part> kPrefixes[] = {
      {"AI", Gs1Part::Elements},           {"the data is too large", Gs1Part::Elements},
      {"Digital Link domain", Gs1Part::Domain}, {"--module", Gs1Part::Module},
      {"--companion-module", Gs1Part::CompanionModule}, {"GTIN", Gs1Part::Data}};
  for (const auto& [prefix, part] : kPrefixes)
    if (refusal.substr(0, prefix.size()) == prefix) return part;
  return Gs1Part::Data;
}

std::string elementsNamePart(std::string_view elements) {
  std::string part;
  for (char c : elements)
    if (std::isalnum(static_cast<unsigned char>(c)) && part.size() < 120) part.push_back(c);
  return part;
}

bool meansNoCompanion(std::string_view word) {
  const std::string w = wordOf(word);
  return w == "none" || w == "no";
}

void unusedGs1Notes(CodeType type, const Gs1Options& options, std::vector<std::string>& notes,
                    int barReductionMicrons) {
  if (isMatrixType(type) && barReductionMicrons > 0)
    notes.push_back("bar width reduction: " + std::string(codeTypeName(type)) + " takes none; left out");
  const bool matrix = isMatrixType(type) || options.companion;
  if (!matrix && (!options.ai.empty() || !options.dlDomain.empty()))
    notes.push_back("ai, dl-domain: " + std::string(codeTypeName(type)) +
                    " carries them only in a 2D --companion; left out");
  const CodeType kind = isMatrixType(type) ? type : options.companion.value_or(kGS1QR);
  if (matrix && kind == kGS1DataMatrix && !options.dlDomain.empty())
    notes.push_back("dl-domain: a DataMatrix holds the element string, not a URI; left out");
}

Completion completeWithGs1(CodeType type, std::string_view data, std::string_view addon,
                           std::string_view price, const Gs1Options& options) {
  if (isMatrixType(type)) {
    Gs1Completion g = completeMatrix(type, data, options);
    if (!g.symbol) return {std::nullopt, Refusal::Gs1Data, std::move(g.error)};
    return {std::move(g.symbol), Refusal::None, {}};
  }
  Completion c = completeSymbol(type, data, addon, price);
  if (!c.symbol || !options.companion) return c;
  if (std::string e = addCompanion(*c.symbol, options); !e.empty())
    return {std::nullopt, Refusal::Gs1Data, std::move(e)};
  return c;
}

}  // namespace strimlo
