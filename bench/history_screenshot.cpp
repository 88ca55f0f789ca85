// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the history chart of a simulated S5H1409, polled once a second for a
// quarter of an hour, that lost its lock for a minute and later vanished
// from the bus for two, with the tooltip of an event's mark, and
// saves it as a picture (for the README):
// quovis_history_screenshot FILE.png
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QScreen>
#include <QScrollBar>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <chrono>
#include <iostream>

#include "SimSession.h"
#include "monitor/gui/HistoryPlot.h"
#include "monitor/gui/HistoryWindow.h"
#include "monitor/gui/frmQuovis.h"
#include "sim/SimBoard.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: quovis_history_screenshot FILE.png\n";
    return 2;
  }
  std::unique_ptr<Session> started = StartSimSession();
  if (!started) return 1;
  Session& session = *started;
  frmQuovis window(session.monitor());
  SimBoard& board = *session.backend().simBoard;
  // One simulated second per poll, stamped on the wall clock of the last
  // quarter of an hour.
  int second = 0;
  board.SetClock([&] { return double(second); });
  const auto start = std::chrono::system_clock::now() - std::chrono::minutes(15);
  session.monitor().clock = [&] { return start + std::chrono::seconds(second); };
  std::string ignored;
  for (; second < 900; ++second) {
    // The chip holds still, all lock bits clear, then wanders locked again.
    if (second == 180) board.live = false, board.DeviceAt(0x32)->SetRegister(0xF1, 830, ignored);
    if (second == 240) board.live = true;
    if (second == 420) board.SetFault(0x32, {.nak = true});  // the board vanishes
    if (second == 540) board.SetFault(0x32, {});             // and comes back
    session.monitor().Poll();
  }
  HistoryWindow& chart = *window.historyWindow();
  chart.resize(900, 420);
  chart.show();
  chart.ShowRange(
      std::chrono::duration_cast<std::chrono::milliseconds>(start.time_since_epoch()).count(),
      window.history()[window.history().size() - 1].ms);
  for (int i = 0; i < 5; ++i) app.processEvents();
  // The pointer on the second event's mark (the lock back): its tooltip
  // tells the event.
  const HistoryPlot& plot = chart.plot();
  QPoint mark;
  if (plot.data().events.size() >= 2) {
    const QRectF area = plot.boundingRect();
    const qint64 from = chart.timeAxis()->min().toMSecsSinceEpoch();
    const qint64 to = chart.timeAxis()->max().toMSecsSinceEpoch();
    const double x =
        area.left() + double(plot.data().events[1].ms - from) * area.width() / double(to - from);
    QChartView* view = chart.chartView();
    mark = view->mapFromScene(view->chart()->mapToScene(QPointF(x, area.top() + 5)));
    QHelpEvent help(QEvent::ToolTip, mark, view->viewport()->mapToGlobal(mark));
    QApplication::sendEvent(view->viewport(), &help);
    // Long enough for the tooltip to fade in.
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 600) app.processEvents();
  }
  // The screen, for the tooltip's own window beside the chart's.
  const QPixmap shot = mark.isNull() ? chart.grab()
                                     : chart.screen()->grabWindow(0, chart.x(), chart.y(),
                                                                  chart.width(), chart.height());
  if (!shot.save(argv[1])) {
    std::cerr << "cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
