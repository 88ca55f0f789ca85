// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/dibcom.h"

#include <gtest/gtest.h>

#include <tuple>

#include "demod/ChipRig.h"

namespace {

// A chip at 0x12 whose identity registers make it the given model, probed.
struct DibRig : BusRig<dibcom> {
  explicit DibRig(int model = 0, bool probe = true) {
    chip = 0x12;
    fake.present = {0x12};
    if (model == 0) Set16(0x0300, 0x01B3), Set16(0x0301, 0x4000);
    if (model >= 1 && model <= 3) Set16(0x0380, 0x01B3), Set16(0x0381, 0x4000 + model - 1);
    if (model >= 4) Set16(0x0401, 0x01B3), Set16(0x0402, 0x3000 + model - 4);
    EXPECT_EQ(probe && driver.probe(), probe);
    fake.calls.clear();
  }
};

TEST(dibcom, CarrierToNoiseFromMantissasAndSignedExponents) {
  const std::tuple<int32_t, int32_t, double> cases[] = {
      {0x0100, 0x0400, 0},         // 17/17
      {0x0000, 0x0FC1, 21.0721},   // M2 63, E2 1: Q = 128, in decibels (log10)
      {0x0000, 0x0021, -93.3193},  // E2 0x21 counts as -31
      {0x0000, 0x001F, 93.3193},   // E2 0x1F is +31
      {0x0001, 0x4000, -15.0515},  // E1 = 1*4 + 1 from R2's top bits
      {0x0008, 0xC000, 87.2987},   // E1 = 35, sign-extended to -29
      {0x0FF0, 0x3FC0, 0},         // both mantissas 255
      {0x0FF0, 0x0000, -24.0824},  // M1 bits 4..11 only
      {0xF000, 0x0000, 0},         // R1 bits above 11 ignored
  };
  for (auto [r1, r2, db] : cases)
    EXPECT_NEAR(dibcom::CarrierToNoise(r1, r2), db, 1e-4) << std::hex << r1 << " " << r2;
}

TEST(dibcom, SnrIsTheWholeDbCarrierToNoiseByModel) {
  // Model, its register pair (none: 0 dB), SNR; every pair holds 21.07 dB.
  const std::tuple<int, std::vector<int>, float> cases[] = {
      {0, {0x01DF, 0x01E0}, 21},
      {1, {0x01F9, 0x01FA}, 21},
      {6, {0x01E3, 0x01E4}, 21},
      {4, {}, 0},
  };
  for (const auto& [model, reads, snr] : cases) {
    DibRig rig(model);
    for (int r : {0x01E0, 0x01FA, 0x01E4}) rig.Set16(r, 0x0FC1);
    rig.view.colorizeResult = Color::Orange;
    auto out = rig.Snr(1);
    EXPECT_EQ(std::tuple(out.snr, out.avg, out.reset, out.color),
              std::tuple(snr, snr, 0, Color::Orange))
        << "model " << model;
    EXPECT_EQ(rig.view.lastColorized, snr);
    EXPECT_EQ(rig.view.barPrefix, "CoN: ");
    EXPECT_EQ(rig.Reads(), reads);
  }
  // The average is over the rounded values, without further rounding.
  DibRig rig;
  rig.driver.snrStep().Fill(0);
  rig.Set16(0x01E0, 0x0FC1);
  EXPECT_FLOAT_EQ(rig.Snr(0).avg, 21.0f / 19);
  EXPECT_EQ(rig.driver.snrStep().Slot(19), 21);
}

TEST(dibcom, TransmissionParametersByModelReadOnlyWithTheMode) {
  // Model, TPS register (0: none read) and word; modulation, rate, guard, FFT.
  const std::tuple<int, int, int, std::vector<int16_t>> cases[] = {
      {0, 0x01CF, 0x8125, {2, 0, 1, 1}},  // bits 15, 8, 5, 2, 0
      {0, 0x01CF, 0x0000, {0, 4, 0, 0}},
      {0, 0x01CF, 0x4040, {1, 1, 0, 0}},
      {0, 0x01CF, 0xC060, {-1, 2, 0, 0}},  // modulation 3 is unknown
      {0, 0x01CF, 0x00A3, {0, 3, 3, 0}},   // rate field 5
      {0, 0x01CF, 0x00C2, {0, 4, 2, 0}},   // rate field 6
      {3, 0x01CF, 0x4000, {1, 4, 0, 0}},
      {4, 0, 0, {0, 4, 0, 0}},
      {5, 0x01CA, 0x4000, {2, 4, 0, 0}},  // bits 13..14
      {6, 0x01CA, 0x6000, {-1, 4, 0, 0}},
      {6, 0x01CA, 0xA101, {1, 4, 1, 1}},  // bit 15 is not part of the field
  };
  for (const auto& [model, reg, word, fields] : cases) {
    DibRig rig(model);
    for (int r : {0x01CF, 0x01CA}) rig.Set16(r, r == reg ? word : 0xFFFF);
    EXPECT_EQ(rig.driver.OperatingMode(), Mode::DvbT);
    const auto& f = fields;
    EXPECT_EQ(rig.Tps(), (std::vector<int16_t>{f[0], 0, 0, f[1], f[2], f[3]}))
        << "model " << model << " word " << std::hex << word;
    EXPECT_EQ(rig.Reads(), reg ? std::vector<int>{reg} : std::vector<int>{});
  }
}

TEST(dibcom, CountersAgcRegistersAndADeadBus) {
  const std::pair<int, int> counters[] = {
      {0, 0x01FA},  // model, register of the uncorrectable count
      {3, 0x01FA},
      {4, 0x01FC},
  };
  for (auto [model, uncorrectable] : counters) {
    DibRig rig(model);
    rig.Set16(0x01FA, 17), rig.Set16(0x01FC, 300);
    EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), uncorrectable == 0x01FA ? 17 : 300);
    EXPECT_EQ(rig.driver.PostVeterbiErrors().Number(), 300);
    EXPECT_EQ(rig.Reads(), (std::vector<int>{uncorrectable, 0x01FC}));
  }
  DibRig rig;
  rig.Set16(0x0188, 0x00AB), rig.Set16(0x0189, 0xFFFF), rig.Set16(0x018A, 0);
  EXPECT_EQ(rig.driver.SNRRegisters().Text(), "AB / FFFF / 0");
  EXPECT_EQ(rig.Reads(), (std::vector<int>{0x0188, 0x0189, 0x018A}));
  EXPECT_EQ(rig.view.captions["frF0F1"], "agc1_raw / agc2_raw / agc_global");
  EXPECT_EQ(rig.view.fonts["frF0F1"], (std::pair<std::string, int>{"SmallFonts", 7}));
  rig.Set16(0x01FD, 0x0009);  // lock and bit 0 alone: no other lamp
  EXPECT_EQ(rig.Locks(), (std::vector<int16_t>{1, 0, 0, 0, 0}));
  // A failed transfer is not retried and reads as 0.
  rig.Set16(0x01CF, 0xFFFF), rig.Set16(0x01FA, 5), rig.Set16(0x01FD, 0xFFFF);
  rig.Set16(0x01E0, 0x0FC1);
  rig.fake.present.clear();
  rig.fake.calls.clear();
  rig.driver.OperatingMode();
  EXPECT_EQ(rig.fake.calls.size(), 1u);
  EXPECT_EQ(rig.Tps(), (std::vector<int16_t>{0, 0, 0, 4, 0, 0}));
  EXPECT_EQ(rig.Snr().snr, 0);
  EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), 0);
  EXPECT_EQ(rig.Locks(), std::vector<int16_t>(5, 0));
}

}  // namespace
