// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/NoticeLimit.h"

#include <ctime>

std::string LocalClockText(std::chrono::system_clock::time_point t) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

std::optional<Notice> NoticeLimit::Take(const std::vector<Event>& events, Clock::time_point now) {
  for (const Event& e : events) {
    if (waiting_++ == 0) firstWaiting_ = e.time;
    latest_ = e;
  }
  if (waiting_ == 0 || (lastTold_ && now - *lastTold_ < kInterval)) return std::nullopt;
  Notice notice{EventText(latest_), "at " + LocalClockText(latest_.time), waiting_, latest_.kind};
  if (waiting_ > 1)
    notice.text = std::to_string(waiting_) + " events since " + LocalClockText(firstWaiting_) +
                  "; the latest " + notice.text;
  lastTold_ = now;
  waiting_ = 0;
  return notice;
}
