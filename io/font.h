#pragma once
// The faces texts are set in: Helvetica (Nimbus Sans), the default, or OCR-B (fonts-ocr-b),
// each found through fontconfig and remembered in the user's cache, opened with FreeType
// for cairo, measured and outlined.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace strimlo {

// One step of a glyph outline in output units, y upward: 'M' x y, 'L' x y,
// 'C' x1 y1 x2 y2 x y (cubic), 'Z' closes the contour.
struct OutlineStep {
  char op;
  double p[6];
};

// The face a symbol's texts are set in.
enum class TypeFace : std::int32_t { Sans, OcrB };

struct TextSize {
  float width;   // the advance of the string
  float height;  // the face's line height
};

class Font {
 public:
  // The shared Helvetica face, loaded once (thread-safe); nullptr when fontconfig finds
  // no Nimbus Sans for "Helvetica": we never draw with a guessed face.
  static const Font* helvetica();
  // OCR-B, laid out in Helvetica's boxes (its line height and descent), so that its
  // baselines are Helvetica's; nullptr when either face is missing.
  static const Font* ocrB();
  static const Font* of(TypeFace face);
  TypeFace face() const { return static_cast<TypeFace>(index_); }
  // The face a text is set in: this one, or Helvetica for a text with a character this
  // face has no glyph for (OCR-B has no euro sign and few accented letters), so that no
  // character is left blank.
  const Font& forText(std::string_view text) const;

  TextSize measure(std::string_view text, float size) const;
  float descent(float size) const;  // below the baseline, positive
  // The left and right ends of the text's ink, from its origin.
  std::pair<float, float> ink(std::string_view text, float size) const;
  float lineHeightPerEm() const { return heightPerEm_; }
  // The glyph outlines of a string set at size, its baseline starting at (x, y), laid out
  // as the surface draws it; for vector files that carry no font. Safe on any thread.
  std::vector<OutlineStep> outline(std::string_view text, float size, double x, double y) const;

  void* cairoFace() const { return face_; }  // cairo_font_face_t*, shared by every thread
  // cairo_font_options_t* every text is drawn with: unhinted, so advances are not rounded.
  static void* cairoOptions();
  // The calling thread's own cairo_font_face_t* of the same file, for drawing.
  void* drawingFace() const;

 private:
  Font() = default;
  // wanted: the face asked for (font.cpp's own description); boxes: the face whose line
  // height and descent it takes, or nullptr for its own.
  static const Font* load(const void* wanted, const Font* boxes);
  void* face_ = nullptr;
  int index_ = 0;           // the TypeFace
  std::string file_;        // the face's file
  float heightPerEm_ = 0;   // line height / em
  float descentPerEm_ = 0;  // descender / em, positive
  void* measurer_ = nullptr;  // cairo_scaled_font_t* at a large size, unhinted
};

// fontconfig reads the whole system configuration on its first call, most of a one-file
// run's time. The files it finds are remembered in the user's cache folder, one under each
// name ("helvetica-file", ...); a caller checks a remembered file is still the face it
// wants before using it, and asks fontconfig again otherwise.
std::string rememberedFontFile(std::string_view name);  // empty when none
void rememberFontFile(std::string_view name, const std::string& file);

}  // namespace strimlo
