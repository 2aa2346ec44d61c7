#include "font.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "atomic_file.h"
#include "text8.h"

namespace strimlo {

namespace {

// The file fontconfig gives for a name when it is of the family wanted: fontconfig
// answers any face of its default family otherwise.
std::string findFontFile(const char* name, const char* wantedFamily) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
  if (!pattern) return {};
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return {};
  std::string file;
  FcChar8* family = nullptr;
  FcChar8* path = nullptr;
  if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
      FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
      std::strcmp(reinterpret_cast<const char*>(family), wantedFamily) == 0) {
    file = reinterpret_cast<const char*>(path);
  }
  FcPatternDestroy(match);
  return file;
}

cairo_font_options_t* unhintedOptions() {
  static cairo_font_options_t* options = [] {
    cairo_font_options_t* o = cairo_font_options_create();
    // Hinted metrics would round every advance to whole units (8 instead of 7.784).
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    return o;
  }();
  return options;
}

}  // namespace

void* Font::cairoOptions() { return unhintedOptions(); }

namespace {

constexpr double kMeasureSize = 1000.0;

// cairo and FreeType report running out of memory as a status; the callers tell the user
// so ("not enough memory for a W x H image") from the exception, as for our own buffers.
bool succeeded(cairo_status_t status) {
  if (status == CAIRO_STATUS_NO_MEMORY) throw std::bad_alloc();
  return status == CAIRO_STATUS_SUCCESS;
}

bool succeeded(FT_Error error) {
  if (error == FT_Err_Out_Of_Memory) throw std::bad_alloc();
  return error == 0;
}

std::string fontCacheFile(std::string_view name) {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  if (xdg && *xdg == '/') return std::string(xdg) + "/strimlo/" + std::string(name);
  if (home && *home == '/') return std::string(home) + "/.cache/strimlo/" + std::string(name);
  return {};
}

// How each face is asked of fontconfig, remembered, and known again.
struct FaceWanted {
  TypeFace face;
  const char* cacheName;   // the remembered file's name in the cache folder
  const char* fcName;      // what fontconfig is asked for
  const char* family;      // the family its answer must have, and the file's face
};
constexpr FaceWanted kSansWanted{TypeFace::Sans, "helvetica-file", "Helvetica", "Nimbus Sans"};
// fonts-ocr-b's files share the family "OCR B"; only its upright face is the one wanted.
constexpr FaceWanted kOcrBWanted{TypeFace::OcrB, "ocrb-file", "OCR B:style=Regular", "OCR B"};

bool isWanted(FT_Face face, const FaceWanted& wanted) {
  return face->family_name && std::strcmp(face->family_name, wanted.family) == 0 &&
         face->style_name && std::strcmp(face->style_name, "Regular") == 0 && face->units_per_EM > 0;
}

// The face of the remembered file, or of the one fontconfig finds (then remembered).
FT_Face openFace(FT_Library library, const FaceWanted& wanted, std::string& file) {
  file = rememberedFontFile(wanted.cacheName);
  FT_Face face = nullptr;
  struct stat st {};  // a regular file only: opening a pipe would wait for a writer
  if (!file.empty() && stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
      succeeded(FT_New_Face(library, file.c_str(), 0, &face))) {
    if (isWanted(face, wanted)) return face;
    FT_Done_Face(face);
  }
  file = findFontFile(wanted.fcName, wanted.family);
  if (file.empty() || !succeeded(FT_New_Face(library, file.c_str(), 0, &face))) return nullptr;
  rememberFontFile(wanted.cacheName, file);
  return face;
}

// A face of the file for one thread at a time. cairo holds a face's glyph cache locked
// while it draws a text, so threads sharing one face took turns; each drawing thread gets
// its own instead, handed on to the next thread when it ends. The faces live as long as
// the process: there are never more than threads drawing at once.
struct FaceSlot {
  FT_Library library = nullptr;  // null for the shared face, which Font keeps
  FT_Face face = nullptr;
  cairo_font_face_t* cairo = nullptr;
};

struct SpareFaces {
  std::mutex mutex;
  std::vector<FaceSlot*> spare;
};

// One set of spares for each face (TypeFace's values).
constexpr int kFaces = 2;

SpareFaces& spareFaces(int face) {
  static auto* faces = new SpareFaces[kFaces];  // never destroyed: threads may end after main
  return faces[face];
}

FaceSlot* newFaceSlot(const std::string& file) {
  auto slot = std::make_unique<FaceSlot>();
  if (!succeeded(FT_Init_FreeType(&slot->library))) return nullptr;
  if (!succeeded(FT_New_Face(slot->library, file.c_str(), 0, &slot->face))) {
    FT_Done_FreeType(slot->library);
    return nullptr;
  }
  slot->cairo = cairo_ft_font_face_create_for_ft_face(slot->face, 0);
  if (!succeeded(cairo_font_face_status(slot->cairo))) return nullptr;
  return slot.release();
}

// The calling thread's slot, taken from the spares or made; returned when the thread ends.
class ThreadFace {
 public:
  cairo_font_face_t* get(int face, const std::string& file) {
    if (slot_ == nullptr) {
      face_ = face;
      SpareFaces& faces = spareFaces(face);
      {
        std::lock_guard lock(faces.mutex);
        if (!faces.spare.empty()) {
          slot_ = faces.spare.back();
          faces.spare.pop_back();
        }
      }
      if (slot_ == nullptr) slot_ = newFaceSlot(file);
    }
    return slot_ ? slot_->cairo : nullptr;
  }
  ~ThreadFace() {
    if (slot_ == nullptr) return;
    SpareFaces& faces = spareFaces(face_);
    std::lock_guard lock(faces.mutex);
    faces.spare.push_back(slot_);
  }

