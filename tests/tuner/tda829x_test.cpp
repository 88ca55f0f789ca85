// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuner/tda829x.h"

#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "tuner/PlacedFake.h"

namespace {

struct IfDemod {
  PlacedFake fake;
  Bus bus{fake};
  tda829x chip{bus};
  IfDemod() { bus.handle = 7; }
};

// The four identity places in probe order: 0x84/0x1F, 0x84/0x2F, 0x96/0x1F, 0x96/0x2F.
TEST(tda829x, ProbeOrderAndIdentity) {
  const Places order = {{0x84, 0x1F}, {0x84, 0x2F}, {0x96, 0x1F}, {0x96, 0x2F}};
  struct Case {
    int ids[4];  // -1: nothing answers there
    int reads[4];
    bool found;
    std::string name;
  } cases[] = {
      {{0x89, -1, -1, -1}, {1, 0, 0, 0}, true, "TDA8290 @ 0x84"},
      {{0, 0x8A, -1, -1}, {1, 1, 0, 0}, true, "TDA8295 @ 0x84"},
      {{-1, -1, 0x89, -1}, {4, 4, 1, 0}, true, "TDA8290 @ 0x96"},
      {{-1, -1, 0x8A, 0x8A}, {4, 4, 1, 1}, true, "TDA8295 @ 0x96"},
      {{0x8A, 0x89, 0, 0}, {1, 1, 1, 1}, false, "TDA829x @ 0x0"},
      {{-1, -1, -1, -1}, {4, 4, 4, 4}, false, "TDA829x @ 0x0"},
  };
  for (const auto& c : cases) {
    IfDemod d;
    Places expected;
    for (int i = 0; i < 4; ++i) {
      if (c.ids[i] >= 0) d.fake.bytes[order[i]] = uint8_t(c.ids[i]);
      expected.insert(expected.end(), c.reads[i], order[i]);
    }
    EXPECT_EQ(d.chip.probe(), c.found) << c.name;
    EXPECT_EQ(d.chip.name(), c.name);
    EXPECT_EQ(d.fake.ReadPlaces(), expected) << c.name;
  }
}

// The TDA8290's gate write retries like any register write; the TDA8295's
// two closing transfers are sent once each, whatever the bus answers.
TEST(tda829x, GateSequences) {
  struct Case {
    uint8_t id1F, id2F;  // at 0x84; neither matching leaves the chip unknown
    int16_t value;
    Writes writes;
    int reads;          // after the probe
    int failingWrites;  // on a bus that refuses every write
  } cases[] = {
      {0x89, 0, 1, {{0x21, {0xC0}}}, 0, 6},
      {0x89, 0, 0, {{0x21, {0x00}}}, 0, 6},
      {0x89, 0, -1, {{0x21, {0x00}}}, 0, 6},
      {0, 0x8A, 1, {{0x45, {0xC1}}}, 0, 6},
      {0, 0x8A, 0, {{0x45, {0x01, 0x1B}}, {0x46, {0x1F}}}, 1, 2},
      {0, 0, 1, {}, 0, 0},
  };
  for (const auto& c : cases)
    for (bool failing : {false, true}) {
      IfDemod d;
      d.fake.bytes = {{{0x84, 0x1F}, c.id1F}, {{0x84, 0x2F}, c.id2F}, {{0x84, 0x46}, 0x1F}};
      d.chip.probe();
      d.fake.calls.clear();
      d.fake.fallback = failing;
      d.chip.Passthru(c.value);
      if (failing) {
        EXPECT_EQ(d.fake.Count(FakeI2c::Call::Write), c.failingWrites) << d.chip.name();
      } else {
        EXPECT_EQ(d.fake.WritesSeen(), c.writes) << d.chip.name() << " " << c.value;
        EXPECT_EQ(d.fake.Count(FakeI2c::Call::Read), c.reads);
      }
      for (const auto& call : d.fake.calls) EXPECT_EQ(call.address, 0x84);
      EXPECT_EQ(d.chip.Passthru(), c.value);
    }
}

}  // namespace
