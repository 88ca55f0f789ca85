// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "monitor/Event.h"

// One notification: the latest event and how many it stands for.
struct Notice {
  std::string title, text;
  int count = 0;
  Event::Kind kind = Event::Kind::LockLost;  // the latest event's
};

// Keeps a flapping signal from flooding the desktop: at most one
// notification per kInterval. The first event is told at once; events that
// come sooner after a notification wait, counted, and the first poll after
// the interval tells the latest of them with the count.
class NoticeLimit {
 public:
  using Clock = std::chrono::system_clock;
  static constexpr std::chrono::seconds kInterval{60};

  // Takes one poll's events (none is fine: the poll may be the one that
  // tells the waiting ones); the notification to show now, if any.
  std::optional<Notice> Take(const std::vector<Event>& events, Clock::time_point now);
  // Forgets the waiting events: the user has seen the window.
  void Clear() { waiting_ = 0; }

 private:
  std::optional<Clock::time_point> lastTold_;
  int waiting_ = 0;
  Event latest_;
  Clock::time_point firstWaiting_;
};

// A local wall-clock time as 14:05:09.
std::string LocalClockText(std::chrono::system_clock::time_point t);
