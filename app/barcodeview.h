#pragma once
// The live preview: holds the code type and the four texts, and on every paint asks the
// renderer for a fresh image of its own size; the help line when nothing can be drawn.
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "codetypes.h"
#include "font.h"
#include "gs1.h"

class QMimeData;

class BarcodeView : public QWidget {
  Q_OBJECT

 public:
  // What the view last handed the renderer, so tests can see the 8-bit texts.
  struct Request {
    std::string data, addOn, price, variant;
    int width = 0, height = 0;
    bool quietZones = false;
    strimlo::TypeFace face = strimlo::TypeFace::Sans;
  };

  explicit BarcodeView(QWidget* parent = nullptr);

  const QString& dataToEncode() const { return dataToEncode_; }
  const QString& addOn() const { return addOn_; }
  const QString& priceText() const { return priceText_; }
  const QString& variant() const { return variant_; }
  strimlo::CodeType type() const { return type_; }
  // Each setter stores and schedules a repaint, but only when the value really changes.
  void setDataToEncode(const QString& text);
  void setAddOn(const QString& text);
  void setPriceText(const QString& text);
  void setVariant(const QString& text);
  void setType(strimlo::CodeType type);
  bool quietZones() const { return quietZones_; }
  void setQuietZones(bool on);
  strimlo::TypeFace typeFace() const { return face_; }
  void setTypeFace(strimlo::TypeFace face);
  // A 2D type's elements, or a linear symbol's 2D companion, drawn beside it.
  const strimlo::Gs1Options& gs1() const { return gs1_; }
  void setGs1(const strimlo::Gs1Options& gs1);

  // What a drag from the view carries; none (no drag) when nothing can be drawn.
  using DragSource = std::function<std::unique_ptr<QMimeData>()>;
  void setDragSource(DragSource source) { dragSource_ = std::move(source); }

  // Where the help line is looked up (tests point this at a list without one).
  void setPropertyList(const QString& path) { propertyList_ = path; }

  int paintCount() const { return paints_; }
  int rendererCalls() const { return rendererCalls_; }
  const Request& lastRequest() const { return lastRequest_; }

  QSize sizeHint() const override { return {560, 260}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void storeText(QString& field, const QString& text);
  void drawSymbol(QPainter& painter);
  void drawHelp(QPainter& painter);
  void drawFocus(QPainter& painter);

  QString dataToEncode_;
  QString addOn_;
  QString priceText_;
  QString variant_;
  strimlo::CodeType type_ = strimlo::kEAN13;
  bool quietZones_ = false;
  strimlo::TypeFace face_ = strimlo::TypeFace::Sans;
  strimlo::Gs1Options gs1_;
  QString propertyList_;
  int paints_ = 0;
  int rendererCalls_ = 0;
  Request lastRequest_;
  DragSource dragSource_;
  QPoint pressedAt_{-1, -1};
  bool focusShown_ = false;  // reached from the keyboard: a frame shows where the focus is
};
