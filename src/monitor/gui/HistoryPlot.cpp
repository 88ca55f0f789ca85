// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/gui/HistoryPlot.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

HistoryPlot::HistoryPlot(QGraphicsItem* parent) : QGraphicsItem(parent) {}

void HistoryPlot::Show(ChartData data, int64_t fromMs, int64_t toMs, double dbTop,
                       double errorsTop) {
  data_ = std::move(data);
  fromMs_ = fromMs;
  toMs_ = std::max(toMs, fromMs + 1);
  dbTop_ = std::max(dbTop, 1e-9);
  errorsTop_ = std::max(errorsTop, 1e-9);
  update();
}

void HistoryPlot::SetArea(const QRectF& area) {
  if (area == area_) return;
  prepareGeometryChange();
  area_ = area;
  update();
}

double HistoryPlot::X(int64_t ms) const {
  return area_.left() + double(ms - fromMs_) * area_.width() / double(toMs_ - fromMs_);
}

double HistoryPlot::Y(double value, double top) const {
  return area_.bottom() - std::clamp(value / top, 0.0, 1.0) * area_.height();
}

void HistoryPlot::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  if (area_.isEmpty()) return;
  painter->save();
  painter->setClipRect(area_.toAlignedRect());  // a whole-pixel clip keeps filling fast
  painter->setRenderHint(QPainter::Antialiasing, false);
  // The spans cover the plot's whole height, so one row of pixels holds
  // them all, stretched over the height in one draw. The raster engine hands
  // each tall fill to its threads; a fill per span would pay that hand-over
  // a hundred times at a day of history.
  const int width = area_.toAlignedRect().width();
  QImage strip(width, 1, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter shade(&strip);
  auto addSpans = [&](const std::vector<TimeSpan>& spans, const QColor& color) {
    for (const TimeSpan& s : spans) {
      // At least a pixel wide, so a single silent poll shows.
      const int left = int(std::floor(X(s.fromMs) - area_.left()));
      const int right = std::max(left + 1, int(std::ceil(X(s.toMs) - area_.left())));
      shade.fillRect(QRect(left, 0, right - left, 1), color);
    }
  };
  addSpans(data_.noAnswer, kNoAnswerColor);
  addSpans(data_.lockLost, kLockLostColor);
  shade.end();
  painter->drawImage(QRectF(area_.left(), area_.top(), width, area_.height()), strip);

  auto line = [&](const std::vector<ChartPoint>& points, const QColor& color) {
    QPolygonF polyline;
    polyline.reserve(qsizetype(points.size()));
    for (const ChartPoint& p : points) polyline << QPointF(X(p.ms), Y(p.value, dbTop_));
    painter->setPen(QPen(color, 0));  // cosmetic: the fast one-pixel line
    painter->drawPolyline(polyline);
  };
  line(data_.average, kAverageColor);
  line(data_.snr, kSnrColor);
  // Each mark a small triangle standing on its count, drawn one by one:
  // small fills stay on this thread, where one path of them all would not.
  painter->setPen(Qt::NoPen);
  painter->setBrush(kUncorrectableColor);
  for (const ChartPoint& p : data_.uncorrectable) {
    const QPointF at(X(p.ms), Y(p.value, errorsTop_));
    const QPointF corners[] = {at + QPointF(-4, 3), at + QPointF(4, 3), at + QPointF(0, -4)};
    painter->drawConvexPolygon(corners, 3);
  }
  // Each event a dashed line over the whole height, with a diamond at the
  // top to point at.
  for (const EventMark& e : data_.events) {
    const double x = std::round(X(e.ms)) + 0.5;
    painter->setPen(QPen(kEventColor, 0, Qt::DashLine));
    painter->drawLine(QPointF(x, area_.top()), QPointF(x, area_.bottom()));
    painter->setPen(Qt::NoPen);
    painter->setBrush(kEventColor);
    const QPointF at(x, area_.top() + 5);
    const QPointF corners[] = {at + QPointF(0, -5), at + QPointF(5, 0), at + QPointF(0, 5),
                               at + QPointF(-5, 0)};
    painter->drawConvexPolygon(corners, 4);
  }
  painter->restore();
}

QString HistoryPlot::EventsAt(const QPointF& at) const {
  if (!area_.adjusted(-kMarkReach, -kMarkReach, kMarkReach, kMarkReach).contains(at)) return {};
  const EventMark* nearest = nullptr;
  double best = kMarkReach;
  for (const EventMark& e : data_.events) {
    const double distance = std::fabs(X(e.ms) - at.x());
    if (distance <= best) best = distance, nearest = &e;
  }
  return nearest ? QString::fromStdString(nearest->text) : QString();
}
