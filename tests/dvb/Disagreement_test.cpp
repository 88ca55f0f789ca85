// SPDX-License-Identifier: GPL-3.0-or-later
// Where the register view and the kernel's view disagree, poll by poll.
#include "dvb/Disagreement.h"

#include <gtest/gtest.h>

#include "monitor/Reading.h"

namespace {

struct Poll {
  bool registersLocked;
  float snr;
  double uncorrectable;
  bool kernelLocked;
  std::optional<double> cnr;  // dB; none: not available
  std::optional<uint64_t> ucb;
};

Reading Registers(const Poll& p) {
  Reading r;
  r.locks[Reading::MasterLock] = p.registersLocked ? 1 : 0;
  r.snr = p.snr;
  r.uncorrectable = p.uncorrectable;
  return r;
}

KernelReading Kernel(const Poll& p) {
  KernelReading k;
  k.status = p.kernelLocked ? FE_HAS_LOCK | FE_HAS_SYNC : FE_HAS_SIGNAL;
  if (p.cnr) k.cnr = KernelLevel{false, *p.cnr};
  k.ucbTotal = p.ucb;
  return k;
}

TEST(Disagreement, LastsItsPollsBeforeItIsTold) {
  const Poll agree{true, 20.0f, 0, true, 20.5, 7};
  const Poll tenTimes{true, 20.0f, 0, true, 200.0, 7};
  struct Case {
    const char* what;
    std::vector<Poll> polls;
    std::string expected;  // what the last poll says disagrees, "" for nothing
    std::string detail;
  } cases[] = {
      {"agreeing views", {agree, agree, agree, agree, agree, agree}, "", ""},
      {"C/N ten times too big, 5 polls",
       {tenTimes, tenTimes, tenTimes, tenTimes, tenTimes},
       "snr",
       "SNR by 180.0 dB"},
      {"C/N ten times too big, 4 polls", {tenTimes, tenTimes, tenTimes, tenTimes}, "", ""},
      {"an agreeing poll starts the count again",
       {tenTimes, tenTimes, tenTimes, tenTimes, agree, tenTimes, tenTimes, tenTimes, tenTimes},
       "",
       ""},
      {"exactly 3 dB apart is not apart", std::vector<Poll>(6, Poll{true, 20.0f, 0, true, 23.0, 7}),
       "", ""},
      {"3.5 dB apart", std::vector<Poll>(5, Poll{true, 20.0f, 0, true, 16.5, 7}), "snr",
       "SNR by 3.5 dB"},
      {"C/N not available", std::vector<Poll>(6, Poll{true, 20.0f, 0, true, {}, 7}), "", ""},
      {"kernel without lock",
       {Poll{true, 20.0f, 0, false, {}, 7}},
       "lock",
       "lock (registers yes, kernel no)"},
      {"registers count errors, kernel none",
       {agree,
        {true, 20.0f, 3, true, 20.5, 7},
        {true, 20.0f, 1, true, 20.5, 7},
        {true, 20.0f, 2, true, 20.5, 7},
        {true, 20.0f, 9, true, 20.5, 7},
        {true, 20.0f, 4, true, 20.5, 7}},
       "ucb",
       "errors (registers only)"},
      {"kernel counts errors, registers none",
       {{true, 20.0f, 0, true, 20.5, 10},
        {true, 20.0f, 0, true, 20.5, 11},
        {true, 20.0f, 0, true, 20.5, 15},
        {true, 20.0f, 0, true, 20.5, 16},
        {true, 20.0f, 0, true, 20.5, 20},
        {true, 20.0f, 0, true, 20.5, 21}},
       "ucb",
       "errors (kernel only)"},
      {"a reset counter says nothing that poll",
       {{true, 20.0f, 0, true, 20.5, 10},
        {true, 20.0f, 0, true, 20.5, 11},
        {true, 20.0f, 0, true, 20.5, 15},
        {true, 20.0f, 0, true, 20.5, 0},
        {true, 20.0f, 0, true, 20.5, 2},
        {true, 20.0f, 0, true, 20.5, 3}},
       "",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DisagreementCheck check;
    std::vector<Disagreement> last;
    for (const Poll& p : c.polls) last = check.Check(Registers(p), Kernel(p));
    if (c.expected.empty()) {
      EXPECT_TRUE(last.empty()) << last.front().what;
    } else {
      ASSERT_EQ(last.size(), 1u);
      EXPECT_EQ(last[0].what, c.expected);
      EXPECT_EQ(last[0].detail, c.detail);
    }
  }
}

}  // namespace
