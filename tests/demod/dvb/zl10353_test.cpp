// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/zl10353.h"

#include <gtest/gtest.h>

#include <tuple>

#include "demod/ChipRig.h"

namespace {

struct ZlRig : BusRig<zl10353> {
  explicit ZlRig(const Regs& regs = {}) : BusRig(0x1E, {{0x7F, 0x14}}, regs) {}
};

TEST(zl10353, TpsDecodingOfEveryFieldWhenTheModeIsRead) {
  // Registers 0x1F, 0x20; modulation, hierarchy, select, rate, guard, FFT.
  const std::tuple<int, int, std::vector<int16_t>> cases[] = {
      {0x4A, 0x0D, {2, 2, 0, 4, 3, 1}},     // HP rate from bits 7..9, FFT from bit 0: 8K
      {0x2D, 0x80, {1, 3, 0, 3, 0, 0}},     // the rate spans both bytes
      {0x72, 0x88, {-1, -1, 0, -1, 2, 0}},  // constellation 3, hierarchy 4, rate 5
      {0x00, 0x77, {0, 0, 0, 0, 1, 1}},     // LP rate ignored for HP
      {0x80, 0x18, {0, 0, 1, 1, 2, 0}},     // LP: rate from bits 4..6, not 3..5
      {0x83, 0xA0, {0, 0, 1, 2, 0, 0}},     // LP ignores the HP rate
      {0x80, 0x5D, {0, 0, 1, -1, 3, 1}},    // LP rate 5
      {0xFF, 0xFF, {-1, -1, 1, -1, 3, 1}},  // dead bus
  };
  for (const auto& [a, b, tps] : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << a << " " << b);
    ExpectTpsWithTheMode(ZlRig({{0x1F, a}, {0x20, b}}), tps, {0x1F, 0x20});
  }
}

TEST(zl10353, ErrorCounters) {
  // Registers 0x14, 0x15: a signed 16-bit count, negative as 0, not reset by reading.
  const std::tuple<int, int, double> counts[] = {
      {0x01, 0x00, 256},
      {0x7F, 0xFF, 32767},
      {0x80, 0x00, 0},
  };
  for (auto [high, low, count] : counts) {
    ZlRig rig({{0x14, high}, {0x15, low}});
    EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), count) << high << " " << low;
    EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), count);
  }
  // Errors 0x11..0x13 over a period 0x60..0x61 of 1024 x 1632 bits each.
  const double bits = 1024 * 1632;
  const std::pair<Regs, double> ratios[] = {
      {{{0x12, 1}, {0x61, 1}}, 256 / bits},
      {{{0x11, 1}, {0x12, 2}, {0x13, 3}, {0x60, 2}}, 0x010203 / (512 * bits)},
      {{{0x11, 255}, {0x12, 255}, {0x13, 255}, {0x60, 255}}, 0xFFFFFF / (0xFF00 * bits)},
      {{{0x11, 9}, {0x12, 9}, {0x13, 9}}, 0},  // nothing measured
  };
  for (const auto& [regs, ratio] : ratios) {
    ZlRig rig(regs);
    EXPECT_DOUBLE_EQ(rig.driver.PostVeterbiErrors().Number(), ratio) << regs[0].first;
    EXPECT_EQ(rig.Reads(), (std::vector<int>{0x60, 0x61, 0x11, 0x12, 0x13}));
  }
}

}  // namespace
