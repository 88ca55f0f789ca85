// SPDX-License-Identifier: GPL-3.0-or-later
// The console's boxes and commands in any order with any text, over a bus
// whose answers are the fuzzer's bytes. Nothing may overrun a buffer, and a
// write must never carry more bytes than the console holds.
#include <string>

#include "FuzzedLibrary.h"
#include "bus/Bus.h"
#include "console/I2cConsole.h"

namespace {

struct NullView : ConsoleView {
  void AppendLog(const std::string&) override {}
  void ClearLog() override {}
  void SetBoxText(ConsoleBox, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The script: an operation byte, then for box entries a text up to a NUL.
  // Bus answers come from the same bytes, read backwards from the end.
  size_t half = size / 2;
  FuzzedLibrary library(data + half, size - half);
  Bus bus(library);
  bus.handle = 1;
  NullView view;
  I2cConsole console(bus, view);
  size_t pos = 0;
  auto text = [&] {
    std::string t;
    while (pos < half && data[pos] != 0) t += char(data[pos++]);
    ++pos;
    return t;
  };
  int scans = 0;
  while (pos < half) {
    switch (data[pos++] % 11) {
      case 0: console.LeaveAddress(text()); break;
      case 1: console.LeaveSubAddr(text()); break;
      case 2: console.LeaveData(text()); break;
      case 3: console.LeaveReadCount(text()); break;
      case 4: console.Read(); break;
      case 5: console.ReadNS(); break;
      case 6: console.Write(); break;
      case 7: console.WriteNS(); break;
      case 8:
        if (scans++ < 2) console.Scan([] { return true; });
        break;
      case 9: console.Clear(); break;
      default: break;
    }
    if (console.SubAddrCount() < 0 || console.SubAddrCount() > I2cConsole::kBufferSize ||
        console.DataCount() < 0 || console.DataCount() > I2cConsole::kBufferSize ||
        console.ReadCount() < 0 || console.ReadCount() > I2cConsole::kBufferSize)
      __builtin_trap();
  }
  return 0;
}
