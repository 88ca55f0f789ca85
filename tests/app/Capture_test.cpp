// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Capture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Startup.h"
#include "bus/ReadOnlyI2cLibrary.h"
#include "monitor/Monitor.h"
#include "sim/BoardFile.h"
#include "sim/SimRegistry.h"
#include "support/Headless.h"
#include "support/RecordingLibrary.h"
#include "support/SimFixture.h"
#include "tuner/RegisterEditor.h"

namespace {

constexpr double kPinnedSeconds = 37.5;  // the wandering values are away from their rest

// The first poll's JSON report, as --headless --json prints it.
std::string FirstPoll(I2cLibrary& library) {
  Bus bus(library);
  Monitor monitor(false);
  Detection detection(BuiltInDrivers(bus, monitor));
  Startup startup = RunStartup(CommandLine{}, bus, detection, true);
  if (!startup.ok) return startup.message;
  monitor.model.title = startup.title;
  monitor.SetDriver(startup.driver);
  monitor.WatchReads(&bus);
  monitor.Poll();
  return ViewModelJson(monitor.model);
}

std::unique_ptr<SimBoard> PinnedBoard(const std::string& name, double seconds = kPinnedSeconds) {
  std::string error;
  auto board = MakeBuiltInBoard(name, error);
  if (!board) ADD_FAILURE() << error;
  board->SetClock([seconds] { return seconds; });
  return board;
}

TEST(Capture, EveryBuiltInBoardReplaysItsFirstPoll) {
  for (const auto& name : BuiltInBoardNames()) {
    SCOPED_TRACE(name);
    auto original = PinnedBoard(name);
    RecordingLibrary recording(*original);
    Capture capture = CaptureBoard(recording, CommandLine{});
    ASSERT_TRUE(capture.ok) << capture.message;
    EXPECT_TRUE(recording.Writes().empty());
    // No byte beyond what passes the read-only layer: register addresses.
    auto reference = PinnedBoard(name);
    ReadOnlyI2cLibrary guard(*reference);
    CaptureBoard(guard, CommandLine{});
    EXPECT_EQ(std::tuple(original->bytesWritten(), capture.refusedWrites, capture.notes.size()),
              std::tuple(reference->bytesWritten(), 0, 0u));
    std::string error;
    auto replay = ParseBoard(capture.boardFile, "capture.json", error);
    ASSERT_TRUE(replay) << error << "\n" << capture.boardFile;
    std::string expected = FirstPoll(*PinnedBoard(name));
    ASSERT_EQ(expected.find("Did not find"), std::string::npos);
    // The board shows something else at its start: only the values read
    // at the pinned time make the replay agree.
    EXPECT_NE(FirstPoll(*PinnedBoard(name, 0)), expected);
    EXPECT_EQ(FirstPoll(*replay), expected) << capture.boardFile;
  }
}

// With -tda the editor's load asks to open and close the TDA8290's gate, a
// write refused each attempt: only the IF demodulator's identity is captured.
TEST(Capture, TunerBehindAGateIsNotReachedSinceTheGateIsAWrite) {
  auto board = PinnedBoard("s5h1409");
  RecordingLibrary recording(*board);
  CommandLine cl;
  cl.tda = true;
  Capture capture = CaptureBoard(recording, cl);
  ASSERT_TRUE(capture.ok && recording.Writes().empty());
  EXPECT_EQ(capture.refusedWrites, 2 * Bus::kWriteAttempts);
  EXPECT_NE(capture.boardFile.find(R"({"chip": "tda8290", "address": "0x84",)"
                                   "\n    \"registers\": {\"0x1F\": \"0x89\"}}"),
            std::string::npos)
      << capture.boardFile;
  EXPECT_EQ(capture.boardFile.find("tda18271"), std::string::npos);
  ASSERT_EQ(capture.notes.size(), 1u);
  EXPECT_NE(capture.notes[0].find("opening the gate is a write"), std::string::npos);
}

// A tuner the bus reaches directly is captured whole and replays alike.
TEST(Capture, TunerOnTheBusIsCapturedWhole) {
  const std::string file = R"({"devices": [{"chip": "zl10353"},
      {"chip": "tda18271", "address": "0xC2", "registers": {"0x25": "0x70", "0x0A": 171}}]})";
  FileBoard original(file);
  RecordingLibrary recording(*original.board);
  CommandLine cl;
  cl.tda = true;
  Capture capture = CaptureBoard(recording, cl);
  ASSERT_TRUE(capture.ok && recording.Writes().empty());
  EXPECT_EQ(capture.refusedWrites, 0);
  for (const char* part : {R"({"chip": "tda18271", "address": "0xC2",)", R"("0x0A": "0xAB")",
                           R"("0x25": "0x70", "0x26": "0x90"}})"})
    EXPECT_NE(capture.boardFile.find(part), std::string::npos) << capture.boardFile;
  FileBoard replay(capture.boardFile);
  RegisterEditor before(*original.bus), after(*replay.bus);
  before.Load();
  after.Load();
  ASSERT_TRUE(after.tunerFound());
  EXPECT_EQ(after.state().caption, "Tuner registers \u2014 TDA18271 at 0xC2");
  EXPECT_EQ(after.state().values, before.state().values);
}

