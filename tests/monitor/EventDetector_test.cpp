// SPDX-License-Identifier: GPL-3.0-or-later
// The events of the monitor's polls, driven by board files through a
// session (the simulated card's kernel view included) on a pinned clock.
#include "monitor/EventDetector.h"

#include <gtest/gtest.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "app/Session.h"
#include "sim/SimBoard.h"
#include "support/Headless.h"

namespace {

using std::chrono::seconds;

struct Case {
  std::string name;
  std::vector<std::pair<int, int>> unlocked;  // the s5h1409's "unlocked_polls"
  std::string frontend = "{}";                // the board's "frontend"
  int silentFrom = 0, silentTo = 0;           // polls the chip does not answer
  int polls;
  std::string events;  // "poll:name" in order, regained ones with their seconds
  EventTally tally;
  int switchBefore = 0;  // the poll before which the same board file is opened anew
};

TEST(EventDetector, BoardFaultsGiveTheirEventsAndSums) {
  const Case cases[] = {
      {.name = "flapping lock",
       .unlocked = {{2, 2}, {4, 4}},
       .polls = 5,
       .events = "2:lock_lost 3:lock_regained(2s) 4:lock_lost 5:lock_regained(2s)",
       .tally = {2, 4, 0}},
      {.name = "silent chip",
       .unlocked = {},
       .silentFrom = 3,
       .silentTo = 4,
       .polls = 6,
       .events = "3:answer_lost 5:answer_regained(4s)",
       .tally = {0, 0, 4}},
      // The lock stays lost through the silence: its seconds count on.
      {.name = "silence while unlocked",
       .unlocked = {{2, 6}},
       .silentFrom = 3,
       .silentTo = 4,
       .polls = 7,
       .events = "2:lock_lost 3:answer_lost 5:answer_regained(4s) 7:lock_regained(10s)",
       .tally = {1, 10, 4}},
      // The kernel reports ten times the SNR: apart from the fifth locked
      // poll on; unlocked, neither has an SNR to compare.
      {.name = "views apart",
       .unlocked = {{7, 7}},
       .frontend = R"({"cnr_scale": 10})",
       .polls = 12,
       .events = "5:views_disagree 7:lock_lost 7:views_agree 8:lock_regained(2s) 12:views_disagree",
       .tally = {1, 2, 0}},
      // Another board: its polls count from 1, its lock is not compared with
      // the old one's, the totals go on.
      {.name = "board switched",
       .unlocked = {{2, 2}},
       .polls = 5,
       .events = "2:lock_lost 4:lock_lost 5:lock_regained(2s)",
       .tally = {2, 2, 0},
       .switchBefore = 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BoardFileOnDisk file(R"({"devices": [{"chip": "s5h1409", "fault": {"unlocked_polls": )" +
                             nlohmann::json(c.unlocked).dump() + R"(}}], "frontend": )" +
                             c.frontend + "}",
                         "events");
    SimFault silent{.failAfter = 0, .unlockedPolls = c.unlocked};
    CommandLine cl;
    cl.bus = "sim:" + file.path.string();
    Session session(cl);
    std::string error;
    ASSERT_TRUE(session.OpenBus(std::cerr, error) && session.Start(error)) << error;
    const auto start = std::chrono::system_clock::time_point(seconds(1800000000));
    int poll = 0;
    session.monitor().clock = [&] { return start + seconds(2 * (poll - 1)); };
    std::string events;
    for (poll = 1; poll <= c.polls; ++poll) {
      if (poll == c.switchBefore) {
        ASSERT_TRUE(session.SwitchBoard(cl.bus, std::cerr, error)) << error;
      }
      SimBoard& board = *session.backend().simBoard;
      if (poll == c.silentFrom) board.SetFault(0x32, silent);
      if (c.silentFrom && poll == c.silentTo + 1)
        board.SetFault(0x32, {.unlockedPolls = c.unlocked});
      session.monitor().Poll();
      for (const Event& e : session.monitor().lastReading().events) {
        events += (events.empty() ? "" : " ") + std::to_string(poll) + ":" + EventName(e.kind);
        if (e.lostSeconds) events += "(" + std::to_string(int(*e.lostSeconds)) + "s)";
        if (e.kind == Event::Kind::ViewsDisagree) {
          EXPECT_EQ(e.detail.substr(0, 7), "SNR by ");
        }
        EXPECT_EQ(e.time, start + seconds(2 * (poll - 1)));
      }
    }
    EXPECT_EQ(events, c.events);
    const EventTally& t = session.monitor().lastReading().tally;
    EXPECT_EQ(std::tuple(t.lockLosses, t.unlockedSeconds, t.noAnswerSeconds),
              std::tuple(c.tally.lockLosses, c.tally.unlockedSeconds, c.tally.noAnswerSeconds));
  }
}

}  // namespace
