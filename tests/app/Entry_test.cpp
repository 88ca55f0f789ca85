// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Entry.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/Startup.h"

namespace {

// A headless run's polls are checked with the program itself.
TEST(Entry, AHeadlessRunEndsWithItsStartUpFailure) {
  std::ostringstream out, err;
  EXPECT_EQ(RunWithoutWindow(ParseCommandLine({"--headless", "--polls=1"}), out, err), 1);
  EXPECT_EQ(out.str() + "|" + err.str(),
            "|Did not find a Tarnwick board\nChoose a bus: --bus=/dev/i2c-N for a real card "
            "(quovis --list-buses shows them), or --bus=sim:<board> for a simulated board (see "
            "quovis --help).\n");
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
