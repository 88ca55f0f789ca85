// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace {

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
    const bool noBoard = c.message == "Did not find a Tarnwick board";
    ProgramRun run = RunQuovis(board.bus() + " --headless --polls=1");
    SCOPED_TRACE(c.board);
    if (c.message.empty()) {
      EXPECT_EQ(run.status, 0) << run.err;  // a type-18 board opens on the second try
    } else {
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
      EXPECT_TRUE(run.out.empty());
      // Only a missing board says how to choose a bus.
      EXPECT_EQ(run.err.find("--list-buses") != std::string::npos, noBoard) << run.err;
    }
  }
  ProgramRun none = RunQuovis("--headless --polls=1");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err,
            "Did not find a Tarnwick board\n"
            "Choose a bus: --bus=/dev/i2c-N for a real card (quovis --list-buses shows them), "
            "or --bus=sim:<board> for a simulated board (see quovis --help).\n");
  ProgramRun bad = RunQuovis("--headless --polls=zero");
  EXPECT_EQ(bad.status, 2);
}

TEST(Headless, ReadableLineDemod2TitleAndTrace) {
  ProgramRun run = RunQuovis("--bus=sim:s5h1409 --headless --polls=2 --interval=0 -DEMOD2 --trace");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2);
  EXPECT_EQ(run.out.rfind("8-VSB | +Master Lock +EQ Lock +FEC Lock +VSB Sync +AFC Lock | SNR ", 0),
            0u)
      << run.out;
  EXPECT_NE(run.err.find("velI2C_InitByType(24, 0) -> 0x5118"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("velI2C_ReadArray(0x5118, 0, 0x32, 0x0, 2) -> 0"), std::string::npos);
  ProgramRun json = RunQuovis("--bus=sim:s5h1409 --headless --polls=1 --json -demod2");
  EXPECT_EQ(PollReport(json.out).title(), "2 Digital Signal Quality (CX24227) [simulated]");
}

TEST(Headless, VersionHelpAndBusNames) {
  const std::string versionLine = std::string("quovis ") + QUOVIS_VERSION + "\n";
  EXPECT_TRUE(std::regex_match(versionLine, std::regex("quovis [0-9]+\\.[0-9]+\\.[0-9]+\n")));
  ProgramRun version = RunQuovis("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, versionLine);
  ProgramRun help = RunQuovis("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind(versionLine, 0), 0u) << help.out;
  for (const char* option : {"--list-buses", "--version", "--bus=BUS", "i2c-N", "<adapter name>"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;

  ProgramRun list = RunQuovis("--list-buses");
  EXPECT_EQ(list.status, 0);
  EXPECT_FALSE(list.out.empty());
  // A name that is no adapter's fails before anything is opened.
  ProgramRun unknown = RunQuovis("'--bus=no such adapter' --headless --polls=1");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err.rfind("No I2C adapter is named \"no such adapter\"", 0), 0u) << unknown.err;
  EXPECT_TRUE(unknown.out.empty());
}

// A chip that vanishes right after start-up and the first poll: the report
// says so in both forms, and the first poll's report says it answered. (What
// a poll without an answer shows is checked field by field on the monitor.)
TEST(Headless, AVanishedChipIsReportedAsNotAnswering) {
  auto board = [](long failAfter) {
    return R"({"devices": [{"chip": "s5h1409", "fault": {"fail_after": )" +
           std::to_string(failAfter) + "}}]}";
  };
  // How many transactions start-up and one poll take: one trace line each.
  BoardFileOnDisk steady(board(1000000), "steady");
  ProgramRun counting = RunQuovis(steady.bus() + " --headless --polls=1 --trace");
  ASSERT_EQ(counting.status, 0) << counting.err;
  long transactions = 0;
  std::istringstream trace(counting.err);
  for (std::string line; std::getline(trace, line);)
    transactions += line.rfind("velI2C_", 0) == 0 && line.rfind("velI2C_InitByType", 0) != 0;
  ASSERT_GT(transactions, 0);

  BoardFileOnDisk vanishing(board(transactions), "vanishing");
  ProgramRun json = RunQuovis(vanishing.bus() + " --headless --polls=3 --interval=0 --json");
  ASSERT_EQ(json.status, 0) << json.err;
  std::istringstream lines(json.out);
  std::vector<std::string> answering;
  for (std::string line; std::getline(lines, line);) {
    Json doc;
    std::string entry, why;
    ASSERT_TRUE(ParseJson(line, doc, entry, why)) << entry << ": " << why;
    ASSERT_TRUE(doc.contains("answering") && doc["answering"].is_boolean()) << line;
    answering.push_back(doc["answering"].get<bool>() ? "true" : "false");
  }
  EXPECT_EQ(answering, (std::vector<std::string>{"true", "false", "false"}));
  PollReport last(json.out);
  EXPECT_EQ(last.field("lblMode", "text"), "No answer");

  ProgramRun line = RunQuovis(vanishing.bus() + " --headless --polls=2 --interval=0");
  ASSERT_EQ(line.status, 0) << line.err;
  std::string second = line.out.substr(line.out.find('\n') + 1);
  EXPECT_EQ(second.rfind("No answer | .Master Lock .EQ Lock .FEC Lock .VSB Sync .AFC Lock | "
                         "SNR 0 / 0 (avg) | SNR 0 | Uncorrectable Errors:  0 | "
                         "Correctable Errors:  0 | Carrier - (-)\n",
                         0),
            0u)
      << line.out;
  EXPECT_EQ(line.out.rfind("8-VSB | +Master Lock", 0), 0u) << line.out;
}

}  // namespace

#include "app/Session.h"
#include "monitor/DesignLayout.h"

namespace {

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
  // A sleeping chip was not asked for its offsets: the labels' texts stand.
  r.carrierOffset.reset(), r.carrierOffsetHex.reset();
  m["lblCOffset"].text = "12", m["lblCOHex"].text = "C";
  EXPECT_EQ(ReportLine(r, m).substr(ReportLine(r, m).rfind(" | ")), " | Carrier 12 (C)");
}

}  // namespace
