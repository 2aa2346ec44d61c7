// libharu, loaded on the first PDF rather than at start: mapping it and the two
// libraries it brings was a fifth of a one-file run that writes no PDF. Each function
// the PDF writer calls is forwarded to the library's own, looked up once.
#include <dlfcn.h>
#include <hpdf.h>
#include <hpdf_encrypt.h>
#include <hpdf_fontdef.h>
#include <hpdf_streams.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

constexpr const char* kLibrary = "libhpdf-2.3.0.so";

struct Library {
  void* handle = nullptr;
  std::string error;  // why it could not be loaded
};

const Library& library() {
  static const Library lib = [] {
    Library l;
    l.handle = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    if (l.handle == nullptr) l.error = dlerror();
    return l;
  }();
  return lib;
}

template <typename F>
F* real(const char* name) {
  const Library& lib = library();
  return lib.handle != nullptr ? reinterpret_cast<F*>(dlsym(lib.handle, name)) : nullptr;
}

// Reached only through a document, so the library is loaded; a function it lacks is a
// broken installation.
template <typename F>
F* needed(const char* name) {
  F* const f = real<F>(name);
  if (f == nullptr) {
    std::fprintf(stderr, "strimlo-cli: %s has no %s\n", kLibrary, name);
    std::abort();
  }
  return f;
}

}  // namespace

