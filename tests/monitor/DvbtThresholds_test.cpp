// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/DvbtThresholds.h"

#include <gtest/gtest.h>

#include "monitor/Codes.h"

namespace {

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
  // Codes outside the table have thresholds 0, 0, 0.
  for (auto [modulation, rate] : {std::pair(3, 0), {-1, 0}, {2, 5}, {0, -1}}) {
    EXPECT_EQ(DvbtThresholdColor(modulation, rate, 0.0f), Color::Green) << modulation << rate;
    EXPECT_EQ(DvbtThresholdColor(modulation, rate, -1.0f), Color::Red) << modulation << rate;
  }
}

}  // namespace
