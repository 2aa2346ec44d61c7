#include "barcodeview.h"

#include <new>
#include <optional>

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "choices.h"
#include "makecode.h"
#include "propertylist.h"

namespace {

// Our preview bitmap is cairo's premultiplied ARGB32, which is also Qt's layout: one
// copy, since the bitmap dies with the renderer's result.
QImage toQImage(const strimlo::PreviewImage& image) {
  const QImage view(image.pixels.data(), image.width, image.height, image.stride,
                    QImage::Format_ARGB32_Premultiplied);
  return view.copy();
}

}  // namespace

BarcodeView::BarcodeView(QWidget* parent)
    : QWidget(parent), propertyList_(strimlo::defaultPropertyList()) {
  // Every paint covers the whole view.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void BarcodeView::storeText(QString& field, const QString& text) {
  if (field == text) return;
  field = text;
  update();
}

void BarcodeView::setDataToEncode(const QString& text) { storeText(dataToEncode_, text); }
void BarcodeView::setAddOn(const QString& text) { storeText(addOn_, text); }
void BarcodeView::setPriceText(const QString& text) { storeText(priceText_, text); }

void BarcodeView::setType(strimlo::CodeType type) {
  if (type_ == type) return;
  type_ = type;
  update();
}

void BarcodeView::paintEvent(QPaintEvent*) {
  ++paints_;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  Request request{strimlo::latin1Text(dataToEncode_), strimlo::latin1Text(addOn_),
                  strimlo::latin1Text(priceText_), width(), height()};
  if (request.data.empty()) return;  // nothing typed: plain white, no help

  ++rendererCalls_;
  lastRequest_ = request;
  // The renderer works in the view's units (points); on a high-density screen the image
  // is stretched smoothly over the larger device area.
  std::optional<strimlo::PreviewImage> image;
  try {
    image = strimlo::MakeCode::PreviewCode(type_, request.data, request.addOn, request.price,
                                           request.width, request.height);
  } catch (const std::bad_alloc&) {
    // Out of memory for this size: the help text, as for any picture that cannot be made.
  }
  if (!image) {
    drawHelp(painter);
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QRectF(rect()), toQImage(*image));
}

void BarcodeView::drawHelp(QPainter& painter) {
  const QString help = strimlo::propertyText(propertyList_, QStringLiteral("NSHelp"));
  if (help.isEmpty()) return;
  QFont font(QStringLiteral("Helvetica"));
  font.setPixelSize(10);  // 10 points of the view, the unit the preview is drawn in
  painter.setFont(font);
  painter.setPen(Qt::black);
  // The text block sits 4 points from the left and 20 above the bottom edge; a longer
  // help stacks upward from there, its last line lowest.
  const QRect area(4, 0, std::max(0, width() - 8), std::max(0, height() - 20));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignBottom | Qt::TextDontClip, help);
}
