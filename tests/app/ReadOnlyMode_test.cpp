// SPDX-License-Identifier: GPL-3.0-or-later
// --read-only end to end: the session's bus refuses plain writes below every
// window, the title says so, and the monitor still reads.
#include <gtest/gtest.h>

#include <sstream>

#include "app/Session.h"
#include "sim/SimBoard.h"

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
    long writesBefore = board.writes();
    uint8_t sleep[2] = {0x00, 0x01};
    EXPECT_EQ(bus.lib.velI2C_WriteArray(bus.handle, 1, 0x32, 0xF3, 2, sleep), readOnly ? 1 : 0);
    EXPECT_EQ(board.writes() - writesBefore, readOnly ? 0 : 1);
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

}  // namespace
