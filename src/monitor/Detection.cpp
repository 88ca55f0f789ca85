// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Detection.h"

#include "monitor/DriverRegistry.h"

int Detection::Run() {
  for (const std::string& className : DetectionOrder()) {
    auto& driver = drivers_[className];
    if (!driver) driver = maker_(className);
    if (driver && driver->probe()) {
      current_ = driver.get();
      currentClass_ = className;
      return 0;
    }
  }
  return -1;
}

Detection::Maker BuiltInDrivers(Bus& bus, MonitorView& view) {
  return [&bus, &view](const std::string& className) -> std::unique_ptr<Demodulator> {
    const DriverFactory* factory = FindDriver(className);
    return factory ? (*factory)(bus, view) : nullptr;
  };
}
