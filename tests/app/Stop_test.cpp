// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include "support/Headless.h"
#include "support/PromParser.h"
#include "support/Spawned.h"

namespace {

namespace fs = std::filesystem;

struct StopRun : ::testing::Test {
  TempFolder dir;
};

// The signal may come at any point of a poll or of a .prom rewrite: the run
// ends with the last poll in the file and no hidden file beside it.
TEST_F(StopRun, AStopSignalEndsTheRunWithTheLastPollInTheFile) {
  const struct {
    int signal;
    bool window;
    const char* interval;  // headless
    int status;
  } cases[] = {
      {SIGINT, false, "0", 130}, {SIGTERM, false, "0", 0},
      {SIGHUP, false, "0", 0},   {SIGTERM, false, "600000", 0},  // asleep between polls
      {SIGINT, true, "", 130},   {SIGTERM, true, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(strsignal(c.signal)) + (c.window ? " in the window" : " headless"));
    const fs::path prom = dir / "r.prom", out = dir / "out", err = dir / "err";
    fs::remove(prom);
    std::vector<std::string> args = {"--bus=sim:zl10353", "--record=" + prom.string()};
    if (c.window)
      args.push_back("-notray");
    else
      args.insert(args.end(), {"--headless", std::string("--interval=") + c.interval});
    int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Spawned run(args, outFd, err.string(), c.window);
    ::close(outFd);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(prom) && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(run.pid, c.signal);
    EXPECT_EQ(run.Wait(), c.status) << Slurp(err);
    EXPECT_EQ(Slurp(err).find("quovis"), std::string::npos) << Slurp(err);  // the toolkit may talk
    PromDocument doc = ParseProm(Slurp(prom));
    ASSERT_EQ(doc.error, "");
    ASSERT_TRUE(doc.Find("quovis_polls_total"));
    std::string lines = Slurp(out);
    if (!c.window) {  // one line a poll
      EXPECT_EQ(doc.Find("quovis_polls_total")->value,
                std::count(lines.begin(), lines.end(), '\n'));
    }
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"r.prom", "out", "err"}));
  }
}

// A full standard output is a report lost; a reader that went away (| head)
// is a quiet end.
TEST_F(StopRun, AStandardOutputThatCannotBeWrittenEndsTheRun) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  const struct {
    int out;
    int status;
    std::string err;
  } cases[] = {
      {::open("/dev/full", O_WRONLY), 1,
       "quovis: cannot write to standard output: No space left on device\n"},
      {ends[1], 0, ""},
  };
  for (const auto& c : cases) {
    Spawned run({"--bus=sim:s5h1409", "--headless", "--interval=0"}, c.out, (dir / "err").string());
    ::close(c.out);
    EXPECT_EQ(run.Wait(), c.status);
    EXPECT_EQ(Slurp(dir / "err"), c.err);
  }
}

}  // namespace
