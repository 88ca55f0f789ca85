// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BoardChoices.h"

#include <algorithm>

#include "bus/DvbFrontends.h"
#include "sim/SimRegistry.h"

namespace {

const std::string kLoadI2cDev = "load the i2c-dev module: sudo modprobe i2c-dev";
const std::string kJoinI2c = "join the i2c group: sudo adduser $USER i2c, then log in again";
const std::string kJoinVideo = "join the video group: sudo adduser $USER video, then log in again";

std::string AdapterName(const I2cAdapterList& list, int number) {
  for (const auto& a : list.adapters)
    if (a.number == number) return a.name;
  return "";
}

// The card's adapters say what the register view lacks; empty when one of
// them may be opened.
std::string RegisterViewTodo(const I2cAdapterList& list, const DvbFrontend& fe) {
  if (fe.i2cAdapters.empty()) return "kernel view only: the card has no I2C adapter";
  bool anyNode = false;
  for (const auto& a : list.adapters) {
    if (std::find(fe.i2cAdapters.begin(), fe.i2cAdapters.end(), a.number) == fe.i2cAdapters.end())
      continue;
    if (a.mayOpen) return "";
    anyNode |= !a.node.empty();
  }
  return "kernel view only; for the registers " + (anyNode ? kJoinI2c : kLoadI2cDev);
}

BoardChoice FrontendChoice(const I2cAdapterList& adapters, const DvbFrontend& fe) {
  BoardChoice c;
  c.kind = BoardChoice::Kind::Frontend;
  c.bus = "dvb" + std::to_string(fe.adapter) + "." + std::to_string(fe.frontend);
  c.label = "DVB " + fe.Label();
  // The frontend's own name needs an open; its card's first adapter names the card.
  if (!fe.i2cAdapters.empty()) {
    std::string card = AdapterName(adapters, fe.i2cAdapters.front());
    if (!card.empty()) c.label += " on " + card;
  }
  c.whyNot = fe.whyNot;
  if (fe.whyNot == "no permission")
    c.todo = kJoinVideo;
  else if (fe.whyNot == "no /dev node")
    c.todo = "the kernel made no node in /dev/dvb: reload the card's driver";
  else
    c.todo = RegisterViewTodo(adapters, fe);
  return c;
}

BoardChoice AdapterChoice(const I2cAdapter& a) {
  BoardChoice c;
  c.kind = BoardChoice::Kind::I2cAdapter;
  c.bus = "i2c-" + std::to_string(a.number);
  c.label = "I2C " + c.bus + " " + a.name;
  if (a.node.empty()) {
    c.whyNot = "no /dev node";
    c.todo = kLoadI2cDev;
  } else if (!a.mayOpen) {
    c.whyNot = "no permission";
    c.todo = kJoinI2c;
  }
  return c;
}

}  // namespace

std::vector<BoardChoice> ListBoardChoices(const I2cAdapterRoots& roots, const Credentials& who) {
  std::vector<BoardChoice> choices;
  I2cAdapterList adapters = ListI2cAdapters(roots, who);
  // No name lookup: reading a frontend's name would open it.
  for (const auto& fe : ListDvbFrontends(roots, who, nullptr).frontends)
    choices.push_back(FrontendChoice(adapters, fe));
  if (!adapters.kernelSupport)
    choices.push_back({BoardChoice::Kind::I2cAdapter, "", "No I2C adapters", "no I2C support",
                       "load the I2C modules: sudo modprobe i2c-dev"});
  for (const auto& a : adapters.adapters) choices.push_back(AdapterChoice(a));
  for (const auto& name : BuiltInBoardNames())
    choices.push_back({BoardChoice::Kind::Simulated, "sim:" + name, "Simulated " + name, "", ""});
  choices.push_back({BoardChoice::Kind::BoardFile, "", kBoardFileLabel, "", ""});
  return choices;
}

void PutRememberedFirst(std::vector<BoardChoice>& choices, const std::string& bus) {
  if (bus.empty()) return;
  auto found = std::find_if(choices.begin(), choices.end(),
                            [&](const BoardChoice& c) { return c.bus == bus; });
  if (found != choices.end()) {
    std::rotate(choices.begin(), found, found + 1);
  } else if (bus.starts_with("sim:") && bus.ends_with(".json")) {
    choices.insert(choices.begin(),
                   {BoardChoice::Kind::BoardFile, bus, "Board file " + bus.substr(4), "", ""});
  }
}
