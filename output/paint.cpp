#include "paint.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "prepress.h"
#include "text8.h"

namespace strimlo {

namespace {

// Running out of memory is thrown, as for our own buffers; other failures are a "no".
bool succeeded(cairo_status_t status) {
  if (status == CAIRO_STATUS_NO_MEMORY) throw std::bad_alloc();
  return status == CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::uint32_t PreviewImage::pixel(int x, int y) const {
  std::uint32_t value;
  std::memcpy(&value, pixels.data() + static_cast<std::size_t>(y) * stride + x * 4, 4);
  return value;
}

namespace {

using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// Draws the layout with y upward; rowOffset device rows from the top are cut off, which
// lets a strip show exactly the rows of one full-size painting.
bool paint(cairo_surface_t* target, const Layout& layout, const Font& font, int rowOffset) {
  Context cr(cairo_create(target), cairo_destroy);
  if (!succeeded(cairo_status(cr.get()))) return false;
  const double top = static_cast<double>(layout.pixelsHigh) - rowOffset;
  auto dy = [top](double y) { return top - y; };

  cairo_set_source_rgba(cr.get(), 0, 0, 0, 1);
  cairo_set_antialias(cr.get(), layout.antialiasBars ? CAIRO_ANTIALIAS_DEFAULT
                                                     : CAIRO_ANTIALIAS_NONE);
  // One closed rectangle per dark run, filled once. Each edge is a module's centre plus
  // or minus half a module, each rounded to cairo's 24.8 fixed point on its own, as
  // cairo's stroker does: a pixel centre on a bar's edge falls as it always did.
  auto fixed = [](double v) { return std::nearbyint(v * 256.0) / 256.0; };
  const double half = static_cast<double>(layout.module) * 0.5;
  for (const DarkRun& run : layout.runs) {
    const double left = fixed(run.x0 + half) - fixed(half);
    const double right = fixed(run.x1 - half) + fixed(half);
    cairo_move_to(cr.get(), left, dy(run.y1));
    cairo_line_to(cr.get(), right, dy(run.y1));
    cairo_line_to(cr.get(), right, dy(run.y0));
    cairo_line_to(cr.get(), left, dy(run.y0));
    cairo_close_path(cr.get());
  }
  cairo_fill(cr.get());

  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_DEFAULT);
  // Ink alone (an A8 strip): glyphs are added rather than painted over. pixman has a fast
  // path for adding a glyph to A8 and none for painting over it, whose general path was a
  // fifth of a batch's time. Text never lies on a bar, so the two differ only where two
  // glyphs' edges share a pixel: at 72 dpi, two or three pixels by at most 10 levels.
  if (cairo_image_surface_get_format(target) == CAIRO_FORMAT_A8)
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_ADD);
  cairo_set_font_face(cr.get(), static_cast<cairo_font_face_t*>(font.drawingFace()));
  cairo_set_font_options(cr.get(), static_cast<cairo_font_options_t*>(Font::cairoOptions()));
  const Font* face = &font;
  for (const TextItem& text : layout.texts) {
    if (const Font& wanted = font.forText(text.text); &wanted != face) {
      face = &wanted;
      cairo_set_font_face(cr.get(), static_cast<cairo_font_face_t*>(face->drawingFace()));
    }
    cairo_set_font_size(cr.get(), text.size);
    // The anchor is the lower-left corner of the layout box; the baseline is a descent up.
    cairo_move_to(cr.get(), text.x, dy(text.y + font.descent(text.size)));
    cairo_show_text(cr.get(), text8ToUtf8(text.text).c_str());
  }
  cairo_surface_flush(target);
  return succeeded(cairo_status(cr.get()));
}

// Beside the light margins of a preview with quiet zones: a pale grey, so the white that
// is left shows how far the file's box reaches.
bool shadeBesideLightMargins(cairo_surface_t* target, const Layout& layout) {
  if (layout.lightX1 <= layout.lightX0) return true;
  Context cr(cairo_create(target), cairo_destroy);
  cairo_set_source_rgb(cr.get(), 0.92, 0.92, 0.92);
  cairo_rectangle(cr.get(), 0, 0, layout.lightX0, layout.pixelsHigh);
  cairo_rectangle(cr.get(), layout.lightX1, 0, layout.pixelsWide - layout.lightX1,
                  layout.pixelsHigh);
  cairo_fill(cr.get());
  return cairo_status(cr.get()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace

TextItem inFace(const TextItem& text, const Font& font) {
  const Font* sans = Font::helvetica();
  if (sans == nullptr || text.text.empty() || font.forText(text.text).face() == TypeFace::Sans)
    return text;
  TextItem set = text;
  const float width = font.measure(text.text, text.size).width;
  const char first = text.text[0];
  if (text.text.size() == 1 && first >= '0' && first <= '9') {
    set.x += (kDigitAdvance * text.size - width) / 2;
    return set;
  }
  // The light margins' marks keep their tips where Helvetica's are: on the box's edge.
  if (text.text == ">") {
    set.x += kGreaterTip * text.size - font.ink(text.text, text.size).second;
    return set;
  }
  if (text.text == "<") {
    set.x += kLessTip * text.size - font.ink(text.text, text.size).first;
    return set;
  }
  const float room = sans->measure(text.text, text.size).width;
  if (width > room && width > 0) {
    // The box's lower edge is the baseline less a descent, which shrinks with the size.
    set.size = text.size * room / width;
    set.y = text.y + font.descent(text.size) - font.descent(set.size);
  }
  return set;
}

void setInFace(Layout& layout, const Font& font) {
  for (TextItem& text : layout.texts) text = inFace(text, font);
}

std::optional<PreviewImage> paintPreview(const Layout& layout, const Font& font) {
  if (layout.pixelsWide <= 0 || layout.pixelsHigh <= 0 || layout.pixelsWide > kMaxSurfaceSide ||
      layout.pixelsHigh > kMaxSurfaceSide)
    return std::nullopt;
  PreviewImage image;
  image.width = layout.pixelsWide;
  image.height = layout.pixelsHigh;
  image.stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, image.width);
  if (image.stride <= 0) return std::nullopt;
  image.pixels.assign(static_cast<std::size_t>(image.stride) * image.height, 0xFF);  // white
  Surface surface(cairo_image_surface_create_for_data(image.pixels.data(), CAIRO_FORMAT_ARGB32,
                                                      image.width, image.height, image.stride),
                  cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  if (!shadeBesideLightMargins(surface.get(), layout) || !paint(surface.get(), layout, font, 0))
    return std::nullopt;
  return image;
}

bool paintInkStrip(const Layout& layout, const Font& font, int firstRow, int rowCount,
                   std::uint8_t* dst, std::size_t stride) {
  const int width = layout.pixelsWide;
  if (width <= 0 || width > kMaxSurfaceSide || rowCount <= 0 || stride < static_cast<std::size_t>(width))
    return false;
  const int cairoStride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, width);
  const bool direct = stride == static_cast<std::size_t>(cairoStride);
  std::vector<std::uint8_t> scratch;
  std::uint8_t* rows = dst;
  if (!direct) {
    scratch.resize(static_cast<std::size_t>(cairoStride) * rowCount);
    rows = scratch.data();
  } else {
    std::memset(rows, 0, stride * rowCount);
  }
  Surface surface(cairo_image_surface_create_for_data(rows, CAIRO_FORMAT_A8, width, rowCount,
                                                      cairoStride),
                  cairo_surface_destroy);
  if (!succeeded(cairo_surface_status(surface.get()))) return false;
  if (!paint(surface.get(), layout, font, firstRow)) return false;
  if (!direct) {
    for (int r = 0; r < rowCount; ++r)
      std::memcpy(dst + stride * r, rows + static_cast<std::size_t>(cairoStride) * r, width);
  }
  return true;
}

}  // namespace strimlo
