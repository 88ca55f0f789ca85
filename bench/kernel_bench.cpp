// SPDX-License-Identifier: GPL-3.0-or-later
// CPU time the kernel's view adds to one poll, on the emulated frontend:
// the status and property requests, the rates, the disagreement check and
// the Kernel panel's texts. It should stay well under 20 µs.
#include <benchmark/benchmark.h>

#include "dvb/Disagreement.h"
#include "dvb/FrontendReader.h"
#include "monitor/DesignLayout.h"
#include "monitor/KernelPanel.h"
#include "monitor/Reading.h"
#include "support/EmulatedFrontend.h"

namespace {

void KernelViewPoll(benchmark::State& state) {
  EmulatedFrontend fe;
  fe.status = FE_HAS_SIGNAL | FE_HAS_CARRIER | FE_HAS_VITERBI | FE_HAS_SYNC | FE_HAS_LOCK;
  FrontendReader reader(fe);
  std::string error;
  if (!reader.Open("/dev/dvb/adapter0/frontend0", error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  ViewModel model = DesignModel(false);
  KernelPanel::Add(model);
  DisagreementCheck check;
  Reading registers;
  registers.locks[Reading::MasterLock] = 1;
  registers.snr = 23.1f;
  uint64_t n = 0;
  for (auto _ : state) {
    ++n;
    fe.stats = {{DTV_STAT_SIGNAL_STRENGTH, EmulatedFrontend::Decibel(-66900)},
                {DTV_STAT_CNR, EmulatedFrontend::Decibel(23100)},
                {DTV_STAT_POST_ERROR_BIT_COUNT, EmulatedFrontend::Counter(n)},
                {DTV_STAT_POST_TOTAL_BIT_COUNT, EmulatedFrontend::Counter(n * 1000000)},
                {DTV_STAT_ERROR_BLOCK_COUNT, EmulatedFrontend::Counter(n / 8)},
                {DTV_STAT_TOTAL_BLOCK_COUNT, EmulatedFrontend::Counter(n * 1000)}};
    KernelReading k = reader.Poll();
    auto disagree = check.Check(registers, k);
    KernelPanel::Show(model, k, disagree);
    benchmark::DoNotOptimize(model);
  }
}
BENCHMARK(KernelViewPoll)->Unit(benchmark::kMicrosecond);

}  // namespace
