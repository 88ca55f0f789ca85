// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A demodulator driver under test: on a simulated board (BoardRig), or on a
// scripted bus where each register's answer and each failure is set by hand
// (BusRig).
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bus/Bus.h"
#include "demod/atsc/s5h1409.h"
#include "monitor/Codes.h"
#include "monitor/Value.h"
#include "support/DriverReadings.h"
#include "support/FakeI2c.h"
#include "support/FakeView.h"
#include "support/RecordingLibrary.h"
#include "support/SimFixture.h"

using Regs = std::vector<std::pair<int, int>>;

inline Regs operator+(Regs a, const Regs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Register overrides as the "registers" entry of a board file.
inline std::string Json(const Regs& regs) {
  std::string text;
  for (auto [r, v] : regs)
    text += (text.empty() ? "\"" : ",\"") + std::to_string(r) + "\":" + std::to_string(v);
  return text;
}

// A driver on a board file, every bus call recorded.
template <class Driver>
struct BoardRig {
  FileBoard b;
  RecordingLibrary rec;
  Bus bus;
  FakeView view;
  Driver driver;
  explicit BoardRig(const std::string& json) : b(json), rec(*b.board), bus(rec), driver(bus, view) {
    bus.handle = b.bus->handle;
  }
  // Probes, expecting to find the chip, and forgets the probe's calls.
  void Probe() {
    EXPECT_TRUE(driver.probe());
    rec.calls.clear();
  }
  void Set(int address, const Regs& regs) {
    std::string why;
    for (auto [r, v] : regs) EXPECT_TRUE(b.device(address).SetRegister(r, v, why)) << why;
  }
  // The registers read, in order: the sub-address of a plain read, else the
  // register named by the first two command bytes (the 12-bit address of a
  // three-byte command).
  std::vector<int> Registers() const {
    std::vector<int> out;
    for (const auto& c : rec.calls) {
      if (c.kind == RecordingLibrary::Call::Read) out.push_back(c.sub);
      if (c.kind != RecordingLibrary::Call::WriteRead) continue;
      int high = c.written.size() == 3 ? c.written[0] & 0x0F : c.written[0];
      out.push_back(high << 8 | c.written[1]);
    }
    return out;
  }
  // Master, EQ, FEC, sync and carrier lock, in that order.
  std::vector<int16_t> Locks() { return LocksOf(driver); }
  // A reading after a reset: the average equals it and the flag comes back 0.
  void ExpectFreshSnr(int16_t mode, float snr, int32_t color) {
    int16_t reset = 1;
    float avg = -1;
    int32_t got = -5;
    EXPECT_FLOAT_EQ(driver.SNR(mode, avg, got, reset), snr);
    EXPECT_FLOAT_EQ(avg, snr);
    EXPECT_EQ(got, color);
    EXPECT_EQ(reset, 0);
  }
  // A second reading, without reset, after the register change `regs`.
  struct Snr {
    float snr, avg;
    int32_t color;
  };
  Snr NextSnr(int address, const Regs& regs, int16_t mode = 0) {
    Set(address, regs);
    int16_t reset = 0;
    Snr out{0, 0, 0};
    out.snr = driver.SNR(mode, out.avg, out.color, reset);
    return out;
  }
};

// An S5H1409 at 0x32 with register overrides, found by its probe.
struct S5h1409Chip : BoardRig<s5h1409> {
  explicit S5h1409Chip(const Regs& regs) : BoardRig(OneChip("s5h1409", Json(regs))) { Probe(); }
};

// A register setting, what the driver makes of it and the registers it reads.
template <typename T>
struct Decode {
  Regs regs;
  T want;
  std::vector<int> read;
};

// The mode each setting decodes to.
template <class Chip>
void ExpectModes(const std::vector<Decode<int16_t>>& cases) {
  for (size_t i = 0; i < cases.size(); ++i) {
    Chip chip(cases[i].regs);
    EXPECT_EQ(chip.driver.OperatingMode(), cases[i].want) << "row " << i;
    EXPECT_EQ(chip.Registers(), cases[i].read) << "row " << i;
  }
}

// The lock flags of each setting, the mode read first as a poll does.
template <class Chip>
void ExpectLocks(const std::vector<Decode<std::vector<int16_t>>>& cases) {
  for (size_t i = 0; i < cases.size(); ++i) {
    Chip chip(cases[i].regs);
    chip.driver.OperatingMode();
    chip.rec.calls.clear();
    EXPECT_EQ(chip.Locks(), cases[i].want) << "row " << i;
    EXPECT_EQ(chip.Registers(), cases[i].read) << "row " << i;
  }
}

// Colour edges: a value `step` under the threshold gives `below`, the
// threshold itself `at`.
struct Edge {
  int16_t mode;
  float threshold;
  int32_t below, at;
};
inline void ExpectEdges(const std::function<int32_t(int16_t, float)>& colour, float step,
                        const std::vector<Edge>& edges) {
  for (const auto& e : edges) {
    EXPECT_EQ(colour(e.mode, e.threshold - step), e.below) << e.mode << " " << e.threshold;
    EXPECT_EQ(colour(e.mode, e.threshold), e.at) << e.mode << " " << e.threshold;
  }
}

// Readings and the texts they must show.
using Texts = std::vector<std::pair<Value, std::string>>;
inline void ExpectTexts(const Texts& cases) {
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(cases[i].first.Text(), cases[i].second) << i;
}

// The default simulated chip at 0xB2, found by its probe, with registers
// then set and the mode read as a poll would; later calls are recorded.
template <class Driver>
struct LgChip : BoardRig<Driver> {
  LgChip(const std::string& chip, const Regs& regs) : BoardRig<Driver>(OneChip(chip)) {
    this->Probe();
    this->Set(0xB2, regs);
    this->driver.OperatingMode();
    this->rec.calls.clear();
  }
};

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

// A driver under test over a scripted bus and a recording window.
template <typename Driver>
struct BusRig {
  AddressedI2c fake;
  Bus bus{fake};
  FakeView view;
  Driver driver{bus, view};
  int chip = 0;  // where the chip answers
  BusRig() { bus.handle = 7; }
  // A chip answering at `address` with one-byte registers, probed; the probe's
  // traffic is forgotten.
  BusRig(int address, const Regs& identity, const Regs& regs = {}) : chip(address) {
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
