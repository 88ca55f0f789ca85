// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/lgdt3306.h"

#include <gtest/gtest.h>

#include "demod/ChipRig.h"
#include "monitor/Codes.h"

namespace {

struct Chip : LgChip<lgdt3306> {
  explicit Chip(const Regs& regs = {}) : LgChip("lgdt3306", regs) {}
};

// Register settings that put the simulated chip in each mode.
const Regs kVsb = {{0x0008, 0x80}};
const Regs kQam64 = {{0x0008, 0x08}, {0x00A6, 0x80}};
const Regs kQam256 = {{0x0008, 0x08}, {0x00A6, 0x84}};
const Regs kAsleep = {{0x0000, 0x74}};
const Regs kNoMode = {{0x0008, 0x00}};

TEST(lgdt3306, ModeDecodingAndSleep) {
  struct Case {
    Regs regs;
    int16_t mode, sleep;
  } cases[] = {
      {kVsb, Mode::Vsb8, 0},
      {{{0x0008, 0x08}, {0x00A6, 0xF8}}, Mode::Qam64, 0},  // only bits 2..0 count
      {{{0x0008, 0x08}, {0x00A6, 0x04}}, Mode::Qam256, 0},
      {{{0x0008, 0x08}, {0x00A6, 0x01}}, Mode::None, 0},
      {{{0x0008, 0x88}}, Mode::None, 0},
      {kAsleep, Mode::Sleep, 1},
      {kQam256 + Regs{{0x0000, 0x00}}, Mode::Sleep, 1},
      {{{0x0008, 0xFF}, {0x0000, 0x00}}, Mode::None, 1},  // a dead mode register wins
  };
  for (const auto& c : cases) {
    Chip chip(c.regs);
    EXPECT_EQ(chip.driver.OperatingMode(), c.mode) << "row " << &c - cases;
    EXPECT_EQ(chip.driver.Sleep(), c.sleep) << "row " << &c - cases;
  }
}

TEST(lgdt3306, SnrInDecibelsWithItsCoarseFallback) {
  struct Case {
    int signal, noise, coarse;
    float snr;
    int32_t color;  // in 8-VSB
  } cases[] = {
      {4000, 40, 7, 20.0f, Color::Yellow},  // exactly 20 is not below it
      {4000, 41, 7, 7.0f, Color::Red},      // 19.89 defers to the coarse reading
      {4000, 0, 7, 26.0f, Color::Green},    // no noise reads as 10
      {0, 40, 15, 15.0f, Color::Orange},    // log of 0 is taken as 0
      {65535, 1, 0, 48.2f, Color::Green},   {65535, 65535, 255, 255.0f, Color::Green},
      {65050, 256, 0, 24.1f, Color::Green},  // 24.05007: the noise's high byte counts 256
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    const Regs regs = {{0x00E8, c.signal >> 8},
                       {0x00E9, c.signal & 0xFF},
                       {0x00EC, c.noise >> 8},
                       {0x00ED, c.noise & 0xFF},
                       {0x21A1, c.coarse}};
    Chip chip(regs);
    chip.ExpectFreshSnr(Mode::DvbT, c.snr, c.color);
  }
}

TEST(lgdt3306, AverageHoldsDecibels) {
  Chip chip({{0x00E8, 4000 >> 8}, {0x00E9, 4000 & 0xFF}, {0x00EC, 0}, {0x00ED, 40}});
  chip.ExpectFreshSnr(Mode::Vsb8, 20.0f, Color::Yellow);
  auto next = chip.NextSnr(0xB2, {{0x00ED, 10}});
  EXPECT_FLOAT_EQ(next.snr, 26.0f);  // 26.02 dB
  EXPECT_FLOAT_EQ(next.avg, 20.3f);  // (18 x 20 + 26.02) / 19
}

// The thresholds are those of the LGDT3305 for the mode read last: one edge
// per mode shows which set applies. Other modes are dark grey.
TEST(lgdt3306, ColourThresholdsByModeAndDarkGreyOtherwise) {
  auto colour = [](int16_t mode, float snr) {
    const Regs& regs = mode == Mode::Vsb8     ? kVsb
                       : mode == Mode::Qam64  ? kQam64
                       : mode == Mode::Qam256 ? kQam256
                       : mode == Mode::Sleep  ? kAsleep
                                              : kNoMode;
    return Chip(regs).driver.LGDT3306ColorizeSNR(snr);
  };
  ExpectEdges(colour, 0.1f,
              {{Mode::Vsb8, 24, Color::Yellow, Color::Green},
               {Mode::Qam64, 30, Color::Yellow, Color::Green},
               {Mode::Qam256, 32, Color::Yellow, Color::Green},
               {Mode::Sleep, 40, 4210752, 4210752},
               {Mode::None, 0, 4210752, 4210752}});
}

TEST(lgdt3306, OneLockBitLightsEveryLampButFec) {
  struct Case {
    Regs regs;
    std::vector<int16_t> locks;
  } cases[] = {
      {kVsb + Regs{{0x00A6, 0x80}}, {1, 1, -1, 1, 1}},
      {kVsb + Regs{{0x00A6, 0x7F}}, {0, 0, -1, 0, 0}},
      {kQam64, {1, 1, -1, 1, 1}},
      {kAsleep + Regs{{0x00A6, 0x80}}, {-1, -1, -1, -1, -1}},
      {kNoMode + Regs{{0x00A6, 0x80}}, {-1, -1, -1, -1, -1}},
  };
  for (const auto& c : cases) EXPECT_EQ(Chip(c.regs).Locks(), c.locks) << "row " << &c - cases;
}

TEST(lgdt3306, OffsetsAreSignMagnitudeInEveryMode) {
  struct Case {
    Regs mode;
    int c0, c1, t0, t1, t2;
    float carrier, timing;
  } cases[] = {
      {kVsb, 0x80, 0x10, 0x80, 0x00, 0x01, -0.9765625f, -5.9604645e-08f},
      {kVsb, 0x00, 0x10, 0x00, 0x10, 0x00, 0.9765625f, 2.4414062e-04f},
      {kQam256, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, -1999.939f, -0.49999994f},
      {kAsleep, 0x7F, 0xFF, 0x7F, 0xFF, 0xFF, 1999.939f, 0.49999994f},
      {kNoMode, 0x80, 0x00, 0x80, 0x00, 0x00, 0, 0},
  };
  for (const auto& c : cases) {
    Chip chip(c.mode +
              Regs{{0x009C, c.c0}, {0x009D, c.c1}, {0x00A1, c.t0}, {0x00A2, c.t1}, {0x00A3, c.t2}});
    EXPECT_FLOAT_EQ(float(chip.driver.CarrierOffset().Number()), c.carrier) << &c - cases;
    EXPECT_FLOAT_EQ(chip.driver.TimingRecoveryOffset(), c.timing) << &c - cases;
  }
}

}  // namespace
