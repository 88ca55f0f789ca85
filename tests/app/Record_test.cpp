// SPDX-License-Identifier: GPL-3.0-or-later
// --record from the command line to the file, through the program itself.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "app/CommandLine.h"
#include "support/CsvReader.h"
#include "support/Headless.h"
#include "support/PromParser.h"

namespace {

namespace fs = std::filesystem;

struct RecordRun : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("quovis_record_run_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static size_t Lines(const std::string& text) {
    return size_t(std::count(text.begin(), text.end(), '\n'));
  }
};

TEST_F(RecordRun, ThreePollsGiveThreeRecordsInEachFormat) {
  const std::string common = " --bus=sim:zl10353 --headless --json --polls=3 --interval=0";
  ProgramRun jsonl = RunQuovis(common + " --record=" + (dir / "r.jsonl").string());
  ASSERT_EQ(jsonl.status, 0) << jsonl.err;
  std::string text = Slurp(dir / "r.jsonl");
  ASSERT_EQ(Lines(text), 3u);
  EXPECT_EQ(nlohmann::json::parse(text.substr(0, text.find('\n')))["modeText"], "DVB-T");
  // The window's title, as the report carries it, says that it records.
  EXPECT_EQ(PollReport(jsonl.out).title(),
            "Digital Signal Quality (ZL10353) [simulated] [recording]");

  ProgramRun csv = RunQuovis(common + " --record=" + (dir / "r.csv").string());
  ASSERT_EQ(csv.status, 0) << csv.err;
  CsvTable table = ReadCsv(Slurp(dir / "r.csv"));
  EXPECT_EQ(table.error, "");
  EXPECT_EQ(table.rows.size(), 4u);  // the header and three rows

  ProgramRun prom = RunQuovis(" --record " + (dir / "r.prom").string() + common);
  ASSERT_EQ(prom.status, 0) << prom.err;
  PromDocument doc = ParseProm(Slurp(dir / "r.prom"));
  ASSERT_EQ(doc.error, "");
  ASSERT_TRUE(doc.Find("quovis_polls_total"));
  EXPECT_EQ(doc.Find("quovis_polls_total")->value, 3);
  EXPECT_EQ(doc.Find("quovis_snr_db")->labels.at("bus"), "sim:zl10353");
  EXPECT_EQ(doc.Find("quovis_snr_db")->labels.at("chip"), "zl10353");
  std::set<std::string> left;
  for (const auto& e : fs::directory_iterator(dir)) left.insert(e.path().filename());
  EXPECT_EQ(left, (std::set<std::string>{"r.csv", "r.jsonl", "r.prom"}));  // no temporary file
}

TEST_F(RecordRun, AFullDiskIsToldOnceAndPollingGoesOn) {
  fs::create_symlink("/dev/full", dir / "full.csv");
  ProgramRun run =
      RunQuovis(" --bus=sim:s5h1409 --headless --json --polls=3 --interval=0 --record=" +
                (dir / "full.csv").string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Lines(run.out), 3u);
  EXPECT_EQ(run.err, "quovis: cannot write the record to " + (dir / "full.csv").string() +
                         ": No space left on device (polling goes on; further write errors are "
                         "not told)\n");
  EXPECT_EQ(PollReport(run.out).title(),
            "Digital Signal Quality (CX24227) [simulated] [recording failed: No space left on "
            "device]");
}

// The .prom file is written beside the polls; the run ends only once the
// last poll is in it.
TEST_F(RecordRun, AHeadlessRunLeavesItsLastPollInThePromFile) {
  for (long polls : {1, 40}) {
    ProgramRun run =
        RunQuovis(" --bus=sim:zl10353 --headless --interval=0 --polls=" + std::to_string(polls) +
                  " --record=" + (dir / "r.prom").string());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    PromDocument doc = ParseProm(Slurp(dir / "r.prom"));
    ASSERT_EQ(doc.error, "") << polls;
    ASSERT_TRUE(doc.Find("quovis_polls_total")) << polls;
    EXPECT_EQ(doc.Find("quovis_polls_total")->value, polls);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir)) left.push_back(e.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"r.prom"}) << polls;  // no temporary file
  }
}

// A run of one poll whose write fails: no poll comes after it to tell, so the
// end of the run does. A file size limit under the document's size makes the
// write fail (the start's empty test file passes).
TEST_F(RecordRun, AFailedLastPromWriteIsToldWhenTheRunEnds) {
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1024;  // the error message fits, the document does not
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  ProgramRun run = RunQuovis(" --bus=sim:zl10353 --headless --json --polls=1 --record=" +
                             (dir / "r.prom").string());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Lines(run.out), 1u);
  EXPECT_EQ(run.err, "quovis: cannot write the record to " + (dir / "r.prom").string() +
                         ": File too large (polling goes on; further write errors are not "
                         "told)\n");
  EXPECT_FALSE(fs::exists(dir / "r.prom"));
  EXPECT_FALSE(fs::exists(dir / ".r.prom.tmp"));
}

TEST_F(RecordRun, AnUnwritablePathOrUnknownFormatEndsTheStart) {
  const std::pair<std::string, std::string> cases[] = {
      {(dir / "no/such/folder.jsonl").string(), ": No such file or directory"},
      {(dir / "poll.log").string(),
       ": unknown format \".log\" (the name must end in .jsonl, "
       ".csv or .prom)"}};
  for (const auto& [path, why] : cases) {
    ProgramRun run = RunQuovis(" --bus=sim:s5h1409 --headless --polls=3 --record=" + path);
    EXPECT_EQ(run.status, 1) << path;
    EXPECT_EQ(run.out, "") << path;
    EXPECT_EQ(run.err, "cannot record to " + path + why + "\n");
  }
}

}  // namespace
