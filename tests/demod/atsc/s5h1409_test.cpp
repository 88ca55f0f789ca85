// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/s5h1409.h"

#include <gtest/gtest.h>

#include <tuple>

#include "demod/ChipRig.h"
#include "monitor/Codes.h"

namespace {

using Chip = S5h1409Chip;

TEST(s5h1409, OperatingModeDecoding) {
  ExpectModes<Chip>({
      {{{0xF2, 0xFFFF}}, Mode::None, {0xF2}},
      {{{0xF2, 0x0003}, {0xF4, 1}}, Mode::Sleep, {0xF2}},
      {{{0xF2, 0}, {0xF4, 0xFFFE}}, Mode::Vsb8, {0xF2, 0xF4}},
      {{{0xF4, 1}, {0x85, 1}}, Mode::Qam64, {0xF2, 0xF4, 0x85}},
      {{{0xF4, 1}, {0x85, 0}}, Mode::Qam256, {0xF2, 0xF4, 0x85}},
      {{{0xF4, 1}, {0x85, 0x10}, {0xF0, 0x0100}}, Mode::Qam256, {0xF2, 0xF4, 0x85, 0xF0}},
      {{{0xF4, 1}, {0x85, 0x11}, {0xF0, 0x00FF}}, Mode::Qam64, {0xF2, 0xF4, 0x85, 0xF0}},
  });
}

TEST(s5h1409, SnrConversionsAtTheirClampsAndBounds) {
  int16_t low = 300, high = 0x3FF, under = 100, mid = 752;
  struct Case {
    double got, want;
  } cases[] = {
      {s5h1409::VsbSnrToDb(low), 0},  // 11.65 floored, as 11.996 at 367
      {s5h1409::VsbSnrToDb(367), 0},           {s5h1409::VsbSnrToDb(368), 12.001901},
      {s5h1409::VsbSnrToDb(mid), 18.859436},   {s5h1409::VsbSnrToDb(high), 30},
      {s5h1409::VsbSnrToDb(under), 0},         {s5h1409::Qam64SnrToDb(0), 0},
      {s5h1409::Qam64SnrToDb(1), 40},          {s5h1409::Qam64SnrToDb(20), 27.561365},
      {s5h1409::Qam64SnrToDb(127), 0},  // 18.9 below the floor
      {s5h1409::Qam256SnrToDb(0), 0},          {s5h1409::Qam256SnrToDb(1), 40},
      {s5h1409::Qam256SnrToDb(20), 35.708274}, {s5h1409::Qam256SnrToDb(127), 0},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.got, c.want, 1e-6) << &c - cases;
  EXPECT_EQ(s5h1409::ClampVsb(high), 950);  // the raw range the average and colour use
  EXPECT_EQ(s5h1409::ClampVsb(under), 300);
}

// The colour follows the raw value, masked as the reading is.
TEST(s5h1409, SnrColoursAtTheirThresholds) {
  auto colour = [](int16_t mode, float raw) {
    Chip chip({{mode == Mode::Vsb8 ? 0xF1 : 0xF0, int(raw)}});
    int16_t reset = 1;
    float avg = 0;
    int32_t color = -5;
    chip.driver.SNR(mode, avg, color, reset);
    return color;
  };
  ExpectEdges(colour, 1,
              {{Mode::Vsb8, 638, Color::Red, Color::Orange},
               {Mode::Vsb8, 657, Color::Orange, Color::Yellow},
               {Mode::Vsb8, 708, Color::Yellow, Color::Green},
               {Mode::Vsb8, 0xFFFF, Color::Green, Color::Green},  // masked to 0x3FF
               {Mode::Qam64, 13, Color::Green, Color::Yellow},
               {Mode::Qam64, 35, Color::Yellow, Color::Orange},
               {Mode::Qam64, 70, Color::Orange, Color::Red},
               {Mode::Qam256, 23, Color::Green, Color::Yellow},
               {Mode::Qam256, 52, Color::Yellow, Color::Orange},
               {Mode::Qam256, 73, Color::Orange, Color::Red},
               {Mode::Qam256, 0xFF80, Color::Red, Color::Green}});  // masked to 0
}

// Outside 8-VSB and QAM nothing is read: the SNR is 0, the average comes back
// to a tenth (25.25 to the even 25.2), the colour and the reset flag untouched.
TEST(s5h1409, SnrOutsideItsModesReadsNothing) {
  for (int16_t mode : {Mode::Sleep, Mode::None}) {
    Chip chip({});
    float avg = 25.25f;
    int32_t color = 7;
    int16_t reset = 1;
    EXPECT_EQ(chip.driver.SNR(mode, avg, color, reset), 0.0f) << mode;
    EXPECT_EQ(std::tuple(avg, color, reset, chip.Registers().size()),
              std::tuple(25.2f, 7, int16_t(1), size_t(0)))
        << mode;
  }
}

// The history holds raw values, clamped in 8-VSB before they are averaged.
TEST(s5h1409, SnrResetFillsTheHistoryWithTheRawValue) {
  Chip chip({{0xF1, 752}});
  chip.ExpectFreshSnr(Mode::Vsb8, 18.9f, Color::Green);  // 18.859...
  EXPECT_EQ(chip.driver.snrStep().Slot(1), 752);
  auto next = chip.NextSnr(0x32, {{0xF1, 0x3FF}});
  EXPECT_FLOAT_EQ(next.snr, 30.0f);
  EXPECT_FLOAT_EQ(next.avg, 19.3f);  // (18 x 752 + 950) / 19 = 762.4; 19.4 unclamped
}

TEST(s5h1409, LockBitsByMode) {
  ExpectLocks<Chip>({
      {{{0xF1, 0xF000}, {0x40, 1}}, {1, 1, 1, 1, 1}, {0xF1, 0x40}},
      {{{0xF1, 0x8000}, {0x40, 0}}, {1, 0, 0, 0, 0}, {0xF1, 0x40}},
      {{{0xF1, 0x2000}, {0x40, 1}}, {0, 1, 0, 1, 0}, {0xF1, 0x40}},
      {{{0xF1, 0x4000}, {0x40, 0}}, {0, 0, 0, 0, 1}, {0xF1, 0x40}},
      {{{0xF1, 0x1000}, {0x40, 0}}, {0, 0, 1, 0, 0}, {0xF1, 0x40}},
      {{{0xF4, 1}, {0x85, 1}, {0xF1, 0x8000}, {0xF0, 0x1000}}, {1, -1, 1, -1, -1}, {0xF1, 0xF0}},
      {{{0xF4, 1}, {0x85, 0}, {0xF1, 0x7000}, {0xF0, 0x0000}}, {0, -1, 0, -1, -1}, {0xF1, 0xF0}},
      {{{0xF2, 1}, {0xF1, 0xF000}}, {1, -1, -1, -1, -1}, {0xF1}},
  });
}

TEST(s5h1409, ReadingsAndTheirTexts) {
  const Regs regs = {{0xF0, 0x1A}, {0xF1, 0xF2F0}, {0x33, 0xFFFF}, {0x34, 0x0010}, {0x35, 0x12},
                     {0x36, 0},    {0x38, 0xABCD}, {0x39, 7},      {0x3A, 0xC80},  {0xB5, 9},
                     {0xB7, 300},  {0x82, 0x5FF},  {0xAC, 0x0030}, {0xA0, 5}};
  Chip vsb(regs);
  Chip qam({{0xF4, 1}, {0x85, 1}, {0xA0, 5}, {0xA2, 6}, {0xAA, 0xFFFF}});
  vsb.driver.OperatingMode();
  qam.driver.OperatingMode();
  ExpectTexts({{vsb.driver.SNRRegisters(), "1A / F2F0 / XX"},
               {vsb.driver.CarrierOffset(), "-65520"},
               {vsb.driver.CarrierOffsetHex(), "FFFF 10"},
               {vsb.driver.SymbolTiming(), "12 0"},
               {vsb.driver.AutoFreq(), "ABCD 7"},
               {vsb.driver.PilotPwr(), "3200"},
               {vsb.driver.UncorrectableErrors(), "9"},
               {vsb.driver.PostVeterbiErrors(), "300"},
               {vsb.driver.AGCPowerRef(), "1535"},
               {vsb.driver.BERctr(), "3"},
               {vsb.driver.IFGain(), "0"},  // the QAM readings are 0 in 8-VSB
               {qam.driver.IFGain(), "5"},
               {qam.driver.STRTime(), "6"},
               {qam.driver.FreqOffset(), "-1"}});
}

}  // namespace
