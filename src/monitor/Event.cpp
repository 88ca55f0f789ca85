// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Event.h"

#include <cstdio>

namespace {

std::string After(const std::optional<double>& seconds) {
  if (!seconds) return "";
  char text[48];
  std::snprintf(text, sizeof text, " after %.1f s", *seconds);
  return text;
}

}  // namespace

const char* EventName(Event::Kind kind) {
  switch (kind) {
    case Event::Kind::LockLost: return "lock_lost";
    case Event::Kind::LockRegained: return "lock_regained";
    case Event::Kind::AnswerLost: return "answer_lost";
    case Event::Kind::AnswerRegained: return "answer_regained";
    case Event::Kind::ViewsDisagree: return "views_disagree";
    case Event::Kind::ViewsAgree: return "views_agree";
  }
  return "";
}

std::string EventText(const Event& e) {
  switch (e.kind) {
    case Event::Kind::LockLost: return "Lock lost";
    case Event::Kind::LockRegained: return "Lock regained" + After(e.lostSeconds);
    case Event::Kind::AnswerLost: return "Demodulator not answering";
    case Event::Kind::AnswerRegained: return "Demodulator answering again" + After(e.lostSeconds);
    case Event::Kind::ViewsDisagree: return "Register and kernel views disagree: " + e.detail;
    case Event::Kind::ViewsAgree: return "Register and kernel views agree again";
  }
  return "";
}
