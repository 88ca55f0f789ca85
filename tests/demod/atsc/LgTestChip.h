#pragma once
// Fixtures shared by the tests of the two LG ATSC/QAM drivers.
#include <map>
#include <string>
#include <vector>

#include "demod/atsc/AtscChip.h"

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

// After GetLockStatus, SNRRegisters and CarrierOffsetHex.
inline void ExpectLgWindow(const FakeView& view, const std::string& rf, const std::string& ifAgc,
                           const std::string& carrier) {
  std::map<std::string, std::string> captions = {
      {"lblAFCLock", "Carrier Lock"}, {"lblVSBSync", "Sync Lock"},
      {"lblEQLock", "SNR GOOD"},      {"frQAM", "AGC:"},
      {"lblAGC", "RF_AGC: " + rf},    {"lblIFGain", "IF_AGC: " + ifAgc},
      {"lblCarrier", carrier}};
  std::map<std::string, bool> visible = {
      {"frVSB", false}, {"lblSTRTime", false}, {"lblFreqOffset", false}, {"frF0F1", false}};
  std::map<std::string, int> widths = {
      {"lblCarrier", 2500}, {"lblCOffset", 1935}, {"lblCOHex", 1935}};
  EXPECT_EQ(view.captions, captions);
  EXPECT_EQ(view.visible, visible);
  EXPECT_EQ(view.widths, widths);
}
