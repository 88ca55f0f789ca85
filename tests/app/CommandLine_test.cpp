// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, SwitchesAreCaseInsensitiveSubstringsOfTheWholeLine) {
  struct Case {
    std::vector<std::string> args;
    bool debug, demod2, notray, tda;
  } cases[] = {
      {{}, false, false, false, false},
      {{"-DEBUG"}, true, false, false, false},
      {{"x", "-Demod2", "y"}, false, true, false, false},
      {{"--bus=sim:s5h1409", "-notray", "-tda"}, false, false, true, true},
      {{"/x-debugger"}, true, false, false, false},
      {{"-TDAx"}, false, false, false, true},
      {{"--bus=sim:s5h1409"}, false, false, false, false},
  };
  for (const auto& c : cases) {
    CommandLine cl = ParseCommandLine(c.args);
    EXPECT_EQ(cl.debug, c.debug);
    EXPECT_EQ(cl.demod2, c.demod2);
    EXPECT_EQ(cl.notray, c.notray);
    EXPECT_EQ(cl.tda, c.tda);
    EXPECT_TRUE(cl.errors.empty());
  }
}

TEST(CommandLine, LongOptionsAndTheirErrors) {
  CommandLine cl = ParseCommandLine(
      {"--bus=sim:board.json", "--trace", "--headless", "--polls=3", "--interval=0", "--json"});
  EXPECT_EQ(cl.bus, "sim:board.json");
  EXPECT_TRUE(cl.trace && cl.headless && cl.json);
  EXPECT_EQ(cl.polls, 3);
  EXPECT_EQ(cl.intervalMs, 0);
  EXPECT_TRUE(cl.errors.empty());
  EXPECT_EQ(ParseCommandLine({}).intervalMs, 1000);
  EXPECT_FALSE(ParseCommandLine({}).polls.has_value());
  CommandLine info = ParseCommandLine({"--VERSION", "--list-buses", "--bus=cx23885[0]"});
  EXPECT_TRUE(info.version && info.listBuses && info.errors.empty());
  EXPECT_EQ(info.bus, "cx23885[0]");  // names are case-sensitive: kept as typed
  EXPECT_FALSE(ParseCommandLine({"--bus=sim:s5h1409"}).version);
  EXPECT_FALSE(ParseCommandLine({"--bus=sim:s5h1409"}).listBuses);
  EXPECT_EQ(ParseCommandLine({"--Capture=Customer.json"}).capture, "Customer.json");
  EXPECT_EQ(ParseCommandLine({}).capture, "");

  for (const char* on : {"--read-only", "--Read-Only"}) {
    CommandLine ro = ParseCommandLine({"--bus=sim:s5h1409", on, "-tda"});
    EXPECT_TRUE(ro.readOnly && ro.tda && ro.errors.empty()) << on;
  }
  EXPECT_FALSE(ParseCommandLine({"--bus=sim:s5h1409", "-debug"}).readOnly);
  EXPECT_NE(UsageText().find("\n  --read-only "), std::string::npos);

  for (const char* bad : {"--polls=0", "--polls=x", "--interval=-1", "--bus=", "--frobnicate",
                          "--read-only=1", "--readonly", "--capture="}) {
    CommandLine wrong = ParseCommandLine({bad});
    EXPECT_EQ(wrong.errors.size(), 1u) << bad;
  }
}

}  // namespace
