// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "app/Session.h"
#include "record/CsvRecorder.h"
#include "record/JsonlRecorder.h"
#include "support/EmulatedFrontend.h"
#include "support/FakeCards.h"
#include "support/Headless.h"
#include "support/PromParser.h"

namespace {

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
  TempFolder dir;
  BoardFileOnDisk board(Board(R"({"cnr_scale": 10})"), "kernel_record");
  auto record = [&](const char* name) {
    EXPECT_EQ(RunQuovis(board.bus() + kPolls + " --record=" + (dir / name).string()).status, 0);
    return Slurp(dir / name);
  };
  const auto rows = CsvRows(record("r.csv"));
  ASSERT_EQ(rows.size(), 7u);
  const auto& last = rows.back();
  // Locked, no signal in %, and a disagreement only once five polls apart.
  EXPECT_EQ(std::tuple(last[last.size() - 9], last[last.size() - 7], last.back(), rows[1].back()),
            std::tuple("1", "", "snr", ""));

  std::string jsonl = record("r.jsonl");
  Json line;
  std::string entry, why;
  ASSERT_TRUE(ParseJson(jsonl.substr(jsonl.rfind('\n', jsonl.size() - 2) + 1), line, entry, why));
  EXPECT_EQ(JsonText(line["kernel_locked"]) + JsonText(line["kernel_signal_pct"]) +
                JsonText(line["disagree"]),
            "truenull[\"snr\"]");
  EXPECT_GT(line["kernel_cnr_db"].get<double>(), 100);  // ten times the register SNR

  PromDocument prom = ParseProm(record("r.prom"));
  ASSERT_EQ(prom.error, "");
  ASSERT_TRUE(prom.Find("quovis_kernel_locked") && prom.Find("quovis_kernel_cnr_db") &&
              prom.Find("quovis_views_disagree", {{"what", "lock"}}));
  EXPECT_EQ(std::tuple(prom.Find("quovis_kernel_locked")->value,
                       prom.Find("quovis_views_disagree", {{"what", "snr"}})->value,
                       prom.Find("quovis_views_disagree", {{"what", "lock"}})->value,
                       prom.types["quovis_kernel_ucb_total"]),
            std::tuple(1, 1, 0, "counter"));
}

// A card without an I2C bus this user may open is read through its frontend
// alone: no bus is opened, and the window, reports and records say why.
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
    EXPECT_EQ(std::tuple(model.title, model["lblNoRegisterView"].text),
              std::tuple("Digital Signal Quality (kernel view only)", why));
    std::string shown;
    for (const char* c : {"frLock", "vbalProgressBar1", "vbalProgressBar2", "chkSleep", "frKernel",
                          "cmdUpdate", "Slider1", "Label1", "Label2", "chkPoll", "lstLog"})
      shown += model[c].visible ? '+' : '-';
    EXPECT_EQ(shown, "----+++++++");  // the poll controls stay

    s.monitor().Poll();  // no chip was asked: none went silent
    const Reading& r = s.monitor().lastReading();
    EXPECT_TRUE(r.events.empty() && r.tally.noAnswerSeconds == 0);
    EXPECT_EQ(ReportLine(r, model),
              why +
                  " | Kernel DVB-T 474.000 MHz | +Signal +Carrier +Viterbi +Sync +Lock | Signal "
                  "-45.5 dBm | C/N 21.3 dB | pre-BER n/a | post-BER n/a | PER n/a | UCB 17");
    Json report, record;
    std::string entry, problem;
    ASSERT_TRUE(ParseJson(ReportJson(r, model), report, entry, problem)) << problem;
    EXPECT_EQ(JsonText(report["register_view"]) + JsonText(report["answering"]) +
                  JsonText(report["kernel"]["cnr_db"]) + JsonText(report["disagree"]),
              "nullfalse21.3[]");
    EXPECT_EQ(report["no_register_view"], why);

    ASSERT_TRUE(ParseJson(JsonlRecorder::Line(r, {"", "dvb4"}), record, entry, problem));
    EXPECT_EQ(JsonText(record["answering"]) + JsonText(record["modeText"]) +
                  JsonText(record["kernel_ucb_total"]),
              "false\"No register view\"17");
    EXPECT_NE(CsvRecorder::Row(r, {"", "dvb4"}).find(",0,-1,No register view,"), std::string::npos);
  }
}

}  // namespace
