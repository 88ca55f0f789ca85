// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/LinuxFrontendName.h"

#include <gtest/gtest.h>

// The real kernel, on nodes every machine has: the reason comes from the
// open or the ioctl, and nothing is mistaken for a frontend's name.
TEST(LinuxFrontendName, NodesThatAreNoFrontendSayWhy) {
  struct Case {
    std::string node, whyNot;
  } cases[] = {
      {"/nonexistent/dvb/adapter0/frontend0", "no /dev node"},
      {"/dev/null", "not a DVB frontend"},
  };
  for (const Case& c : cases) {
    std::string whyNot;
    EXPECT_EQ(ReadLinuxFrontendName(c.node, whyNot), std::nullopt) << c.node;
    EXPECT_EQ(whyNot, c.whyNot) << c.node;
  }
}
