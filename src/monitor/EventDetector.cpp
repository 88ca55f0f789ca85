// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/EventDetector.h"

#include <algorithm>

#include "monitor/Reading.h"

namespace {

double Seconds(std::chrono::system_clock::duration d) {
  return std::max(0.0, std::chrono::duration<double>(d).count());
}

}  // namespace

std::vector<Event> EventDetector::Take(const Reading& r) {
  // Read through the frontend alone, no chip was asked: nothing was lost.
  if (!r.noRegisterView.empty()) return {};
  const Clock::time_point now = r.timestamp;
  if (last_) {
    const double since = Seconds(now - *last_);
    if (!answering_) tally_.noAnswerSeconds += since;
    if (locked_ == false) tally_.unlockedSeconds += since;
  }
  last_ = now;

  std::vector<Event> events;
  auto add = [&](Event::Kind kind) -> Event& { return events.emplace_back(Event{kind, now}); };
  if (r.answering != answering_) {
    if (r.answering)
      add(Event::Kind::AnswerRegained).lostSeconds = Seconds(now - silentSince_);
    else
      add(Event::Kind::AnswerLost);
    silentSince_ = now;
    answering_ = r.answering;
  }
  if (!r.answering) return events;

  const bool locked = r.locked();
  if (locked_ && *locked_ != locked) {
    if (!locked) {
      add(Event::Kind::LockLost);
      ++tally_.lockLosses;
      unlockedSince_ = now;
    } else if (unlockedSince_) {
      add(Event::Kind::LockRegained).lostSeconds = Seconds(now - *unlockedSince_);
    }
  }
  locked_ = locked;

  // A kernel that could not be read says nothing about the views.
  if (!r.kernel || !r.kernel->problem.empty()) return events;
  std::set<std::string> disagreeNow;
  std::string detail;
  for (const Disagreement& d : r.disagree) {
    disagreeNow.insert(d.what);
    if (!disagree_.contains(d.what)) detail += (detail.empty() ? "" : ", ") + d.detail;
  }
  if (!detail.empty())
    add(Event::Kind::ViewsDisagree).detail = detail;
  else if (disagreeNow.empty() && !disagree_.empty())
    add(Event::Kind::ViewsAgree);
  disagree_ = std::move(disagreeNow);
  return events;
}
