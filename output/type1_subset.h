#pragma once
// A Type 1 font cut down to the glyphs one page uses: the same program with only their
// CharStrings, encrypted again, and metrics that list only them. A barcode's texts use
// a dozen or two of the font's 855 glyphs, so the embedded font shrinks about twentyfold.
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace strimlo {

class Type1Program {
 public:
  // The font as its .t1 file (clear text, the eexec-encrypted binary part, the zeros and
  // cleartomark) and its .afm metrics hold it; none when either is not in that form.
  static std::optional<Type1Program> parse(std::string_view t1, std::string_view afm);

  // Every glyph the metrics list, in their order.
  std::vector<std::string> glyphNames() const;

  struct Files {
    std::string t1, afm;
  };
  // Both files with only `glyphs` (and .notdef, which a font must keep); a name the font
  // lacks is left out. The metrics call the font `fontName`.
  Files subset(const std::set<std::string>& glyphs, std::string_view fontName) const;

 private:
  std::string clear_;    // the clear text, up to the first byte of the binary part
  std::string head_;     // decrypted, from the four seed bytes to the first CharString
  std::vector<std::pair<std::string, std::string>> charStrings_;  // name, its whole entry
  std::string tail_;     // decrypted, after the last CharString
  std::string trailer_;  // the zeros and cleartomark, as the file has them
  std::string afmHead_;  // the metrics before StartCharMetrics
  std::vector<std::pair<std::string, std::string>> metrics_;  // name, its line
};

// A subset's name tag: six capital letters that depend only on the glyphs in it.
std::string subsetTag(const std::set<std::string>& glyphs);

}  // namespace strimlo
