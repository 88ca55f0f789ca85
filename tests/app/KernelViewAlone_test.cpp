// SPDX-License-Identifier: GPL-3.0-or-later
// A card whose frontend has no I2C bus this user may open is read through
// its frontend alone: no bus is opened and nothing detected, and the
// window, the reports and the records say why the register view is missing.
#include <gtest/gtest.h>

#include <sstream>

#include "app/Session.h"
#include "json/Json.h"
#include "record/CsvRecorder.h"
#include "record/JsonlRecorder.h"
#include "support/EmulatedFrontend.h"
#include "support/FakeCards.h"

namespace {

TEST(KernelViewAlone, ACardWithoutI2cAdapterShowsTheKernelViewAndWhyNoRegisters) {
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
