// SPDX-License-Identifier: GPL-3.0-or-later
// What the history chart computes for one redraw: a day of polls, one a
// second, decimated to an 800-pixel-wide chart, for the whole day and for
// the default ten minutes.
#include <benchmark/benchmark.h>

#include <cmath>

#include "monitor/SignalHistory.h"

namespace {

constexpr int kDay = 86400;

const SignalHistory& Day() {
  static const SignalHistory history = [] {
    SignalHistory h;
    for (int i = 0; i < kDay; ++i) {
      Reading r;
      r.timestamp = std::chrono::system_clock::time_point(std::chrono::seconds(i));
      // A dropout every hour for a minute, and lock lost now and then.
      r.answering = i % 3600 >= 60;
      r.locks[Reading::MasterLock] = i % 997 == 0 ? 0 : 1;
      r.snr = r.answering ? float(22 + 2 * std::sin(i / 7.0)) : 0;
      r.average = r.answering ? float(22 + std::sin(i / 30.0)) : 0;
      r.uncorrectable = (i % 60) / 12;
      h.Append(r);
    }
    return h;
  }();
  return history;
}

void DecimateDay(benchmark::State& state) {
  const SignalHistory& h = Day();
  size_t points = 0;
  for (auto _ : state) {
    ChartData data = h.Decimate(0, int64_t(kDay) * 1000, 800);
    points = data.snr.size() + data.average.size();
    benchmark::DoNotOptimize(data);
  }
  state.counters["points"] = double(points);
}
BENCHMARK(DecimateDay)->Unit(benchmark::kMicrosecond);

void DecimateLastTenMinutes(benchmark::State& state) {
  const SignalHistory& h = Day();
  for (auto _ : state) {
    ChartData data = h.Decimate(int64_t(kDay - 600) * 1000, int64_t(kDay) * 1000, 800);
    benchmark::DoNotOptimize(data);
  }
}
BENCHMARK(DecimateLastTenMinutes)->Unit(benchmark::kMicrosecond);

}  // namespace
