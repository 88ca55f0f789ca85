// SPDX-License-Identifier: GPL-3.0-or-later
// Resident memory of the monitor window after many polls, with a day of
// history behind its chart, and of the console after many log lines: none
// may grow without bound.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QtCharts/QChartView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "SimSession.h"
#include "console/gui/ConsolePanel.h"
#include "monitor/gui/HistoryWindow.h"
#include "monitor/gui/frmQuovis.h"
#include "sim/SimBoard.h"

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::unique_ptr<Session> started = StartSimSession(/*debug=*/true);
  if (!started) return 1;
  Session& session = *started;
  frmQuovis window(session.monitor());
  auto* console = new ConsolePanel(session.bus(), &window);
  window.HostConsole(console);
  window.show();
  app.processEvents();
  std::printf("| start | %ld KiB |\n", ResidentKiB());
  std::fflush(stdout);

  auto start = std::chrono::steady_clock::now();
  for (int i = 1; i <= 10000; ++i) {
    session.monitor().Poll();
    window.Render();
    if (i % 100 == 0) app.processEvents();
  }
  double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("| after 10,000 polls with rendering | %ld KiB | %.1f us per poll and render |\n",
              ResidentKiB(), ms * 1000 / 10000);

  // A day of polls, one a second on the simulated clock, into the history.
  int second = 0;
  session.backend().simBoard->SetClock([&] { return double(second); });
  const auto dayStart = std::chrono::system_clock::now();
  session.monitor().clock = [&] { return dayStart + std::chrono::seconds(second); };
  for (; second < 86400; ++second) session.monitor().Poll();
  std::printf("| after a day of history (%zu samples) | %ld KiB |\n", window.history().size(),
              ResidentKiB());
  HistoryWindow& chart = *window.historyWindow();
  chart.resize(900, 420);
  chart.show();
  app.processEvents();
  const int64_t newestMs = window.history()[window.history().size() - 1].ms;
  // How long a redraw takes is quovis_history_redraw's measure.
  for (int64_t spanMs : {int64_t(86400) * 1000, HistoryWindow::kDefaultSpanMs}) {
    chart.ShowRange(newestMs - spanMs, newestMs);
    chart.chartView()->viewport()->repaint();
    std::printf("| chart of the last %s | %ld KiB |\n",
                spanMs > HistoryWindow::kDefaultSpanMs ? "day" : "10 minutes", ResidentKiB());
    std::fflush(stdout);
  }
  chart.hide();

  auto* read = console->findChild<QPushButton*>("cmdRead");
  auto* log = console->findChild<QListWidget*>("lstLog");
  for (int target = 1000; target <= 100000; target *= 10) {
    auto t0 = std::chrono::steady_clock::now();
    while (log->count() < target) read->click();
    std::printf(
        "| %d log lines | %ld KiB | %.0f ms to add them |\n", target, ResidentKiB(),
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    std::fflush(stdout);
  }
  app.processEvents();
  std::printf("| after %d console log lines | %ld KiB |\n", log->count(), ResidentKiB());
  return 0;
}
