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

// Polls of agreeing levels whose error counts are the registers' `counts`
// and the kernel's running totals `ucb`.
std::vector<Poll> Counting(std::vector<double> counts, std::vector<uint64_t> ucb) {
  std::vector<Poll> polls;
  for (size_t i = 0; i < counts.size(); ++i)
    polls.push_back({true, 20.0f, counts[i], true, 20.5, ucb[i]});
  return polls;
}

TEST(Disagreement, LastsItsPollsBeforeItIsTold) {
  const Poll agree{true, 20.0f, 0, true, 20.5, 7};
  const Poll tenTimes{true, 20.0f, 0, true, 200.0, 7};
  auto times = [](int n, Poll p) { return std::vector<Poll>(n, p); };
  struct Case {
    const char* what;
    std::vector<Poll> polls;
    std::string told;  // what the last poll says disagrees, "what: detail;" each
  } cases[] = {
      {"agreeing views", times(6, agree), ""},
      {"C/N ten times too big, 5 polls", times(5, tenTimes), "snr: SNR by 180.0 dB;"},
      {"C/N ten times too big, 4 polls", times(4, tenTimes), ""},
      {"an agreeing poll starts the count again",
       {tenTimes, tenTimes, tenTimes, tenTimes, agree, tenTimes, tenTimes, tenTimes, tenTimes},
       ""},
      {"exactly 3 dB apart is not apart", times(6, {true, 20.0f, 0, true, 23.0, 7}), ""},
      {"3.5 dB apart", times(5, {true, 20.0f, 0, true, 16.5, 7}), "snr: SNR by 3.5 dB;"},
      {"C/N not available", times(6, {true, 20.0f, 0, true, {}, 7}), ""},
      {"kernel without lock",
       {{true, 20.0f, 0, false, {}, 7}},
       "lock: lock (registers yes, kernel no);"},
      {"registers count errors, kernel none", Counting({0, 3, 1, 2, 9, 4}, {7, 7, 7, 7, 7, 7}),
       "ucb: errors (registers only);"},
      {"registers count errors, 4 polls", Counting({0, 3, 1, 2, 9}, {7, 7, 7, 7, 7}), ""},
      {"kernel counts errors, registers none",
       Counting({0, 0, 0, 0, 0, 0}, {10, 11, 15, 16, 20, 21}), "ucb: errors (kernel only);"},
      {"a reset counter says nothing that poll",
       Counting({0, 0, 0, 0, 0, 0}, {10, 11, 15, 0, 2, 3}), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DisagreementCheck check;
    std::vector<Disagreement> last;
    for (const Poll& p : c.polls) last = check.Check(Registers(p), Kernel(p));
    std::string told;
    for (const Disagreement& d : last) told += d.what + ": " + d.detail + ";";
    EXPECT_EQ(told, c.told);
  }
}

}  // namespace
