// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/Bus.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "bus/Bits.h"
#include "support/FakeI2c.h"

namespace {

struct BusFixture : ::testing::Test {
  FakeI2c fake;
  Bus bus{fake};
  void SetUp() override { bus.handle = 7; }
};

TEST_F(BusFixture, AttemptCountsAndPresetsOnADeviceThatNeverAnswers) {
  fake.fallback = 1;
  EXPECT_EQ(bus.ReadReg8(0x32, 0x10), 255);
  EXPECT_EQ(fake.Count(FakeI2c::Call::Read), 4);
  fake.calls.clear();
  EXPECT_EQ(bus.ReadReg16(0x32, 0x10), -1);
  EXPECT_EQ(fake.Count(FakeI2c::Call::Read), 4);
  fake.calls.clear();
  EXPECT_EQ(bus.ReadReg8Addr16(0xB2, 0x0123), 255);
  EXPECT_EQ(fake.Count(FakeI2c::Call::WriteRead), 4);
  fake.calls.clear();
  bus.WriteReg8(0x32, 0x10, 5);
  EXPECT_EQ(fake.Count(FakeI2c::Call::Write), 6);
  fake.calls.clear();
  bus.WriteReg16(0x32, 0x10, 5);
  EXPECT_EQ(fake.Count(FakeI2c::Call::Write), 6);
}

TEST_F(BusFixture, OnlyReadsThatUseUpEveryAttemptCountAsUnanswered) {
  struct Case {
    const char* what;
    std::deque<uint8_t> results;  // the library's answers, in order; then `fallback`
    uint8_t fallback;
    std::function<void(Bus&)> call;
    long failed;
  } cases[] = {
      {"8-bit read, 4 failures", {}, 1, [](Bus& b) { b.ReadReg8(0x32, 1); }, 1},
      {"16-bit read, 4 failures", {}, 1, [](Bus& b) { b.ReadReg16(0x32, 1); }, 1},
      {"16-bit address read, 4 failures", {}, 1, [](Bus& b) { b.ReadReg8Addr16(0xB2, 1); }, 1},
      {"8-bit read answered at the 4th attempt",
       {1, 1, 1, 0},
       1,
       [](Bus& b) { b.ReadReg8(0x32, 1); },
       0},
      {"16-bit read answered at once", {}, 0, [](Bus& b) { b.ReadReg16(0x32, 1); }, 0},
      {"two unanswered reads", {}, 1, [](Bus& b) { b.ReadReg8(0x32, 1), b.ReadReg16(0x32, 2); }, 2},
      {"unanswered writes",
       {},
       1,
       [](Bus& b) { b.WriteReg8(0x32, 1, 0), b.WriteReg16(0x32, 1, 0); },
       0},
  };
  for (const auto& k : cases) {
    FakeI2c lib;
    lib.results = k.results;
    lib.fallback = k.fallback;
    Bus b(lib);
    k.call(b);
    EXPECT_EQ(b.failedReads, k.failed) << k.what;
  }
}

TEST_F(BusFixture, RetriesStopAtTheFirstSuccess) {
  fake.results = {1, 1, 0};
  fake.readData[0x21] = {0x5A};
  EXPECT_EQ(bus.ReadReg8(0x1C, 0x21), 0x5A);
  EXPECT_EQ(fake.Count(FakeI2c::Call::Read), 3);
  fake.calls.clear();
  fake.results = {1, 0};
  bus.WriteReg16(0x1C, 0x21, 0x1234);
  EXPECT_EQ(fake.Count(FakeI2c::Call::Write), 2);
}

TEST_F(BusFixture, ReadsPresetTheBufferBeforeEachAttempt) {
  // A library that fails after writing into the buffer: the next attempt
  // must start from the preset again, and the last one's bytes stand.
  struct Scribbler : FakeI2c {
    uint8_t velI2C_ReadArray(uint32_t, int32_t, int32_t, int32_t, int32_t count,
                             uint8_t* buffer) override {
      seen.push_back(buffer[0]);
      for (int i = 0; i < count; ++i) buffer[i] = 0x11;
      return 1;
    }
    std::vector<uint8_t> seen;
  } scribbler;
  Bus b(scribbler);
  EXPECT_EQ(b.ReadReg8(0x32, 0), 0x11);
  EXPECT_EQ(scribbler.seen, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(BusFixture, CallArgumentsAndByteOrder) {
  bus.WriteReg16(0x32, 0xF3, 0x1234);
  bus.WriteReg8(0x1C, 0x05, 0x1FF);
  fake.readData[0x33] = {0x80, 0x00};
  fake.readData[0x34] = {0x01, 0x02};
  fake.readData[0x1234] = {0x77};
  EXPECT_EQ(bus.ReadReg16(0x32, 0x33), -32768);
  EXPECT_EQ(bus.ReadReg16(0x32, 0x34), 258);
  EXPECT_EQ(bus.ReadReg8Addr16(0xB2, 0x1234), 0x77);
  ASSERT_EQ(fake.calls.size(), 5u);
  const auto& w16 = fake.calls[0];
  EXPECT_EQ(w16.handle, 7u);
  EXPECT_EQ(w16.mode, 1);
  EXPECT_EQ(w16.address, 0x32);
  EXPECT_EQ(w16.sub, 0xF3);
  EXPECT_EQ(w16.bytes, (std::vector<uint8_t>{0x12, 0x34}));
  EXPECT_EQ(fake.calls[1].bytes, (std::vector<uint8_t>{0xFF}));
  EXPECT_EQ(fake.calls[2].mode, 1);
  EXPECT_EQ(fake.calls[2].count, 2);
  EXPECT_EQ(fake.calls[4].bytes, (std::vector<uint8_t>{0x12, 0x34}));
  EXPECT_EQ(fake.calls[4].count, 1);
}

TEST(Bits, SignednessOfTheWordHelpers) {
  struct Case {
    int32_t got, want;
  } cases[] = {
      {GetBit(-1, 15), 1},        {GetBit(0x0004, 2), 1},      {GetBit(0x0004, 1), 0},
      {GetBit(0x8000, 15), 1},    {GetBits(0x00F0, 4, 4), 15}, {GetBits(0x0030, 4, 2), 3},
      {GetBits(-16, 4, 4), -1},   {GetBits(0xFFF0, 4, 4), -1}, {MakeLong(-1, 0), -65536},
      {MakeLong(0, -1), 65535},   {MakeLong(1, 2), 65538},     {MakeInt(0x80, 0), -32768},
      {MakeInt(0x01, 0x02), 258}, {MakeInt(0xFF, 0xFF), -1},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].got, cases[i].want) << "case " << i;
}

TEST_F(BusFixture, SnrAverageCountsTheDroppedSlotOnceMore) {
  bus.FillSnrHistory(20);
  EXPECT_DOUBLE_EQ(bus.AverageSnr(20), 20);
  bus.FillSnrHistory(0);
  EXPECT_DOUBLE_EQ(bus.AverageSnr(19), 1);
  // Slots now 0 x 17, 0, 19: the old 19 is counted only from the next call on.
  EXPECT_DOUBLE_EQ(bus.AverageSnr(0), 0);
  EXPECT_DOUBLE_EQ(bus.AverageSnr(0), 1);
  EXPECT_EQ(bus.SnrSlot(17), 19);
  EXPECT_EQ(bus.FillSnrHistory(3.5), 0);
  for (int i = 1; i <= 19; ++i) EXPECT_EQ(bus.SnrSlot(i), 3.5);
}

TEST(Bus, FreshHistoryPullsTheMeanTowardZero) {
  FakeI2c fake;
  Bus bus(fake);
  EXPECT_DOUBLE_EQ(bus.AverageSnr(19), 1);
}

}  // namespace
