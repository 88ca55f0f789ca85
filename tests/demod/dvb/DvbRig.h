// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <set>
#include <utility>
#include <vector>

#include "bus/Bus.h"
#include "monitor/Codes.h"
#include "support/DriverReadings.h"
#include "support/FakeI2c.h"
#include "support/FakeView.h"

// A FakeI2c where only the listed addresses acknowledge (the others fail and
// hand back nothing); every call is still recorded, so a test sees which
// addresses a probe tried.
class AddressedI2c : public FakeI2c {
 public:
  std::set<int> present;

  uint8_t velI2C_ReadArray(uint32_t h, int32_t mode, int32_t address, int32_t sub, int32_t count,
                           uint8_t* buffer) override {
    if (!present.count(address)) results.push_front(1);
    return FakeI2c::velI2C_ReadArray(h, mode, address, sub, count, buffer);
  }
  uint8_t velI2C_WriteRead(uint32_t h, int32_t address, int32_t r1, int32_t r2, int32_t writeCount,
                           uint8_t* writeBuffer, int32_t r3, int32_t r4, int32_t readCount,
                           uint8_t* readBuffer) override {
    if (!present.count(address)) results.push_front(1);
    return FakeI2c::velI2C_WriteRead(h, address, r1, r2, writeCount, writeBuffer, r3, r4, readCount,
                                     readBuffer);
  }
  // Address and library mode of every transfer; a write-read shows as mode -1.
  std::vector<std::pair<int, int>> Transfers() const {
    std::vector<std::pair<int, int>> t;
    for (const auto& c : calls) t.push_back({c.address, c.kind == Call::WriteRead ? -1 : c.mode});
    return t;
  }
};

// A twenty-byte statistics block of five words, least significant byte first.
inline std::vector<uint8_t> StatsBlock(uint32_t d0, uint32_t d1, uint32_t d2, uint32_t d3,
                                       uint32_t d4) {
  std::vector<uint8_t> bytes;
  for (uint32_t w : {d0, d1, d2, d3, d4})
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(w >> (8 * i)));
  return bytes;
}

using Regs = std::vector<std::pair<int, int>>;

// A driver under test over a scripted bus and a recording window.
template <typename Driver>
struct Rig {
  AddressedI2c fake;
  Bus bus{fake};
  FakeView view;
  Driver driver{bus, view};
  int chip = 0;  // where the chip answers
  Rig() { bus.handle = 7; }
  // A chip answering at `address` with one-byte registers, probed; the probe's
  // traffic is forgotten.
  Rig(int address, const Regs& identity, const Regs& regs = {}) : chip(address) {
    bus.handle = 7;
    fake.present = {address};
    Set(identity);
    Set(regs);
    EXPECT_TRUE(driver.probe());
    fake.calls.clear();
  }

  void Set8(int reg, int value) { fake.readData[reg] = {uint8_t(value)}; }
  // A 16-bit register, MSB first.
  void Set16(int reg, int value) { fake.readData[reg] = {uint8_t(value >> 8), uint8_t(value)}; }
  void Set(const Regs& regs) {
    for (auto [r, v] : regs) Set8(r, v);
  }
  // The statistics block of the chips that answer with one.
  void Block(uint32_t d0, uint32_t d1, uint32_t d2, uint32_t d3, uint32_t d4) {
    fake.readData[0] = StatsBlock(d0, d1, d2, d3, d4);
  }
  // Register (sub-)addresses of the transfers so far; a write, or a transfer
  // elsewhere than at the chip, shows as -1.
  std::vector<int> Reads() const {
    std::vector<int> subs;
    for (const auto& c : fake.calls)
      subs.push_back(c.kind != FakeI2c::Call::Write && c.address == chip ? c.sub : -1);
    return subs;
  }

  struct SnrOut {
    float snr, avg;
    int32_t color;
    int16_t reset;
  };
  SnrOut Snr(int16_t reset = 1) {
    int16_t mode = Mode::DvbT;
    SnrOut o{0, -9, 0, reset};
    o.snr = driver.SNR(mode, o.avg, o.color, o.reset);
    return o;
  }
  // Outputs a driver leaves alone keep 7.
  std::vector<int16_t> Locks() { return LocksOf(driver); }
  std::vector<int16_t> Tps() { return TpsOf(driver); }
};

// A driver that reads its transmission parameters with the mode: none before
// the first mode read, then those of its registers; GetTPS reads nothing.
template <class R>
void ExpectTpsWithTheMode(R&& rig, const std::vector<int16_t>& tps, const std::vector<int>& reads) {
  EXPECT_EQ(rig.Tps(), std::vector<int16_t>(6, 0)) << "before any mode read";
  EXPECT_EQ(rig.driver.OperatingMode(), Mode::DvbT);
  EXPECT_EQ(rig.Tps(), tps);
  EXPECT_EQ(rig.Reads(), reads) << "GetTPS reads nothing";
}
