// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QWidget>
#include <cstdint>

#include "monitor/SignalHistory.h"

class HistoryPlot;
class QChart;
class QChartView;
class QDateTimeAxis;
class QScrollBar;
class QValueAxis;

// The signal over time: SNR and average, spans without lock or without an
// answer, and marks where uncorrectable errors came. Shows the last ten
// minutes and follows new polls until the user zooms or scrolls back.
class HistoryWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int64_t kDefaultSpanMs = int64_t{10} * 60 * 1000;
  static constexpr int64_t kShortestSpanMs = int64_t{10} * 1000;

  explicit HistoryWindow(const SignalHistory& history, QWidget* parent = nullptr);

  // Draws the visible stretch again from the history.
  void Refresh();
  // Narrows (factor below 1) or widens the visible stretch about its middle.
  void ZoomBy(double factor);
  // Shows [fromMs, toMs]; following resumes when it reaches the newest poll.
  void ShowRange(int64_t fromMs, int64_t toMs);
  void ShowLatest();

  // What the chart draws now.
  const HistoryPlot& plot() const { return *plot_; }
  QDateTimeAxis* timeAxis() const { return time_; }
  QScrollBar* scrollBar() const { return scroll_; }
  QChartView* chartView() const { return view_; }
  // What the pointer at `viewportPos` over the chart shows in its tooltip:
  // the events of the mark there, empty away from every mark.
  QString EventsAt(const QPoint& viewportPos) const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RangeChangedByChart(int64_t fromMs, int64_t toMs);
  void Scrolled(int seconds);
  int64_t NewestMs() const;

  const SignalHistory& history_;
  QChart* chart_;
  QChartView* view_;
  HistoryPlot* plot_;
  QDateTimeAxis* time_;
  QValueAxis *db_, *errors_;
  QScrollBar* scroll_;

  int64_t spanMs_ = kDefaultSpanMs;
  int64_t endMs_ = 0;
  bool following_ = true;
  bool drawing_ = false;
  // What the chart shows now, to skip redraws that would change nothing.
  struct DrawnKey {
    int64_t fromMs = 0, toMs = 0;
    int columns = 0;
    int64_t newestMs = 0, oldestMs = 0;
    size_t samples = 0;
    bool operator==(const DrawnKey&) const = default;
  };
  DrawnKey drawn_;
};
