// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/NoticeLimit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

using std::chrono::seconds;
using Clock = std::chrono::system_clock;

TEST(NoticeLimit, AFlappingSignalIsToldAtMostOnceAMinuteWithItsCount) {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  const Clock::time_point start{seconds(1800000000)};  // 08:00:00 UTC
  struct Poll {
    int at;  // seconds after start
    std::vector<Event::Kind> events;
    int count;         // of the notification shown at this poll, 0 for none
    std::string text;  // its text
  } polls[] = {
      {0, {Event::Kind::LockLost}, 1, "at 08:00:00"},
      {10, {Event::Kind::LockRegained}, 0, ""},
      {30, {Event::Kind::LockLost, Event::Kind::AnswerLost}, 0, ""},
      {59, {}, 0, ""},
      {60, {}, 3, "3 events since 08:00:10; the latest at 08:00:30"},
      {70, {Event::Kind::AnswerRegained}, 0, ""},
      {119, {}, 0, ""},
      {125, {}, 1, "at 08:01:10"},
      {200, {}, 0, ""},  // nothing waits
      {201, {Event::Kind::ViewsAgree}, 1, "at 08:03:21"},
  };
  NoticeLimit limit;
  for (const Poll& p : polls) {
    SCOPED_TRACE(p.at);
    std::vector<Event> events;
    for (Event::Kind kind : p.events) events.push_back({kind, start + seconds(p.at)});
    std::optional<Notice> notice = limit.Take(events, start + seconds(p.at));
    ASSERT_EQ(notice.has_value(), p.count > 0);
    if (!notice) continue;
    EXPECT_EQ(notice->count, p.count);
    EXPECT_EQ(notice->text, p.text);
  }
  // The latest event gives the title.
  limit.Take({{Event::Kind::AnswerLost, start + seconds(300)}}, start + seconds(300));
  EXPECT_EQ(
      limit.Take({{Event::Kind::LockRegained, start + seconds(301), 4.5}}, start + seconds(361))
          ->title,
      "Lock regained after 4.5 s");
  // Events the user saw in the window are not told later.
  limit.Take({{Event::Kind::LockLost, start + seconds(400)}}, start + seconds(400));
  limit.Take({{Event::Kind::LockRegained, start + seconds(410)}}, start + seconds(410));
  limit.Clear();
  EXPECT_FALSE(limit.Take({}, start + seconds(470)));
}

}  // namespace
