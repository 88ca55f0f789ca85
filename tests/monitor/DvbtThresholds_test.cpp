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
      {2, 1, 18.9f, Color::Red},    // QAM64 2/3: 19, 21, 22
      {2, 1, 19.0f, Color::Orange},
      {2, 1, 20.99f, Color::Orange},
      {2, 1, 21.0f, Color::Yellow},
      {2, 1, 21.5f, Color::Yellow},
      {2, 1, 22.0f, Color::Green},
      {0, 0, 5.9f, Color::Red},     // QPSK 1/2: 6, 8, 10
      {0, 0, 6.0f, Color::Orange},
      {0, 0, 8.0f, Color::Yellow},
      {0, 0, 10.0f, Color::Green},
      {0, 4, 13.9f, Color::Yellow}, // QPSK 7/8: 10, 12, 14
      {1, 2, 15.0f, Color::Orange}, // QAM16 3/4: 15, 17, 19
      {1, 4, 20.9f, Color::Yellow}, // QAM16 7/8: 17, 19, 21
      {2, 2, 22.9f, Color::Yellow}, // QAM64 3/4: 21, 22, 23
      {2, 4, 25.0f, Color::Green},  // QAM64 7/8: 23, 24, 25
      {3, 0, 0.0f, Color::Green},   // unknown codes: 0, 0, 0
      {-1, 0, 0.0f, Color::Green},
      {2, 5, 0.0f, Color::Green},
      {6, 2, -1.0f, Color::Red},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DvbtThresholdColor(c.modulation, c.rate, c.value), c.color)
        << c.modulation << "/" << c.rate << " at " << c.value;
}

}  // namespace
