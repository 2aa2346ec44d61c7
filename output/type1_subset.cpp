#include "type1_subset.h"

#include <cstdint>

namespace strimlo {

namespace {

// The eexec cipher of the Type 1 format: its key and the two constants of its stream.
constexpr std::uint16_t kEexecKey = 55665;
constexpr std::uint32_t kC1 = 52845;
constexpr std::uint32_t kC2 = 22719;

// The next key: unsigned arithmetic, kept to 16 bits (in int it would overflow).
std::uint16_t nextKey(unsigned char cipherByte, std::uint16_t r) {
  return static_cast<std::uint16_t>((static_cast<std::uint32_t>(cipherByte) + r) * kC1 + kC2);
}

std::string decrypt(std::string_view cipher) {
  std::string plain(cipher.size(), '\0');
  std::uint16_t r = kEexecKey;
  for (std::size_t i = 0; i < cipher.size(); ++i) {
    const auto c = static_cast<unsigned char>(cipher[i]);
    plain[i] = static_cast<char>(c ^ (r >> 8));
    r = nextKey(c, r);
  }
  return plain;
}

std::string encrypt(std::string_view plain) {
  std::string cipher(plain.size(), '\0');
  std::uint16_t r = kEexecKey;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const auto c = static_cast<unsigned char>(static_cast<unsigned char>(plain[i]) ^ (r >> 8));
    cipher[i] = static_cast<char>(c);
    r = nextKey(c, r);
  }
  return cipher;
}

bool isSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

// One CharStrings entry at `at`: "/name length RD <length bytes> ND" and its line end.
// Returns the entry's end, or npos when the text is not such an entry.
std::size_t entryEnd(std::string_view p, std::size_t at, std::string& name) {
  if (at >= p.size() || p[at] != '/') return std::string_view::npos;
  const std::size_t nameEnd = p.find(' ', at);
  if (nameEnd == std::string_view::npos) return nameEnd;
  name = std::string(p.substr(at + 1, nameEnd - at - 1));
  std::size_t i = nameEnd + 1;
  std::size_t length = 0;
  const std::size_t digits = i;
  for (; i < p.size() && p[i] >= '0' && p[i] <= '9' && i - digits < 6; ++i)
    length = length * 10 + static_cast<std::size_t>(p[i] - '0');
  if (i == digits || i >= p.size() || p[i] != ' ') return std::string_view::npos;
  const std::size_t token = p.find(' ', i + 1);  // RD or -|, then one space
  if (token == std::string_view::npos || token - i > 3 || length > p.size() - token - 1)
    return std::string_view::npos;
  const std::size_t lineEnd = p.find('\n', token + 1 + length);
  return lineEnd == std::string_view::npos ? lineEnd : lineEnd + 1;
}

// The glyph name of an AFM character metrics line: "C 48 ; WX 556 ; N zero ; B ...".
std::string metricName(std::string_view line) {
  const std::size_t n = line.find("; N ");
  if (n == std::string_view::npos) return {};
  const std::size_t start = n + 4;
  std::size_t end = start;
  while (end < line.size() && !isSpace(line[end]) && line[end] != ';') ++end;
  return std::string(line.substr(start, end - start));
}

bool parseMetrics(std::string_view afm, std::string& head,
                  std::vector<std::pair<std::string, std::string>>& metrics) {
  const std::size_t start = afm.find("\nStartCharMetrics");
  if (start == std::string_view::npos) return false;
  head = std::string(afm.substr(0, start + 1));
  std::size_t at = afm.find('\n', start + 1);
  while (at != std::string_view::npos && ++at < afm.size()) {
    const std::size_t end = afm.find('\n', at);
    const std::string_view line = afm.substr(at, end == std::string_view::npos ? end : end - at);
    if (line.starts_with("EndCharMetrics")) return true;
    std::string name = metricName(line);
    if (name.empty()) return false;
    metrics.emplace_back(std::move(name), std::string(line) + '\n');
    at = end;
  }
  return false;
}

}  // namespace

std::optional<Type1Program> Type1Program::parse(std::string_view t1, std::string_view afm) {
  Type1Program font;
  const std::size_t eexec = t1.find("eexec");
  if (eexec == std::string_view::npos) return std::nullopt;
  std::size_t binary = eexec + 5;
  while (binary < t1.size() && isSpace(t1[binary])) ++binary;
  // The zeros after the binary part; 64 of them never occur in it by chance.
  std::size_t end = t1.find(std::string(64, '0'), binary);
  if (end == std::string_view::npos || t1.find("cleartomark", end) == std::string_view::npos)
    return std::nullopt;
  while (end > binary && isSpace(t1[end - 1])) --end;
  font.clear_ = std::string(t1.substr(0, binary));
  font.trailer_ = std::string(t1.substr(end));

  const std::string plain = decrypt(t1.substr(binary, end - binary));
  const std::size_t dict = plain.find("/CharStrings ");
  const std::size_t begin = dict == std::string::npos ? dict : plain.find('\n', dict);
  if (begin == std::string::npos) return std::nullopt;
  std::size_t at = begin + 1;
  font.head_ = plain.substr(0, at);
  for (;;) {
    while (at < plain.size() && isSpace(plain[at])) ++at;
    if (at >= plain.size() || plain[at] != '/') break;
    std::string name;
    const std::size_t next = entryEnd(plain, at, name);
    if (next == std::string::npos) return std::nullopt;
    font.charStrings_.emplace_back(std::move(name), plain.substr(at, next - at));
    at = next;
  }
  if (font.charStrings_.empty() || !std::string_view(plain).substr(at).starts_with("end"))
    return std::nullopt;
  font.tail_ = plain.substr(at);
  if (!parseMetrics(afm, font.afmHead_, font.metrics_)) return std::nullopt;
  return font;
}

std::vector<std::string> Type1Program::glyphNames() const {
  std::vector<std::string> names;
  names.reserve(metrics_.size());
  for (const auto& m : metrics_) names.push_back(m.first);
  return names;
}

Type1Program::Files Type1Program::subset(const std::set<std::string>& glyphs,
                                         std::string_view fontName) const {
  auto wanted = [&glyphs](const std::string& name) {
    return name == ".notdef" || glyphs.count(name) != 0;
  };
  std::string plain = head_;
  for (const auto& [name, entry] : charStrings_)
    if (wanted(name)) plain += entry;
  plain += tail_;
  Files files;
  files.t1 = clear_ + encrypt(plain) + trailer_;

  std::size_t count = 0;
  std::string lines;
  for (const auto& [name, line] : metrics_) {
    if (!wanted(name)) continue;
    lines += line;
    ++count;
  }
  // The head's FontName line names the subset.
  std::string head = afmHead_;
  if (const std::size_t at = head.find("\nFontName "); at != std::string::npos) {
    const std::size_t end = head.find('\n', at + 1);
    head.replace(at + 1, end - at - 1, "FontName " + std::string(fontName));
  }
  files.afm = head + "StartCharMetrics " + std::to_string(count) + "\n" + lines +
              "EndCharMetrics\nEndFontMetrics\n";
  return files;
}

std::string subsetTag(const std::set<std::string>& glyphs) {
  std::uint32_t hash = 2166136261u;  // FNV-1a over the names, each ended by a space
  for (const std::string& name : glyphs)
    for (char ch : name + ' ') hash = (hash ^ static_cast<unsigned char>(ch)) * 16777619u;
  std::string tag(6, 'A');
  for (char& letter : tag) {
    letter = static_cast<char>('A' + hash % 26);
    hash /= 26;
  }
  return tag;
}

}  // namespace strimlo
