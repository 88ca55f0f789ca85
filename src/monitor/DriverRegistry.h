// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "monitor/Demodulator.h"

// Driver classes register themselves by class name; detection creates them
// by that name in its fixed order.
using DriverFactory = std::function<std::unique_ptr<Demodulator>(Bus&, MonitorView&)>;

void RegisterDriver(const std::string& className, DriverFactory factory);
// nullptr when no driver of that class is built in.
const DriverFactory* FindDriver(const std::string& className);

struct DriverRegistration {
  DriverRegistration(const std::string& className, DriverFactory factory) {
    RegisterDriver(className, std::move(factory));
  }
};

#define QUOVIS_REGISTER_DRIVER(cls)                                           \
  static const DriverRegistration cls##_registration(                         \
      #cls, [](Bus& bus, MonitorView& view) -> std::unique_ptr<Demodulator> { \
        return std::make_unique<cls>(bus, view);                              \
      })
