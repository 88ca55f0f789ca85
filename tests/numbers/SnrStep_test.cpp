// SPDX-License-Identifier: GPL-3.0-or-later
// The shared SNR step: reset-then-fill, the 19-slot average, the chip's
// conversion and rounding.
#include "numbers/SnrStep.h"

#include <gtest/gtest.h>

namespace {

TEST(SnrStep, FillsAveragesConvertsAndRounds) {
  auto clampTo950 = [](double v) { return v > 950 ? 950.0 : v; };
  struct Case {
    const char* what;
    int16_t reset;
    double raw;
    SnrRule rule;
    float reading, average;
  } cases[] = {
      // A reset fills all 19 slots: the mean is the reading itself.
      {"reset", 1, 20, {}, 20, 20},
      // Halves go to the even neighbour: 2.5 tenths -> 2.
      {"half to even", 1, 0.25, {}, 0.2f, 0.2f},
      // 28.5 / 19 = 1.5, taken as it is, floored or to the nearest (even) whole.
      {"as is", 0, 28.5, {}, 28.5f, 1.5f},
      {"floor", 0, 28.5, {.average = SnrRule::Average::Floor}, 28.5f, 1},
      {"nearest", 0, 28.5, {.average = SnrRule::Average::Nearest}, 28.5f, 2},
      // The history is filled before the clamp: (18 x 1000 + 950) / 19 = 997.37.
      {"clamp after fill", 1, 1000, {.clamp = clampTo950}, 950, 997.4f},
      // The conversion serves reading and average: 200 eighths of a dB.
      {"convert", 1, 200, {.toDb = [](double v) { return v / 8; }}, 25, 25},
      {"unrounded", 1, 0.25, {.roundReading = Unrounded, .roundAverage = Unrounded}, 0.25f, 0.25f},
      {"whole", 1, 3.5, {.roundReading = RoundWhole}, 4, 3.5f},
      // Just above a half in double, exactly the half in single precision.
      {"single first", 1, 0.25 + 1e-12, {.roundAverage = RoundTenthOfSingle}, 0.3f, 0.2f},
  };
  for (Case& c : cases) {
    SnrStep step;
    SnrReading got = step.Take(c.raw, c.reset, c.rule);
    EXPECT_EQ(got.reading, c.reading) << c.what;
    EXPECT_EQ(got.average, c.average) << c.what;
    EXPECT_EQ(c.reset, 0) << c.what;
  }
}

TEST(SnrStep, AverageCountsTheDroppedSlotOnceMore) {
  SnrStep step;
  step.Fill(20);
  EXPECT_DOUBLE_EQ(step.Average(20), 20);
  step.Fill(0);
  EXPECT_DOUBLE_EQ(step.Average(19), 1);
  // Slots now 0 x 17, 0, 19: the old 19 is counted only from the next call on.
  EXPECT_DOUBLE_EQ(step.Average(0), 0);
  EXPECT_DOUBLE_EQ(step.Average(0), 1);
  EXPECT_EQ(step.Slot(17), 19);
  step.Fill(3.5);
  for (int i = 1; i <= 19; ++i) EXPECT_EQ(step.Slot(i), 3.5);
}

}  // namespace
