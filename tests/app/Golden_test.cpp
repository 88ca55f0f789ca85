// SPDX-License-Identifier: GPL-3.0-or-later
// Every built-in board through the headless path with its clock pinned: the
// bus trace of start-up and three polls, and the JSON report of three polls,
// must match the copies recorded in tests/data/golden byte for byte.
// QUOVIS_UPDATE_GOLDEN=1 writes the copies instead of comparing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Session.h"
#include "sim/SimBoard.h"
#include "sim/SimRegistry.h"

namespace {

constexpr int kPolls = 3;

// Start-up and the polls of one board; with trace the bus calls and the
// readable lines go to the one stream, in the order they happen.
std::string RunBoard(const std::string& board, bool json, bool trace) {
  std::vector<std::string> args = {"--headless", "--bus=sim:" + board, "--polls=1", "--interval=0"};
  if (json) args.push_back("--json");
  if (trace) args.push_back("--trace");
  Session session(ParseCommandLine(args));
  std::ostringstream out;
  std::string error;
  if (!session.OpenBus(out, error)) return "open failed: " + error;
  double now = 0;
  session.backend().simBoard->SetClock([&now] { return now; });
  if (!session.Start(error)) return out.str() + "start failed: " + error;
  std::ostringstream ignored;
  for (int poll = 0; poll < kPolls; ++poll) {
    now = 1.0 + poll;
    RunHeadless(session, out, ignored);
  }
  return out.str();
}

std::filesystem::path GoldenPath(const std::string& board, const std::string& kind) {
  return std::filesystem::path(QUOVIS_TEST_DATA) / "golden" / (board + "." + kind);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Golden, EveryBuiltInBoardTracesAndReportsAsRecorded) {
  bool update = std::getenv("QUOVIS_UPDATE_GOLDEN") != nullptr;
  std::vector<std::string> boards = BuiltInBoardNames();
  ASSERT_GE(boards.size(), 13u);
  for (const std::string& board : boards) {
    const std::pair<std::string, std::string> kinds[] = {{"trace", RunBoard(board, false, true)},
                                                         {"json", RunBoard(board, true, false)}};
    for (const auto& [kind, text] : kinds) {
      std::filesystem::path path = GoldenPath(board, kind);
      if (update) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        continue;
      }
      ASSERT_TRUE(std::filesystem::exists(path)) << path;
      EXPECT_EQ(text, ReadFile(path)) << board << " " << kind;
    }
  }
}

}  // namespace
