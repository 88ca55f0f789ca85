// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "app/Startup.h"
#include "monitor/Monitor.h"
#include "sim/SimRegistry.h"
#include "support/RecordingLibrary.h"

// A built-in board behind a recording library with the program's start-up
// run on it: the monitor shows the driver detection found and watches the
// bus's reads. The board's clock is pinned to `seconds` when given.
struct StartedBoard {
  std::unique_ptr<SimBoard> board;
  std::unique_ptr<RecordingLibrary> rec;
  std::unique_ptr<Bus> bus;
  std::unique_ptr<Monitor> monitor;
  std::unique_ptr<Detection> detection;
  Startup startup;

  explicit StartedBoard(const std::string& name, const CommandLine& cl = {},
                        std::optional<double> seconds = {}, unsigned seed = 1) {
    std::string error;
    board = MakeBuiltInBoard(name, error);
    if (seconds) board->SetClock([at = *seconds] { return at; });
    rec = std::make_unique<RecordingLibrary>(*board, seed);
    bus = std::make_unique<Bus>(*rec);
    monitor = std::make_unique<Monitor>(cl.debug, cl.readOnly);
    detection = std::make_unique<Detection>(BuiltInDrivers(*bus, *monitor));
    startup = RunStartup(cl, *bus, *detection, true);
    monitor->model.title = startup.title;
    monitor->SetDriver(startup.driver);
    monitor->WatchReads(bus.get());
  }
};
