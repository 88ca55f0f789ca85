// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/SimBoard.h"

// Device models by chip name. A model fixes the chip's protocol and the
// default register contents that pass its driver's probe; a live model's
// signal wanders, a static one changes only through writes.
struct SimChip {
  using Factory = std::function<std::unique_ptr<SimDevice>(bool live)>;

  // Most chips are boards of their own with no companion.
  SimChip(int address, Factory factory, std::string companionPart = "", bool board = true)
      : defaultAddress(address),
        make(std::move(factory)),
        companion(std::move(companionPart)),
        builtInBoard(board) {}

  int defaultAddress;
  Factory make;
  // A chip that answers at a second address too: the model of that part,
  // added at its default address wherever this chip is put on a board.
  std::string companion;
  // False for a part that is no board of its own: a companion, or a tuner
  // part with no demodulator in front of it.
  bool builtInBoard;
};

void RegisterSimChip(const std::string& chip, SimChip model);
const SimChip* FindSimChip(const std::string& chip);
std::vector<std::string> SimChipNames();

// Built-in boards by name, for sim:<name>. A name that is only a chip gives
// a board with that chip, live, at its default address.
using SimBoardBuilder = std::function<void(SimBoard&)>;
void RegisterSimBoard(const std::string& name, SimBoardBuilder build);
// Added to every built-in board after its own devices.
void RegisterSimBoardExtra(SimBoardBuilder build);

// nullptr with a reason when there is no such board.
std::unique_ptr<SimBoard> MakeBuiltInBoard(const std::string& name, std::string& error);
std::vector<std::string> BuiltInBoardNames();

struct SimChipRegistration {
  SimChipRegistration(const std::string& chip, SimChip model) {
    RegisterSimChip(chip, std::move(model));
  }
};
struct SimBoardRegistration {
  SimBoardRegistration(const std::string& name, SimBoardBuilder build) {
    RegisterSimBoard(name, std::move(build));
  }
};
struct SimBoardExtraRegistration {
  explicit SimBoardExtraRegistration(SimBoardBuilder build) {
    RegisterSimBoardExtra(std::move(build));
  }
};
