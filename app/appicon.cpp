#include "appicon.h"

#include <QPainter>
#include <QPixmap>

namespace strimlo {

namespace {

struct Bar {
  int x, width, bottom;
};
// The bars of strimlo.svg, on its 64-unit grid: guards reach lower than the others.
constexpr Bar kBars[] = {{11, 2, 52}, {15, 2, 52}, {19, 4, 48}, {25, 2, 48}, {29, 5, 48},
                         {36, 2, 48}, {40, 4, 48}, {47, 2, 52}, {51, 2, 52}};

QPixmap drawIcon(int side) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / 64.0, side / 64.0);
  painter.setPen(QPen(QColor(0x88, 0x88, 0x88), 1));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(QRectF(2.5, 2.5, 59, 59), 6, 6);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  for (const Bar& bar : kBars) painter.drawRect(QRectF(bar.x, 12, bar.width, bar.bottom - 12));
  return pixmap;
}

}  // namespace

QIcon appIcon() {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(drawIcon(side));
  return icon;
}

}  // namespace strimlo