#define FORWARD(type, name, params, args)                   \
  type name params {                                        \
    static auto* const f = needed<decltype(name)>(#name);   \
    return f args;                                          \
  }

extern "C" {

// Everything else is reached through a document, so only this one meets a missing
// library: the save fails with the reason, as any other failure is told.
HPDF_Doc HPDF_New(HPDF_Error_Handler user_error_fn, void* user_data) {
  static auto* const f = real<decltype(HPDF_New)>("HPDF_New");
  if (f == nullptr) {
    const std::string& why = library().error;
    throw std::runtime_error(std::string("PDF needs ") + kLibrary + ": " +
                             (why.empty() ? "it has no HPDF_New" : why));
  }
  return f(user_error_fn, user_data);
}

FORWARD(void, HPDF_Free, (HPDF_Doc pdf), (pdf))
FORWARD(HPDF_Page, HPDF_AddPage, (HPDF_Doc pdf), (pdf))
FORWARD(HPDF_STATUS, HPDF_Array_Add, (HPDF_Array array, void* obj), (array, obj))
FORWARD(HPDF_Array, HPDF_Array_New, (HPDF_MMgr mmgr), (mmgr))
FORWARD(HPDF_Binary, HPDF_Binary_New, (HPDF_MMgr mmgr, HPDF_BYTE* value, HPDF_UINT len),
        (mmgr, value, len))
FORWARD(HPDF_Array, HPDF_Box_Array_New, (HPDF_MMgr mmgr, HPDF_Box box), (mmgr, box))
FORWARD(HPDF_STATUS, HPDF_Dict_Add, (HPDF_Dict dict, const char* key, void* obj),
        (dict, key, obj))
FORWARD(HPDF_STATUS, HPDF_Dict_AddName, (HPDF_Dict dict, const char* key, const char* value),
        (dict, key, value))
FORWARD(HPDF_Dict, HPDF_Dict_New, (HPDF_MMgr mmgr), (mmgr))
FORWARD(HPDF_STATUS, HPDF_GetContents, (HPDF_Doc pdf, HPDF_BYTE* buf, HPDF_UINT32* size),
        (pdf, buf, size))
FORWARD(HPDF_Font, HPDF_GetFont, (HPDF_Doc pdf, const char* font_name, const char* encoding_name),
        (pdf, font_name, encoding_name))
FORWARD(HPDF_UINT32, HPDF_GetStreamSize, (HPDF_Doc pdf), (pdf))
FORWARD(const char*, HPDF_LoadType1FontFromFile,
        (HPDF_Doc pdf, const char* afm_file_name, const char* data_file_name),
        (pdf, afm_file_name, data_file_name))
FORWARD(HPDF_STATUS, HPDF_Page_BeginText, (HPDF_Page page), (page))
FORWARD(HPDF_STATUS, HPDF_Page_EndText, (HPDF_Page page), (page))
FORWARD(HPDF_STATUS, HPDF_Page_Fill, (HPDF_Page page), (page))
FORWARD(HPDF_STATUS, HPDF_Page_MoveTo, (HPDF_Page page, HPDF_REAL x, HPDF_REAL y), (page, x, y))
FORWARD(HPDF_STATUS, HPDF_Page_LineTo, (HPDF_Page page, HPDF_REAL x, HPDF_REAL y), (page, x, y))
FORWARD(HPDF_STATUS, HPDF_Page_CurveTo,
        (HPDF_Page page, HPDF_REAL x1, HPDF_REAL y1, HPDF_REAL x2, HPDF_REAL y2, HPDF_REAL x3,
         HPDF_REAL y3),
        (page, x1, y1, x2, y2, x3, y3))
FORWARD(HPDF_STATUS, HPDF_Page_ClosePath, (HPDF_Page page), (page))
FORWARD(HPDF_STATUS, HPDF_Page_Rectangle,
        (HPDF_Page page, HPDF_REAL x, HPDF_REAL y, HPDF_REAL width, HPDF_REAL height),
        (page, x, y, width, height))
FORWARD(HPDF_STATUS, HPDF_Page_SetCMYKFill,
        (HPDF_Page page, HPDF_REAL c, HPDF_REAL m, HPDF_REAL y, HPDF_REAL k), (page, c, m, y, k))
FORWARD(HPDF_STATUS, HPDF_Page_SetFontAndSize, (HPDF_Page page, HPDF_Font font, HPDF_REAL size),
        (page, font, size))
FORWARD(HPDF_STATUS, HPDF_Page_SetHeight, (HPDF_Page page, HPDF_REAL value), (page, value))
FORWARD(HPDF_STATUS, HPDF_Page_SetWidth, (HPDF_Page page, HPDF_REAL value), (page, value))
FORWARD(HPDF_STATUS, HPDF_Page_TextOut,
        (HPDF_Page page, HPDF_REAL xpos, HPDF_REAL ypos, const char* text), (page, xpos, ypos, text))
FORWARD(HPDF_STATUS, HPDF_SaveToStream, (HPDF_Doc pdf), (pdf))
FORWARD(HPDF_STATUS, HPDF_SetInfoAttr, (HPDF_Doc pdf, HPDF_InfoType type, const char* value),
        (pdf, type, value))
FORWARD(HPDF_STATUS, HPDF_SetInfoDateAttr, (HPDF_Doc pdf, HPDF_InfoType type, HPDF_Date value),
        (pdf, type, value))
FORWARD(void, HPDF_MD5Init, (struct HPDF_MD5Context* ctx), (ctx))
FORWARD(void, HPDF_MD5Update, (struct HPDF_MD5Context* ctx, const HPDF_BYTE* buf, HPDF_UINT32 len),
        (ctx, buf, len))
FORWARD(void, HPDF_MD5Final, (HPDF_BYTE digest[16], struct HPDF_MD5Context* ctx), (digest, ctx))
// The font subset: its metrics and program handed over from memory.
FORWARD(HPDF_UNICODE, HPDF_GryphNameToUnicode, (const char* gryph_name), (gryph_name))
FORWARD(HPDF_Stream, HPDF_MemStream_New, (HPDF_MMgr mmgr, HPDF_UINT buf_siz), (mmgr, buf_siz))
FORWARD(HPDF_STATUS, HPDF_Stream_Write, (HPDF_Stream stream, const HPDF_BYTE* ptr, HPDF_UINT size),
        (stream, ptr, size))
FORWARD(HPDF_STATUS, HPDF_Stream_Seek, (HPDF_Stream stream, HPDF_INT pos, HPDF_WhenceMode mode),
        (stream, pos, mode))
FORWARD(void, HPDF_Stream_Free, (HPDF_Stream stream), (stream))
FORWARD(HPDF_FontDef, HPDF_Type1FontDef_Load, (HPDF_MMgr mmgr, HPDF_Stream afm, HPDF_Stream font_data),
        (mmgr, afm, font_data))
FORWARD(void, HPDF_FontDef_Free, (HPDF_FontDef fontdef), (fontdef))
FORWARD(HPDF_STATUS, HPDF_List_Add, (HPDF_List list, void* item), (list, item))
FORWARD(HPDF_String, HPDF_String_New, (HPDF_MMgr mmgr, const char* value, HPDF_Encoder encoder),
        (mmgr, value, encoder))

}  // extern "C"
