// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include "app/CommandLine.h"
#include "bus/Bus.h"
#include "monitor/Detection.h"

class MonitorView;

inline const std::string kNoBoardMessage = "Did not find a Tarnwick board";
// The line added on stderr after the no-board message.
inline const std::string kChooseBusHint =
    "Choose a bus: --bus=/dev/i2c-N for a real card (quovis --list-buses shows them), "
    "or --bus=sim:<board> for a simulated board (see quovis --help).";
inline const std::string kDesignTitle = "Digital Signal Quality";

// The start-up up to the first poll: open the board (type 24, then 18),
// apply the second-demodulator switch, detect the demodulator and title the
// window. On failure `message` holds the text for the message box.
struct Startup {
  bool ok = false;
  std::string message;
  std::string title = kDesignTitle;
  Demodulator* driver = nullptr;
  std::string driverClass;
};

Startup RunStartup(const CommandLine& cl, Bus& bus, Detection& detection, bool simulated);
