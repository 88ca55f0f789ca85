// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <vector>

// The command line. The four switches count wherever their text occurs in
// the whole line, in any case; the long options are whole words.
struct CommandLine {
  bool debug = false;
  bool demod2 = false;
  bool notray = false;
  bool tda = false;

  // --bus=sim:<chip> | sim:<file>.json | /dev/i2c-N | N | i2c-N | <adapter name>;
  // empty: none
  std::string bus;
  bool trace = false;
  bool headless = false;
  bool json = false;
  std::optional<long> polls;  // headless: stop after this many polls
  long intervalMs = 1000;     // headless: pause between polls
  bool help = false;
  bool version = false;
  bool listBuses = false;  // list the I2C adapters and end
  bool readOnly = false;   // refuse every write to the bus
  std::string capture;     // capture the board into this board file and end
  std::string record;      // --record=FILE or --record FILE: one record a poll

  // Words that are neither a switch nor a long option, with a reason.
  std::vector<std::string> errors;
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);
// The version line, then the options.
std::string UsageText();
std::string VersionText();
