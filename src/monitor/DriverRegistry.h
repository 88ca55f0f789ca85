// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monitor/Demodulator.h"

// Driver classes register by class name with their rank in the probe order;
// detection creates them by that name, lowest rank first. Chips register
// their driver together with their model (sim/SimRegistry.h).
using DriverFactory = std::function<std::unique_ptr<Demodulator>(Bus&, MonitorView&)>;

void RegisterDriver(const std::string& className, int probeRank, DriverFactory factory);
// nullptr when no driver of that class is built in.
const DriverFactory* FindDriver(const std::string& className);
// The registered classes in probe order. The order matters where chips share
// bus addresses: an earlier driver wins.
std::vector<std::string> DetectionOrder();

template <class Driver>
DriverFactory DriverClass() {
  return [](Bus& bus, MonitorView& view) -> std::unique_ptr<Demodulator> {
    return std::make_unique<Driver>(bus, view);
  };
}
