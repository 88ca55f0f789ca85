#pragma once
#include <string>
#include <vector>

#include "support/FakeI2c.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

// A driver over a static board holding one chip with the given registers,
// already probed.
template <class Driver>
struct DvbChip {
  FileBoard b;
  FakeView view;
  Driver driver;
  DvbChip(const std::string& chip, const std::string& regs, const std::string& address = "")
      : b(OneChip(chip, regs, address)), driver(*b.bus, view) {
    EXPECT_TRUE(driver.probe()) << chip << " " << regs;
  }
  void Set(long reg, long value) {
    std::string why;
    for (int address = 0; address < 256; address += 2)
      if (SimDevice* d = b.board->DeviceAt(address)) {
        EXPECT_TRUE(d->SetRegister(reg, value, why));
      }
  }
  std::vector<int16_t> Tps() {
    int16_t m, h, s, c, g, t;
    driver.GetTPS(m, h, s, c, g, t);
    return {m, h, s, c, g, t};
  }
  std::vector<int16_t> Locks() {
    int16_t m, eq, fec, sync, afc;
    driver.GetLockStatus(m, eq, fec, sync, afc);
    return {m, eq, fec, sync, afc};
  }
};

// A driver over the scripted library, for counting and ordering transactions.
template <class Driver>
struct ScriptedDvb {
  FakeI2c fake;
  Bus bus{fake};
  FakeView view;
  Driver driver{bus, view};
  ScriptedDvb() { bus.handle = 7; }

  // Sub-addresses of the register reads (sub-address first) made so far.
  std::vector<int> RegisterReads() const {
    std::vector<int> subs;
    for (const auto& c : fake.calls)
      if (c.kind == FakeI2c::Call::Read && c.mode == 1) subs.push_back(c.sub);
    return subs;
  }
};
