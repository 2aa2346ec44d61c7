#include "barcodeview.h"

#include <QApplication>
#include <QDrag>
#include <QFocusEvent>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <new>
#include <optional>

#include "choices.h"
#include "makecode.h"
#include "propertylist.h"
#include "renderers.h"

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
  // In the tab order, so Ctrl+C (copy) reaches it from the keyboard.
  setFocusPolicy(Qt::StrongFocus);
}

void BarcodeView::storeText(QString& field, const QString& text) {
  if (field == text) return;
  field = text;
  update();
}

void BarcodeView::setDataToEncode(const QString& text) { storeText(dataToEncode_, text); }
void BarcodeView::setAddOn(const QString& text) { storeText(addOn_, text); }
void BarcodeView::setPriceText(const QString& text) { storeText(priceText_, text); }
void BarcodeView::setVariant(const QString& text) { storeText(variant_, text); }

void BarcodeView::setType(strimlo::CodeType type) {
  if (type_ == type) return;
  type_ = type;
  update();
}

void BarcodeView::setQuietZones(bool on) {
  if (quietZones_ == on) return;
  quietZones_ = on;
  update();
}

void BarcodeView::setTypeFace(strimlo::TypeFace face) {
  if (face_ == face) return;
  face_ = face;
  update();
}

void BarcodeView::setGs1(const strimlo::Gs1Options& gs1) {
  if (gs1_ == gs1) return;
  gs1_ = gs1;
  update();
}

void BarcodeView::paintEvent(QPaintEvent*) {
  ++paints_;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  drawSymbol(painter);
  drawFocus(painter);
}

void BarcodeView::drawSymbol(QPainter& painter) {
  Request request{strimlo::text8(dataToEncode_), strimlo::text8(addOn_),
                  strimlo::text8(priceText_), strimlo::text8(variant_), width(),
                  height(), quietZones_, face_};
  if (request.data.empty()) return;  // nothing typed: plain white, no help

  ++rendererCalls_;
  lastRequest_ = request;
  // The renderer works in the view's units (points); on a high-density screen the image
  // is stretched smoothly over the larger device area.
  const std::string data = strimlo::withVariant(type_, request.data, request.variant);
  std::optional<strimlo::PreviewImage> image;
  strimlo::Prepress prepress;
  prepress.quietZones = request.quietZones;
  try {
    image = strimlo::renderPreview(type_, data, request.addOn, request.price, request.width,
                                   request.height, prepress, request.face, gs1_);
  } catch (const std::bad_alloc&) {
    // Out of memory for this size: the help text, as for any picture that cannot be made.
  }
  if (!image) {
    drawHelp(painter);
    return;
  }
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QRectF(rect()), toQImage(*image));
  painter.restore();
}

void BarcodeView::drawFocus(QPainter& painter) {
  if (!focusShown_) return;
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.rect = rect().adjusted(2, 2, -2, -2);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

// Only focus that came from the keyboard is framed: a click or the window's activation
// leaves the picture as the renderer drew it.
void BarcodeView::focusInEvent(QFocusEvent* event) {
  const Qt::FocusReason reason = event->reason();
  focusShown_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                reason == Qt::ShortcutFocusReason;
  update();
  QWidget::focusInEvent(event);
}

void BarcodeView::focusOutEvent(QFocusEvent* event) {
  focusShown_ = false;
  update();
  QWidget::focusOutEvent(event);
}

void BarcodeView::mousePressEvent(QMouseEvent* event) {
  pressedAt_ = event->button() == Qt::LeftButton ? event->position().toPoint() : QPoint(-1, -1);
  QWidget::mousePressEvent(event);
}

void BarcodeView::mouseMoveEvent(QMouseEvent* event) {
  const bool dragging = (event->buttons() & Qt::LeftButton) && pressedAt_.x() >= 0 &&
                        (event->position().toPoint() - pressedAt_).manhattanLength() >=
                            QApplication::startDragDistance();
  if (!dragging || !dragSource_) return;
  pressedAt_ = QPoint(-1, -1);
  std::unique_ptr<QMimeData> data = dragSource_();
  if (!data) return;
  auto* drag = new QDrag(this);
  const QImage picture = qvariant_cast<QImage>(data->imageData());
  if (!picture.isNull()) drag->setPixmap(QPixmap::fromImage(picture.scaledToWidth(160, Qt::SmoothTransformation)));
  drag->setMimeData(data.release());
  drag->exec(Qt::CopyAction);
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
