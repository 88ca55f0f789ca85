// SPDX-License-Identifier: GPL-3.0-or-later
// The kernel's view of a simulated card beside its registers, through the
// program itself: the report, the line, the records and the driver faults.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/Headless.h"
#include "support/PromParser.h"

namespace {

namespace fs = std::filesystem;

const char* kPolls = " --headless --polls=6 --interval=0";

std::string Board(const std::string& frontend) {
  return R"({"devices": [{"chip": "s5h1409"}], "frontend": )" + frontend + "}";
}

double RegisterSnr(const PollReport& report) {
  return std::stod(report.field("vbalProgressBar1", "text").substr(4));  // "SNR 23.1"
}

TEST(KernelView, BuiltInBoardShowsBothViewsAgreeing) {
  ProgramRun run = RunQuovis(std::string("--bus=sim:s5h1409") + kPolls + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  PollReport report(run.out);
  const Json& k = report.doc["kernel"];
  EXPECT_EQ(k["locked"], true);
  EXPECT_EQ(k["delivery_system"], "ATSC");
  const double snr = RegisterSnr(report);
  EXPECT_GT(snr, 15);
  EXPECT_NEAR(k["cnr_db"].get<double>(), snr, 0.05);
  EXPECT_NEAR(k["signal_dbm"].get<double>(), -90 + snr, 0.05);
  EXPECT_TRUE(k["post_ber"].is_number());  // counters grew between the last two polls
  EXPECT_EQ(report.doc["disagree"], Json::array());
}

TEST(KernelView, DriverFaultsShowAsTheyWould) {
  struct Case {
    std::string frontend;
    std::string pointer, expected;  // a member of the last report, as JSON text
    std::string line;               // a part of the last readable line
  } cases[] = {
      {R"({"cnr_scale": 10})", "/disagree", R"(["snr"])", "| disagree: SNR by "},
      {R"({"signal_sign": -1})", "/disagree", "[]", "| Signal 6"},
      {R"({"stats": "v3"})", "/kernel/signal_dbm", "null", "| v3 signal "},
      {R"({"stats": "v3", "no_writer": true})", "/kernel/v3/not_tuned", "true",
       "| v3 not tuned by any application"},
      {R"({"absent": true})", "/kernel", "null", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frontend);
    BoardFileOnDisk board(Board(c.frontend), "kernel_fault");
    ProgramRun json = RunQuovis(board.bus() + kPolls + " --json");
    ASSERT_EQ(json.status, 0) << json.err;
    PollReport report(json.out);
    EXPECT_EQ(JsonText(report.doc.value(Json::json_pointer(c.pointer), Json())), c.expected);
    ProgramRun line = RunQuovis(board.bus() + kPolls);
    std::string last = line.out.substr(line.out.rfind('\n', line.out.size() - 2) + 1);
    if (c.line.empty())
      EXPECT_EQ(last.find("Kernel"), std::string::npos) << last;
    else
      EXPECT_NE(last.find(c.line), std::string::npos) << last;
  }
}

TEST(KernelView, RecordsCarryTheKernelFields) {
  const fs::path dir = fs::temp_directory_path() / ("quovis_kernel_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  BoardFileOnDisk board(Board(R"({"cnr_scale": 10})"), "kernel_record");
  auto record = [&](const char* name) {
    EXPECT_EQ(RunQuovis(board.bus() + kPolls + " --record=" + (dir / name).string()).status, 0);
    return Slurp(dir / name);
  };
  const auto rows = CsvRows(record("r.csv"));
  ASSERT_EQ(rows.size(), 7u);
  const std::vector<std::string> columns = {
      "kernel_locked", "kernel_signal_dbm", "kernel_signal_pct",
      "kernel_cnr_db", "kernel_pre_ber",    "kernel_post_ber",
      "kernel_per",    "kernel_ucb_total",  "disagree"};
  const auto& header = rows[0];
  ASSERT_GE(header.size(), columns.size());
  EXPECT_EQ(std::vector<std::string>(header.end() - columns.size(), header.end()), columns);
  const auto& last = rows.back();
  EXPECT_EQ(last[last.size() - 9], "1");  // locked
  EXPECT_EQ(last[last.size() - 7], "");   // no signal in %
  EXPECT_EQ(last.back(), "snr");
  EXPECT_EQ(rows[1].back(), "");  // not yet five polls apart

  std::string jsonl = record("r.jsonl");
  Json line;
  std::string entry, why;
  ASSERT_TRUE(ParseJson(jsonl.substr(jsonl.rfind('\n', jsonl.size() - 2) + 1), line, entry, why));
  EXPECT_EQ(line["kernel_locked"], true);
  EXPECT_TRUE(line["kernel_signal_pct"].is_null());
  EXPECT_GT(line["kernel_cnr_db"].get<double>(), 100);  // ten times the register SNR
  EXPECT_EQ(line["disagree"], Json::array({"snr"}));

  PromDocument prom = ParseProm(record("r.prom"));
  ASSERT_EQ(prom.error, "");
  ASSERT_TRUE(prom.Find("quovis_kernel_locked"));
  EXPECT_EQ(prom.Find("quovis_kernel_locked")->value, 1);
  EXPECT_EQ(prom.Find("quovis_views_disagree", {{"what", "snr"}})->value, 1);
  EXPECT_EQ(prom.Find("quovis_views_disagree", {{"what", "lock"}})->value, 0);
  EXPECT_TRUE(prom.Find("quovis_kernel_cnr_db"));
  EXPECT_EQ(prom.types["quovis_kernel_ucb_total"], "counter");
  fs::remove_all(dir);
}

}  // namespace
