// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/lg2160.h"

#include <gtest/gtest.h>

#include "demod/ChipRig.h"
#include "monitor/Codes.h"

namespace {

std::string Board(const std::string& model, const Regs& regs, bool nak = false) {
  return "{\"devices\":[{\"chip\":\"" + model + "\",\"registers\":{" + Json(regs) +
         "},\"fault\":{\"nak\":" + (nak ? "true" : "false") + "}}]}";
}

// A driver that has found its variant, with registers then set; the probe's
// calls are forgotten.
struct Chip : BoardRig<lg2160> {
  explicit Chip(bool lg2161, const Regs& regs = {})
      : BoardRig(Board(lg2161 ? "lg2161" : "lg2160", {})) {
    Probe();
    EXPECT_EQ(driver.name(), lg2161 ? "LG2161" : "LG2160");
    Set(0x1C, regs);
  }
};

// The other variant's SNR registers hold 0x99 and must not be read.
TEST(lg2160, SnrDigitsOfEachVariant) {
  struct Case {
    bool lg2161;
    int high, low;
    float snr;
    int32_t color;
  } cases[] = {
      {false, 0x23, 0x40, 23.4f, Color::Green},  {false, 0x05, 0x70, 5.7f, Color::Orange},
      {false, 0x05, 0x07, 5.0f, Color::Orange},  {false, 0xBA, 0xDF, 0, Color::Red},
      {false, 0xBA, 0xDE, 121.3f, Color::Green}, {false, 0xFF, 0xFF, 166.5f, Color::Green},
      {true, 0x05, 0x07, 5.7f, Color::Orange},   {true, 0x05, 0x70, 5.0f, Color::Orange},
      {true, 0xBA, 0xDF, 0, Color::Red},         {true, 0xFF, 0xFF, 166.5f, Color::Green},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    int mine = c.lg2161 ? 0x0302 : 0x0202, other = c.lg2161 ? 0x0202 : 0x0302;
    Chip chip(c.lg2161, {{mine, c.high}, {mine + 1, c.low}, {other, 0x99}, {other + 1, 0x99}});
    chip.ExpectFreshSnr(Mode::Vsb8, c.snr, c.color);
    EXPECT_EQ(chip.Registers(), std::vector<int>({mine, mine + 1}));
  }
}

TEST(lg2160, ColourThresholdsAtTheirEdges) {
  Chip chip(false);
  auto colour = [&](int16_t, float snr) { return chip.driver.LG2160ColorizeSNR(snr); };
  ExpectEdges(colour, 0.1f,
              {{Mode::AtscMh, 4, Color::Red, Color::Orange},
               {Mode::AtscMh, 6, Color::Orange, Color::Yellow},
               {Mode::AtscMh, 8, Color::Yellow, Color::Green}});
}

TEST(lg2160, TheHistoryAveragesDecibels) {
  Chip chip(false, {{0x0202, 0x20}, {0x0203, 0}});
  chip.ExpectFreshSnr(Mode::AtscMh, 20.0f, Color::Green);
  // (18 * 20 + 1.5) / 19 = 19.03
  auto next = chip.NextSnr(0x1C, {{0x0202, 0x01}, {0x0203, 0x50}});
  EXPECT_FLOAT_EQ(next.snr, 1.5f);
  EXPECT_FLOAT_EQ(next.avg, 19.0f);
  EXPECT_EQ(next.color, Color::Red);
  EXPECT_DOUBLE_EQ(chip.driver.snrStep().Slot(19), 1.5);
}

TEST(lg2160, LockBitsOfEachVariant) {
  struct Case {
    bool lg2161;
    int status, snrHigh, sync;  // 0x011B, 0x0202, 0x0304
    std::vector<int16_t> locks;
  } cases[] = {
      {false, 0x00, 0x23, 0xFF, {1, 1, 1, 1, -1}}, {false, 0x20, 0x23, 0x00, {0, 1, 1, 0, -1}},
      {false, 0x40, 0x23, 0x00, {1, 1, 0, 1, -1}}, {false, 0xFF, 0xBA, 0x00, {0, 0, 0, 0, -1}},
      {true, 0x00, 0xBA, 0x00, {1, -1, 1, 1, -1}}, {true, 0x20, 0x23, 0x7F, {1, -1, 1, 1, -1}},
      {true, 0x00, 0x23, 0x80, {0, -1, 1, 0, -1}}, {true, 0x40, 0x23, 0x00, {1, -1, 0, 1, -1}},
  };
  for (const auto& c : cases) {
    Chip chip(c.lg2161, {{0x011B, c.status}, {0x0202, c.snrHigh}, {0x0304, c.sync}});
    EXPECT_EQ(chip.Locks(), c.locks) << "row " << &c - cases;
  }
}

TEST(lg2160, RegisterCaptionsAndErrorCountersOfEachVariant) {
  const Regs regs = {{0x0202, 0x23}, {0x0203, 0x0A}, {0x0302, 5},    {0x0303, 0xF0},
                     {0x0414, 0xF3}, {0x0413, 0x21}, {0x0614, 0xF3}, {0x0613, 0x21}};
  struct Case {
    bool lg2161;
    std::string caption, text;
    int32_t errors;
    std::vector<int> read;
  } cases[] = {
      {false, "Reg 0202 / 0203", "23 A", 0x321, {0x0202, 0x0203, 0x0414, 0x0413}},
      {true, "Reg 0302 / 0303", "5 F0", 0xF321, {0x0302, 0x0303, 0x0614, 0x0613}},
  };
  for (const auto& c : cases) {
    Chip chip(c.lg2161, regs);
    EXPECT_EQ(chip.driver.SNRRegisters().Text(), c.text);
    EXPECT_EQ(chip.view.captions, (std::map<std::string, std::string>{{"frF0F1", c.caption}}));
    EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), c.errors);
    EXPECT_EQ(chip.Registers(), c.read);
  }
  // The members of the other variant stay callable.
  Chip chip(false, {{0x0614, 0xF3}, {0x0613, 1}});
  EXPECT_EQ(chip.driver.lg2161_UncorrectableErrors(), 0xF301);
  EXPECT_EQ(chip.driver.lg2161_SNRRegisters().Text(), "0 0");
  EXPECT_EQ(chip.view.captions["frF0F1"], "Reg 0302 / 0303");
}

TEST(lg2160, OffsetsAreSignExtendedFrom24Bits) {
  struct Case {
    int b0, b1, b2;
    float carrier, timing;
    std::string text;
  } cases[] = {
      {0x00, 0x00, 0x01, 1.282958745956421f, 0.020046230405569077f, " .02004623"},
      {0x80, 0x00, 0x00, -10762238.0f, -168159.96875f, "-168160"},
  };
  for (const auto& c : cases) {
    const Regs regs = {{0x0118, c.b0}, {0x0119, c.b1}, {0x011A, c.b2},
                       {0x010E, c.b0}, {0x010F, c.b1}, {0x0110, c.b2}};
    Chip chip(false, regs);
    EXPECT_FLOAT_EQ(float(chip.driver.CarrierOffset().Number()), c.carrier) << c.text;
    EXPECT_FLOAT_EQ(chip.driver.TimingRecoveryOffset(), c.timing) << c.text;
    EXPECT_EQ(chip.driver.CarrierOffsetHex().Text(), c.text);
  }
}

}  // namespace
