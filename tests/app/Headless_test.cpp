// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Headless.h"

#include <gtest/gtest.h>

#include "app/Session.h"
#include "monitor/DesignLayout.h"

namespace {

// What start-up says in each case is checked where start-up runs.
TEST(Headless, AStartUpFailureEndsWithItsMessage) {
  BoardFileOnDisk board(R"({"devices": [{"chip": "s5h1409", "registers": {"0xF2": "0x10000"}}]})");
  ProgramRun run = RunQuovis(board.bus() + " --headless --polls=1");
  EXPECT_EQ(std::tuple(run.status, run.out), std::tuple(1, std::string()));
  EXPECT_NE(run.err.find("devices[0].registers.0xF2: value out of range"), std::string::npos);
  EXPECT_EQ(run.err.find("--list-buses"), std::string::npos) << run.err;
}

TEST(Headless, ReadableLinesOnStdoutAndTheTraceOnStderr) {
  ProgramRun run = RunQuovis("--bus=sim:s5h1409 --headless --polls=2 --interval=0 --trace");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
  EXPECT_EQ(run.out.rfind("8-VSB | +Master Lock +EQ Lock +FEC Lock +VSB Sync +AFC Lock | SNR ", 0),
            0u)
      << run.out;
  EXPECT_NE(run.err.find("velI2C_InitByType(24, 0) -> 0x5118"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("velI2C_ReadArray(0x5118, 0, 0x32, 0x0, 2) -> 0"), std::string::npos);
}

TEST(Headless, VersionHelpAndBusNames) {
  const std::string versionLine = std::string("quovis ") + QUOVIS_VERSION + "\n";
  ProgramRun version = RunQuovis("--version"), help = RunQuovis("--help");
  EXPECT_EQ(std::tuple(version.status, version.out, help.status), std::tuple(0, versionLine, 0));
  EXPECT_EQ(help.out.rfind(versionLine, 0), 0u) << help.out;
  // The table (when there are adapters) on stdout, what to do about it on stderr.
  ProgramRun list = RunQuovis("--list-buses");
  EXPECT_TRUE(list.status == 0 && !list.err.empty());
  EXPECT_TRUE(list.out.empty() || list.out.rfind("bus  device", 0) == 0) << list.out;
  EXPECT_EQ(list.out.find("Open one with"), std::string::npos) << list.out;
}

TEST(Headless, TheReadableLineShowsTheReadingInTheWindowsWords) {
  ViewModel m = DesignModel(false);
  m["lblEQLock"].text = "SNR GOOD";  // as a driver renamed it
  Reading r;
  r.locks = {1, 0, -1, 1, 2};
  r.snr = 25.3f, r.average = 25.0f;
  r.uncorrectable = 3, r.correctable = -4;
  r.carrierOffset = "6700", r.carrierOffsetHex = "0 1A2C";
  EXPECT_EQ(ReportLine(r, m),
            "Mode | +Master Lock -SNR GOOD .FEC Lock +VSB Sync .AFC Lock | SNR 25.3 / 25 (avg) | "
            "SNR 25.3 | Uncorrectable Errors:  3 | Correctable Errors: -4 | Carrier 6700 (0 1A2C)");
  // Its end: a sleeping chip was not asked for its offsets (the labels stand),
  // a silent one has none, a part the chip does not give is left out.
  m["lblCOffset"].text = "12", m["lblCOHex"].text = "C";
  using Text = std::optional<std::string>;
  struct Case {
    Text offset, hex;
    bool answering;
    const char* end;
  } cases[] = {
      {std::nullopt, std::nullopt, true, " | Carrier 12 (C)"},
      {std::nullopt, std::nullopt, false, " | Carrier - (-)"},
      {"0.36621094", "", true, " | Carrier 0.36621094"},
      {"", "", true, " | Correctable Errors: -4"},
      {"", "1A2C", true, " | Carrier (1A2C)"},
  };
  for (const Case& c : cases) {
    r.carrierOffset = c.offset, r.carrierOffsetHex = c.hex, r.answering = c.answering;
    std::string line = ReportLine(r, m);
    EXPECT_EQ(line.substr(line.rfind(" | ")), c.end);
  }
}

// Without a display the window is refused before the toolkit would abort.
TEST(Headless, AWindowWithoutADisplayIsRefused) {
  const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
  ProgramRun window = RunQuovis("--bus=sim:s5h1409", noDisplay);
  EXPECT_EQ(window.status, 2);
  EXPECT_EQ(window.err, QUOVIS_WINDOWS
                            ? "quovis: no display to open the window on; use --headless\n"
                            : "quovis: no window in this build: run it with --headless\n");
  EXPECT_EQ(RunQuovis("--bus=sim:s5h1409 --headless --polls=1", noDisplay).status, 0);
}

}  // namespace
