// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BusSetup.h"

#include "bus/CardBus.h"
#include "bus/LinuxI2cLibrary.h"
#include "bus/ReadOnlyI2cLibrary.h"
#include "bus/TracingI2cLibrary.h"
#include "sim/BoardFile.h"
#include "sim/SimRegistry.h"

bool OpenBusBackend(const std::string& bus, bool readOnly, bool trace, std::ostream& traceOut,
                    BusBackend& out, std::string& error) {
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
    if (!ResolveCard(bus, I2cAdapterRoots{}, Credentials::OfThisProcess(), card, error))
      return false;
    if (card.i2cBus.empty()) {
      error = card.noRegisterView;
      return false;
    }
    auto device = std::make_unique<LinuxI2cLibrary>(SystemKernelI2c(), I2cAdapterRoots{}.sys);
    if (!device->Open(card.i2cBus, error)) return false;
    out.frontend = card.frontend;
    out.backend = std::move(device);
  }
  if (readOnly) out.readOnly = std::make_unique<ReadOnlyI2cLibrary>(*out.backend);
  I2cLibrary& guarded = out.readOnly ? *out.readOnly : *out.backend;
  if (trace) out.tracer = std::make_unique<TracingI2cLibrary>(guarded, traceOut);
  return true;
}
