// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/SignalHistory.h"

#include <gtest/gtest.h>

namespace {

enum State { Locked, Unlocked, Silent };

Reading At(int64_t ms, float snr, State state = Locked, double uncorrectable = 0) {
  Reading r;
  r.timestamp = std::chrono::system_clock::time_point(std::chrono::milliseconds(ms));
  r.answering = state != Silent;
  r.locks[Reading::MasterLock] = state == Locked ? 1 : state == Unlocked ? 0 : -1;
  r.snr = r.average = snr;
  r.uncorrectable = uncorrectable;
  return r;
}

using Points = std::vector<std::pair<int64_t, double>>;
using Spans = Points;  // from, to

// Chart points or spans as pairs, to compare and print.
template <typename T>
Points Pairs(const std::vector<T>& items) {
  Points out;
  for (const auto& [first, second] : items) out.emplace_back(first, double(second));
  return out;
}

TEST(SignalHistory, KeepsTheNewestSamplesUpToItsBoundOldestFirst) {
  SignalHistory history(5);
  for (int i = 0; i < 8; ++i) {
    Reading r = At(i * 1000, float(i));
    r.events = {{Event::Kind::LockLost, r.timestamp}};
    history.Append(r);
  }
  ASSERT_EQ(history.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(history[i].ms, int64_t(i + 3) * 1000);
    EXPECT_EQ(history[i].snr, float(i + 3));
  }
  EXPECT_EQ(SignalHistory().capacity(), 200000u);  // more than a day at one poll a second
  // Across the ring's seam; a column's events share one mark, and none past the window.
  ChartData data = history.Decimate(3000, 6000, 3);
  EXPECT_EQ(Pairs(data.snr), (Points{{3000, 3}, {4000, 4}, {5000, 5}, {6000, 6}, {7000, 7}}));
  std::vector<std::pair<int64_t, std::string>> marks;
  for (const auto& e : data.events) marks.emplace_back(e.ms, e.text);
  EXPECT_EQ(marks, (decltype(marks){
                       {3000, "Lock lost"}, {4000, "Lock lost"}, {5000, "Lock lost\nLock lost"}}));
}

TEST(SignalHistory, CountsUncorrectableErrorsAddedSinceTheLastLockedPoll) {
  struct Step {
    State state;
    double counter;
    double added;
  };
  // No baseline at the start or after a lost lock; a counter that went down
  // was cleared, so all of it is new.
  const Step steps[] = {{Locked, 7, 0}, {Locked, 10, 3},  {Locked, 10, 0},   {Locked, 12, 2},
                        {Locked, 1, 1}, {Unlocked, 0, 0}, {Locked, 4, 0},    {Locked, 6, 2},
                        {Silent, 0, 0}, {Locked, 9, 0},   {Locked, 9.5, 0.5}};
  SignalHistory history;
  for (size_t i = 0; i < std::size(steps); ++i) {
    history.Append(At(int64_t(i) * 1000, 20, steps[i].state, steps[i].counter));
    EXPECT_EQ(std::tuple(history[i].uncorrectable, history[i].locked, history[i].answering),
              std::tuple(steps[i].added, steps[i].state == Locked, steps[i].state != Silent))
        << "poll " << i;
  }
}

TEST(SignalHistory, DecimationKeepsEachColumnsExtremesMeanAndErrorSums) {
  // 100 polls a second apart at 20 dB; poll 37 got no answer (0 dB), poll
  // 52 read 30 dB; 2, 1 and 4 uncorrectable errors came at polls 41, 43 and
  // 75. Over 10 columns of 9.9 s, column k starts with poll 10k.
  SignalHistory history;
  for (int i = 0; i < 100; ++i) {
    double counter = 2 * (i >= 41) + (i >= 43) + 4 * (i >= 75);
    history.Append(i == 37 ? At(i * 1000, 0, Silent)
                           : At(i * 1000, i == 52 ? 30 : 20, Locked, counter));
  }
  ChartData data = history.Decimate(0, 99000, 10);
  Points expected = {{0, 20},     {10000, 20}, {20000, 20}, {30000, 20}, {37000, 0},  {40000, 20},
                     {50000, 20}, {52000, 30}, {60000, 20}, {70000, 20}, {80000, 20}, {90000, 20}};
  EXPECT_EQ(Pairs(data.snr), expected);
  // The average (here the same readings) is one point a column: the mean of
  // its ten polls at their mean time, 0 dB and 30 dB pulling columns 3 and 5.
  Points averages;
  for (int k = 0; k < 10; ++k)
    averages.emplace_back(4500 + 10000 * k, k == 3 ? 18 : k == 5 ? 21 : 20);
  EXPECT_EQ(Pairs(data.average), averages);
  EXPECT_EQ(Pairs(data.noAnswer), (Spans{{37000, 38000}}));
  EXPECT_TRUE(data.lockLost.empty());
  // Marks sum per column, at the column's first error.
  EXPECT_EQ(Pairs(data.uncorrectable), (Points{{41000, 3}, {75000, 4}}));
}

TEST(SignalHistory, SpansMergeCloseRunsAndAreCutAtTheWindowsEdges) {
  // 60 polls; no lock for polls 0-4 and 55-59; no answer for 20, 21, 24 and 40.
  SignalHistory history;
  for (int i = 0; i < 60; ++i) {
    State s = (i < 5 || i >= 55)                           ? Unlocked
              : (i == 20 || i == 21 || i == 24 || i == 40) ? Silent
                                                           : Locked;
    history.Append(At(i * 1000, s == Locked ? 20 : 0, s));
  }
  // 11 columns of 5 s: runs less than a column apart are one span.
  ChartData data = history.Decimate(2000, 57000, 11);
  EXPECT_EQ(Pairs(data.lockLost), (Spans{{2000, 5000}, {55000, 57000}}));
  EXPECT_EQ(Pairs(data.noAnswer), (Spans{{20000, 25000}, {40000, 41000}}));
  // A run that reaches the newest poll ends there.
  data = history.Decimate(0, 80000, 16);
  EXPECT_EQ(Pairs(data.lockLost), (Spans{{0, 5000}, {55000, 59000}}));
}

}  // namespace
