// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QGraphicsItem>
#include <cstdint>

#include "monitor/SignalHistory.h"

// The history's lines, spans and marks, painted straight into the chart's
// plot area. The chart keeps the axes, grid, legend and rubber band; its own
// series would place and stroke every point again on each poll, which costs
// milliseconds at a day of history where this costs a fraction of one.
class HistoryPlot : public QGraphicsItem {
 public:
  static inline const QColor kSnrColor{0, 90, 200};
  static inline const QColor kAverageColor{0, 150, 60};
  static inline const QColor kLockLostColor{230, 0, 0, 70};
  static inline const QColor kNoAnswerColor{110, 110, 110, 110};
  static inline const QColor kUncorrectableColor{220, 120, 0};
  static inline const QColor kEventColor{140, 0, 170};
  // How far from a mark, in pixels, the pointer still shows its event.
  static constexpr double kMarkReach = 5;

  explicit HistoryPlot(QGraphicsItem* parent = nullptr);

  // What to draw: the data of [fromMs, toMs], the dB axis from 0 to dbTop
  // and the errors axis from 0 to errorsTop.
  void Show(ChartData data, int64_t fromMs, int64_t toMs, double dbTop, double errorsTop);
  // The plot area, in the chart's coordinates.
  void SetArea(const QRectF& area);

  const ChartData& data() const { return data_; }
  // The events of the mark nearest to `at` (the chart's coordinates) within
  // kMarkReach, one a line; empty when there is none.
  QString EventsAt(const QPointF& at) const;
  QRectF boundingRect() const override { return area_; }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 private:
  double X(int64_t ms) const;
  double Y(double value, double top) const;

  ChartData data_;
  int64_t fromMs_ = 0, toMs_ = 1;
  double dbTop_ = 1, errorsTop_ = 1;
  QRectF area_;
};
