// SPDX-License-Identifier: GPL-3.0-or-later
// --read-only end to end: the session's bus refuses plain writes below every
// window, the title says so, and the monitor still reads.
#include <gtest/gtest.h>

#include <sstream>

#include "app/Session.h"
#include "console/I2cConsole.h"
#include "sim/SimBoard.h"
#include "support/StartedBoard.h"

namespace {

std::unique_ptr<Session> Started(std::vector<std::string> args) {
  auto session = std::make_unique<Session>(ParseCommandLine(args));
  std::string error;
  std::ostringstream trace;
  EXPECT_TRUE(session->OpenBus(trace, error)) << error;
  EXPECT_TRUE(session->Start(error)) << error;
  return session;
}

TEST(ReadOnlyMode, TitleEndsInReadOnly) {
  struct Case {
    std::vector<std::string> args;
    const char* title;
  } cases[] = {
      {{"--bus=sim:s5h1409", "--read-only"},
       "Digital Signal Quality (CX24227) [simulated] [read-only]"},
      {{"--bus=sim:s5h1409", "-demod2", "--read-only"},
       "2 Digital Signal Quality (CX24227) [simulated] [read-only]"},
      {{"--bus=sim:s5h1409"}, "Digital Signal Quality (CX24227) [simulated]"},
  };
  for (const Case& c : cases) {
    auto s = Started(c.args);
    EXPECT_EQ(s->monitor().model.title, c.title);
    EXPECT_EQ(s->monitor().readOnly(), s->commandLine().readOnly);
  }
}

// A plain write on the session's bus fails and the board sees nothing, yet
// the trace (above the guard) prints it with its failure; the monitor still
// reads. Without the option the same write reaches the board.
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
    EXPECT_EQ(bus.lib.velI2C_WriteArray(bus.handle, 1, 0x32, 0xF3, 2, sleep), readOnly ? 1 : 0);
    EXPECT_EQ(board.bytesWritten() - writtenBefore, readOnly ? 0 : 3);
    EXPECT_EQ(board.DeviceAt(0x32)->GetRegister(0xF3), readOnly ? 0 : 1);
    EXPECT_NE(trace.str().find("velI2C_WriteArray(0x5118, 1, 0x32, 0xF3, 2, [00 01]) -> " +
                               std::string(readOnly ? "1" : "0")),
              std::string::npos)
        << trace.str();
    s.monitor().Poll();
    EXPECT_EQ(s.monitor().model["lblMode"].text, "8-VSB") << readOnly;
    EXPECT_TRUE(s.monitor().model.answering) << readOnly;
  }
}

struct LogView : ConsoleView {
  std::vector<std::string> log;
  void AppendLog(const std::string& line) override { log.push_back(line); }
  void ClearLog() override {}
  void SetBoxText(ConsoleBox, const std::string&) override {}
};

// The console's Read may only name a register: at the S5H1409 (0x32, one
// byte register addresses) "F2 00 01" would store 00 01 in its sleep
// register, and a read of 0 bytes would send the subaddress as a write.
// Elsewhere a register address takes one byte, at the LGDT3306 (0xB2) two.
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
    if (c.logged.empty()) {
      EXPECT_EQ(view.log[0].rfind("Read  ", 0), 0u) << view.log[0];
    } else {
      EXPECT_EQ(view.log[0], c.logged);
      EXPECT_EQ(s.board->bytesWritten(), written);
    }
    if (f2 >= 0) {
      EXPECT_EQ(s.board->DeviceAt(0x32)->GetRegister(0xF2), f2);
    }
  }
}

}  // namespace
