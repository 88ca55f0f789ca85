#include "tuner/tda829x.h"

#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "tuner/TunerFakes.h"

namespace {

using Places = std::vector<std::pair<int, int>>;

struct IfDemod {
  PlacedFake fake;
  Bus bus{fake};
  tda829x chip{bus};
  IfDemod() { bus.handle = 7; }
};

TEST(tda829x, ProbeOrderAndIdentity) {
  struct Case {
    std::map<std::pair<int, int>, uint8_t> registers;
    bool found;
    std::string name;
    Places reads;  // (address, register) of every bus read
  };
  const Places first8 = {{0x84, 0x1F}, {0x84, 0x1F}, {0x84, 0x1F}, {0x84, 0x1F},
                         {0x84, 0x2F}, {0x84, 0x2F}, {0x84, 0x2F}, {0x84, 0x2F}};
  auto after8 = [&](Places more) {
    Places all = first8;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  Case cases[] = {
      {{{{0x84, 0x1F}, 0x89}}, true, "TDA8290 @ 0x84", {{0x84, 0x1F}}},
      {{{{0x84, 0x1F}, 0}, {{0x84, 0x2F}, 0x8A}}, true, "TDA8295 @ 0x84",
       {{0x84, 0x1F}, {0x84, 0x2F}}},
      {{{{0x96, 0x1F}, 0x89}}, true, "TDA8290 @ 0x96", after8({{0x96, 0x1F}})},
      {{{{0x96, 0x1F}, 0x8A}, {{0x96, 0x2F}, 0x8A}}, true, "TDA8295 @ 0x96",
       after8({{0x96, 0x1F}, {0x96, 0x2F}})},
      {{{{0x84, 0x1F}, 0x8A}, {{0x84, 0x2F}, 0x89}, {{0x96, 0x1F}, 0}, {{0x96, 0x2F}, 0}},
       false, "TDA829x @ 0x0", {{0x84, 0x1F}, {0x84, 0x2F}, {0x96, 0x1F}, {0x96, 0x2F}}},
  };
  for (const auto& c : cases) {
    IfDemod d;
    d.fake.bytes = c.registers;
    EXPECT_EQ(d.chip.probe(), c.found) << c.name;
    EXPECT_EQ(d.chip.name(), c.name);
    EXPECT_EQ(d.fake.ReadPlaces(), c.reads) << c.name;
  }
  IfDemod nothing;
  EXPECT_FALSE(nothing.chip.probe());
  EXPECT_EQ(nothing.fake.Count(FakeI2c::Call::Read), 16);  // four reads of four attempts
}

TEST(tda829x, GateSequences) {
  using Writes = std::vector<std::pair<int, std::vector<uint8_t>>>;
  struct Case {
    uint8_t id1F, id2F;  // at 0x84; neither matching leaves the chip unknown
    int16_t value;
    Writes writes;
    int reads;  // after the probe
  } cases[] = {
      {0x89, 0, 1, {{0x21, {0xC0}}}, 0},
      {0x89, 0, 0, {{0x21, {0x00}}}, 0},
      {0x89, 0, -1, {{0x21, {0x00}}}, 0},
      {0x89, 0, 2, {{0x21, {0x00}}}, 0},
      {0, 0x8A, 1, {{0x45, {0xC1}}}, 0},
      {0, 0x8A, 0, {{0x45, {0x01, 0x1B}}, {0x46, {0x1F}}}, 1},
      {0, 0x8A, -1, {{0x45, {0x01, 0x1B}}, {0x46, {0x1F}}}, 1},
      {0, 0, 1, {}, 0},
      {0, 0, 0, {}, 0},
  };
  for (const auto& c : cases) {
    IfDemod d;
    d.fake.bytes = {{{0x84, 0x1F}, c.id1F}, {{0x84, 0x2F}, c.id2F}, {{0x84, 0x46}, 0x1F}};
    d.chip.probe();
    d.fake.calls.clear();
    d.chip.Passthru(c.value);
    EXPECT_EQ(d.fake.Writes(), c.writes) << d.chip.name() << " " << c.value;
    EXPECT_EQ(d.fake.Count(FakeI2c::Call::Read), c.reads);
    for (const auto& call : d.fake.calls) EXPECT_EQ(call.address, 0x84);
    EXPECT_EQ(d.chip.Passthru(), c.value);
  }
}

// The TDA8290's gate write retries like any register write; the TDA8295's
// two closing transfers are sent once each, whatever the bus answers.
TEST(tda829x, GateWritesOnAFailingBus) {
  struct Case {
    uint8_t id1F, id2F;
    int16_t value;
    int writes;
  } cases[] = {{0x89, 0, 1, 6}, {0, 0x8A, 1, 6}, {0, 0x8A, 0, 2}};
  for (const auto& c : cases) {
    IfDemod d;
    d.fake.bytes = {{{0x84, 0x1F}, c.id1F}, {{0x84, 0x2F}, c.id2F}};
    d.chip.probe();
    d.fake.fallback = 1;
    d.chip.Passthru(c.value);
    EXPECT_EQ(d.fake.Count(FakeI2c::Call::Write), c.writes) << d.chip.name() << c.value;
    EXPECT_EQ(d.chip.Passthru(), c.value);
  }
}

}  // namespace
