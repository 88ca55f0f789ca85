// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the history chart of a simulated S5H1409, polled once a second for a
// quarter of an hour, that lost its lock for a minute and later vanished
// from the bus for two, and saves it as a picture (for the README):
// quovis_history_screenshot FILE.png
#include <QApplication>
#include <QScrollBar>
#include <chrono>
#include <iostream>

#include "SimSession.h"
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
  if (!chart.grab().save(argv[1])) {
    std::cerr << "cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
