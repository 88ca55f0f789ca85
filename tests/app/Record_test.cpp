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

// Each format's file after three polls: its lines and the board's labels;
// the title says that it records.
TEST_F(RecordRun, ThreePollsGiveThreeRecordsInEachFormat) {
  const std::tuple<const char*, size_t, std::string> cases[] = {
      {"r.jsonl", 3, R"(,"chip":"zl10353","bus":"sim:zl10353",)"},
      {"r.csv", 4, ",zl10353,sim:zl10353,"},
      {"r.prom", 0, "\nquovis_polls_total{chip=\"zl10353\",bus=\"sim:zl10353\"} 3\n"}};
  for (const auto& [name, lines, part] : cases) {
    ProgramRun run =
        RunQuovis(" --bus=sim:zl10353 --headless --json --polls=3 --interval=0 --record " +
                  (dir / name).string());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(PollReport(run.out).title(),
              "Digital Signal Quality (ZL10353) [simulated] [recording]");
    const std::string text = Slurp(dir / name);
    EXPECT_EQ(lines ? Lines(text) : 0, lines) << name;
    EXPECT_NE(text.find(part), std::string::npos) << text;
  }
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"r.csv", "r.jsonl", "r.prom"}));
}

// DVB-C has a constellation and none of DVB-T's other parameters.
TEST_F(RecordRun, DvbcLeavesTheDvbtParametersBlank) {
  const std::string common = " --bus=sim:si2165-dvbc --headless --json --polls=1 --interval=0";
  ProgramRun jsonl = RunQuovis(common + " --record=" + (dir / "r.jsonl").string());
  ASSERT_EQ(jsonl.status, 0) << jsonl.err;
  PollReport report(jsonl.out);
  EXPECT_EQ(report.field("lblConst", "text"), "QAM256");
  for (const char* label : {"lblHierarchy", "lblCodeRate", "lblGuard", "lblTransmissionMode"})
    EXPECT_EQ(report.field(label, "text"), "") << label;
  EXPECT_EQ(nlohmann::json::parse(Slurp(dir / "r.jsonl"))["tps"], nlohmann::json::parse(R"(
      {"modulation":6,"modulationText":"QAM256","hierarchy":null,"hierarchyText":"",
       "selectHPLP":null,"codeRateCaption":"","codeRate":null,"codeRateText":"","guard":null,
       "guardText":"","transmissionMode":null,"transmissionModeText":""})"));

  ProgramRun csv = RunQuovis(common + " --record=" + (dir / "r.csv").string());
  ASSERT_EQ(csv.status, 0) << csv.err;
  const auto rows = CsvRows(Slurp(dir / "r.csv"));
  ASSERT_EQ(rows.size(), 2u);
  const auto& header = rows[0];
  size_t first = std::find(header.begin(), header.end(), "modulation") - header.begin();
  ASSERT_EQ(header.size() - first, 23u);  // then chip, bus and the kernel view
  EXPECT_EQ(std::vector<std::string>(rows[1].begin() + first, rows[1].begin() + first + 12),
            (std::vector<std::string>{"6", "QAM256", "", "", "", "", "", "", "", "", "", ""}));
}

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
