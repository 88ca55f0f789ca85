#include <gtest/gtest.h>

#include "support/Headless.h"

namespace {

TEST(Headless, LockedVsbBoardFileEndToEnd) {
  // raw SNR 0x340 = 832: 22.68 dB; lamps all on; counters 3 and 40.
  BoardFileOnDisk board(
      R"({"devices": [{"chip": "s5h1409", "registers": {"0xF1": "0xF340", "0xF0": "0x12",
          "0x40": 1, "0xB5": 3, "0xB7": 40, "0x33": "0xFFFF", "0x34": "0xFF00", "0xAC": "0x10"}}]})");
  ProgramRun run = RunQuovis(board.bus() + " --headless --polls=2 --interval=0 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
  PollReport r(run.out);
  EXPECT_EQ(r.title(), "Digital Signal Quality (CX24227) [simulated]");
  EXPECT_EQ(r.field("lblSNR", "text"), "22.7 / 22.7 (avg)");
  EXPECT_EQ(r.field("lblSNR", "back"), "#00FF00");
  EXPECT_EQ(r.field("lblMode", "text"), "8-VSB");
  for (const char* lamp : {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"})
    EXPECT_EQ(r.field(lamp, "fore"), "#00C000") << lamp;
  EXPECT_EQ(r.field("vbalProgressBar1", "value"), "23");
  EXPECT_EQ(r.field("vbalProgressBar1", "min"), "12");
  EXPECT_EQ(r.field("vbalProgressBar1", "max"), "30");
  EXPECT_EQ(r.field("vbalProgressBar1", "text"), "SNR 22.7");
  EXPECT_EQ(r.field("vbalProgressBar2", "text"), "Uncorrectable Errors:  3");
  EXPECT_EQ(r.field("vbalProgressBar2", "color"), "#FFFF00");
  EXPECT_EQ(r.field("vbalProgressBar3", "value"), "40");
  EXPECT_EQ(r.field("vbalProgressBar3", "color"), "#FFFF00");
  EXPECT_EQ(r.field("lblUcBer", "text"), "7.73E-05");  // BERctr 1: 3 / 38799
  EXPECT_EQ(r.field("lblF0F1", "text"), "12 / F340 / XX");
  EXPECT_EQ(r.field("lblCOffset", "text"), "-256");
  EXPECT_EQ(r.field("lblCOHex", "text"), "FFFF FF00");
  EXPECT_EQ(r.field("chkSleep", "checked"), "false");
  EXPECT_EQ(r.field("frTPS", "visible"), "false");
}

TEST(Headless, SleepingAndUnlockedBoards) {
  BoardFileOnDisk asleep(R"({"devices": [{"chip": "s5h1409", "registers": {"0xF2": 1}}]})");
  ProgramRun run = RunQuovis(asleep.bus() + " --headless --polls=1 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  PollReport r(run.out);
  EXPECT_EQ(r.field("lblMode", "text"), "Sleep");
  EXPECT_EQ(r.field("lblMasterLock", "fore"), "#808080");
  EXPECT_EQ(r.field("vbalProgressBar1", "color"), "#808080");
  EXPECT_EQ(r.field("chkSleep", "checked"), "true");
  EXPECT_EQ(r.field("lblSNR", "text"), "0 / 0 (avg)");

  BoardFileOnDisk unlocked(R"({"devices": [{"chip": "s5h1409", "registers": {"0xF1": "0x02F0"}}]})");
  run = RunQuovis(unlocked.bus() + " --headless --polls=1 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  PollReport u(run.out);
  EXPECT_EQ(u.field("lblMasterLock", "fore"), "#FF0000");
  EXPECT_EQ(u.field("lblSNR", "back"), "#FF0000");
  EXPECT_EQ(u.field("lblSNR", "text"), "0 / 18.9 (avg)");
  EXPECT_EQ(u.field("vbalProgressBar1", "value"), "13");
  EXPECT_EQ(u.field("vbalProgressBar2", "text"), "Uncorrectable Errors:  0");
}

TEST(Headless, StartUpFailuresEndWithTheirMessage) {
  struct Case {
    std::string board, args, message;
  } cases[] = {
      {R"({"types": []})", "", "Did not find a Tarnwick board"},
      {R"({"types": [18], "devices": [{"chip": "s5h1409"}]})", "", ""},
      {R"({"devices": [{"chip": "s5h1409", "fault": {"nak": true}}]})", "",
       "Did not find supported ATSC/DVB Demodulator, or device is not powered on."},
      {R"({"devices": [{"chip": "s5h1409", "registers": {"0xF2": "0xFFFF"}}]})", "",
       "Did not find supported ATSC/DVB Demodulator, or device is not powered on."},
      {R"({"devices": [{"chip": "s5h1409", "registers": {"0xF2": "0x10000"}}]})", "",
       "devices[0].registers.0xF2: value out of range"},
  };
  for (const auto& c : cases) {
    BoardFileOnDisk board(c.board);
    ProgramRun run = RunQuovis(board.bus() + " --headless --polls=1");
    SCOPED_TRACE(c.board);
    if (c.message.empty()) {
      EXPECT_EQ(run.status, 0) << run.err;  // a type-18 board opens on the second try
    } else {
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
      EXPECT_TRUE(run.out.empty());
    }
  }
  ProgramRun none = RunQuovis("--headless --polls=1");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "Did not find a Tarnwick board\n");
  ProgramRun bad = RunQuovis("--headless --polls=zero");
  EXPECT_EQ(bad.status, 2);
}

TEST(Headless, ReadableLineDemod2TitleAndTrace) {
  ProgramRun run = RunQuovis("--bus=sim:s5h1409 --headless --polls=1 -DEMOD2 --trace");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("8-VSB | +Master Lock +EQ Lock +FEC Lock +VSB Sync +AFC Lock | SNR ", 0), 0u)
      << run.out;
  EXPECT_NE(run.err.find("velI2C_InitByType(24, 0) -> 0x5118"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("velI2C_ReadArray(0x5118, 0, 0x32, 0x0, 2) -> 0"), std::string::npos);
  ProgramRun json = RunQuovis("--bus=sim:s5h1409 --headless --polls=1 --json -demod2");
  EXPECT_EQ(PollReport(json.out).title(), "2 Digital Signal Quality (CX24227) [simulated]");
}

}  // namespace
