// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BusSetup.h"

#include "bus/CardBus.h"
#include "bus/LinuxI2cLibrary.h"
#include "bus/ReadOnlyI2cLibrary.h"
#include "bus/TracingI2cLibrary.h"
#include "sim/BoardFile.h"
#include "sim/SimRegistry.h"

bool OpenBusBackend(const std::string& bus, bool readOnly, bool trace, std::ostream& traceOut,
                    BusBackend& out, std::string& error, const CardLookup& lookup) {
  out = BusBackend{};
  if (bus.empty()) {
    out.backend = std::make_unique<NoBoardLibrary>();
  } else if (bus.starts_with("sim:")) {
    std::string name = bus.substr(4);
    std::unique_ptr<SimBoard> board =
        name.ends_with(".json") ? LoadBoardFile(name, error) : MakeBuiltInBoard(name, error);
    if (!board) return false;
    out.simBoard = board.get();
    out.backend = std::move(board);
  } else {
    // A number, "i2c-N" or an adapter's name stands for that adapter's node;
    // a DVB frontend ("dvbA", "dvbA.F", its /dev path) for the I2C bus of its card.
    CardBuses card;
    if (!ResolveCard(bus, lookup.roots, lookup.who, card, error)) return false;
    out.frontend = card.frontend;
    if (card.i2cBus.empty()) {
      // The kernel's view alone: no bus to open, nothing to detect.
      out.noRegisterView = card.noRegisterView;
      out.backend = std::make_unique<NoBoardLibrary>();
    } else {
      auto device = std::make_unique<LinuxI2cLibrary>(SystemKernelI2c(), lookup.roots.sys);
      if (!device->Open(card.i2cBus, error)) return false;
      out.backend = std::move(device);
    }
  }
  if (readOnly) out.readOnly = std::make_unique<ReadOnlyI2cLibrary>(*out.backend);
  I2cLibrary& guarded = out.readOnly ? *out.readOnly : *out.backend;
  if (trace) out.tracer = std::make_unique<TracingI2cLibrary>(guarded, traceOut);
  return true;
}
