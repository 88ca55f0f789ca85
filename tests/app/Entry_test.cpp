// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/Startup.h"

namespace {

TEST(Entry, AHeadlessRunPollsOrEndsWithItsStartUpFailure) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string outStart, err;
    int outLines;
  } cases[] = {
      {{"--bus=sim:s5h1409", "--headless", "--polls=2", "--interval=0"}, 0, "8-VSB | ", "", 2},
      {{"--headless", "--polls=1"},
       1,
       "",
       "Did not find a Tarnwick board\nChoose a bus: --bus=/dev/i2c-N for a real card (quovis "
       "--list-buses shows them), or --bus=sim:<board> for a simulated board (see quovis "
       "--help).\n",
       0},
  };
  for (const auto& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(RunWithoutWindow(ParseCommandLine(c.args), out, err), c.status);
    const std::string o = out.str();
    EXPECT_EQ(
        std::tuple(o.substr(0, c.outStart.size()), err.str(), std::count(o.begin(), o.end(), '\n')),
        std::tuple(c.outStart, c.err, c.outLines));
  }
}

TEST(Entry, TheWindowSaysWhatToTryAfterAMissingOrUnknownBoard) {
  struct Case {
    std::string message, secondLine;
  } cases[] = {
      {kNoBoardMessage,
       "Choose one with the Board… button, or start quovis with --bus (quovis --list-buses lists "
       "the machine's buses)."},
      {kNoDemodulatorMessage,
       "Check that the card is powered and its driver loaded, or choose another of its buses: a "
       "card often has several."},
      {"Cannot open /dev/i2c-3: Permission denied", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowFailureText(c.message),
              c.secondLine.empty() ? c.message : c.message + "\n" + c.secondLine);
}

}  // namespace
