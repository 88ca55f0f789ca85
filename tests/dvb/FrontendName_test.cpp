// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "dvb/FrontendDevice.h"
#include "support/EmulatedFrontend.h"

// The name comes from FE_GET_INFO on a read-only open that is closed again;
// otherwise the reason comes from the open or the ioctl. The real kernel on
// nodes every machine has, and the emulated one for a frontend.
TEST(FrontendName, ReadOnAReadOnlyOpenOrTheReasonWhyNot) {
  EmulatedFrontend emulated;
  EmulatedFrontend busy;
  busy.sharedAdapterBusy = true;
  struct Case {
    FrontendDevice& device;
    std::string node;
    std::optional<std::string> name;
    std::string whyNot;
  } cases[] = {
      {SystemFrontendDevice(), "/nonexistent/dvb/adapter0/frontend0", std::nullopt, "no /dev node"},
      {SystemFrontendDevice(), "/dev/null", std::nullopt, "not a DVB frontend"},
      {emulated, "/dev/dvb/adapter0/frontend0", "Emulated DVB-T", ""},
      {busy, "/dev/dvb/adapter0/frontend0", std::nullopt, "busy"},
  };
  for (const Case& c : cases) {
    std::string whyNot;
    EXPECT_EQ(ReadFrontendName(c.device, c.node, whyNot), c.name) << c.node;
    EXPECT_EQ(whyNot, c.whyNot) << c.node;
  }
  ASSERT_EQ(emulated.opens.size(), 1u);
  EXPECT_EQ(emulated.opens[0].flags, FrontendDevice::kReadOnlyFlags);
  EXPECT_EQ(emulated.closed, std::vector<int>{EmulatedFrontend::kFd});
}
