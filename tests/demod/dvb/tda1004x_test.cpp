// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/tda1004x.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "demod/ChipRig.h"

namespace {

// A TDA10046 (identity 0x46) or TDA10048 (0x48).
struct TdaRig : BusRig<tda1004x> {
  explicit TdaRig(int identity, const Regs& regs = {}) : BusRig(0x10, {{0, identity}}, regs) {}
};

TEST(tda1004x, TpsDecodingOfEveryFieldForBothChips) {
  // Identity, registers; modulation, hierarchy, select, rate, guard, FFT.
  const std::tuple<int, Regs, std::vector<int16_t>> cases[] = {
      {0x46, {{4, 0x1A}, {5, 0x01}}, {2, 0, 0, 1, 2, 1}},  // QAM64, 2/3, 1/8, 8K
      {0x46, {{4, 0x6D}, {5, 0x1C}}, {1, 3, 0, 4, 3, 0}},  // LP rate not used for HP
      {0x46, {{4, 0x23}, {5, 0x05}}, {-1, 1, 0, -1, 0, 0}},
      {0x46, {{5, 0x1A}, {1, 0x08}}, {0, 0, 1, 3, 0, 0}},
      {0x46, {{5, 0x28}, {1, 0x08}}, {0, 0, 1, -1, 0, 0}},
      {0x46, {{4, 0xFF}, {5, 0xFF}, {1, 0xFF}}, {-1, 3, 1, -1, 3, 1}},
      {0x48, {{0x14, 0x09}, {0x15, 0x41}}, {2, 0, 0, 1, 2, 1}},
      {0x48, {{0x14, 0x0E}, {0x15, 0x3C}, {0x16, 0x07}}, {1, 3, 0, 4, 3, 2}},  // 4K
      {0x48, {{0x14, 0x03}, {0x15, 0x6D}}, {-1, 1, 0, -1, 0, -1}},
      {0x48, {{0x15, 0x02}, {0x16, 0xFC}, {0x18, 0x08}}, {0, 0, 1, 4, 0, 0}},
      {0x48, {{0x16, 0x05}, {0x18, 0x08}}, {0, 0, 1, -1, 0, 0}},
      {0x48, {{0x14, 0xFF}, {0x15, 0xFF}, {0x16, 0xFF}, {0x18, 0xFF}}, {-1, 3, 1, -1, 3, -1}},
  };
  for (const auto& [identity, regs, tps] : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << identity << " " << regs[0].second);
    std::vector<int> reads = {4, 5, 1}, reads48 = {0x14, 0x15, 0x16, 0x18};
    ExpectTpsWithTheMode(TdaRig(identity, regs), tps, identity == 0x46 ? reads : reads48);
  }
}

TEST(tda1004x, LockBitsForBothChips) {
  // Identity, status register and value; master, EQ, FEC, sync, AFC.
  const std::tuple<int, int, int, std::vector<int16_t>> cases[] = {
      {0x46, 0x06, 0x08, {1, 0, 0, 0, 0}}, {0x46, 0x06, 0x80, {0, 1, 0, 0, 0}},
      {0x46, 0x06, 0x01, {0, 0, 1, 0, 0}}, {0x46, 0x06, 0x04, {0, 0, 0, 1, 0}},
      {0x46, 0x06, 0x02, {0, 0, 0, 0, 1}}, {0x46, 0x06, 0x77, {0, 0, 1, 1, 1}},
      {0x48, 0x1A, 0x10, {1, 0, 0, 0, 0}}, {0x48, 0x1A, 0xEF, {0, 1, 1, 1, 1}},
  };
  for (const auto& [identity, reg, status, locks] : cases) {
    TdaRig rig(identity, {{reg, status}});
    EXPECT_EQ(rig.Locks(), locks) << identity << " " << std::hex << status;
  }
}

TEST(tda1004x, UncorrectableIncreaseWithWrapAround) {
  // Identity; successive readings of 0x27, or of 0xCE and 0xCF (low, high); increases.
  using Readings = std::vector<std::pair<int, int>>;
  const std::tuple<int, Readings, std::vector<double>> cases[] = {
      {0x46, {{0x85, 0}, {0x85, 0}, {120, 0}, {3, 0}}, {5, 0, 115, 11}},  // 120 to 127, 0 to 3
      {0x46, {{0x7F, 0}, {0xFF, 0}, {0, 0}}, {127, 0, 1}},                // the step from 127 to 0
      {0x48, {{0x02, 0x01}, {0xF0, 0xFF}, {0x10, 0x00}}, {0x0102, 0xFFF0 - 0x0102, 32}},
      {0x48, {{0xE8, 0xFD}, {0x64, 0x00}}, {65000, 636}},  // 536 to the wrap, then 100
  };
  for (const auto& [identity, values, increases] : cases) {
    TdaRig rig(identity);
    for (size_t i = 0; i < values.size(); ++i) {
      rig.Set8(identity == 0x46 ? 0x27 : 0xCE, values[i].first);
      rig.Set8(0xCF, values[i].second);
      EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), increases[i]) << identity << " " << i;
    }
    EXPECT_EQ(rig.driver.PostVeterbiErrors().Number(), 0);
  }
}

TEST(tda1004x, AnUnknownIdentityReadsNothingAndAnswersNeutrally) {
  BusRig<tda1004x> rig;
  rig.fake.present = {0x10};
  rig.Set8(0, 0x47);
  EXPECT_EQ(rig.driver.name(), "TDA1004x");
  EXPECT_FALSE(rig.driver.probe());
  EXPECT_EQ(rig.driver.name(), "TDA1004x");
  rig.fake.calls.clear();
  EXPECT_EQ(rig.driver.OperatingMode(), Mode::None);
  auto out = rig.Snr();
  EXPECT_EQ(std::pair(out.snr, out.avg), std::pair(30.0f, 30.0f));
  EXPECT_EQ(rig.Locks(), (std::vector<int16_t>{-1, 0, 0, 0, 0}));
  EXPECT_EQ(rig.view.captions.size(), 4u);
  EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), 0);
  EXPECT_TRUE(rig.fake.calls.empty());
}

}  // namespace
