// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "bus/I2cAdapters.h"

// The rows of the board chooser: the machine's DVB frontends and I2C
// adapters as --list-buses finds them, the built-in simulated boards and
// the entry that asks for a board file. Listing reads sysfs and the nodes'
// modes only: nothing is opened or probed until the user picks.
struct BoardChoice {
  enum class Kind { Frontend, I2cAdapter, Simulated, BoardFile };
  Kind kind = Kind::Simulated;
  std::string bus;     // the --bus value it opens; empty for the board-file entry and notes
  std::string label;   // what the row says
  std::string whyNot;  // why it may not be opened; empty when it may
  std::string todo;    // what to do so that it may, or about what it lacks
  bool mayOpen() const { return whyNot.empty() && (!bus.empty() || kind == Kind::BoardFile); }
};

inline const std::string kBoardFileLabel = "Open a board file…";

std::vector<BoardChoice> ListBoardChoices(const I2cAdapterRoots& roots, const Credentials& who);

// Puts the row that opens `bus` first; a board file that is not in the list
// gets a row of its own there. Nothing changes for an empty or unknown bus.
void PutRememberedFirst(std::vector<BoardChoice>& choices, const std::string& bus);
