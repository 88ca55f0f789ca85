// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/DvbtThresholds.h"

#include <gtest/gtest.h>

#include "monitor/Codes.h"

namespace {

TEST(DvbtThresholdColor, EdgesByConstellationAndCodeRate) {
  struct Case {
    int modulation, rate;
    float value;
    int32_t color;
  } cases[] = {
      {2, 1, 18.9f, Color::Red},  // QAM64 2/3: 19, 21, 22
      {2, 1, 19.0f, Color::Orange}, {2, 1, 20.99f, Color::Orange},
      {2, 1, 21.0f, Color::Yellow}, {2, 1, 21.5f, Color::Yellow},
      {2, 1, 22.0f, Color::Green},  {0, 0, 5.9f, Color::Red},  // QPSK 1/2: 6, 8, 10
      {0, 0, 6.0f, Color::Orange},  {0, 0, 8.0f, Color::Yellow},
      {0, 0, 10.0f, Color::Green},  {0, 4, 13.9f, Color::Yellow},  // QPSK 7/8: 10, 12, 14
      {1, 2, 15.0f, Color::Orange},                                // QAM16 3/4: 15, 17, 19
      {1, 4, 20.9f, Color::Yellow},                                // QAM16 7/8: 17, 19, 21
      {2, 2, 22.9f, Color::Yellow},                                // QAM64 3/4: 21, 22, 23
      {2, 4, 25.0f, Color::Green},                                 // QAM64 7/8: 23, 24, 25
      {3, 0, 0.0f, Color::Green},                                  // unknown codes: 0, 0, 0
      {-1, 0, 0.0f, Color::Green},  {2, 5, 0.0f, Color::Green},
      {6, 2, -1.0f, Color::Red},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DvbtThresholdColor(c.modulation, c.rate, c.value), c.color)
        << c.modulation << "/" << c.rate << " at " << c.value;
}

// Every cell of the table (constellation by code rate: t1, t2, t3), each
// checked just below and at each of its three thresholds.
TEST(DvbtThresholdColor, EveryCellAtEachOfItsEdges) {
  const int table[3][5][3] = {
      {{6, 8, 10}, {7, 9, 11}, {8, 10, 12}, {9, 11, 13}, {10, 12, 14}},        // QPSK
      {{11, 13, 15}, {14, 16, 18}, {15, 17, 19}, {16, 18, 20}, {17, 19, 21}},  // QAM16
      {{17, 19, 21}, {19, 21, 22}, {21, 22, 23}, {22, 23, 24}, {23, 24, 25}},  // QAM64
  };
  const int32_t below[3] = {Color::Red, Color::Orange, Color::Yellow};
  const int32_t at[3] = {Color::Orange, Color::Yellow, Color::Green};
  for (int modulation = 0; modulation < 3; ++modulation) {
    for (int rate = 0; rate < 5; ++rate) {
      for (int edge = 0; edge < 3; ++edge) {
        float t = float(table[modulation][rate][edge]);
        SCOPED_TRACE(testing::Message() << modulation << "/" << rate << " edge " << t);
        EXPECT_EQ(DvbtThresholdColor(modulation, rate, t - 0.05f), below[edge]);
        EXPECT_EQ(DvbtThresholdColor(modulation, rate, t), at[edge]);
      }
    }
  }
}

}  // namespace
