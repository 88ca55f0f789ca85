#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bus/Bus.h"
#include "monitor/Codes.h"
#include "monitor/Detection.h"
#include "sim/SimRegistry.h"
#include "support/FakeView.h"

namespace {

// Each built-in LG board is found by its own driver (the LGDT3306 is probed
// first and must pass the LGDT3305 over) and shows a locked 8-VSB signal
// whose SNR wanders within a band.
TEST(LgdtModels, BuiltInBoardsAreDetectedLockedAndWander) {
  struct Case {
    std::string board;
    std::vector<int16_t> locks;
    float low, high;
  } cases[] = {{"lgdt3305", {1, 1, 1, 1, 1}, 22, 28}, {"lgdt3306", {1, 1, -1, 1, 1}, 24, 30}};
  for (const auto& c : cases) {
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
    EXPECT_EQ(detection.currentClass(), c.board);
    Demodulator& d = *detection.current();
    std::vector<float> readings;
    for (now = 0; now < 40; now += 4) {
      int16_t mode = d.OperatingMode(), reset = 0;
      EXPECT_EQ(mode, Mode::Vsb8);
      float avg;
      int32_t color;
      readings.push_back(d.SNR(mode, avg, color, reset));
      std::vector<int16_t> locks(5);
      d.GetLockStatus(locks[0], locks[1], locks[2], locks[3], locks[4]);
      EXPECT_EQ(locks, c.locks) << c.board;
    }
    auto [low, high] = std::minmax_element(readings.begin(), readings.end());
    EXPECT_GT(*low, c.low) << c.board;
    EXPECT_LT(*high, c.high) << c.board;
    EXPECT_GT(*high - *low, 0.5f) << c.board;
  }
}

}  // namespace
