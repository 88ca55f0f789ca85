// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/tda18271.h"

#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "tuner/PlacedFake.h"

namespace {

struct Tuner {
  PlacedFake fake;
  Bus bus{fake};
  tda18271 tuner{bus};
  Tuner() { bus.handle = 7; }
  // A c2 at 0xC0 holding `image`, already probed; the call log starts empty.
  explicit Tuner(const tda18271::Image& image) : Tuner() {
    fake.images[0xC0] = {image};
    EXPECT_TRUE(tuner.probe());
    fake.calls.clear();
  }
};

TEST(tda18271, ProbePassesAndAttempts) {
  const int order[8] = {0xC0, 0xC2, 0xC4, 0xC6, 0x1C0, 0x1C2, 0x1C4, 0x1C6};
  struct Case {
    int address;
    uint8_t id;
    bool found;
    std::vector<int> readsPerAddress;  // in probe order
    std::string name;
  } cases[] = {
      {0xC0, 0x84, true, {1}, "TDA18271c2 @ 0xC0"},
      {0x1C6, 0x83, true, {4, 4, 4, 4, 4, 4, 4, 1}, "TDA18271c1 @ 0x1C6"},
      {0xC0, 0x55, false, {1, 4, 4, 4, 4, 4, 4, 4}, "??? @ 0x0"},  // answers, is no tuner
      {0, 0, false, {4, 4, 4, 4, 4, 4, 4, 4}, "??? @ 0x0"},        // nothing on the bus
  };
  for (const auto& c : cases) {
    Tuner t;
    if (c.address) t.fake.images[c.address] = {ImageWith({{0, c.id}, {2, 0x44}})};
    EXPECT_EQ(t.tuner.probe(), c.found) << c.name;
    EXPECT_EQ(t.tuner.name(), c.name);
    EXPECT_EQ(t.tuner.I2CAddr(), c.found ? c.address : 0) << c.name;
    Places expected;
    for (size_t a = 0; a < c.readsPerAddress.size(); ++a)
      expected.insert(expected.end(), c.readsPerAddress[a], {order[a], 0});
    auto places = t.fake.ReadPlaces();
    if (c.found) {  // then all registers in one read
      const auto& last = t.fake.calls.back();
      EXPECT_EQ(std::tie(last.mode, last.address, last.count), std::tuple(1, c.address, 39));
      EXPECT_EQ(t.tuner.reg(2), "68");
      places.pop_back();
    }
    EXPECT_EQ(places, expected) << c.name;
  }
}

// Register texts; the power level switch writes register 3 alone; a read is
// one transaction without retry, and a failed one leaves the image alone.
TEST(tda18271, RegisterTextsPowerLevelSwitchAndAFailedRead) {
  Tuner t(ImageWith({{0x02, 0x84}, {0x03, 0x86}, {0x26, 0xFF}}));
  EXPECT_EQ(t.tuner.reg(0x02) + t.tuner.reg(0x26) + t.tuner.reg(-1) + t.tuner.reg(39) + "|" +
                tda18271::RegisterName(0x27),
            "132255|");
  t.tuner.dis_power_level(true);
  t.tuner.dis_power_level(false);
  EXPECT_EQ(t.fake.WritesSeen(), (Writes{{0x03, {0xC6}}, {0x03, {0x86}}}));
  EXPECT_EQ(t.fake.Count(FakeI2c::Call::Read), 0);
  for (const auto& c : t.fake.calls) EXPECT_EQ(std::tie(c.address, c.mode), std::tuple(0xC0, 1));
  t.fake.images.clear();
  t.fake.calls.clear();
  t.tuner.ReadRegs();
  EXPECT_EQ(std::tuple(t.fake.calls.size(), t.tuner.reg(0x02)), std::tuple(1u, "132"));
}

TEST(tda18271, GainsAtTheirEdges) {
  struct Case {
    uint8_t pl, ep1, eb22;
    double agc1;
    int agc2, rfagc;
  } cases[] = {
      {0x00, 0x00, 0x00, 6, 15, -10},  // rf field 0: x = 92, v = 0 clamps to 1
      {0x02, 0x00, 0x00, 6, 15, -9},   // v = 2
      {0x20, 0x00, 0x10, 9, 15, -9},   // rf field 1: x = 94
      {0x40, 0x80, 0x40, 12, 9, -3},   // rf field 4: x = 100
      {0xE0, 0x80, 0x50, 15, 6, -1},   // rf field 5: x = 102
      {0x80, 0x00, 0x70, 6, 12, -1},   // rf field 7: x = 102
      {0x17, 0x00, 0x70, 6, 15, 22},   // v = 33
      {0x18, 0x00, 0x70, 6, 15, 22},   // v = 34 clamps to 33
      {0x0B, 0x7F, 0x8F, 6, 15, 0},    // bits outside the fields do not count
  };
  for (const auto& c : cases) {
    Tuner t(ImageWith({{0x02, c.pl}, {0x03, c.ep1}, {0x25, c.eb22}}));
    EXPECT_EQ(
        std::tuple(t.tuner.calc_agc1_gain(), t.tuner.calc_agc2_gain(), t.tuner.calc_rfagc_gain()),
        std::tuple(c.agc1, c.agc2, c.rfagc))
        << int(c.pl) << " " << int(c.ep1) << " " << int(c.eb22);
  }
}

// Every code of both table rows, the chip reporting `first` while it measures and
// `second` after a range switch, which only the two edge codes ask for: they then
// report the other edge code, the one table entry each row can reach only so.
TEST(tda18271, ThermometerTableRowsAndRangeToggle) {
  const int low[16] = {60, 62, 66, 64, 74, 72, 68, 70, 90, 88, 84, 86, 76, 78, 82, 80};
  for (int high = 0; high <= 1; ++high)
    for (int code = 0; code < 16; ++code) {
      uint8_t before = uint8_t(high << 5 | code), first = before | 0x10;
      uint8_t second = uint8_t(((first ^ 0x20) & 0xF0) | (code ^ 8));
      Tuner t(ImageWith({{0x01, before}, {0x06, 0x63}}));
      t.fake.images[0xC0] = {ImageWith({{1, first}, {6, 0x63}}),
                             ImageWith({{1, second}, {6, 0x63}})};
      bool toggles = (code == 0 && high) || (code == 8 && !high);
      uint8_t last = toggles ? second : first;
      int celsius = low[last & 0x0F] + (last & 0x20 ? 32 : 0);
      EXPECT_EQ(t.tuner.read_thermometer(), celsius) << high << " " << code;
      EXPECT_EQ(t.fake.Count(FakeI2c::Call::Read), toggles ? 2 : 1) << high << " " << code;
      Writes expected = {{0x01, {first}}, {0x01, {uint8_t(last & ~0x10)}}, {0x06, {0x60}}};
      if (toggles) expected.insert(expected.begin() + 1, {0x01, {uint8_t(first ^ 0x20)}});
      EXPECT_EQ(t.fake.WritesSeen(), expected) << high << " " << code;
      EXPECT_EQ(t.tuner.image()[1], last & ~0x10);  // off again, range bit as last read
    }
}

}  // namespace
