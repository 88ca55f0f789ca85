// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixtures shared by the tests of the ATSC/QAM drivers.
#include <gtest/gtest.h>

#include <functional>
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
struct AtscChip {
  FileBoard b;
  RecordingLibrary rec;
  Bus bus;
  FakeView view;
  Driver driver;
  explicit AtscChip(const std::string& json, bool demod2 = false)
      : b(json), rec(*b.board), bus(rec), driver(bus, view) {
    bus.handle = b.bus->handle;
    bus.secondDemod = demod2;
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
  std::vector<int32_t> Addresses() const {
    std::vector<int32_t> out;
    for (const auto& c : rec.calls) out.push_back(c.address);
    return out;
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
  // A mode the chip does not handle: no register read, the colour and the
  // flag untouched, the average only rounded (the half to the even neighbour).
  void ExpectUnhandledMode(int16_t mode) {
    int16_t reset = 1;
    float avg = 12.25f;
    int32_t color = 0x123456;
    EXPECT_EQ(driver.SNR(mode, avg, color, reset), 0);
    EXPECT_FLOAT_EQ(avg, 12.2f);
    EXPECT_EQ(color, 0x123456);
    EXPECT_EQ(reset, 1);
    EXPECT_TRUE(rec.calls.empty());
  }
  // The gate and sleep setters write 1 as the whole register at 0x32; the
  // getters and the mode read the chip back.
  void ExpectGateAndSleepWrites(int gate, int sleep) {
    driver.Passthru(1);
    driver.Sleep(1);
    EXPECT_EQ(b.device(0x32).GetRegister(gate), 1);
    EXPECT_EQ(b.device(0x32).GetRegister(sleep), 1);
    EXPECT_EQ(driver.Passthru(), 1);
    EXPECT_EQ(driver.Sleep(), 1);
    EXPECT_EQ(driver.OperatingMode(), Mode::Sleep);
    driver.Sleep(0);
    EXPECT_EQ(driver.OperatingMode(), Mode::Vsb8);
  }
  // The ignored setters and the readings the chip does not have touch no bus.
  void ExpectNeutralWithoutTraffic() {
    size_t before = rec.calls.size();
    Demodulator& contract = driver;  // as the window calls it
    contract.Passthru(1);
    contract.Sleep(1);
    contract.OperatingMode(2);
    EXPECT_EQ(driver.Passthru(), 0);
    EXPECT_EQ(driver.SymbolTiming().Text(), "");
    EXPECT_EQ(driver.AutoFreq().Text(), "0");
    for (Value v : {driver.PilotPwr(), driver.IFGain(), driver.STRTime(), driver.FreqOffset(),
                    driver.AGCPowerRef(), driver.BERctr()})
      EXPECT_EQ(v.Text(), "0");
    EXPECT_EQ(rec.calls.size(), before);
  }
};

// An S5H1409 at 0x32 with register overrides, found by its probe.
struct S5h1409Chip : AtscChip<s5h1409> {
  explicit S5h1409Chip(const Regs& regs) : AtscChip(OneChip("s5h1409", Json(regs))) { Probe(); }
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

// A chip with no identity register: the probe is one plain read of `count`
// bytes at `address` without sub-address or retry, and succeeds on its own.
template <class Driver>
void ExpectOnePlainReadProbe(int32_t address, int32_t count) {
  for (uint8_t answer : {1, 0}) {
    FakeI2c fake;
    fake.fallback = answer;
    Bus bus(fake);
    bus.handle = 9;
    FakeView view;
    Driver driver(bus, view);
    EXPECT_EQ(driver.probe(), answer == 0);
    ASSERT_EQ(fake.calls.size(), 1u);
    const auto& call = fake.calls[0];
    EXPECT_EQ(call.kind, FakeI2c::Call::Read);
    EXPECT_EQ(std::vector<int>({int(call.handle), call.mode, call.address, call.sub, call.count}),
              std::vector<int>({9, 0, address, 0, count}));
  }
}

// The default simulated chip at 0xB2, found by its probe, with registers
// then set and the mode read as a poll would; later calls are recorded.
template <class Driver>
struct LgChip : AtscChip<Driver> {
  LgChip(const std::string& chip, const Regs& regs) : AtscChip<Driver>(OneChip(chip)) {
    this->Probe();
    this->Set(0xB2, regs);
    this->driver.OperatingMode();
    this->rec.calls.clear();
  }
};

// A device entry of a board file.
inline std::string LgAt(const std::string& chip, const std::string& address,
                        const std::string& regs) {
  return "{\"chip\":\"" + chip + "\",\"address\":\"" + address + "\",\"registers\":{" + regs + "}}";
}

// Nothing answers: one combined read of the given register per address, no
// retry. A lone chip at 0xB2: both addresses asked, then two identity reads.
template <class Driver>
void ExpectOneReadPerAddress(const std::string& chip, uint8_t reg) {
  FileBoard lone(OneChip(chip));
  FakeView loneView;
  EXPECT_TRUE(Driver(*lone.bus, loneView).probe());
  EXPECT_EQ(lone.board->transactions(), 4);

  FakeI2c fake;
  fake.fallback = 1;
  Bus bus(fake);
  FakeView view;
  Driver driver(bus, view);
  EXPECT_FALSE(driver.probe());
  ASSERT_EQ(fake.calls.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(fake.calls[i].kind, FakeI2c::Call::WriteRead);
    EXPECT_EQ(fake.calls[i].address, i == 0 ? 0xB2 : 0x1C);
    EXPECT_EQ(fake.calls[i].bytes, std::vector<uint8_t>({0x00, reg}));
    EXPECT_EQ(fake.calls[i].count, 1);
  }
}
