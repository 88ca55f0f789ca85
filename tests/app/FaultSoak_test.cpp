// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/NoAnswer.h"
#include "support/StartedBoard.h"

namespace {

struct Readings {
  std::string mode;
  std::vector<std::optional<int32_t>> fore;
  bool operator==(const Readings&) const = default;
};

Readings Read(const ViewModel& m) {
  Readings r{m["lblMode"].text, {}};
  for (const char* lamp : {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"})
    r.fore.push_back(m[lamp].fore);
  return r;
}

// Whether calls [from, to) hold a read that got no answer in the end: a
// failed read that is not tried again, or the last of the bus's attempts.
bool HasUnansweredRead(const std::vector<RecordingLibrary::Call>& calls, size_t from, size_t to) {
  auto same = [](const RecordingLibrary::Call& a, const RecordingLibrary::Call& b) {
    return std::tie(a.kind, a.mode, a.address, a.sub, a.count, a.written) ==
           std::tie(b.kind, b.mode, b.address, b.sub, b.count, b.written);
  };
  int failedInARow = 0;
  for (size_t i = from; i < to; ++i) {
    const auto& c = calls[i];
    if (c.kind == RecordingLibrary::Call::Write) continue;
    if (!c.failed) {
      failedInARow = 0;
      continue;
    }
    ++failedInARow;
    bool triedAgain = i + 1 < to && same(c, calls[i + 1]);
    if (!triedAgain || failedInARow == Bus::kReadAttempts) return true;
  }
  return false;
}

// Each board, its clock standing still, vanishes for 20 polls (the mode
// label still folds and unfolds the panel), comes back with its readings,
// then sits on a flaky bus: a poll shows the readings exactly when all its
// reads were answered, "No answer" otherwise, and the model stays well-formed.
TEST(FaultSoak, EveryBoardShowsNoAnswerExactlyWhenAReadWentUnanswered) {
  int answeredPolls = 0, unansweredPolls = 0;
  for (const auto& name : BuiltInBoardNames()) {
    StartedBoard rig(name, {}, 0.0, 7);
    Monitor& monitor = *rig.monitor;
    monitor.Poll();
    ASSERT_TRUE(monitor.model.answering) << name;
    const Readings healthy = Read(monitor.model);
    EXPECT_EQ(healthy.fore[0], Color::LampGreen) << name << " is not locked to begin with";
    for (int i = 0; i < 210; ++i) {
      const std::string where = name + " poll " + std::to_string(i);
      const Control& bar = monitor.model["vbalProgressBar1"];
      const int barMin = bar.min, barMax = bar.max;
      rig.rec->dropped = i >= 20 && i < 40;
      if (i < 60 && i % 7 == 0) monitor.ModeLabelClicked();
      if (i == 60) {
        if (monitor.tpsExpanded()) monitor.ModeLabelClicked();
        rig.rec->failRate = 0.15;
      }
      const size_t from = rig.rec->calls.size();
      ASSERT_NO_THROW(monitor.Poll()) << where;
      if (HasUnansweredRead(rig.rec->calls, from, rig.rec->calls.size())) {
        ++unansweredPolls;
        ExpectNoAnswer(monitor.model, barMin, barMax, where);
        EXPECT_TRUE(!rig.rec->dropped || monitor.resetFlag() == 1) << where;
      } else if (i >= 60) {
        ++answeredPolls;
        EXPECT_TRUE(monitor.model.answering) << where;
        EXPECT_EQ(Read(monitor.model), healthy) << where << " did not recover";
      }
      const std::string problem = ModelProblem(monitor.model);
      ASSERT_TRUE(problem.empty()) << where << ": " << problem;
    }
  }
  // Both kinds of poll happened, so both halves above were exercised.
  EXPECT_GT(answeredPolls, 100);
  EXPECT_GT(unansweredPolls, 10);
}

}  // namespace
