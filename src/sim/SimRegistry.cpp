// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimRegistry.h"

#include <map>
#include <set>

namespace {
std::map<std::string, SimChip>& Chips() {
  static std::map<std::string, SimChip> chips;
  return chips;
}
struct Board {
  SimBoardBuilder build;
  std::string description;
};
std::map<std::string, Board>& Boards() {
  static std::map<std::string, Board> boards;
  return boards;
}
std::vector<SimBoardBuilder>& Extras() {
  static std::vector<SimBoardBuilder> extras;
  return extras;
}
}  // namespace

void RegisterSimChip(const std::string& chip, SimChip model) {
  if (model.driver) RegisterDriver(chip, model.probeRank, model.driver);
  Chips().insert_or_assign(chip, std::move(model));
}

const SimChip* FindSimChip(const std::string& chip) {
  auto it = Chips().find(chip);
  return it == Chips().end() ? nullptr : &it->second;
}

std::vector<std::string> SimChipNames() {
  std::vector<std::string> names;
  for (const auto& [name, chip] : Chips()) names.push_back(name);
  return names;
}

void RegisterSimBoard(const std::string& name, SimBoardBuilder build,
                      const std::string& description) {
  Boards()[name] = {std::move(build), description};
}

void RegisterSimBoardExtra(SimBoardBuilder build) { Extras().push_back(std::move(build)); }

std::unique_ptr<SimBoard> MakeBuiltInBoard(const std::string& name, std::string& error) {
  auto board = std::make_unique<SimBoard>();
  board->live = true;
  if (auto it = Boards().find(name); it != Boards().end()) {
    it->second.build(*board);
  } else if (const SimChip* chip = FindSimChip(name); chip && chip->builtInBoard) {
    board->AddDevice(chip->busAddress(), chip->make(true));
    if (const SimChip* companion = FindSimChip(chip->companion))
      board->AddDevice(companion->busAddress(), companion->make(true));
  } else {
    error = "no simulated board named \"" + name + "\" (built in:";
    for (const auto& known : BuiltInBoardNames()) error += " " + known;
    error += ")";
    return nullptr;
  }
  for (const auto& extra : Extras()) extra(*board);
  return board;
}

std::vector<std::string> BuiltInBoardNames() {
  std::set<std::string> names;
  for (const auto& [name, chip] : Chips())
    if (chip.builtInBoard) names.insert(name);
  for (const auto& [name, build] : Boards()) names.insert(name);
  return {names.begin(), names.end()};
}

std::string BoardDescription(const std::string& name) {
  if (auto it = Boards().find(name); it != Boards().end()) return it->second.description;
  const SimChip* chip = FindSimChip(name);
  return chip ? chip->description : "";
}
