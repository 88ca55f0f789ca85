// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/StatusIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {

constexpr int kSize = 32;

QPixmap Blank() {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QPen Mark() { return QPen(Qt::black, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

QPixmap Draw(int index) {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.5));
  switch (index) {
    case 1:
      p.setBrush(QColor(0, 255, 0));
      p.drawEllipse(QRectF(2, 2, 28, 28));
      p.setPen(Mark());
      p.drawPolyline(QPolygonF({QPointF(9, 16), QPointF(14, 22), QPointF(23, 10)}));
      break;
    case 2:
      p.setBrush(QColor(255, 255, 0));
      p.drawPolygon(QPolygonF({QPointF(16, 2), QPointF(30, 29), QPointF(2, 29)}));
      p.setPen(Mark());
      p.drawLine(QPointF(16, 11), QPointF(16, 20));
      p.drawPoint(QPointF(16, 25));
      break;
    case 3:
      p.setBrush(QColor(255, 128, 0));
      p.drawPolygon(QPolygonF({QPointF(16, 1), QPointF(31, 16), QPointF(16, 31), QPointF(1, 16)}));
      p.setPen(Mark());
      p.drawLine(QPointF(10, 16), QPointF(22, 16));
      break;
    case 4:
      p.setBrush(QColor(255, 0, 0));
      p.drawRect(QRectF(3, 3, 26, 26));
      p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(10, 10), QPointF(22, 22));
      p.drawLine(QPointF(22, 10), QPointF(10, 22));
      break;
    default: {
      // A screen with a waveform: the monitor itself.
      p.setBrush(QColor(30, 50, 110));
      p.drawRoundedRect(QRectF(1, 3, 30, 26), 4, 4);
      QPainterPath wave;
      wave.moveTo(4, 16);
      for (int x = 4; x <= 28; ++x) wave.lineTo(x, 16 - 8 * std::sin((x - 4) / 3.0));
      p.setPen(QPen(QColor(120, 255, 120), 2.5));
      p.setBrush(Qt::NoBrush);
      p.drawPath(wave);
    }
  }
  return pixmap;
}

}  // namespace

QIcon WindowIcon() { return QIcon(Draw(0)); }
QIcon StatusIcon(int index) { return QIcon(Draw(index)); }
