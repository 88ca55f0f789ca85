// SPDX-License-Identifier: GPL-3.0-or-later
// The .prom files quovis writes, checked by Prometheus' own promtool (Debian's
// prometheus package) when it is installed: every built-in board, a chip that
// stopped answering, and a bus name that needs escaping.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/SimRegistry.h"
#include "support/Headless.h"

namespace {

namespace fs = std::filesystem;

// promtool's exit status and what it printed (it lints as well as parses).
ProgramRun Promtool(const fs::path& file) {
  ProgramRun run;
  const std::string command =
      std::string(QUOVIS_PROMTOOL) + " check metrics < '" + file.string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) run.out.append(chunk, n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

TEST(Promtool, EveryRecordedDocumentPassesPromtool) {
  if (std::string(QUOVIS_PROMTOOL).empty())
    GTEST_SKIP() << "promtool not found when configured (Debian package prometheus)";
  const fs::path dir =
      fs::temp_directory_path() / ("quovis_promtool_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path prom = dir / "quovis.prom";
  std::vector<std::string> buses;
  for (const std::string& board : BuiltInBoardNames()) buses.push_back("--bus=sim:" + board);
  // Silent after start-up: answering 0, no lamps, a NaN-free rate of 0.
  BoardFileOnDisk vanishing(R"({"devices": [{"chip": "s5h1409", "fault": {"fail_after": 60}}]})",
                            "vanishing");
  buses.push_back(vanishing.bus());
  // The bus label holds a quote and a backslash, which the format escapes.
  const fs::path odd = dir / "rack \"7\" \\ slot.json";
  std::ofstream(odd) << R"({"devices": [{"chip": "zl10353"}]})";
  buses.push_back("'--bus=sim:" + odd.string() + "'");
  for (const std::string& bus : buses) {
    SCOPED_TRACE(bus);
    ProgramRun run =
        RunQuovis(bus + " --headless --polls=3 --interval=0 --record='" + prom.string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    ProgramRun check = Promtool(prom);
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_EQ(check.out, "");  // not even a lint remark
    fs::remove(prom);
  }
  fs::remove_all(dir);
}

}  // namespace
