// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/Session.h"
#include "console/I2cConsole.h"
#include "sim/SimBoard.h"
#include "support/StartedBoard.h"
#include "tuner/RegisterEditor.h"

namespace {

// --read-only: a plain write on the session's bus fails before the board,
// the trace (above the guard) prints it, the monitor still reads and the
// title says so. Without the option the write reaches the board.
TEST(ReadOnlyMode, TheSessionsBusRefusesPlainWrites) {
  for (bool readOnly : {true, false}) {
    std::vector<std::string> args = {"--bus=sim:s5h1409", "--trace"};
    if (readOnly) args.push_back("--read-only");
    Session s(ParseCommandLine(args));
    std::ostringstream trace;
    std::string error;
    ASSERT_TRUE(s.OpenBus(trace, error) && s.Start(error)) << error;
    SimBoard& board = *s.backend().simBoard;
    Bus& bus = s.bus();
    long writtenBefore = board.bytesWritten();
    uint8_t sleep[2] = {0x00, 0x01};
    const int result = bus.lib.velI2C_WriteArray(bus.handle, 1, 0x32, 0xF3, 2, sleep);
    EXPECT_EQ(std::tuple(result, board.bytesWritten() - writtenBefore,
                         board.DeviceAt(0x32)->GetRegister(0xF3)),
              readOnly ? std::tuple(1, 0L, 0L) : std::tuple(0, 3L, 1L));
    EXPECT_NE(trace.str().find("velI2C_WriteArray(0x5118, 1, 0x32, 0xF3, 2, [00 01]) -> " +
                               std::string(readOnly ? "1" : "0")),
              std::string::npos)
        << trace.str();
    s.monitor().Poll();
    const ViewModel& m = s.monitor().model;
    EXPECT_EQ(std::tuple(m["lblMode"].text, m.answering, m.title, s.monitor().readOnly()),
              std::tuple("8-VSB", true,
                         std::string("Digital Signal Quality (CX24227) [simulated]") +
                             (readOnly ? " [read-only]" : ""),
                         readOnly));
  }
}

struct LogView : ConsoleView {
  std::vector<std::string> log;
  void AppendLog(const std::string& line) override { log.push_back(line); }
  void ClearLog() override {}
  void SetBoxText(ConsoleBox, const std::string&) override {}
};

// Read-only, the console's Read may only name a register: "F2 00 01" at the
// S5H1409 would store 00 01 in its sleep register, a read of 0 bytes would
// send the subaddress as a write. The LGDT3306's addresses take two bytes.
TEST(ReadOnlyMode, TheConsolesReadSendsNoMoreThanARegisterAddress) {
  auto refused = [](const char* why) {
    return "Read refused: read-only mode, " + std::string(why) + "; nothing sent to the bus";
  };
  auto tooLong = [&](int bytes, const char* address, int takes) {
    return refused((std::to_string(bytes) + " subaddress bytes where a register address at " +
                    address + " takes " + std::to_string(takes))
                       .c_str());
  };
  struct Case {
    const char *board, *address, *sub, *count;
    std::string logged;  // empty: the read goes out
  } cases[] = {
      {"s5h1409", "32", "F2 00 01", "1", tooLong(3, "32", 1)},
      {"s5h1409", "32", "F2 00 01", "0", tooLong(3, "32", 1)},
      {"s5h1409", "32", "F2", "0",
       refused("a read of 0 bytes would send the subaddress as a write")},
      {"s5h1409", "32", "F2", "2", ""},
      {"s5h1409", "C0", "00 01", "1", tooLong(2, "C0", 1)},
      {"lgdt3306", "B2", "00 03", "1", ""},
      {"lgdt3306", "B2", "00 03 01", "1", tooLong(3, "B2", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.board) + " " + c.sub + " count " + c.count);
    CommandLine cl;
    cl.readOnly = true;
    StartedBoard s(c.board, cl);
    long f2 = s.board->DeviceAt(0x32) ? s.board->DeviceAt(0x32)->GetRegister(0xF2) : -1;
    LogView view;
    I2cConsole console(*s.bus, view, true);
    console.LeaveAddress(c.address);
    console.LeaveSubAddr(c.sub);
    console.LeaveReadCount(c.count);
    long written = s.board->bytesWritten();
    console.Read();
    ASSERT_EQ(view.log.size(), 1u);
    if (c.logged.empty())
      EXPECT_EQ(view.log[0].rfind("Read  ", 0), 0u) << view.log[0];
    else
      EXPECT_EQ(std::tuple(view.log[0], s.board->bytesWritten()), std::tuple(c.logged, written));
    EXPECT_EQ(f2 >= 0 ? s.board->DeviceAt(0x32)->GetRegister(0xF2) : -1, f2);
  }
}

using W = RecordingLibrary::Write;

// Polls write nothing; the Pass and Sleep boxes write what the driver owns
// (others ignore both); the console takes the chip's register address width.
TEST(ReadOnlyMode, EveryBoardsPollsWriteNothingAndItsBoxesWhatItsDriverOwns) {
  const std::map<std::string, std::vector<W>> boxes = {
      {"s5h1409",
       {{1, 0x32, 0xF3, {0, 1}},
        {1, 0x32, 0xF3, {0, 0}},
        {1, 0x32, 0xF2, {0, 1}},
        {1, 0x32, 0xF2, {0, 0}}}},
      {"s5h1411",
       {{1, 0x32, 0xF5, {0, 1}},
        {1, 0x32, 0xF5, {0, 0}},
        {1, 0x32, 0xF4, {0, 1}},
        {1, 0x32, 0xF4, {0, 0}}}},
  };
  for (const auto& name : BuiltInBoardNames()) {
    SCOPED_TRACE(name);
    StartedBoard s(name);
    ASSERT_TRUE(s.startup.ok) << s.startup.message;
    SimDevice* chip = s.board->DeviceAt(s.bus->chipAddress);
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(s.bus->RegisterAddressBytesAt(s.bus->chipAddress), chip->AddressBytes());
    s.rec->calls.clear();
    for (int i = 0; i < 200; ++i) {
      s.monitor->Poll();
      if (i % 50 == 0) s.monitor->ModeLabelClicked();
    }
    s.monitor->PollIntervalChange();
    s.monitor->UpdateClicked();
    EXPECT_EQ(s.rec->Writes(), std::vector<W>{});
    for (bool on : {true, false}) s.monitor->PassthruToggled(on);
    for (bool on : {true, false}) s.monitor->SleepToggled(on);
    auto it = boxes.find(s.startup.driverClass);
    EXPECT_EQ(s.rec->Writes(), it == boxes.end() ? std::vector<W>{} : it->second);
  }
}

// Refreshes read the tuner through the gate: the only writes open and close it.
TEST(ReadOnlyMode, TunerEditorRefreshesOnlyOpenTheGate) {
  StartedBoard s("s5h1409");
  RegisterEditor editor(*s.bus);
  editor.Load();
  ASSERT_TRUE(editor.tunerFound());
  std::string error;
  ASSERT_TRUE(s.board->DeviceAt(0xC0)->SetRegister(0x11, 0x5A, error)) << error;
  s.rec->calls.clear();
  editor.ClickPassthru(true);
  for (int i = 0; i < 20; ++i) editor.Refresh();
  editor.ClickPassthru(false);
  EXPECT_EQ(s.rec->Writes(), (std::vector<W>{{1, 0x84, 0x21, {0xC0}}, {1, 0x84, 0x21, {0x00}}}));
  int tunerReads = 0;
  for (const auto& c : s.rec->calls)
    if (c.kind == RecordingLibrary::Call::Read && c.address == 0xC0 && c.sub == 0 && c.count == 39)
      ++tunerReads;
  EXPECT_EQ(tunerReads, 20);
  EXPECT_EQ(editor.state().values[0x11], "5A") << "the refresh did not read the tuner";
}

}  // namespace
