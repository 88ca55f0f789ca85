// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include "monitor/Codes.h"

Startup RunStartup(const CommandLine& cl, Bus& bus, Detection& detection, bool simulated) {
  Startup s;
  bus.handle = bus.lib.velI2C_InitByType(24, 0);
  if (bus.handle == 0) bus.handle = bus.lib.velI2C_InitByType(18, 0);
  if (bus.handle == 0) {
    s.message = kNoBoardMessage;
    return s;
  }
  if (cl.demod2) {
    bus.secondDemod = true;
    s.title = "2 " + s.title;
  }
  if (detection.Run() != 0 || detection.current()->OperatingMode() == Mode::None) {
    s.message = kNoDemodulatorMessage;
    return s;
  }
  s.driver = detection.current();
  bus.chipAddress = s.driver->address();
  bus.chipRegisterAddressBytes = s.driver->registerAddressBytes();
  s.driverClass = detection.currentClass();
  s.title += " (" + s.driver->name() + ")";
  // Simulated readings must never be mistaken for a real board's.
  if (simulated) s.title += " [simulated]";
  if (cl.readOnly) s.title += " [read-only]";
  s.ok = true;
  return s;
}
