// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "demod/ChipRig.h"
#include "demod/atsc/s5h1411.h"
#include "demod/dvb/cx22702.h"
#include "demod/dvb/dibcom.h"
#include "demod/dvb/mxl111sf.h"
#include "demod/dvb/si2165.h"
#include "demod/dvb/sms1xxx.h"
#include "demod/dvb/tda1004x.h"
#include "demod/dvb/zl10353.h"
#include "support/RecordingLibrary.h"
#include "support/SimFixture.h"

namespace {

template <typename Driver>
std::unique_ptr<Demodulator> Of(Bus& bus, MonitorView& view) {
  return std::make_unique<Driver>(bus, view);
}

// The drivers that find their chip by one one-byte transfer per address:
// which addresses they try, in which library mode and without retry, whether
// the identity read makes them take the chip, and where their later reads go.
TEST(DvbProbe, AddressesModesIdentityAndTheAddressKept) {
  using Make = std::unique_ptr<Demodulator> (*)(Bus&, MonitorView&);
  using Transfers = std::vector<std::pair<int, int>>;  // address and mode (-1: write-read)
  // Driver, present addresses, identity register and value, second-demodulator flag,
  // found, transfers, address of the first later read (-1: none).
  const std::tuple<Make, std::set<int>, int, int, bool, bool, Transfers, int> cases[] = {
      {Of<zl10353>, {0x1E}, 0x7F, 0x15, false, false, {{0x1E, 0}, {0x1E, 1}}, 0x1E},
      {Of<cx22702>, {0x86}, 0x1F, 3, false, true, {{0xC6, 0}, {0x86, 0}, {0x86, 1}}, 0x86},
      {Of<cx22702>, {0xC6}, 0x1F, 2, false, false, {{0xC6, 0}, {0xC6, 1}}, 0xC6},
      {Of<tda1004x>, {0x10, 0x12}, 0, 0x48, false, true, {{0x10, 0}, {0x10, 1}}, 0x10},
      {Of<tda1004x>, {0x10, 0x12}, 0, 0x46, true, true, {{0x10, 0}, {0x12, 0}, {0x12, 1}}, 0x12},
      {Of<tda1004x>, {0x12}, 0, 0x48, false, true, {{0x10, 0}, {0x12, 0}, {0x12, 1}}, 0x12},
      {Of<tda1004x>, {0x10}, 0, 0x46, true, false, {{0x10, 0}, {0x12, 0}}, -1},
      {Of<tda1004x>, {0x10}, 0, 0x47, false, false, {{0x10, 0}, {0x10, 1}}, -1},
      {Of<sms1xxx>, {0xC6}, 0x1F, 0x72, false, false, {{0xC6, 0}, {0xC6, 1}}, 0xC6},
      {Of<mxl111sf>, {0x1C}, 0x03, 0xFF, false, true, {{0x1C, -1}, {0x1C, 1}}, 0x1C},
      {Of<mxl111sf>, {0x1C}, 0x03, 0x72, false, false, {{0x1C, -1}, {0x1C, 1}}, 0x1C},
      {Of<mxl111sf>, {0x1C}, 0x03, 0x71, false, false, {{0x1C, -1}, {0x1C, 1}}, 0x1C},
      {Of<mxl111sf>, {0x1C}, 0x03, 0x63, false, false, {{0x1C, -1}, {0x1C, 1}}, 0x1C},
      {Of<mxl111sf>, {0x1C}, 0x03, 0x33, false, false, {{0x1C, -1}, {0x1C, 1}}, 0x1C},
      {Of<si2165>, {}, 0x0023, 1, false, false, {{0xC8, 0x10}}, 0},  // no identity register
  };
  for (const auto& [make, present, reg, identity, flag, found, transfers, later] : cases) {
    AddressedI2c fake;
    Bus bus(fake);
    FakeView view;
    auto driver = make(bus, view);
    std::string name = driver->name() + " " + std::to_string(identity);
    fake.calls.clear();
    fake.present = present;
    fake.readData[reg] = {uint8_t(identity)};
    bus.secondDemod = flag;
    EXPECT_EQ(driver->probe(), found) << name;
    EXPECT_EQ(fake.Transfers(), transfers) << name;
    for (const auto& call : fake.calls) {
      EXPECT_EQ(call.count, 1) << name;
      bool zeros = call.bytes == std::vector<uint8_t>(2, 0);  // a write-read sends two zeros
      EXPECT_TRUE(call.kind != FakeI2c::Call::WriteRead || zeros) << name;
    }
    EXPECT_EQ(fake.calls.back().sub, transfers.back().second == 1 ? reg : 0) << name;
    fake.calls.clear();
    driver->OperatingMode();
    EXPECT_EQ(fake.calls.empty() ? -1 : fake.calls[0].address, later) << name;
  }
}

// The golden traces probe only the default addresses: the other addresses a
// driver tries, and where it reads once it has (or has not) found its chip.
TEST(ProbeAddress, OtherAddressesAndTheAddressKept) {
  using Make = std::unique_ptr<Demodulator> (*)(Bus&, MonitorView&);
  const auto at = [](const char* chip, const char* address) {
    return std::string("{\"chip\":\"") + chip + "\",\"address\":\"" + address + "\"}";
  };
  const std::string s5h1411First = at("s5h1411", "0x32") + "," + at("s5h1411_second", "0x34"),
                    s5h1411Second = at("s5h1411", "0x72") + "," + at("s5h1411_second", "0x74");
  const struct {
    Make make;
    std::string devices;
    bool demod2, reprobeDropped, found;
    std::vector<int> later;  // addresses of the mode and AGC reads afterwards
  } cases[] = {
      {Of<s5h1411>, s5h1411Second, true, false, true, {0x72, 0x74}},
      {Of<s5h1411>, s5h1411Second, false, false, true, {0x72, 0x74}},
      {Of<s5h1411>, s5h1411First, true, false, false, {0}},
      {Of<dibcom>, at("dibcom", "0x1A"), false, false, true, {0x1A}},
      {Of<dibcom>, at("dibcom", "0x80"), false, false, true, {0x80}},
      {Of<dibcom>, at("dibcom", "0x12") + "," + at("dibcom", "0x1C"), true, false, true, {0x12}},
      {Of<dibcom>, at("dibcom", "0x1A") + "," + at("dibcom", "0x1C"), true, false, true, {0x1C}},
      {Of<dibcom>, at("dibcom", "0x80") + "," + at("dibcom", "0x82"), true, false, true, {0x82}},
      {Of<cx22702>, at("cx22702", "0x86"), false, false, true, {0x86}},
      {Of<cx22702>, at("cx22702", "0x86"), false, true, false, {0}},  // forgets the find
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.devices + (c.demod2 ? " -demod2" : "") + (c.reprobeDropped ? " reprobe" : ""));
    FileBoard b("{\"devices\":[" + c.devices + "]}");
    RecordingLibrary rec(*b.board);
    Bus bus(rec);
    bus.handle = b.bus->handle;
    bus.secondDemod = c.demod2;
    FakeView view;
    auto driver = c.make(bus, view);
    EXPECT_EQ(driver->probe(), c.found || c.reprobeDropped);
    rec.dropped = c.reprobeDropped;
    if (c.reprobeDropped) {
      EXPECT_FALSE(driver->probe());
    }
    rec.calls.clear();
    driver->OperatingMode();
    driver->AGCPowerRef();
    std::vector<int> later;
    for (const auto& call : rec.calls)
      if (later.empty() || later.back() != call.address) later.push_back(call.address);
    EXPECT_EQ(later, c.later);
  }
}

}  // namespace
