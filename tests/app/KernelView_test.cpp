// SPDX-License-Identifier: GPL-3.0-or-later
// The kernel's view of a card beside its registers: the driver faults and
// the records through the program itself, and a card read through its
// frontend alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Session.h"
#include "record/CsvRecorder.h"
#include "record/JsonlRecorder.h"
#include "support/EmulatedFrontend.h"
#include "support/FakeCards.h"
#include "support/Headless.h"
#include "support/PromParser.h"

namespace {

namespace fs = std::filesystem;

const char* kPolls = " --headless --polls=6 --interval=0";

std::string Board(const std::string& frontend) {
  return R"({"devices": [{"chip": "s5h1409"}], "frontend": )" + frontend + "}";
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

// A card whose frontend has no I2C bus this user may open is read through
// its frontend alone: no bus is opened and nothing detected, and the
// window, the reports and the records say why the register view is missing.
TEST(KernelView, ACardWithoutI2cAdapterShowsTheKernelViewAndWhyNoRegisters) {
  FakeSysfs m;
  BuildFakeCards(m);
  const std::string why =
      "No register view: the kernel lists no I2C adapter on the card of dvb4.frontend0";
  struct Case {
    int openError;      // the frontend's open fails with this when set
    std::string error;  // OpenBus's message; empty when it opens
  } cases[] = {
      {0, ""},
      {EACCES, why + "\nNo kernel view either: Cannot open DVB frontend " + m.FrontendNode(4, 0) +
                   ": Permission denied (add yourself to the video group)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.openError);
    EmulatedFrontend frontend;
    frontend.nodes = {m.FrontendNode(4, 0)};
    frontend.openError = c.openError;
    frontend.status = FE_HAS_SIGNAL | FE_HAS_CARRIER | FE_HAS_VITERBI | FE_HAS_SYNC | FE_HAS_LOCK;
    frontend.stats[DTV_STAT_SIGNAL_STRENGTH] = EmulatedFrontend::Decibel(-45500);
    frontend.stats[DTV_STAT_CNR] = EmulatedFrontend::Decibel(21300);
    frontend.stats[DTV_STAT_ERROR_BLOCK_COUNT] = EmulatedFrontend::Counter(17);

    Session s(ParseCommandLine({"--bus=dvb4", "--trace"}));
    s.UseSystem({m.roots, kCardUser}, frontend);
    std::ostringstream trace;  // every call on the bus would be traced here
    std::string error;
    EXPECT_EQ(s.OpenBus(trace, error), c.error.empty());
    EXPECT_EQ(error, c.error);
    if (!c.error.empty()) continue;
    ASSERT_TRUE(s.Start(error)) << error;
    s.monitor().Poll();
    EXPECT_EQ(trace.str(), "");
    for (const auto& open : frontend.opens) EXPECT_EQ(open.flags & O_ACCMODE, O_RDONLY);

    const ViewModel& model = s.monitor().model;
    EXPECT_EQ(model.title, "Digital Signal Quality (kernel view only)");
    EXPECT_EQ(model["lblNoRegisterView"].text, why);
    for (const char* gone : {"frLock", "vbalProgressBar1", "vbalProgressBar2", "chkSleep"})
      EXPECT_FALSE(model[gone].visible) << gone;
    EXPECT_TRUE(model["frKernel"].visible);
    EXPECT_TRUE(model["cmdUpdate"].visible);

    s.monitor().Poll();  // no chip was asked: none went silent
    const Reading& r = s.monitor().lastReading();
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(r.tally.noAnswerSeconds, 0);
    EXPECT_EQ(ReportLine(r, model),
              why +
                  " | Kernel DVB-T 474.000 MHz | +Signal +Carrier +Viterbi +Sync +Lock | Signal "
                  "-45.5 dBm | C/N 21.3 dB | pre-BER n/a | post-BER n/a | PER n/a | UCB 17");
    Json report, record;
    std::string entry, problem;
    ASSERT_TRUE(ParseJson(ReportJson(r, model), report, entry, problem)) << problem;
    EXPECT_TRUE(report["register_view"].is_null());
    EXPECT_EQ(report["no_register_view"], why);
    EXPECT_EQ(report["answering"], false);
    EXPECT_EQ(report["kernel"]["cnr_db"], 21.3);
    EXPECT_EQ(report["disagree"], Json::array());

    ASSERT_TRUE(ParseJson(JsonlRecorder::Line(r, {"", "dvb4"}), record, entry, problem));
    EXPECT_EQ(record["answering"], false);
    EXPECT_EQ(record["modeText"], "No register view");
    EXPECT_EQ(record["kernel_ucb_total"], 17);
    EXPECT_NE(CsvRecorder::Row(r, {"", "dvb4"}).find(",0,-1,No register view,"), std::string::npos);
  }
}

}  // namespace
