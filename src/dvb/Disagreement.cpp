// SPDX-License-Identifier: GPL-3.0-or-later
#include "dvb/Disagreement.h"

#include <cmath>
#include <cstdio>

#include "monitor/Reading.h"

namespace {

std::string Db(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f dB", value);
  return text;
}

}  // namespace

std::vector<Disagreement> DisagreementCheck::Check(const Reading& registers,
                                                   const KernelReading& kernel) {
  std::vector<Disagreement> out;
  const std::optional<bool> kernelLock = kernel.locked();
  if (!registers.answering || !kernel.problem.empty()) {
    lockRun_ = snrRun_ = errorRun_ = 0;
    lastUcb_.reset();
    return out;
  }

  lockRun_ = kernelLock && *kernelLock != registers.locked() ? lockRun_ + 1 : 0;
  if (lockRun_ >= kLockPolls)
    out.push_back({"lock", std::string("lock (registers ") + (registers.locked() ? "yes" : "no") +
                               ", kernel " + (*kernelLock ? "yes" : "no") + ")"});

  const bool bothLocked = registers.locked() && kernelLock.value_or(false);
  const bool snrApart = bothLocked && kernel.cnr && !kernel.cnr->relative &&
                        std::fabs(registers.snr - kernel.cnr->value) > kSnrApartDb;
  snrRun_ = snrApart ? snrRun_ + 1 : 0;
  if (snrRun_ >= kSnrPolls)
    out.push_back({"snr", "SNR by " + Db(std::fabs(registers.snr - kernel.cnr->value))});

  // The kernel counts errors in a poll when its block error counter grew;
  // a counter that went down was reset and says nothing this poll.
  std::optional<bool> kernelCounts;
  if (kernel.ucbTotal && lastUcb_ && *kernel.ucbTotal >= *lastUcb_)
    kernelCounts = *kernel.ucbTotal > *lastUcb_;
  lastUcb_ = kernel.ucbTotal;
  const bool registersCount = registers.uncorrectable > 0;
  const int side = !kernelCounts || registersCount == *kernelCounts ? 0 : registersCount ? 1 : -1;
  errorRun_ = side != 0 && side == errorSide_ ? errorRun_ + 1 : side != 0 ? 1 : 0;
  errorSide_ = side;
  if (errorRun_ >= kErrorPolls)
    out.push_back({"ucb", side > 0 ? "errors (registers only)" : "errors (kernel only)"});
  return out;
}
