// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <vector>

// The command line. Long options are whole words, each given at most once,
// with its value after '=' or as the next word; "--" ends the options. The
// four switches are whole words too, in any case, with one dash or two.
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
  bool align = false;  // the alignment view: window, or one refreshed line headless
  bool json = false;
  std::optional<long> polls;  // headless: stop after this many polls
  long intervalMs = 1000;     // headless: pause between polls
  bool help = false;
  bool version = false;
  bool listBuses = false;  // list the I2C adapters and end
  bool readOnly = false;   // refuse every write to the bus
  std::string capture;     // capture the board into this board file and end
  std::string record;      // --record=FILE or --record FILE: one record a poll

  // What is wrong with the command line, "<what>: <why>" (the first fault
  // found); empty when nothing is.
  std::string error;
};

// The poll interval of --align unless --interval says otherwise.
constexpr long kAlignIntervalMs = 200;

CommandLine ParseCommandLine(const std::vector<std::string>& args);
// Every option as it is written: "--bus", ..., and the switches "-debug", ...
std::vector<std::string> OptionNames();
// The version line, then the options.
std::string UsageText();
std::string VersionText();
