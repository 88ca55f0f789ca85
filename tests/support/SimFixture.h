// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bus/Bus.h"
#include "sim/BoardFile.h"
#include "sim/SimBoard.h"

// A board parsed from JSON text, opened as type 24, with a Bus over it.
struct FileBoard {
  std::unique_ptr<SimBoard> board;
  std::unique_ptr<Bus> bus;

  explicit FileBoard(const std::string& json) {
    std::string error;
    board = ParseBoard(json, "test.json", error);
    if (!board) ADD_FAILURE() << error;
    if (!board) board = std::make_unique<SimBoard>();
    bus = std::make_unique<Bus>(*board);
    bus->handle = board->velI2C_InitByType(24, 0);
  }
  SimDevice& device(int address) { return *board->DeviceAt(address); }
};

// One device with register overrides, e.g. OneChip("s5h1409", "\"0xF2\": 1").
inline std::string OneChip(const std::string& chip, const std::string& registers = "",
                           const std::string& address = "") {
  return "{\"devices\":[{\"chip\":\"" + chip + "\"" +
         (address.empty() ? "" : ",\"address\":\"" + address + "\"") + ",\"registers\":{" +
         registers + "}}]}";
}
