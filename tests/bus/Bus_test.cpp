// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/Bus.h"

#include <gtest/gtest.h>

#include "bus/Bits.h"
#include "support/FakeI2c.h"

namespace {

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

TEST(Bus, SnrAverageCountsTheDroppedSlotOnceMore) {
  FakeI2c fake;
  Bus bus(fake);
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

}  // namespace
