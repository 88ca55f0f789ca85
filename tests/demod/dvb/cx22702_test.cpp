// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/cx22702.h"

#include <gtest/gtest.h>

#include <tuple>

#include "demod/ChipRig.h"

namespace {

struct CxRig : BusRig<cx22702> {
  explicit CxRig(const Regs& regs = {}) : BusRig(0x86, {{0x1F, 3}}, regs) {}
};

// Register 0x23 for a whole-number strength in dB.
int Strength(int db) { return 255 - 8 * (db - 10); }

TEST(cx22702, TpsDecodingOfEveryFieldWhenTheModeIsRead) {
  // Registers 0x01, 0x02, 0x03, 0x0C; modulation, hierarchy, select, rate, guard, FFT.
  const std::tuple<int, int, int, int, std::vector<int16_t>> cases[] = {
      {0x10, 0x08, 0xA0, 0x00, {2, 0, 0, 1, 2, 1}},     // QAM64, 2/3, 1/8, 8K
      {0x0B, 0x27, 0x40, 0xBF, {1, 3, 0, 4, 1, 0}},     // LP rate ignored; only bit 6 selects
      {0x1C, 0x28, 0xDF, 0x00, {-1, -1, 0, -1, 3, 0}},  // constellation 3, hierarchy 4, rate 5
      {0xE7, 0x00, 0x20, 0x00, {0, -1, 0, 0, 0, 1}},    // bits above the constellation
      {0x00, 0x3C, 0x00, 0x40, {0, 0, 1, 4, 0, 0}},     // LP: rate from bits 0..2
      {0x00, 0x05, 0x00, 0x40, {0, 0, 1, -1, 0, 0}},
      {0xFF, 0xFF, 0xFF, 0xFF, {-1, -1, 1, -1, 3, 1}},  // dead bus
  };
  for (const auto& [a, b, c, select, tps] : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << a << " " << b << " " << c << " " << select);
    ExpectTpsWithTheMode(CxRig({{1, a}, {2, b}, {3, c}, {0x0C, select}}), tps, {1, 2, 3, 0x0C});
  }
}

TEST(cx22702, OwnColouringByConstellationAndRateOfTheLastModeRead) {
  // Constellation in 0x01 bits 3..4, HP rate in 0x02 bits 3..5, strength, colour.
  const std::tuple<int, int, int, int32_t> cases[] = {
      {0x10, 0x08, 20, Color::Orange},                                   // QAM64 2/3: 19, 21, 22
      {0x10, 0x08, 21, Color::Yellow}, {0x10, 0x20, 24, Color::Yellow},  // QAM64 7/8: 23, 24, 25
      {0x08, 0x08, 14, Color::Orange},                                   // QAM16 2/3: 14, 16, 18
      {0x00, 0x20, 11, Color::Orange},                                   // QPSK 7/8: 10, 12, 14
      {0x18, 0x08, 10, Color::Green},  // unknown constellation: 0, 0, 0
      {0x10, 0x28, 10, Color::Green},  // unknown rate
  };
  for (auto [a, b, db, color] : cases) {
    CxRig rig({{1, a}, {2, b}, {0x23, Strength(db)}});
    EXPECT_EQ(rig.Snr().color, Color::Green) << "QPSK 1/2 before any mode read";
    rig.driver.OperatingMode();
    auto out = rig.Snr();
    EXPECT_EQ(std::pair(out.snr, out.color), std::pair(float(db), color)) << a << " " << b;
  }
}

TEST(cx22702, ErrorCounters) {
  CxRig rig;
  int counts[] = {10, 25, 5, 5}, increases[] = {10, 15, 5, 0};  // a drop restarts from 0
  for (int i = 0; i < 4; ++i) {
    rig.Set8(0xE3, counts[i]);
    EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), increases[i]) << i;
  }
  // Registers 0xDE, 0xDF: seven bits each, side by side, 0xDE the upper.
  const std::tuple<int, int, double> corrected[] = {
      {0x01, 0x01, 129},
      {0xFF, 0x00, 16256},  // 127 x 128: bit 7 of each byte is not part of the count
      {0x00, 0xFF, 127},
      {0x01, 0x10, 144},  // side by side, not overlapping
      {0x7F, 0x7F, 16383},
  };
  for (auto [de, df, count] : corrected) {
    CxRig rig({{0xDE, de}, {0xDF, df}});
    EXPECT_EQ(rig.driver.PostVeterbiErrors().Number(), count) << de << " " << df;
  }
}

TEST(cx22702, LockFromTheStatusAndTheFecRegister) {
  // Registers 0x0A, 0x17; master, EQ, FEC, sync, AFC.
  const std::tuple<int, int, std::vector<int16_t>> cases[] = {
      {0x30, 0x01, {1, -1, 1, -1, -1}}, {0x31, 0x01, {0, -1, 1, -1, -1}},
      {0x20, 0x00, {0, -1, 0, -1, -1}}, {0x10, 0x00, {0, -1, 0, -1, -1}},
      {0xFE, 0xFE, {1, -1, 0, -1, -1}},
  };
  for (const auto& [status, fec, locks] : cases) {
    CxRig rig({{0x0A, status}, {0x17, fec}});
    EXPECT_EQ(rig.Locks(), locks) << std::hex << status << " " << fec;
  }
}

}  // namespace
