// Every board polled through a bus that fails at random, then vanishes and
// comes back: the poll carries on, the window model stays well-formed, and
// the readings return with the bus.
#include <gtest/gtest.h>

#include "app/Startup.h"
#include "monitor/Monitor.h"
#include "sim/SimRegistry.h"
#include "support/RecordingLibrary.h"

namespace {

struct Lamps {
  std::string mode;
  std::vector<std::optional<int32_t>> fore;
  bool operator==(const Lamps&) const = default;
};

Lamps Read(const ViewModel& m) {
  Lamps l{m["lblMode"].text, {}};
  for (const char* lamp : {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"})
    l.fore.push_back(m[lamp].fore);
  return l;
}

TEST(FaultSoak, PollsSurviveAFlakyBusAndADroppedBoard) {
  for (const auto& name : BuiltInBoardNames()) {
    std::string error;
    auto board = MakeBuiltInBoard(name, error);
    RecordingLibrary flaky(*board, 7);
    Bus bus(flaky);
    Monitor monitor(false);
    Detection detection(BuiltInDrivers(bus, monitor));
    Startup s = RunStartup(CommandLine{}, bus, detection, true);
    ASSERT_TRUE(s.ok) << name;
    monitor.SetDriver(s.driver);
    monitor.Poll();
    Lamps healthy = Read(monitor.model);

    for (int i = 0; i < 400; ++i) {
      flaky.failRate = i < 150 ? 0.15 : 0;
      flaky.dropped = i >= 150 && i < 250;
      ASSERT_NO_THROW(monitor.Poll()) << name << " poll " << i;
      if (i % 37 == 0) monitor.ModeLabelClicked();
      std::string problem = ModelProblem(monitor.model);
      ASSERT_TRUE(problem.empty()) << name << " poll " << i << ": " << problem;
    }
    if (monitor.tpsExpanded()) monitor.ModeLabelClicked();
    monitor.Poll();
    EXPECT_EQ(Read(monitor.model), healthy) << name << " did not recover";
  }
}

}  // namespace
