// SPDX-License-Identifier: GPL-3.0-or-later
// What recording adds to a poll: Record() for one reading, per format, into a
// file in /tmp. .jsonl and .csv write the record there and then; .prom only
// hands the reading to its writer thread, which rewrites the file beside the
// poll (a newer reading replaces one the writer has not taken yet).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>

#include "record/Recorder.h"

namespace {

Reading DvbtReading() {
  Reading r;
  r.timestamp = std::chrono::system_clock::now();
  r.mode = 4;
  r.modeText = "DVB-T";
  r.locks = {1, 1, 1, 1, 1};
  r.snr = 23.4f;
  r.average = 23.1f;
  r.color = 0x00FF00;
  r.uncorrectable = 2;
  r.correctable = 17;
  r.uncorrectableRate = 2.0 / 12933;
  r.correctableBer = 17 / 65535.0;
  r.carrierOffset = "-1250";
  r.carrierOffsetHex = "FB1E";
  r.tps =
      TpsReading{2, 0, 0, 1, 1, 1, "QAM64", "none", "hp code rate:", "2/3", "1/16", "8K", false};
  return r;
}

double ThreadCpuNs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// One Record() after another: a .prom writer is busy all the while, so each
// poll replaces the one still pending. With `idle`, every Record() first
// waits until the writer is done, as between real polls, so the poll
// pays for waking it; the time is then the wall time of Record() alone (the
// wait is not a poll's, and pausing the timer costs more than the hand-over).
void Measure(benchmark::State& state, const std::string& folder, const std::string& extension,
             bool idle) {
  if (!std::filesystem::is_directory(folder)) {
    state.SkipWithError(("no folder " + folder).c_str());
    return;
  }
  std::filesystem::path path =
      std::filesystem::path(folder) / ("quovis_bench_" + std::to_string(::getpid()) + extension);
  std::filesystem::remove(path);
  std::string error;
  auto recorder = OpenRecorder(path.string(), {"zl10353", "/dev/i2c-3"}, error);
  if (!recorder) {
    state.SkipWithError(error.c_str());
    return;
  }
  Reading reading = DvbtReading();
  double threadCpuNs = 0;
  for (auto _ : state) {
    if (idle) recorder->Finish();
    const double cpuStart = ThreadCpuNs();
    auto start = std::chrono::steady_clock::now();
    std::string problem = recorder->Record(reading);
    benchmark::DoNotOptimize(problem);
    if (idle) {
      state.SetIterationTime(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      threadCpuNs += ThreadCpuNs() - cpuStart;
    }
  }
  // The poll thread's own time, which the file system's work on the other
  // core (still flushing the last rewrite) does not lengthen.
  if (idle)
    state.counters["poll_thread_cpu_ns"] = {threadCpuNs, benchmark::Counter::kAvgIterations};
  recorder.reset();
  std::filesystem::remove(path);
}

void Record(benchmark::State& state, const std::string& folder, const std::string& extension) {
  Measure(state, folder, extension, false);
}

void RecordIdle(benchmark::State& state, const std::string& folder, const std::string& extension) {
  Measure(state, folder, extension, true);
}

}  // namespace

// /tmp on the disk's file system, and /dev/shm in memory (tmpfs): ext4
// flushes a file's data when a rename replaces another file, which is what
// the .prom rewrite does.
BENCHMARK_CAPTURE(Record, jsonl_tmp, "/tmp", ".jsonl");
BENCHMARK_CAPTURE(Record, csv_tmp, "/tmp", ".csv");
BENCHMARK_CAPTURE(Record, prom_tmp, "/tmp", ".prom");
BENCHMARK_CAPTURE(Record, jsonl_shm, "/dev/shm", ".jsonl");
BENCHMARK_CAPTURE(Record, csv_shm, "/dev/shm", ".csv");
BENCHMARK_CAPTURE(Record, prom_shm, "/dev/shm", ".prom");
BENCHMARK_CAPTURE(RecordIdle, prom_tmp, "/tmp", ".prom")->UseManualTime()->Iterations(1000);
BENCHMARK_CAPTURE(RecordIdle, prom_shm, "/dev/shm", ".prom")->UseManualTime()->Iterations(1000);
BENCHMARK_CAPTURE(RecordIdle, csv_tmp, "/tmp", ".csv")->UseManualTime()->Iterations(1000);
