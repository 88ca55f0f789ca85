// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/sms1xxx.h"

#include <gtest/gtest.h>

#include <tuple>

#include "demod/ChipRig.h"

namespace {

struct SmsRig : BusRig<sms1xxx> {
  SmsRig() : BusRig(0xC6, {{0x1F, 0x73}}) {}
};

TEST(sms1xxx, StatisticsBlockWordsAttemptsAndFailures) {
  const auto counting = StatsBlock(0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D, 0x14131211);
  const std::vector<int32_t> words = {0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D, 0x14131211};
  // Failed attempts before the chip answers, the block, the words, attempts.
  const std::tuple<int, std::vector<uint8_t>, std::vector<int32_t>, size_t> cases[] = {
      {0, counting, words, 1},
      {4, counting, {0, 0, 0, 0, 0}, 4},  // the words keep what was passed
      {0, StatsBlock(0x80000000, ~0u, 0xFFFFFF00, ~1u, ~2u), {INT32_MIN, -1, -256, -2, -3}, 1},
  };
  for (const auto& [failures, block, want, attempts] : cases) {
    SmsRig rig;
    rig.fake.readData[0] = block;
    rig.fake.results.assign(failures, 1);
    int32_t d[5] = {0, 0, 0, 0, 0};
    rig.driver.ReadDemodStats(0xC6, 0, d[0], d[1], d[2], d[3], d[4]);
    EXPECT_EQ(std::vector<int32_t>(d, d + 5), want) << failures;
    EXPECT_EQ(rig.bus.failedReads, failures == 4 ? 1 : 0) << failures;  // only when all fail
    ASSERT_EQ(rig.fake.calls.size(), attempts);
    for (const auto& call : rig.fake.calls)
      EXPECT_EQ(std::vector<int>({call.mode, call.address, call.sub, call.count}),
                std::vector<int>({1, 0xC6, 0, 20}));
  }
}

TEST(sms1xxx, TransmissionParametersFromAFreshBlockEachTime) {
  // Data0, Data1; modulation, hierarchy, HP/LP, code rate, guard, FFT.
  const std::tuple<uint32_t, uint32_t, std::vector<int16_t>> cases[] = {
      {0x00020181, 0, {1, 0, 0, 0, 2, 1}},     // bits 0, 7, 8, 17
      {0x03030002, 0x0C, {2, 3, 0, 4, 3, 0}},  // only bits 0..2 of Data1 count
      {0x04040203, 5, {-1, -1, 0, -1, -1, -1}},
      {0xF8F8FCFC, 0xFFFFFFF8, {0, 0, 0, 0, 0, 0}},  // bits outside every field
      {0xFFFFFFFF, 0xFFFFFFFF, {-1, -1, 0, -1, -1, -1}},
  };
  for (const auto& [d0, d1, tps] : cases) {
    SmsRig rig;
    rig.Block(d0, d1, 0, 0, 0);
    EXPECT_EQ(rig.Tps(), tps) << std::hex << d0 << " " << d1;
    EXPECT_EQ(rig.fake.calls.size(), 1u);
  }
  SmsRig dead;
  dead.fake.present.clear();
  EXPECT_EQ(dead.Tps(), std::vector<int16_t>(6, 0));
}

TEST(sms1xxx, SnrIsTheChipsWholeDbWithTheAverageToOneDecimal) {
  // Data3, reset flag, SNR, average.
  const std::tuple<uint32_t, int16_t, float, float> cases[] = {
      {25, 1, 25, 25},
      {25, 0, 25, 1.3f},  // 25 / 19 = 1.315..
      {0xFFFFFFFE, 1, -2, -2},
  };
  for (auto [d3, reset, snr, avg] : cases) {
    SmsRig rig;
    rig.driver.snrStep().Fill(0);
    rig.Block(0, 0, 0, d3, 0);
    auto out = rig.Snr(reset);
    EXPECT_EQ(std::tuple(out.snr, out.avg, out.reset), std::tuple(snr, avg, 0)) << d3;
    EXPECT_EQ(rig.view.colorizeCalls, 0);  // its own colouring, not the window's
  }
}

TEST(sms1xxx, OwnColouringByTheLastTransmissionParameters) {
  // Modulation and code rate codes, SNR, colour.
  const std::tuple<uint32_t, uint32_t, uint32_t, int32_t> cases[] = {
      {2, 1, 20, Color::Orange},                              // QAM64 2/3: 19, 21, 22
      {2, 1, 21, Color::Yellow},      {0, 0, 5, Color::Red},  // QPSK 1/2: 6, 8, 10
      {1, 4, 17, Color::Orange},                              // QAM16 7/8: 17, 19, 21
      {2, 4, 24, Color::Yellow},                              // QAM64 7/8: 23, 24, 25
      {3, 0, 0, Color::Green},                                // unknown: 0, 0, 0
      {3, 0, 0xFFFFFFFF, Color::Red}, {2, 5, 0xFFFFFFFF, Color::Red},
  };
  for (auto [modulation, rate, snr, color] : cases) {
    SmsRig rig;
    rig.Block(0x80 | modulation, rate, 0, snr, 0);
    rig.Tps();
    EXPECT_EQ(rig.Snr().color, color) << modulation << " " << rate << " " << int32_t(snr);
  }
  SmsRig fresh;  // before any GetTPS the thresholds are those of QPSK 1/2
  fresh.Block(2, 1, 0, 7, 0);
  EXPECT_EQ(fresh.Snr().color, Color::Orange);
}

TEST(sms1xxx, LockBitSignalStrengthModeAndCounters) {
  // Data0, Data4; master lock, signal strength text.
  const std::tuple<uint32_t, uint32_t, int16_t, std::string> cases[] = {
      {0x80, 70, 1, "-70"},
      {0xFFFFFF7F, 0xFFFFFFFB, 0, "5"},
      {0x180, 0x80000000, 1, "2147483648"},
  };
  for (const auto& [d0, d4, master, rssi] : cases) {
    SmsRig rig;
    rig.Block(d0, 0, 0, 0, d4);
    EXPECT_EQ(rig.Locks(), (std::vector<int16_t>{master, -1, -1, -1, -1}));
    EXPECT_EQ(rig.view.captions["lblF0F1"], rssi);
  }
  // Register 0x1F, answering, mode, attempts.
  const std::tuple<int, bool, int16_t, size_t> modes[] = {
      {0x73, true, Mode::DvbT, 1},
      {0x72, true, Mode::None, 1},
      {0x73, false, Mode::None, 4},
  };
  for (auto [reg, answers, mode, attempts] : modes) {
    SmsRig rig;
    rig.Set8(0x1F, reg);
    if (!answers) rig.fake.present.clear();
    EXPECT_EQ(rig.driver.OperatingMode(), mode);
    EXPECT_EQ(rig.Reads(), std::vector<int>(attempts, 0x1F));
  }
  SmsRig rig;
  rig.Block(0, 0, 1234, 0, 0);
  EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), 1234);
  EXPECT_TRUE(rig.driver.PostVeterbiErrors().IsEmpty());
  EXPECT_EQ(rig.driver.SNRRegisters().Text(), "0");
}

}  // namespace
