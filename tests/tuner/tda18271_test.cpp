#include "tuner/tda18271.h"

#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "tuner/TunerFakes.h"

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
      {0xC4, 0x83, true, {4, 4, 1}, "TDA18271c1 @ 0xC4"},
      {0xC6, 0x84, true, {4, 4, 4, 1}, "TDA18271c2 @ 0xC6"},
      {0x1C2, 0x84, true, {4, 4, 4, 4, 4, 1}, "TDA18271c2 @ 0x1C2"},
      {0x1C6, 0x83, true, {4, 4, 4, 4, 4, 4, 4, 1}, "TDA18271c1 @ 0x1C6"},
      {0xC0, 0x55, false, {1, 4, 4, 4, 4, 4, 4, 4}, "??? @ 0x0"},  // answers, is no tuner
      {0, 0, false, {4, 4, 4, 4, 4, 4, 4, 4}, "??? @ 0x0"},       // nothing on the bus
  };
  for (const auto& c : cases) {
    Tuner t;
    if (c.address) t.fake.images[c.address] = {ImageWith({{0, c.id}, {2, 0x44}})};
    EXPECT_EQ(t.tuner.probe(), c.found) << c.name;
    EXPECT_EQ(t.tuner.name(), c.name);
    EXPECT_EQ(t.tuner.I2CAddr(), c.found ? c.address : 0) << c.name;
    std::vector<std::pair<int, int>> expected;
    for (size_t a = 0; a < c.readsPerAddress.size(); ++a)
      expected.insert(expected.end(), c.readsPerAddress[a], {order[a], 0});
    auto places = t.fake.ReadPlaces();
    if (c.found) {
      const auto& last = t.fake.calls.back();
      EXPECT_EQ(last.mode, 1);
      EXPECT_EQ(last.address, c.address);
      EXPECT_EQ(last.count, 39);
      EXPECT_EQ(t.tuner.reg(2), "68");
      places.pop_back();
    }
    EXPECT_EQ(places, expected) << c.name;
  }
}

TEST(tda18271, RegisterImageAndItsTexts) {
  Tuner t(ImageWith({{0x02, 0x84}, {0x26, 0xFF}}));
  EXPECT_EQ(t.tuner.reg(0x02), "132");
  EXPECT_EQ(t.tuner.reg(0x26), "255");
  EXPECT_EQ(t.tuner.reg(0x01), "0");
  EXPECT_EQ(t.tuner.reg(-1), "");
  EXPECT_EQ(t.tuner.reg(39), "");
  // One transaction without retry; a failed read leaves the image alone.
  t.fake.images.clear();
  t.tuner.ReadRegs();
  EXPECT_EQ(t.fake.calls.size(), 1u);
  EXPECT_EQ(t.tuner.reg(0x02), "132");
  EXPECT_EQ(tda18271::RegisterName(0x00), "00 ID");
  EXPECT_EQ(tda18271::RegisterName(0x11), "11 EB2");
  EXPECT_EQ(tda18271::RegisterName(0x26), "26 EB23");
  EXPECT_EQ(tda18271::RegisterName(0x27), "");
}

TEST(tda18271, GainsAtTheirEdges) {
  struct Case {
    uint8_t pl, ep1, eb22;
    double agc1;
    int agc2, rfagc;
  } cases[] = {
      {0x00, 0x00, 0x00, 6, 15, -10},  // v = 0 clamps to 1
      {0x01, 0x00, 0x00, 6, 15, -10},  // v = 1
      {0x02, 0x00, 0x00, 6, 15, -9},
      {0x20, 0x00, 0x10, 9, 15, -9},   // f = 1: x = 94, v = 2
      {0x40, 0x00, 0x20, 12, 15, -7},  // f = 2: x = 96
      {0x60, 0x00, 0x30, 15, 15, -5},  // f = 3: x = 98
      {0x80, 0x00, 0x40, 6, 12, -3},   // f = 4: x = 100
      {0x00, 0x80, 0x50, 6, 9, -1},    // f = 5: x = 102
      {0x80, 0x80, 0x60, 6, 6, -1},    // f = 6: x = 102
      {0x17, 0x00, 0x70, 6, 15, 22},   // v = 33
      {0x18, 0x00, 0x70, 6, 15, 22},   // v = 34 clamps to 33
      {0x1F, 0x00, 0x70, 6, 15, 22},
      {0x0B, 0x7F, 0x8F, 6, 15, 0},    // bits outside the fields do not count
      {0xFF, 0xFF, 0xFF, 15, 6, 22},
  };
  for (const auto& c : cases) {
    Tuner t(ImageWith({{0x02, c.pl}, {0x03, c.ep1}, {0x25, c.eb22}}));
    EXPECT_EQ(t.tuner.calc_agc1_gain(), c.agc1) << int(c.pl);
    EXPECT_EQ(t.tuner.calc_agc2_gain(), c.agc2) << int(c.pl) << " " << int(c.ep1);
    EXPECT_EQ(t.tuner.calc_rfagc_gain(), c.rfagc) << int(c.pl) << " " << int(c.eb22);
  }
}

