// SPDX-License-Identifier: GPL-3.0-or-later
// Every driver, probed and polled through the monitor over a bus whose
// answers are the fuzzer's bytes.
#include "Checks.h"
#include "FuzzedLibrary.h"
#include "bus/Bus.h"
#include "monitor/Detection.h"
#include "monitor/DriverRegistry.h"
#include "monitor/Monitor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static const std::vector<std::string> order = DetectionOrder();
  size_t which = data[0] % order.size();
  bool debug = data[1] & 1;
  FuzzedLibrary library(data + 2, size - 2);
  Bus bus(library);
  bus.handle = 1;
  bus.secondDemod = data[1] & 2;
  Monitor monitor(debug);
  const DriverFactory* factory = FindDriver(order[which]);
  if (!factory) return 0;
  auto driver = (*factory)(bus, monitor);
  driver->probe();
  monitor.SetDriver(driver.get());
  for (int i = 0; i < 4; ++i) {
    monitor.Poll();
    CheckModel(monitor.model);
    if (i == 1) monitor.ModeLabelClicked();
  }
  return 0;
}
