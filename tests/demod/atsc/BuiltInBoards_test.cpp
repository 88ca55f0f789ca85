// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bus/Bus.h"
#include "monitor/Codes.h"
#include "monitor/Detection.h"
#include "sim/SimRegistry.h"
#include "support/DriverReadings.h"
#include "support/FakeView.h"

namespace {

// Each built-in ATSC board is found by its own driver (before the drivers
// probed earlier, which must pass it over) and shows a locked signal whose
// SNR wanders within a band; some drivers relabel the lamps.
TEST(AtscBoards, BuiltInBoardsAreDetectedLockedAndWander) {
  struct Case {
    std::string board, driverClass, name;
    int16_t mode;
    std::vector<int16_t> locks;
    float low, high;
    std::string eqCaption;
  } cases[] = {
      {"s5h1409", "s5h1409", "CX24227", Mode::Vsb8, {1, 1, 1, 1, 1}, 21, 24.5f, ""},
      {"s5h1411", "s5h1411", "CX24228", Mode::Vsb8, {1, 1, 1, 1, -1}, 23, 26.5f, ""},
      {"au8522", "au8522", "AU8522", Mode::Vsb8, {1, -1, -1, 1, 1}, 18, 21, "TS Sync"},
      {"lg2160", "lg2160", "LG2160", Mode::AtscMh, {1, 1, 1, 1, -1}, 12, 19, "SNR GOOD"},
      {"lg2161", "lg2160", "LG2161", Mode::AtscMh, {1, -1, 1, 1, -1}, 12, 19, "SNR GOOD"},
      {"lgdt3305", "lgdt3305", "LGDT3305", Mode::Vsb8, {1, 1, 1, 1, 1}, 22, 28, "SNR GOOD"},
      {"lgdt3306", "lgdt3306", "LGDT3306", Mode::Vsb8, {1, 1, -1, 1, 1}, 24, 30, "SNR GOOD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.board);
    std::string error;
    auto board = MakeBuiltInBoard(c.board, error);
    ASSERT_TRUE(board) << error;
    double now = 0;
    board->SetClock([&] { return now; });
    Bus bus(*board);
    bus.handle = board->velI2C_InitByType(24, 0);
    FakeView view;
    Detection detection(BuiltInDrivers(bus, view));
    ASSERT_EQ(detection.Run(), 0);
    EXPECT_EQ(detection.currentClass(), c.driverClass);
    Demodulator& d = *detection.current();
    EXPECT_EQ(d.name(), c.name);
    std::vector<float> readings;
    int16_t reset = 1;
    for (now = 0; now < 40; now += 4) {
      int16_t mode = d.OperatingMode();
      EXPECT_EQ(mode, c.mode);
      float avg;
      int32_t color;
      readings.push_back(d.SNR(mode, avg, color, reset));
      EXPECT_EQ(LocksOf(d), c.locks);
    }
    auto [low, high] = std::minmax_element(readings.begin(), readings.end());
    EXPECT_GT(*low, c.low);
    EXPECT_LT(*high, c.high);
    EXPECT_GE(*high - *low, 0.5f);
    EXPECT_EQ(view.captions["lblEQLock"], c.eqCaption);
  }
}

}  // namespace
