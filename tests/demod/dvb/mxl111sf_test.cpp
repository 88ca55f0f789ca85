// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/mxl111sf.h"

#include <gtest/gtest.h>

#include <tuple>

#include "demod/ChipRig.h"

namespace {

struct MxlRig : BusRig<mxl111sf> {
  MxlRig() : BusRig(0x1C, {{0x03, 0x73}}) {}
};

TEST(mxl111sf, SnrWordRangeHundredthsRoundingAndOwnColouring) {
  // Data3, the word after the range check, SNR, colour for QAM64 2/3 (19, 21, 22).
  const std::tuple<uint32_t, int32_t, float, int32_t> cases[] = {
      {2512, 2512, 25.1f, Color::Green},
      {2525, 2525, 25.2f, Color::Green},  // a half goes to the even tenth
      {2535, 2535, 25.4f, Color::Green},
      {2545, 2545, 25.5f, Color::Green},  // 25.45 as a single lies above the half
      {1894, 1894, 18.9f, Color::Red},
      {1896, 1896, 19.0f, Color::Orange},  // the colour follows the rounded result
      {4000, 4000, 40.0f, Color::Green},
      {4001, 0, 0, Color::Red},
      {0xFFFFFFFF, 0, 0, Color::Red},
  };
  for (auto [d3, word, snr, color] : cases) {
    MxlRig rig;
    rig.Block(0x82, 1, 0, d3, 0x9ABC);
    int32_t d[5] = {9, 9, 9, 9, 9};
    rig.driver.ReadDemodStats(0x1C, 0, d[0], d[1], d[2], d[3], d[4]);
    EXPECT_EQ(std::vector<int32_t>(d, d + 5), (std::vector<int32_t>{0x82, 1, 0, word, 0x9ABC}));
    rig.Tps();
    auto out = rig.Snr(1);
    EXPECT_EQ(std::tuple(out.snr, out.avg, out.reset, out.color), std::tuple(snr, snr, 0, color))
        << d3;
    EXPECT_EQ(rig.view.colorizeCalls, 0);
  }
  MxlRig rig;
  rig.driver.snrStep().Fill(0);
  rig.Block(0, 0, 0, 1900, 0);
  EXPECT_EQ(rig.Snr(0).avg, 1.0f);  // 19 / 19
}

TEST(mxl111sf, FiveLockBitsWithPartialLocksCountingAsMaster) {
  // Data0; master, EQ, FEC, sync, AFC.
  const std::pair<uint32_t, std::vector<int16_t>> cases[] = {
      {0x30, {1, 0, 1, 1, 0}}, {0x80, {1, 0, 0, 0, 0}}, {0x00, {0, 0, 0, 0, 0}},
      {0x08, {1, 1, 0, 0, 0}}, {0x40, {1, 0, 0, 0, 1}}, {0xF8, {1, 1, 1, 1, 1}},
      {0x07, {0, 0, 0, 0, 0}},
  };
  for (const auto& [d0, locks] : cases) {
    MxlRig rig;
    rig.Block(d0, 0, 0, 0, 48);
    EXPECT_EQ(rig.Locks(), locks) << std::hex << d0;
    EXPECT_EQ(rig.view.captions["lblF0F1"], "-48");  // Data4, negated
    EXPECT_EQ(rig.fake.calls.size(), 1u);
  }
}

}  // namespace
