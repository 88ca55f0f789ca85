// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/lgdt3305.h"

#include <gtest/gtest.h>

#include "demod/ChipRig.h"
#include "monitor/Codes.h"

namespace {

struct Chip : LgChip<lgdt3305> {
  explicit Chip(const Regs& regs = {}) : LgChip("lgdt3305", regs) {}
};

// The two low bits decide, except for 0xFF.
TEST(lgdt3305, ModeDecoding) {
  struct Case {
    int byte;
    int16_t mode;
  } cases[] = {
      {0x07, Mode::Vsb8}, {0xFC, Mode::Qam64}, {0xFD, Mode::Qam256},
      {0x02, Mode::None}, {0xFF, Mode::None},
  };
  for (const auto& c : cases) EXPECT_EQ(Chip({{0, c.byte}}).driver.OperatingMode(), c.mode);
}

// Error powers by mode; MSE noted where the registers hide it.
TEST(lgdt3305, SnrByModeAtTheEndsAndHalves) {
  const int vsb = 0x03, qam64 = 0x00, qam256 = 0x01, none = 0x02;
  auto vsbMse = [](int hi, int mid, int lo) {
    return Regs{{0x413, hi}, {0x414, mid}, {0x415, lo}};
  };
  auto qamMse = [](int hi, int lo) { return Regs{{0x11B, hi}, {0x11C, lo}}; };
  struct Case {
    int mode;
    Regs regs;
    float snr;
    int32_t color;
  } cases[] = {
      {vsb, vsbMse(0, 0, 0), 0, Color::Red},
      {vsb, vsbMse(0, 0, 1), 44.1f, Color::Green},
      {vsb, vsbMse(0xF0, 1, 0), 20.0f, Color::Yellow},  // 256, upper nibble ignored
      {vsb, vsbMse(0, 0, 8), 35.0f, Color::Green},      // 35.05 to even
      {vsb, vsbMse(0xFF, 0xFF, 0xFF), 0, Color::Red},   // 1048575
      {qam64, qamMse(0, 0), 0, Color::Red},
      {qam64, qamMse(0x02, 0xB0), 30.0f, Color::Green},  // 688: 30.0008
      {qam64, qamMse(0, 8), 49.4f, Color::Green},        // 49.35 to even
      {qam64, qamMse(0xFF, 0xFF), 10.2f, Color::Red},
      {qam256, qamMse(0xFF, 0xFF), 10.3f, Color::Red},
      {none, vsbMse(0, 0, 1) + qamMse(0, 1), 0, Color::Green},  // no mode: zero thresholds
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    Chip(c.regs + Regs{{0, c.mode}}).ExpectFreshSnr(Mode::DvbT, c.snr, c.color);
  }
}

// The history holds error powers; the colour follows the reading.
TEST(lgdt3305, AverageIsTakenBeforeTheLogarithm) {
  Chip chip({{0x0414, 0x0A}, {0x0415, 0x00}});
  chip.ExpectFreshSnr(Mode::Vsb8, 10.0f, Color::Orange);  // 2560: 10 dB
  auto next = chip.NextSnr(0xB2, {{0x0414, 0x01}});
  EXPECT_FLOAT_EQ(next.snr, 20.0f);  // 256
  EXPECT_FLOAT_EQ(next.avg, 10.2f);  // the mean of the decibels would be 10.5
  EXPECT_EQ(next.color, Color::Yellow);
}

// The edges of the mode read last; the mode register holds 3, 0, 1 or 2.
TEST(lgdt3305, ColourThresholdsAtTheirEdges) {
  auto colour = [](int16_t mode, float snr) {
    return Chip({{0, mode}}).driver.LGDT3305ColorizeSNR(snr);
  };
  ExpectEdges(colour, 0.1f,
              {{3, 10, Color::Red, Color::Orange},
               {3, 16, Color::Orange, Color::Yellow},
               {3, 24, Color::Yellow, Color::Green},
               {0, 20, Color::Red, Color::Orange},
               {0, 25, Color::Orange, Color::Yellow},
               {0, 30, Color::Yellow, Color::Green},
               {1, 28, Color::Red, Color::Orange},
               {1, 30, Color::Orange, Color::Yellow},
               {1, 32, Color::Yellow, Color::Green},
               {2, 0, Color::Red, Color::Green}});
}

TEST(lgdt3305, LockBitsByMode) {
  struct Case {
    int mode, r1, r2, r3;  // 0x050A, 0x0003, 0x011D
    std::vector<int16_t> locks;
  } cases[] = {
      {3, 0x00, 0x07, 0x80, {1, 1, 1, 1, 1}},   {3, 0xFF, 0x08, 0x02, {0, 0, 0, 0, 0}},
      {3, 0x00, 0x01, 0x00, {1, 1, 0, 0, 0}},   {3, 0x00, 0x02, 0x00, {1, 0, 1, 0, 0}},
      {0, 0x0D, 0x08, 0x02, {1, 0, 0, 0, 1}},   {0, 0x0C, 0x00, 0x80, {0, 0, 0, 0, 0}},
      {1, 0x09, 0x07, 0x02, {0, 1, 1, 1, 1}},   {1, 0x05, 0x00, 0x00, {0, 0, 0, 0, 0}},
      {2, 0xFF, 0x05, 0xFF, {-1, 1, 0, 1, -1}},
  };
  for (const auto& c : cases) {
    Chip chip({{0, c.mode}, {0x050A, c.r1}, {0x0003, c.r2}, {0x011D, c.r3}});
    EXPECT_EQ(chip.Locks(), c.locks) << "row " << &c - cases;
  }
}

TEST(lgdt3305, AgcCaptionsAreTwelveBitSigned) {
  struct Case {
    int rfHigh, rfLow, ifHigh, ifLow;
    std::string rf, ifAgc;
  } cases[] = {
      {0x08, 0x00, 0x07, 0xFF, "FFFFF800", "7FF"},
      {0x0F, 0xFF, 0xF0, 0x12, "FFFFFFFF", "12"},
      {0x00, 0x00, 0x0A, 0xBC, "0", "FFFFFABC"},
  };
  for (const auto& c : cases) {
    Chip chip({{0x0316, c.rfHigh}, {0x0317, c.rfLow}, {0x0318, c.ifHigh}, {0x0319, c.ifLow}});
    chip.Locks();
    EXPECT_EQ(chip.driver.SNRRegisters().Text(), "");
    EXPECT_EQ(chip.view.captions["lblAGC"], "RF_AGC: " + c.rf);
    EXPECT_EQ(chip.view.captions["lblIFGain"], "IF_AGC: " + c.ifAgc);
  }
}

TEST(lgdt3305, OffsetsAreTwentyFourBitSignedAndScaledByMode) {
  struct Case {
    int mode, b0, b1, b2;
    float carrier, timing;
  } cases[] = {
      {3, 0x80, 0x00, 0x00, -10760.0f, -336.25f},
      {0, 0x80, 0x00, 0x00, -390.625f, -390.625f},
      {1, 0x12, 0x34, 0x56, 55.555534f, 55.555534f},
      {2, 0x12, 0x34, 0x56, 0, 0},
  };
  for (const auto& c : cases) {
    const Regs regs = {{0, c.mode},    {0x0118, c.b0}, {0x0119, c.b1}, {0x011A, c.b2},
                       {0x0217, c.b0}, {0x0218, c.b1}, {0x0219, c.b2}};
    Chip chip(regs);
    EXPECT_FLOAT_EQ(float(chip.driver.CarrierOffset().Number()), c.carrier) << &c - cases;
    EXPECT_FLOAT_EQ(chip.driver.TimingRecoveryOffset(), c.timing) << &c - cases;
  }
  EXPECT_EQ(Chip({{0x0217, 0x80}, {0x0218, 0}, {0x0219, 0}}).driver.CarrierOffsetHex().Text(),
            "-336.25");
}

}  // namespace
