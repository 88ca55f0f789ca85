// SPDX-License-Identifier: GPL-3.0-or-later
// The board-file reader over arbitrary text; a board it accepts must start
// and poll like any other, and, once every device stops answering, poll
// as a chip that does not answer.
#include <string>

#include "Checks.h"
#include "app/Startup.h"
#include "monitor/Monitor.h"
#include "sim/BoardFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  auto board = ParseBoard(text, "fuzz.json", error);
  if (!board) {
    if (error.rfind("fuzz.json", 0) != 0) std::abort();  // every error names the file
    return 0;
  }
  Bus bus(*board);
  Monitor monitor(false);
  Detection detection(BuiltInDrivers(bus, monitor));
  Startup s = RunStartup(CommandLine{}, bus, detection, true);
  if (!s.ok) return 0;
  monitor.SetDriver(s.driver);
  monitor.WatchReads(&bus);
  monitor.Poll();
  CheckModel(monitor.model);
  SimFault gone;
  gone.nak = true;
  for (int address = 0; address <= 0xFE; address += 2)
    if (board->DeviceAt(address)) board->SetFault(address, gone);
  monitor.Poll();
  CheckModel(monitor.model);
  if (monitor.model.answering) std::abort();  // nothing answered, nothing may look read
  return 0;
}