 private:
  FaceSlot* slot_ = nullptr;
  int face_ = 0;
};

}  // namespace

std::string rememberedFontFile(std::string_view name) {
  const std::string cache = fontCacheFile(name);
  if (cache.empty()) return {};
  // A regular file only: a link is not followed, and a pipe or device there would block.
  const int fd = open(cache.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat st {};
  char line[4096];
  ssize_t n = -1;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) n = read(fd, line, sizeof line);
  close(fd);
  if (n <= 0) return {};
  std::string remembered(line, static_cast<std::size_t>(n));
  // The line is written whole with its newline; anything else is not a name to trust.
  const auto end = remembered.find('\n');
  if (end == std::string::npos || end + 1 != remembered.size()) return {};
  remembered.pop_back();
  return remembered.starts_with('/') ? remembered : std::string();
}

void rememberFontFile(std::string_view name, const std::string& file) {
  const std::string cache = fontCacheFile(name);
  if (cache.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(cache).parent_path(), ec);
  if (ec) return;  // a cache: failing to write it is fine
  // Whatever else stands at the name (a link, a pipe) goes, so that the new file takes
  // its place rather than being written through it.
  struct stat st {};
  if (lstat(cache.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) unlink(cache.c_str());
  writeFileAtomically(cache, file + "\n");
}

const Font* Font::load(const void* wantedFace, const Font* boxes) {
  const FaceWanted& wanted = *static_cast<const FaceWanted*>(wantedFace);
    // The library and face live as long as the process: the face is shared by every
    // render, on every thread, through cairo, which locks it around its own use.
    FT_Library library = nullptr;
    if (!succeeded(FT_Init_FreeType(&library))) return nullptr;
    std::string file;
    FT_Face face = openFace(library, wanted, file);
    if (face == nullptr || face->units_per_EM == 0) {
      FT_Done_FreeType(library);
      return nullptr;
    }
    auto* f = new Font();
    f->file_ = file;
    f->index_ = static_cast<int>(wanted.face);
    const float em = static_cast<float>(face->units_per_EM);
    f->heightPerEm_ = static_cast<float>(face->height) / em;
    f->descentPerEm_ = static_cast<float>(-face->descender) / em;
    if (boxes) {  // the layout's boxes stay Helvetica's: the same baselines, the same page
      f->heightPerEm_ = boxes->heightPerEm_;
      f->descentPerEm_ = boxes->descentPerEm_;
    }
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, 0);
    if (!succeeded(cairo_font_face_status(cf))) {
      delete f;
      return nullptr;
    }
    f->face_ = cf;
    // Measured at a large size and scaled: with hint metrics off, advances are linear.
    cairo_matrix_t matrix, identity;
    cairo_matrix_init_scale(&matrix, kMeasureSize, kMeasureSize);
    cairo_matrix_init_identity(&identity);
    f->measurer_ = cairo_scaled_font_create(cf, &matrix, &identity, unhintedOptions());
    if (!succeeded(cairo_scaled_font_status(static_cast<cairo_scaled_font_t*>(f->measurer_)))) {
      delete f;
      return nullptr;
    }
    // The shared face starts as the first spare, so the first thread to draw (the only
    // one in a one-file run) opens no second face; cairo locks it against measuring.
    auto* shared = new FaceSlot{nullptr, nullptr, cf};
    std::lock_guard lock(spareFaces(f->index_).mutex);
    spareFaces(f->index_).spare.push_back(shared);
    return f;
}

const Font* Font::helvetica() {
  static const Font* font = load(&kSansWanted, nullptr);
  return font;
}

const Font* Font::ocrB() {
  static const Font* font = [] {
    const Font* sans = helvetica();
    return sans ? load(&kOcrBWanted, sans) : nullptr;
  }();
  return font;
}

const Font* Font::of(TypeFace face) { return face == TypeFace::OcrB ? ocrB() : helvetica(); }

