// SPDX-License-Identifier: GPL-3.0-or-later
// How long one redraw of the history chart takes after a poll, with a day of
// polls (one a second) behind it, offscreen: the decimation alone, the
// redraw (decimate and hand the points to the chart) and painting the chart.
// Each redraw follows a new poll, as in the window, so nothing is reused
// that a real poll would not let be reused. Median of many redraws.
#include <QApplication>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "monitor/gui/HistoryPlot.h"
#include "monitor/gui/HistoryWindow.h"

namespace {

constexpr int kDay = 86400;
constexpr int kRedraws = 300;

Reading PollAt(int second) {
  Reading r;
  r.timestamp = std::chrono::system_clock::time_point(std::chrono::seconds(1700000000 + second));
  // A dropout every hour for a minute, and lock lost now and then.
  r.answering = second % 3600 >= 60;
  r.locks[Reading::MasterLock] = second % 997 == 0 ? 0 : 1;
  r.snr = r.answering ? float(22 + 2 * std::sin(second / 7.0)) : 0;
  r.average = r.answering ? float(22 + std::sin(second / 30.0)) : 0;
  r.uncorrectable = (second % 60) / 12;
  return r;
}

double MedianUs(std::vector<double>& us) {
  std::sort(us.begin(), us.end());
  return us[us.size() / 2];
}

using Clock = std::chrono::steady_clock;
double Us(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::micro>(b - a).count();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SignalHistory history;
  int second = 0;
  for (; second < kDay; ++second) history.Append(PollAt(second));
  HistoryWindow chart(history);
  chart.resize(900, 420);
  chart.show();
  app.processEvents();
  const int columns = int(chart.chartView()->chart()->plotArea().width());

  std::printf("| shown | decimate | redraw (decimate + hand over) | paint | line points |\n");
  std::printf("|---|---|---|---|---|\n");
  for (int64_t spanMs : {int64_t(kDay) * 1000, HistoryWindow::kDefaultSpanMs}) {
    const int64_t newest = history[history.size() - 1].ms;
    chart.ShowRange(newest - spanMs, newest);
    chart.chartView()->viewport()->repaint();
    std::vector<double> decimate, redraw, paint;
    for (int i = 0; i < kRedraws; ++i) {
      history.Append(PollAt(second++));
      const int64_t to = history[history.size() - 1].ms;
      auto t0 = Clock::now();
      ChartData data = history.Decimate(to - spanMs, to, columns);
      auto t1 = Clock::now();
      if (data.snr.empty()) return 1;
      decimate.push_back(Us(t0, t1));
    }
    for (int i = 0; i < kRedraws; ++i) {
      history.Append(PollAt(second++));
      auto t0 = Clock::now();
      chart.Refresh();
      auto t1 = Clock::now();
      chart.chartView()->viewport()->repaint();
      auto t2 = Clock::now();
      redraw.push_back(Us(t0, t1));
      paint.push_back(Us(t1, t2));
    }
    std::printf("| %s at %d px | %.0f us | %.0f us | %.0f us | %lld + %lld |\n",
                spanMs > HistoryWindow::kDefaultSpanMs ? "the day" : "the last 10 minutes", columns,
                MedianUs(decimate), MedianUs(redraw), MedianUs(paint),
                (long long)chart.plot().data().snr.size(),
                (long long)chart.plot().data().average.size());
  }
  return 0;
}
