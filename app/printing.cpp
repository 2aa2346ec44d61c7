#include "printing.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <cmath>

#include "choices.h"
#include "font.h"
#include "paint.h"
#include "stages.h"
#include "symbolexport.h"
#include "text8.h"

namespace strimlo {

namespace {

// Glyph outlines are taken at this size and scaled down, so no size is rounded.
constexpr int kGlyphPixels = 1000;

QPainterPath textPath(const TextItem& item, const Font& font) {
  QFont face;
  // The face of the files: Helvetica as fontconfig finds it, Nimbus Sans, or OCR-B.
  if (font.face() == TypeFace::OcrB)
    face.setFamilies({QStringLiteral("OCR B")});
  else
    face.setFamilies({QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
  face.setPixelSize(kGlyphPixels);
  face.setKerning(false);
  face.setHintingPreference(QFont::PreferNoHinting);
  QPainterPath glyphs;
  glyphs.addText(0, 0, face, QString::fromStdString(text8ToUtf8(item.text)));
  // The anchor is the lower-left corner of the layout box; the baseline is a descent up.
  // Glyphs come y downward, the layout is y upward.
  const double scale = item.size / kGlyphPixels;
  const double baseline = item.y + font.descent(item.size);
  return QTransform(scale, 0, 0, -scale, item.x, baseline).map(glyphs);
}

// Lays the page out in layout units, y upward, with the symbol's box in the middle of
// the paper at its real size.
void placeOnPaper(QPainter& painter, const QPrinter& printer, const Layout& layout) {
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  const double dots = printer.resolution() / static_cast<double>(layout.dpi);  // dots per unit
  const double width = layout.width * dots, height = layout.height * dots;
  painter.translate((paper.width() - width) / 2, (paper.height() - height) / 2 + height);
  painter.scale(dots, -dots);
}

}  // namespace

// One rectangle per dark run of the layout.
std::vector<QRectF> darkRects(const Layout& layout) {
  std::vector<QRectF> rects;
  rects.reserve(layout.runs.size());
  for (const DarkRun& run : layout.runs)
    rects.emplace_back(QPointF(run.x0, run.y0), QPointF(run.x1, run.y1));
  return rects;
}

bool printSymbol(QPrinter& printer, const SymbolChoice& choice) {
  // The stages as every other output takes them: the symbol completed once, laid out as
  // a PDF page is (points, prepress exact), and drawn as vector shapes in the chosen face.
  // Only the page transform turns points into the printer's dots.
  const Request request = requestFor(choice, kPDF);
  const Completed c = complete(request);
  const Font* font = Font::of(choice.font);
  if (!c.symbol || !font) return false;
  Layout layout = layOut(*c.symbol, request);
  setInFace(layout, *font);
  printer.setFullPage(true);
  printer.setDocName(QString::fromLatin1(c.symbol->digits));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  placeOnPaper(painter, printer, layout);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  for (const QRectF& rect : darkRects(layout)) painter.drawRect(rect);
  for (const TextItem& text : layout.texts) painter.drawPath(textPath(text, *font));
  return painter.end();
}

}  // namespace strimlo
