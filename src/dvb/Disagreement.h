// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "dvb/KernelReading.h"

struct Reading;

// One way the register view and the kernel's view disagree this poll.
struct Disagreement {
  std::string what;    // "lock", "snr", "ucb"
  std::string detail;  // what and by how much: "SNR by 4.2 dB"
  bool operator==(const Disagreement&) const = default;
};

// Compares the two views poll by poll. A disagreement must last: the two
// are read a few milliseconds apart, and drivers average differently.
class DisagreementCheck {
 public:
  // Lock: the register view's master lock against FE_HAS_LOCK.
  static constexpr int kLockPolls = 1;
  // SNR: the register SNR against the kernel's C/N (both in dB, both views
  // locked) further apart than this for this many polls in a row.
  static constexpr double kSnrApartDb = 3.0;
  static constexpr int kSnrPolls = 5;
  // Uncorrectable errors: one view counts some in each of this many polls
  // in a row while the other counts none.
  static constexpr int kErrorPolls = 5;

  std::vector<Disagreement> Check(const Reading& registers, const KernelReading& kernel);

 private:
  int lockRun_ = 0, snrRun_ = 0, errorRun_ = 0;
  int errorSide_ = 0;  // +1 only the registers count errors, -1 only the kernel
  std::optional<uint64_t> lastUcb_;
};
