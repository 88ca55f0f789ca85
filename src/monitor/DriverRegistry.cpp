// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/DriverRegistry.h"

#include <algorithm>
#include <map>

namespace {
struct Registered {
  int probeRank;
  DriverFactory make;
};
std::map<std::string, Registered>& Registry() {
  static std::map<std::string, Registered> registry;
  return registry;
}
}  // namespace

void RegisterDriver(const std::string& className, int probeRank, DriverFactory factory) {
  Registry()[className] = {probeRank, std::move(factory)};
}

const DriverFactory* FindDriver(const std::string& className) {
  auto it = Registry().find(className);
  return it == Registry().end() ? nullptr : &it->second.make;
}

std::vector<std::string> DetectionOrder() {
  std::vector<std::pair<int, std::string>> ranked;
  ranked.reserve(Registry().size());
  for (const auto& [name, driver] : Registry()) ranked.emplace_back(driver.probeRank, name);
  std::sort(ranked.begin(), ranked.end());
  std::vector<std::string> order;
  order.reserve(ranked.size());
  for (const auto& entry : ranked) order.push_back(entry.second);
  return order;
}
