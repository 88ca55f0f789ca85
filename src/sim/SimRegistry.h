// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monitor/DriverRegistry.h"
#include "sim/SimBoard.h"

// The chips by name: each chip registers here, in one place, its simulated
// model and, when it has one, its demodulator driver. A model fixes the
// chip's protocol and the default register contents that pass its driver's
// probe. On a live board its signal wanders (the board calls Advance); a
// model that also reads differently when live takes the flag from `make`.
struct SimChip {
  using Factory = std::function<std::unique_ptr<SimDevice>(bool live)>;

  // The chip's 7-bit I2C address. The bus calls and board files name it in
  // its 8-bit form, busAddress().
  int address7 = 0;
  Factory make{};
  // A chip that answers at a second address too: the model of that part,
  // added at its default address wherever this chip is put on a board.
  std::string companion{};
  // False for a part that is no board of its own: a companion, or a tuner
  // part with no demodulator in front of it.
  bool builtInBoard = true;
  // What the board lists add after the name, e.g. "DVB-T"; mostly empty.
  std::string description{};
  // The driver of the chip's family (variants share one and leave this
  // empty), registered under the chip's name and probed in ascending rank.
  int probeRank = 0;
  DriverFactory driver{};

  int busAddress() const { return address7 << 1; }
};

template <class Model>
SimChip::Factory ModelClass() {
  return [](bool) { return std::make_unique<Model>(); };
}

void RegisterSimChip(const std::string& chip, SimChip model);
const SimChip* FindSimChip(const std::string& chip);
std::vector<std::string> SimChipNames();

// Built-in boards by name, for sim:<name>. A name that is only a chip gives
// a board with that chip, live, at its default address.
using SimBoardBuilder = std::function<void(SimBoard&)>;
void RegisterSimBoard(const std::string& name, SimBoardBuilder build,
                      const std::string& description = "");
// Added to every built-in board after its own devices.
void RegisterSimBoardExtra(SimBoardBuilder build);

// nullptr with a reason when there is no such board.
std::unique_ptr<SimBoard> MakeBuiltInBoard(const std::string& name, std::string& error);
std::vector<std::string> BuiltInBoardNames();
// A built-in board's description ("" for most).
std::string BoardDescription(const std::string& name);

struct SimChipRegistration {
  SimChipRegistration(const std::string& chip, SimChip model) {
    RegisterSimChip(chip, std::move(model));
  }
};
struct SimBoardRegistration {
  SimBoardRegistration(const std::string& name, SimBoardBuilder build,
                       const std::string& description = "") {
    RegisterSimBoard(name, std::move(build), description);
  }
};
struct SimBoardExtraRegistration {
  explicit SimBoardExtraRegistration(SimBoardBuilder build) {
    RegisterSimBoardExtra(std::move(build));
  }
};
