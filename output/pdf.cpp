#include "pdf.h"

#include <fontconfig/fontconfig.h>
#include <hpdf.h>
#include <hpdf_encrypt.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <hpdf_fontdef.h>
#include <hpdf_streams.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <sstream>

#include "eps.h"
#include "text8.h"
#include "type1_subset.h"

namespace strimlo {

namespace {

// Whether a .t1 file ends as a whole Type 1 font does: zeros, then "cleartomark". A file
// cut short (a full disk, a broken copy) would make every PDF fail.
bool wholeType1(const std::string& outlines) {
  const int fd = open(outlines.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  char tail[64] = {};
  const bool read = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    st.st_size > static_cast<off_t>(sizeof tail) &&
                    pread(fd, tail, sizeof tail, st.st_size - static_cast<off_t>(sizeof tail)) ==
                        static_cast<ssize_t>(sizeof tail);
  close(fd);
  return read && std::string_view(tail, sizeof tail).find("cleartomark") != std::string_view::npos;
}

// The metrics beside a .t1 file; none unless they are Nimbus Sans Regular's and the
// outlines are whole.
std::optional<Type1Font> nimbusSansAt(const std::string& outlines) {
  if (!outlines.ends_with(".t1") || !wholeType1(outlines)) return std::nullopt;
  Type1Font font{outlines.substr(0, outlines.size() - 3) + ".afm", outlines};
  struct stat st {};  // a regular file only: reading a pipe would wait for a writer
  if (stat(font.metrics.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::ifstream afm(font.metrics);
  for (std::string line; std::getline(afm, line) && !line.starts_with("StartCharMetrics");)
    if (line == "FontName NimbusSans-Regular") return font;
  return std::nullopt;
}

// The Type 1 file fontconfig lists with its metrics beside it; the library cannot read
// the .pfb form, whose segment headers it would embed as font data.
std::optional<Type1Font> findType1() {
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
  std::optional<Type1Font> found;
  if (pattern && objects &&
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("Nimbus Sans")) &&
      FcPatternAddString(pattern, FC_STYLE, reinterpret_cast<const FcChar8*>("Regular")) &&
      FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("Type 1"))) {
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    for (int i = 0; set && i < set->nfont && !found; ++i) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
      found = nimbusSansAt(reinterpret_cast<const char*>(file));
    }
    if (set) FcFontSetDestroy(set);
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  return found;
}

// The remembered file while it is still the font; otherwise fontconfig's (then remembered).
std::optional<Type1Font> rememberedOrFound() {
  if (auto font = nimbusSansAt(rememberedFontFile("helvetica-type1"))) return font;
  auto found = findType1();
  if (found) rememberFontFile("helvetica-type1", found->outlines);
  return found;
}

std::string wholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return in ? bytes.str() : std::string();
}

// The font program once read, and the glyph each character of the texts draws (by the
// glyph names the PDF library itself reads the metrics with).
struct EmbeddedType1 {
  Type1Program program;
  std::map<char32_t, std::string> glyphs;
};

std::shared_ptr<const EmbeddedType1> loadEmbedded(const Type1Font& font) {
  auto program = Type1Program::parse(wholeFile(font.outlines), wholeFile(font.metrics));
  if (!program) return nullptr;
  auto loaded = std::make_shared<EmbeddedType1>(EmbeddedType1{std::move(*program), {}});
  for (const std::string& name : loaded->program.glyphNames())
    loaded->glyphs.emplace(HPDF_GryphNameToUnicode(name.c_str()), name);
  return loaded;
}

// Read once per font file for the whole run; none when the files are not in the form the
// subset needs (the whole font is embedded then).
std::shared_ptr<const EmbeddedType1> embedded(const Type1Font& font) {
  static std::mutex lock;
  static std::map<std::string, std::shared_ptr<const EmbeddedType1>> loaded;
  const std::lock_guard<std::mutex> held(lock);
  auto [at, added] = loaded.try_emplace(font.outlines);
  if (added) at->second = loadEmbedded(font);
  return at->second;
}

// A libharu stream holding `bytes`, read from its start.
HPDF_Stream memoryStream(HPDF_Doc pdf, const std::string& bytes) {
  HPDF_Stream stream = HPDF_MemStream_New(pdf->mmgr, 4096);
  if (!stream) return nullptr;
  if (HPDF_Stream_Write(stream, reinterpret_cast<const HPDF_BYTE*>(bytes.data()),
                        static_cast<HPDF_UINT>(bytes.size())) != HPDF_OK ||
      HPDF_Stream_Seek(stream, 0, HPDF_SEEK_SET) != HPDF_OK) {
    HPDF_Stream_Free(stream);
    return nullptr;
  }
  return stream;
}

// The font with only the glyphs the texts draw, registered with the document as the PDF
// library's own loader does; its name carries the subset's tag.
const char* loadSubset(HPDF_Doc pdf, const EmbeddedType1& font, const Layout& layout) {
  std::set<std::string> glyphs;
  for (const TextItem& text : layout.texts)
    for (char ch : text.text)
      if (auto at = font.glyphs.find(text8Char(static_cast<unsigned char>(ch))); at != font.glyphs.end())
        glyphs.insert(at->second);
  const Type1Program::Files files =
      font.program.subset(glyphs, subsetTag(glyphs) + "+NimbusSans-Regular");
  HPDF_Stream afm = memoryStream(pdf, files.afm);
  HPDF_Stream data = afm ? memoryStream(pdf, files.t1) : nullptr;
  HPDF_FontDef def = data ? HPDF_Type1FontDef_Load(pdf->mmgr, afm, data) : nullptr;
  if (afm) HPDF_Stream_Free(afm);
  if (data) HPDF_Stream_Free(data);
  if (!def) return nullptr;
  if (HPDF_List_Add(pdf->fontdef_list, def) != HPDF_OK) {
    HPDF_FontDef_Free(def);
    return nullptr;
  }
  return def->base_font;
}

// libharu reports every failure here as well as in the call's status; the first is kept.
void onError(HPDF_STATUS error, HPDF_STATUS, void* first) {
  auto& kept = *static_cast<HPDF_STATUS*>(first);
  if (kept == HPDF_OK) kept = error;
}

bool addString(HPDF_Doc pdf, HPDF_Dict dict, const char* key, const char* value) {
  HPDF_String s = HPDF_String_New(pdf->mmgr, value, nullptr);
  return s && HPDF_Dict_Add(dict, key, s) == HPDF_OK;
}

HPDF_Date utc(std::time_t time) {
  std::tm t{};
  gmtime_r(&time, &t);
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, 'Z', 0, 0};
}

// The Info keys a PDF/X-1a check asks for; the library has setters for all but one.
bool addInfo(HPDF_Doc pdf, std::string_view title, std::string_view note, std::time_t made) {
  const std::string t(title), subject(note);
  if (!subject.empty() && HPDF_SetInfoAttr(pdf, HPDF_INFO_SUBJECT, subject.c_str()) != HPDF_OK)
    return false;
  const std::string creator = "Strimlo, " + std::string(kHomePage);
  const HPDF_Date now = utc(made);
  return HPDF_SetInfoAttr(pdf, HPDF_INFO_TITLE, t.c_str()) == HPDF_OK &&
         HPDF_SetInfoAttr(pdf, HPDF_INFO_CREATOR, creator.c_str()) == HPDF_OK &&
         HPDF_SetInfoDateAttr(pdf, HPDF_INFO_CREATION_DATE, now) == HPDF_OK &&
         HPDF_SetInfoDateAttr(pdf, HPDF_INFO_MOD_DATE, now) == HPDF_OK &&
         HPDF_SetInfoAttr(pdf, HPDF_INFO_TRAPPED, "False") == HPDF_OK &&
         HPDF_SetInfoAttr(pdf, HPDF_INFO_GTS_PDFX, "PDF/X-1:2001") == HPDF_OK &&
         addString(pdf, pdf->info, "GTS_PDFXConformance", "PDF/X-1a:2001");
}

template <typename T>
void appendBytes(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The file identifier: a digest of what the page shows, its size and when it was made, so
// two different files never share one (the library's own generator gives every file the
// same).
bool addId(HPDF_Doc pdf, const Layout& layout, std::string_view title, std::time_t made) {
  std::string seed(title);
  appendBytes(seed, made);
  appendBytes(seed, layout.width);
  appendBytes(seed, layout.height);
  for (const TextItem& text : layout.texts) seed += text.text + '\n';
  HPDF_MD5_CTX md5;
  HPDF_MD5Init(&md5);
  HPDF_MD5Update(&md5, reinterpret_cast<const HPDF_BYTE*>(seed.data()),
                 static_cast<HPDF_UINT32>(seed.size()));
  HPDF_BYTE digest[16];
  HPDF_MD5Final(digest, &md5);
  HPDF_Array id = HPDF_Array_New(pdf->mmgr);
  if (!id || HPDF_Dict_Add(pdf->trailer, "ID", id) != HPDF_OK) return false;
  for (int i = 0; i < 2; ++i) {  // first written, this version: the same digest twice
    HPDF_Binary part = HPDF_Binary_New(pdf->mmgr, digest, sizeof digest);
    if (!part || HPDF_Array_Add(id, part) != HPDF_OK) return false;
  }
  return true;
}

// The printing condition the black is separated for. A registered one, so no ICC
// profile needs to travel with the file.
bool addOutputIntent(HPDF_Doc pdf) {
  HPDF_Array intents = HPDF_Array_New(pdf->mmgr);
  if (!intents || HPDF_Dict_Add(pdf->catalog, "OutputIntents", intents) != HPDF_OK) return false;
  HPDF_Dict intent = HPDF_Dict_New(pdf->mmgr);
  if (!intent || HPDF_Array_Add(intents, intent) != HPDF_OK) return false;
  return HPDF_Dict_AddName(intent, "Type", "OutputIntent") == HPDF_OK &&
         HPDF_Dict_AddName(intent, "S", "GTS_PDFX") == HPDF_OK &&
         addString(pdf, intent, "OutputConditionIdentifier", "FOGRA39") &&
         addString(pdf, intent, "RegistryName", "http://www.color.org") &&
         addString(pdf, intent, "Info", "Coated FOGRA39 (ISO 12647-2:2004)");
}

// The page is the symbol's box, trimmed exactly there: nothing bleeds.
HPDF_Page addPage(HPDF_Doc pdf, const Layout& layout) {
  HPDF_Page page = HPDF_AddPage(pdf);
  if (!page || HPDF_Page_SetWidth(page, layout.width) != HPDF_OK ||
      HPDF_Page_SetHeight(page, layout.height) != HPDF_OK)
    return nullptr;
  HPDF_Array trim = HPDF_Box_Array_New(pdf->mmgr, HPDF_Box{0, 0, layout.width, layout.height});
  return trim && HPDF_Dict_Add(page, "TrimBox", trim) == HPDF_OK ? page : nullptr;
}

// One rectangle per dark run and the texts, all in 100 % K: the black plate alone
// prints them, never a four-colour black. The white around them is the paper.
// Without a font, the texts are the face's glyph outlines, filled.
void drawMarks(HPDF_Page page, HPDF_Font type1, const Layout& layout, const Font& font) {
  HPDF_Page_SetCMYKFill(page, 0, 0, 0, 1);
  for (const DarkRun& run : layout.runs)
    HPDF_Page_Rectangle(page, static_cast<HPDF_REAL>(run.x0), static_cast<HPDF_REAL>(run.y0),
                        static_cast<HPDF_REAL>(run.x1 - run.x0),
                        static_cast<HPDF_REAL>(run.y1 - run.y0));
  HPDF_Page_Fill(page);
  if (!type1) {
    auto real = [](double v) { return static_cast<HPDF_REAL>(v); };
    for (const TextItem& text : layout.texts) {
      const Font& face = font.forText(text.text);
      const auto steps =
          face.outline(text.text, text.size, text.x, text.y + face.descent(text.size));
      for (const OutlineStep& s : steps) {
        const double* p = s.p;
        if (s.op == 'M') HPDF_Page_MoveTo(page, real(p[0]), real(p[1]));
        else if (s.op == 'L') HPDF_Page_LineTo(page, real(p[0]), real(p[1]));
        else if (s.op == 'C')
          HPDF_Page_CurveTo(page, real(p[0]), real(p[1]), real(p[2]), real(p[3]), real(p[4]), real(p[5]));
        else HPDF_Page_ClosePath(page);
      }
      if (!steps.empty()) HPDF_Page_Fill(page);
    }
    return;
  }
  HPDF_Page_BeginText(page);
  for (const TextItem& text : layout.texts) {
    HPDF_Page_SetFontAndSize(page, type1, text.size);
    // The anchor is the lower-left corner of the layout box; the baseline is a descent up.
    HPDF_Page_TextOut(page, text.x, text.y + font.descent(text.size), text.text.c_str());
  }
  HPDF_Page_EndText(page);
}

std::optional<std::string> contents(HPDF_Doc pdf) {
  if (HPDF_SaveToStream(pdf) != HPDF_OK) return std::nullopt;
  std::string bytes(HPDF_GetStreamSize(pdf), '\0');
  HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
  if (HPDF_GetContents(pdf, reinterpret_cast<HPDF_BYTE*>(bytes.data()), &size) != HPDF_OK ||
      size != bytes.size())
    return std::nullopt;
  return bytes;
}

std::optional<std::string> build(HPDF_Doc pdf, const HPDF_STATUS& error, const Layout& layout,
                                  const Font& font, const Type1Font* type1,
                                  std::string_view title, std::string_view note,
                                  bool& fontUnreadable) {
  // Nothing is compressed: the page's few operators stay readable, and the font program
  // is encrypted data that would not shrink. Only the glyphs drawn are embedded.
  HPDF_Font face = nullptr;
  if (type1) {
    const auto subsettable = embedded(*type1);
    const char* name = subsettable ? loadSubset(pdf, *subsettable, layout)
                                   : HPDF_LoadType1FontFromFile(pdf, type1->metrics.c_str(),
                                                                type1->outlines.c_str());
    fontUnreadable = name == nullptr;
    // WinAnsiEncoding is Windows-1252, the texts' own encoding.
    face = name ? HPDF_GetFont(pdf, name, "WinAnsiEncoding") : nullptr;
  }
  HPDF_Page page = face || !type1 ? addPage(pdf, layout) : nullptr;
  const std::time_t made = std::time(nullptr);
  if (!page || !addInfo(pdf, title, note, made) || !addOutputIntent(pdf) ||
      !addId(pdf, layout, title, made))
    return std::nullopt;
  drawMarks(page, face, layout, font);
  if (error != HPDF_OK) return std::nullopt;
  auto bytes = contents(pdf);
  return error != HPDF_OK ? std::nullopt : bytes;
}

}  // namespace

const Type1Font* helveticaType1() {
  static const std::optional<Type1Font> font = rememberedOrFound();
  return font ? &*font : nullptr;
}

const Type1Font* helveticaType1Found() {
  static const std::optional<Type1Font> font = findType1();
  return font ? &*font : nullptr;
}

std::optional<std::string> makePdf(const Layout& layout, const Font& font,
                                   const Type1Font* type1, std::string_view title,
                                   std::string_view note, bool* fontUnreadable) {
  HPDF_STATUS error = HPDF_OK;
  std::unique_ptr<HPDF_Doc_Rec, decltype(&HPDF_Free)> pdf(HPDF_New(onError, &error), HPDF_Free);
  if (!pdf) throw std::bad_alloc();  // its only failure
  bool unreadable = false;
  auto bytes = build(pdf.get(), error, layout, font, type1, title, note, unreadable);
  if (fontUnreadable != nullptr) *fontUnreadable = unreadable && error != HPDF_FAILD_TO_ALLOC_MEM;
  // Running out of memory is told as it is for every other buffer.
  if (error == HPDF_FAILD_TO_ALLOC_MEM) throw std::bad_alloc();
  return bytes;
}

}  // namespace strimlo