TEST(tda18271, PowerLevelSwitchWritesOnlyRegister3) {
  Tuner t(ImageWith({{0x03, 0x86}}));
  t.tuner.dis_power_level(true);
  t.tuner.dis_power_level(false);
  using W = std::vector<std::pair<int, std::vector<uint8_t>>>;
  EXPECT_EQ(t.fake.Writes(), (W{{0x03, {0xC6}}, {0x03, {0x86}}}));
  EXPECT_EQ(t.fake.Count(FakeI2c::Call::Read), 0);
  for (const auto& c : t.fake.calls) EXPECT_EQ(c.address, 0xC0);
}

// A chip that reports the same TM byte (thermometer on) on every read shows
// each row of the table; the two edge codes make it switch range once.
TEST(tda18271, ThermometerTableRowsAndRangeToggle) {
  const int low[16] = {60, 62, 66, 64, 74, 72, 68, 70, 90, 88, 84, 86, 76, 78, 82, 80};
  for (int high = 0; high <= 1; ++high)
    for (int code = 0; code < 16; ++code) {
      uint8_t tm = uint8_t(0x10 | (high ? 0x20 : 0) | code);
      Tuner t(ImageWith({{0x01, tm}, {0x06, 0x63}}));
      bool toggles = (code == 0 && high) || (code == 8 && !high);
      EXPECT_EQ(t.tuner.read_thermometer(), low[code] + 32 * high) << high << " " << code;
      EXPECT_EQ(t.fake.Count(FakeI2c::Call::Read), toggles ? 2 : 1) << high << " " << code;
      auto writes = t.fake.Writes();
      ASSERT_EQ(writes.size(), toggles ? 4u : 3u);
      EXPECT_EQ(writes.front(), std::make_pair(0x01, std::vector<uint8_t>{tm}));
      if (toggles) {
        EXPECT_EQ(writes[1].second[0], tm ^ 0x20);
      }
      EXPECT_EQ(writes[writes.size() - 2], std::make_pair(0x01, std::vector<uint8_t>{
                                                               uint8_t(tm & ~0x10)}));
      EXPECT_EQ(writes.back(), std::make_pair(0x06, std::vector<uint8_t>{0x60}));
    }
}

TEST(tda18271, ThermometerReportsTheCodeFoundAfterTheToggle) {
  struct Case {
    uint8_t before, first, second;
    int reads, celsius;
  } cases[] = {
      {0x20, 0x30, 0x10, 2, 60},  // high-range bottom: low range, code 0
      {0x20, 0x30, 0x12, 2, 66},
      {0x00, 0x18, 0x31, 2, 94},  // low-range top: high range, code 1
      {0x20, 0x35, 0x10, 1, 104},  // code 5 in the high range needs no toggle
  };
  for (const auto& c : cases) {
    Tuner t(ImageWith({{0x01, c.before}}));
    t.fake.images[0xC0] = {ImageWith({{0x01, c.first}}), ImageWith({{0x01, c.second}})};
    EXPECT_EQ(t.tuner.read_thermometer(), c.celsius) << int(c.first);
    EXPECT_EQ(t.fake.Count(FakeI2c::Call::Read), c.reads);
    EXPECT_EQ(t.fake.Writes().front().second[0], c.before | 0x10);
    // Thermometer off again, range bit as the last read left it.
    uint8_t last = c.reads == 2 ? c.second : c.first;
    EXPECT_EQ(t.tuner.image()[1], last & ~0x10);
  }
}

}  // namespace
