#pragma once
// Fixtures shared by the tests of the two LG ATSC/QAM drivers.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/FakeI2c.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

using Regs = std::vector<std::pair<int, int>>;

inline Regs operator+(Regs a, const Regs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The default simulated chip at 0xB2, found by its probe, with registers
// then set and the mode read as a poll would.
template <class Driver>
struct LgChip {
  FileBoard b;
  FakeView view;
  Driver driver;
  LgChip(const std::string& chip, const Regs& regs) : b(OneChip(chip)), driver(*b.bus, view) {
    EXPECT_TRUE(driver.probe());
    for (auto [r, v] : regs) Set(r, v);
    driver.OperatingMode();
  }
  void Set(int r, int v) {
    std::string why;
    EXPECT_TRUE(b.device(0xB2).SetRegister(r, v, why)) << why;
  }
  // Master, EQ, FEC, sync and carrier lock, in that order.
  std::vector<int16_t> Locks() {
    std::vector<int16_t> l(5, 9);
    driver.GetLockStatus(l[0], l[1], l[2], l[3], l[4]);
    return l;
  }
  float Snr(float& avg, int32_t& color) {
    int16_t unused = 4, reset = 1;
    float snr = driver.SNR(unused, avg, color, reset);
    EXPECT_EQ(reset, 0);
    return snr;
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

// The setters and the readings these chips do not have touch no bus.
template <class Driver>
void ExpectConstantsWithoutTraffic(LgChip<Driver>& chip) {
  long before = chip.b.board->transactions();
  long mode = chip.b.device(0xB2).GetRegister(0x0000);
  Driver& d = chip.driver;
  d.Passthru(1);
  d.Sleep(1);
  d.OperatingMode(2);
  EXPECT_EQ(d.Passthru(), 0);
  EXPECT_EQ(d.SymbolTiming().Text(), "");
  EXPECT_EQ(d.AutoFreq().Text(), "0");
  for (Value v : {d.PilotPwr(), d.IFGain(), d.STRTime(), d.FreqOffset(), d.AGCPowerRef(),
                  d.BERctr()})
    EXPECT_EQ(v.Text(), "0");
  EXPECT_EQ(chip.b.board->transactions(), before);
  EXPECT_EQ(chip.b.device(0xB2).GetRegister(0x0000), mode);
}

// After GetLockStatus, SNRRegisters and CarrierOffsetHex.
inline void ExpectLgWindow(const FakeView& view, const std::string& rf, const std::string& ifAgc,
                           const std::string& carrier) {
  EXPECT_EQ(view.captions, (std::map<std::string, std::string>{
                               {"lblAFCLock", "Carrier Lock"}, {"lblVSBSync", "Sync Lock"},
                               {"lblEQLock", "SNR GOOD"}, {"frQAM", "AGC:"},
                               {"lblAGC", "RF_AGC: " + rf}, {"lblIFGain", "IF_AGC: " + ifAgc},
                               {"lblCarrier", carrier}}));
  EXPECT_EQ(view.visible, (std::map<std::string, bool>{{"frVSB", false},
                                                        {"lblSTRTime", false},
                                                        {"lblFreqOffset", false},
                                                        {"frF0F1", false}}));
  EXPECT_EQ(view.widths, (std::map<std::string, int>{
                             {"lblCarrier", 2500}, {"lblCOffset", 1935}, {"lblCOHex", 1935}}));
}
