// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "monitor/Event.h"

struct Reading;

// Finds the events in the monitor's polls, one poll after the other, and
// keeps the running sums. Every duration comes from the polls' own
// timestamps, so a replayed or pinned clock gives the same events.
//
// A change is told only against a state seen before. The chip answered its
// detection, so a first silent poll loses the answer; the lock is unknown
// until a poll is answered, so a chip that starts unlocked tells nothing
// until it loses a lock it had. A silent poll says nothing about the lock
// or the views: they keep the state of the last answered poll.
class EventDetector {
 public:
  using Clock = std::chrono::system_clock;

  // The events the poll brought, in this order: the answer, the lock, the
  // views.
  std::vector<Event> Take(const Reading& reading);
  const EventTally& tally() const { return tally_; }
  // Another board: nothing of the last one's lock, answer or views is
  // compared with it, the totals go on.
  void ForgetStates() {
    EventTally kept = tally_;
    *this = EventDetector{};
    tally_ = kept;
  }

 private:
  std::optional<Clock::time_point> last_;  // the previous poll
  bool answering_ = true;
  Clock::time_point silentSince_;
  std::optional<bool> locked_;
  std::optional<Clock::time_point> unlockedSince_;  // set once a lock was lost
  std::set<std::string> disagree_;                  // what the views disagree on
  EventTally tally_;
};
