// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>

#include "app/CommandLine.h"
#include "support/FileSizeLimit.h"
#include "support/Headless.h"

namespace {

namespace fs = std::filesystem;

struct RecordRun : ::testing::Test {
  TempFolder dir;
  static size_t Lines(const std::string& text) {
    return size_t(std::count(text.begin(), text.end(), '\n'));
  }
};

// A run whose every write fails (a file size limit the messages fit under)
// goes on polling and its end says it recorded nothing; a .prom's failed
// last write is told by the end, as no poll comes after it.
TEST_F(RecordRun, ARunThatRecordsNothingEndsWithAFailure) {
  const struct {
    const char* name;
    int limit;
    size_t polls;
    const char* title;  // the last report's: a .prom write ends after it
  } cases[] = {{"full.csv", 400, 3, " [recording failed: File too large]"},
               {"full.prom", 1024, 1, " [recording]"}};
  for (const auto& c : cases) {
    const std::string path = (dir / c.name).string();
    ProgramRun run;
    {
      FileSizeLimit full(c.limit);
      run = RunQuovis(" --bus=sim:s5h1409 --headless --json --interval=0 --polls=" +
                      std::to_string(c.polls) + " --record=" + path);
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.out), c.polls);
    EXPECT_EQ(run.err, "quovis: cannot write the record to " + path +
                           ": File too large (polling goes on; further write errors are not "
                           "told)\nquovis: no record reached " +
                           path + "\n");
    EXPECT_EQ(PollReport(run.out).title(),
              std::string("Digital Signal Quality (CX24227) [simulated]") + c.title);
    EXPECT_EQ(Slurp(path), "");
    fs::remove(path);
    EXPECT_TRUE(dir.Names().empty());  // no hidden file left
  }
}

// A capture goes through a hidden file renamed over the path: a link planted
// there is replaced, its target untouched, and nothing else is left.
TEST_F(RecordRun, ACaptureReplacesALinkPlantedUnderItsName) {
  std::ofstream(dir / "target") << "precious\n";
  fs::create_symlink(dir / "target", dir / "board.json");
  ProgramRun run = RunQuovis("--bus=sim:s5h1409 --capture=" + (dir / "board.json").string());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Slurp(dir / "target"), "precious\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "board.json")));
  EXPECT_NE(Slurp(dir / "board.json").find("\"devices\""), std::string::npos);
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"board.json", "target"}));
}

TEST_F(RecordRun, ARefusedPathEndsTheStart) {
  const std::string path = (dir / "no/such/folder.jsonl").string();
  ProgramRun run = RunQuovis(" --bus=sim:s5h1409 --headless --polls=3 --record=" + path);
  EXPECT_EQ(std::tuple(run.status, run.out, run.err),
            std::tuple(1, "", "cannot record to " + path + ": No such file or directory\n"));
}

}  // namespace