// The frontend is captured with the chips and replays what the driver
// answered then (a C/N ten times the SNR, v3 SNR in tenths of a dB); a file
// without it replays its registers' view.
TEST(Capture, TheFrontendReplaysAsItWasCaptured) {
  struct Case {
    std::string frontend;  // the captured board's driver faults
    std::string pointer;   // a member of the replay's report
    double timesSnr;       // its value over the register SNR; 0: null
    bool dropFrontend;     // the replayed file has no "frontend" entry
  } cases[] = {
      {R"({"cnr_scale": 10})", "/kernel/cnr_db", 10, false},
      {R"({"stats": "v3"})", "/kernel/v3/snr", 10, false},
      {R"({"absent": true})", "/kernel", 0, false},
      {R"({"cnr_scale": 10})", "/kernel/cnr_db", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frontend);
    BoardFileOnDisk board(R"({"devices": [{"chip": "s5h1409"}], "frontend": )" + c.frontend + "}",
                          "captured_frontend");
    TempFolder dir;
    const std::filesystem::path file = dir / "capture.json";
    ProgramRun capture = RunQuovis(board.bus() + " --capture=" + file.string());
    ASSERT_EQ(capture.status, 0) << capture.err;
    EXPECT_EQ(capture.out.rfind("Captured CX24227 (s5h1409) at 0x32, 1 device(s), ", 0), 0u);
    EXPECT_TRUE(capture.out.ends_with(" register(s) to " + file.string() + "\n"));
    if (c.dropFrontend) {
      const std::string text = Slurp(file);
      std::ofstream(file) << text.substr(0, text.find(",\n \"frontend\"")) << "}\n";
    }
    ProgramRun replay =
        RunQuovis("--bus=sim:" + file.string() + " --headless --polls=2 --interval=0 --json");
    ASSERT_EQ(replay.status, 0) << replay.err;
    PollReport report(replay.out);
    EXPECT_EQ(report.title(), "Digital Signal Quality (CX24227) [simulated]");
    const double snr = std::stod(report.field("vbalProgressBar1", "text").substr(4));  // "SNR 22.6"
    const Json& value = report.doc.value(Json::json_pointer(c.pointer), Json());
    if (c.timesSnr == 0)
      EXPECT_TRUE(value.is_null()) << value;
    else
      EXPECT_NEAR(value.get<double>(), c.timesSnr * snr, 0.05) << value;
  }
}

// The path is checked before the bus, which does not exist either.
TEST(Capture, UnwritablePathFailsBeforeTheBusIsOpened) {
  for (const std::string& path : {std::string("/nonexistent-folder/customer.json"),
                                  std::filesystem::temp_directory_path().string()}) {
    ProgramRun run = RunQuovis("--bus=sim:no-such-board --capture=" + path);
    EXPECT_EQ(run.status, 1) << path;
    EXPECT_NE(run.err.find("cannot write the capture to " + path + ": "), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("no simulated board"), std::string::npos) << run.err;
  }
}

TEST(Capture, NoBoardOrNoDemodulatorGivesTheStartUpMessage) {
  TempFolder dir;
  const std::filesystem::path file = dir / "capture.json";
  BoardFileOnDisk onlyTuner(R"({"devices": [{"chip": "tda18271"}]})");
  const std::pair<std::string, std::string> cases[] = {
      {"", kNoBoardMessage + "\n" + kChooseBusHint + "\n"},
      {onlyTuner.bus(), kNoDemodulatorMessage + "\n"}};
  for (const auto& [bus, err] : cases) {
    ProgramRun run = RunQuovis(bus + " --capture=" + file.string());
    EXPECT_EQ(std::tuple(run.status, run.err, std::filesystem::exists(file)),
              std::tuple(1, err, false));
  }
}

// A chip that stops answering part way: the first unanswered read is named
// and no file is written. The s5h1409's capture is 25 transactions: two
// probes, the start-up's and the poll's mode (0xF2, 0xF4 each), 0xF0, 0xF1
// three times, 0x40, 0x35, 0x36, 0x38, 0x39, 0x3A, 0xB5, 0xB7, 0xF3, 0xF2,
// 0xAC and 0x33, 0x34 twice.
TEST(Capture, AReadWithoutAnAnswerLeavesNoFile) {
  const std::pair<int, std::string> cases[] = {
      {3, "0x32 register 0xF4"},  {5, "0x32 register 0xF4"},  {10, "0x32 register 0x40"},
      {20, "0x32 register 0xAC"}, {24, "0x32 register 0x34"}, {40, ""},  // every read answered
  };
  TempFolder dir;
  const std::filesystem::path file = dir / "capture.json";
  for (const auto& [answered, where] : cases) {
    BoardFileOnDisk vanishing(R"({"devices": [{"chip": "s5h1409", "fault": {"fail_after": )" +
                              std::to_string(answered) + "}}]}");
    ProgramRun run = RunQuovis(vanishing.bus() + " --capture=" + file.string());
    EXPECT_EQ(run.status, where.empty() ? 0 : 1) << answered;
    EXPECT_EQ(std::filesystem::exists(file), where.empty()) << answered;
    EXPECT_EQ(run.err, where.empty()
                           ? ""
                           : "quovis: capture: no answer from " + where + "; no file written\n");
    std::filesystem::remove(file);
  }
}

}  // namespace
