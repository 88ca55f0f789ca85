// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/DriverRegistry.h"

#include <map>

namespace {
std::map<std::string, DriverFactory>& Registry() {
  static std::map<std::string, DriverFactory> registry;
  return registry;
}
}  // namespace

void RegisterDriver(const std::string& className, DriverFactory factory) {
  Registry()[className] = std::move(factory);
}

const DriverFactory* FindDriver(const std::string& className) {
  auto it = Registry().find(className);
  return it == Registry().end() ? nullptr : &it->second;
}
