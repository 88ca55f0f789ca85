// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <chrono>
#include <optional>
#include <string>

// Something that changed between two polls: the lock, whether the chip
// answers, whether the register view and the kernel's view agree.
struct Event {
  enum class Kind { LockLost, LockRegained, AnswerLost, AnswerRegained, ViewsDisagree, ViewsAgree };

  Kind kind = Kind::LockLost;
  std::chrono::system_clock::time_point time{};  // the poll that saw the change
  // Regained events: how long the lock or the answer was gone.
  std::optional<double> lostSeconds{};
  // ViewsDisagree: what newly disagrees ("lock (registers yes, kernel no)").
  std::string detail{};

  bool operator==(const Event&) const = default;
};

// The running sums since the monitor started, up to and including a poll.
// A stretch between two polls counts as the first of them found it: an
// unlocked chip stays unlocked through a silence that follows.
struct EventTally {
  long lockLosses = 0;
  double unlockedSeconds = 0, noAnswerSeconds = 0;
};

// The record name: "lock_lost", "lock_regained" ...
const char* EventName(Event::Kind kind);
// In words, for a notification or a tooltip: "Lock regained after 12.5 s".
std::string EventText(const Event& event);
