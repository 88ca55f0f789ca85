// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/CardBus.h"

#include <gtest/gtest.h>

#include "support/FakeCards.h"

namespace {

TEST(CardBus, BusValueToTheCardsFrontendAndRegisterBus) {
  FakeSysfs m;
  BuildFakeCards(m);
  const std::string noDevNode =
      "No register view: the card's I2C adapters have no /dev node (i2c-10, i2c-11); load the "
      "i2c-dev module: sudo modprobe i2c-dev";
  const std::string noPermission = "No register view: no permission to open " + m.Node(12) +
                                   "; join the i2c group (sudo adduser $USER i2c) and log in "
                                   "again";
  struct Case {
    std::string bus, frontend, i2cBus, noRegisterView;
  } cases[] = {
      // A frontend: i2c-7 is root's, so the lowest the user may open is i2c-8.
      {"dvb0", m.FrontendNode(0, 0), m.Node(8), ""},
      {"dvb0.1", m.FrontendNode(0, 1), m.Node(8), ""},
      {"dvb0.frontend1", m.FrontendNode(0, 1), m.Node(8), ""},
      {m.roots.dev + "/dvb/adapter0/frontend1", m.FrontendNode(0, 1), m.Node(8), ""},
      {"dvb1", m.FrontendNode(1, 0), "", noDevNode},
      {"dvb2.0", m.FrontendNode(2, 0), "", noPermission},
      {"dvb3", m.FrontendNode(3, 0), m.Node(0), ""},
      {"dvb4", m.FrontendNode(4, 0), "",
       "No register view: the kernel lists no I2C adapter on the card of dvb4.frontend0"},
      // An I2C bus brings the first frontend of its card, the bus as named.
      {"i2c-9", m.FrontendNode(0, 0), m.Node(9), ""},
      {"7", m.FrontendNode(0, 0), m.Node(7), ""},
      {"vidtv_i2c", m.FrontendNode(3, 0), m.Node(0), ""},
      {m.Node(0), m.FrontendNode(3, 0), m.Node(0), ""},
      {"1", "", m.Node(1), ""},
      {"/dev/i2c-3", "", "/dev/i2c-3", ""},
      {"sim:s5h1409", "", "sim:s5h1409", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bus);
    CardBuses card;
    std::string error;
    EXPECT_TRUE(ResolveCard(c.bus, m.roots, kCardUser, card, error)) << error;
    EXPECT_EQ(card.frontend, c.frontend);
    EXPECT_EQ(card.i2cBus, c.i2cBus);
    EXPECT_EQ(card.noRegisterView, c.noRegisterView);
  }

  const std::string frontends =
      "; the frontends are: dvb0.frontend0 dvb0.frontend1 dvb1.frontend0 dvb2.frontend0 "
      "dvb3.frontend0 dvb4.frontend0";
  FakeSysfs noDvb;
  struct Failure {
    const FakeSysfs& machine;
    std::string bus, error;
  } failures[] = {
      {m, "dvb0.2", "No DVB frontend dvb0.frontend2" + frontends},
      {m, m.roots.dev + "/dvb/adapter1/frontend1", "No DVB frontend dvb1.frontend1" + frontends},
      {noDvb, "dvb0",
       "No DVB frontend dvb0.frontend0: /sys/class/dvb does not exist (no DVB driver is loaded)"},
  };
  for (const Failure& f : failures) {
    SCOPED_TRACE(f.bus);
    CardBuses card;
    std::string error;
    EXPECT_FALSE(ResolveCard(f.bus, f.machine.roots, kCardUser, card, error));
    EXPECT_EQ(error, f.error);
  }
}

}  // namespace
