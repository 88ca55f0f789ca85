// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of one poll per built-in simulated board, with the bus traffic it
// causes: transactions and wire bytes per poll, and the time those bytes
// take on a 100 kHz bus (9 bit times per byte), the physical floor.
#include <benchmark/benchmark.h>

#include <sstream>

#include "app/Session.h"
#include "sim/SimBoard.h"
#include "sim/SimRegistry.h"

namespace {

std::unique_ptr<Session> Started(const std::string& board) {
  CommandLine cl;
  cl.bus = "sim:" + board;
  auto session = std::make_unique<Session>(cl);
  std::ostringstream trace;
  std::string error;
  if (!session->OpenBus(trace, error) || !session->Start(error)) return nullptr;
  return session;
}

void Poll(benchmark::State& state, const std::string& board, bool render) {
  auto session = Started(board);
  if (!session) {
    state.SkipWithError(("board does not start: " + board).c_str());
    return;
  }
  SimBoard& sim = *session->backend().simBoard;
  Monitor& monitor = session->monitor();
  monitor.Poll();
  long t0 = sim.transactions(), b0 = sim.wireBytes();
  size_t rendered = 0;
  for (auto _ : state) {
    monitor.Poll();
    if (render) rendered += ViewModelJson(monitor.model).size();
  }
  double polls = double(state.iterations());
  double bytes = (sim.wireBytes() - b0) / polls;
  state.counters["transactions"] = (sim.transactions() - t0) / polls;
  state.counters["bytes"] = bytes;
  state.counters["i2c_ms_100kHz"] = bytes * 9 / 100.0;
  benchmark::DoNotOptimize(rendered);
}

void StartUp(benchmark::State& state, const std::string& board) {
  for (auto _ : state) {
    auto session = Started(board);
    if (!session) {
      state.SkipWithError("board does not start");
      return;
    }
    session->monitor().Poll();
  }
}

}  // namespace

// Boards register themselves during static start-up, so the list is read here.
int main(int argc, char** argv) {
  for (const auto& board : BuiltInBoardNames()) {
    benchmark::RegisterBenchmark(("Poll/" + board).c_str(), Poll, board, false);
    benchmark::RegisterBenchmark(("PollAndModel/" + board).c_str(), Poll, board, true);
    benchmark::RegisterBenchmark(("StartUpToFirstPoll/" + board).c_str(), StartUp, board);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
