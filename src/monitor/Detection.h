// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "monitor/Demodulator.h"

inline const std::string kNoDemodulatorMessage =
    "Did not find supported ATSC/DVB Demodulator, or device is not powered on.";

// The drivers probed in DetectionOrder(), each created on first use, and the one detected.
class Detection {
 public:
  using Maker = std::function<std::unique_ptr<Demodulator>(const std::string& className)>;

  explicit Detection(Maker maker) : maker_(std::move(maker)) {}

  // 0 when a driver answered its probe (it becomes current), -1 otherwise.
  int Run();
  Demodulator* current() const { return current_; }
  const std::string& currentClass() const { return currentClass_; }

 private:
  Maker maker_;
  std::map<std::string, std::unique_ptr<Demodulator>> drivers_;
  Demodulator* current_ = nullptr;
  std::string currentClass_;
};

// A maker over the built-in driver classes.
Detection::Maker BuiltInDrivers(Bus& bus, MonitorView& view);