TextSize Font::measure(std::string_view text, float size) const {
  // cairo keeps the glyph metrics and locks the shared face itself, so this is safe on
  // any thread; only the characters asked for are ever loaded.
  cairo_text_extents_t extents;
  cairo_scaled_font_text_extents(static_cast<cairo_scaled_font_t*>(measurer_),
                                 text8ToUtf8(text).c_str(), &extents);
  return {static_cast<float>(extents.x_advance / kMeasureSize) * size, heightPerEm_ * size};
}

float Font::descent(float size) const { return descentPerEm_ * size; }

namespace {

// A Windows-1252 text's glyphs in a scaled font, freed with cairo's own call; no list
// when cairo cannot make one.
struct Glyphs {
  std::unique_ptr<cairo_glyph_t, decltype(&cairo_glyph_free)> list{nullptr, cairo_glyph_free};
  int count = 0;
};

Glyphs glyphsOf(cairo_scaled_font_t* scaled, std::string_view text) {
  const std::string utf8 = text8ToUtf8(text);
  cairo_glyph_t* list = nullptr;
  Glyphs glyphs;
  if (succeeded(cairo_scaled_font_text_to_glyphs(scaled, 0, 0, utf8.data(),
                                                 static_cast<int>(utf8.size()), &list,
                                                 &glyphs.count, nullptr, nullptr, nullptr)))
    glyphs.list.reset(list);
  return glyphs;
}

}  // namespace

const Font& Font::forText(std::string_view text) const {
  const Font* sans = helvetica();
  if (face() == TypeFace::Sans || sans == nullptr) return *this;
  const Glyphs glyphs = glyphsOf(static_cast<cairo_scaled_font_t*>(measurer_), text);
  if (!glyphs.list) return *sans;
  bool missing = false;
  for (int i = 0; i < glyphs.count; ++i) missing = missing || glyphs.list.get()[i].index == 0;
  return missing ? *sans : *this;
}

std::pair<float, float> Font::ink(std::string_view text, float size) const {
  cairo_text_extents_t extents;
  cairo_scaled_font_text_extents(static_cast<cairo_scaled_font_t*>(measurer_),
                                 text8ToUtf8(text).c_str(), &extents);
  const double k = size / kMeasureSize;
  return {static_cast<float>(extents.x_bearing * k),
          static_cast<float>((extents.x_bearing + extents.width) * k)};
}

void* Font::drawingFace() const {
  thread_local ThreadFace mine[kFaces];
  cairo_font_face_t* face = mine[index_].get(index_, file_);
  return face ? face : face_;
}

namespace {

using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

}  // namespace

std::vector<OutlineStep> Font::outline(std::string_view text, float size, double x,
                                       double y) const {
  // Through cairo, which lays the glyphs out as cairo_show_text does and locks the shared
  // face around FreeType; at the 1000-unit measuring size its fixed-point path loses
  // nothing. Font space runs y downward from the baseline.
  std::vector<OutlineStep> steps;
  auto* scaled = static_cast<cairo_scaled_font_t*>(measurer_);
  const Glyphs glyphs = glyphsOf(scaled, text);
  if (!glyphs.list) return steps;
  // Unbounded: cairo leaves out glyphs that fall outside a bounded surface.
  Surface surface(cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr),
                  cairo_surface_destroy);
  Context cr(cairo_create(surface.get()), cairo_destroy);
  cairo_set_scaled_font(cr.get(), scaled);
  cairo_glyph_path(cr.get(), glyphs.list.get(), glyphs.count);
  cairo_path_t* path = cairo_copy_path(cr.get());
  if (path->status == CAIRO_STATUS_NO_MEMORY) {
    cairo_path_destroy(path);
    throw std::bad_alloc();
  }
  const double k = static_cast<double>(size) / kMeasureSize;
  auto at = [&](const cairo_path_data_t& p, double* out) {
    out[0] = x + p.point.x * k;
    out[1] = y - p.point.y * k;
  };
  for (int i = 0; path->status == CAIRO_STATUS_SUCCESS && i < path->num_data;
       i += path->data[i].header.length) {
    const cairo_path_data_t* d = &path->data[i];
    OutlineStep step{'Z', {}};
    switch (d->header.type) {
      case CAIRO_PATH_MOVE_TO: step.op = 'M'; at(d[1], step.p); break;
      case CAIRO_PATH_LINE_TO: step.op = 'L'; at(d[1], step.p); break;
      case CAIRO_PATH_CURVE_TO:
        step.op = 'C';
        for (int j = 0; j < 3; ++j) at(d[j + 1], step.p + 2 * j);
        break;
      case CAIRO_PATH_CLOSE_PATH: break;
    }
    steps.push_back(step);
  }
  cairo_path_destroy(path);
  return steps;
}

}  // namespace strimlo
