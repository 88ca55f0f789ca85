// SPDX-License-Identifier: GPL-3.0-or-later
// Multi-register reads over a driver's own read, and the shared logarithm.
#include "bus/RegisterRead.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "numbers/Log10.h"

namespace {

// A register file that remembers the order in which it was read.
struct Registers {
  std::map<int, int> values;
  std::vector<int> order = {};
  auto Reader() {
    return [this](int reg) {
      order.push_back(reg);
      return values[reg];
    };
  }
};

// Bytes always read in address order; the sign at bit 23.
TEST(RegisterRead, Word24ByteOrdersSignAndReadOrder) {
  Registers r{{{0x10, 0x12}, {0x11, 0x34}, {0x12, 0x56}}};
  EXPECT_EQ(ReadWord24(r.Reader(), 0x10, ByteOrder::MsbFirst), 0x123456);
  EXPECT_EQ(ReadWord24(r.Reader(), 0x10, ByteOrder::LsbFirst), 0x563412);
  EXPECT_EQ(r.order, (std::vector<int>{0x10, 0x11, 0x12, 0x10, 0x11, 0x12}));
  EXPECT_EQ(SignExtend24(0x800000), -8388608);
  EXPECT_EQ(SignExtend24(0xFFFFFF), -1);
  EXPECT_EQ(SignExtend24(0x7FFFFF), 8388607);
}

TEST(RegisterRead, HexRegistersInTheOrderGiven) {
  Registers r{{{0xF0, 0x12}, {0xF1, -3312}, {0xF2, 0}}};
  EXPECT_EQ(HexRegisters(r.Reader(), {0xF1, 0xF0}), "F310 12");
  EXPECT_EQ(HexRegisters(r.Reader(), {0xF0, 0xF1, 0xF2}, " / "), "12 / F310 / 0");
  EXPECT_EQ(r.order, (std::vector<int>{0xF1, 0xF0, 0xF0, 0xF1, 0xF2}));
}

// Exact powers of ten come out exact: an S/N of 100 is 20 dB, not just below.
TEST(RegisterRead, Log10) {
  EXPECT_EQ(Log10(100), 2);
  EXPECT_EQ(Log10(1000), 3);
  EXPECT_EQ(Log10(1), 0);
  EXPECT_NEAR(Log10(256), 2.408239965311849, 1e-14);
}

}  // namespace
