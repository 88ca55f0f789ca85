// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/DvbFrontends.h"

#include <gtest/gtest.h>

#include <map>

#include "support/FakeCards.h"

namespace {

TEST(DvbFrontends, EachFrontendWithItsCardsI2cAdaptersAndAccess) {
  FakeSysfs m;
  BuildFakeCards(m);
  // The name lookup stands for the read-only open and FE_GET_INFO; dvb0.frontend1
  // shares its adapter with frontend0, which another application tunes.
  std::vector<std::string> opened;
  FrontendNameLookup nameOf = [&](const std::string& node, std::string& whyNot) {
    opened.push_back(node);
    std::map<std::string, std::string> names = {
        {m.FrontendNode(0, 0), "Samsung S5H1409 QAM/8VSB Frontend"},
        {m.FrontendNode(1, 0), "Realtek RTL2832 (DVB-T)"},
        {m.FrontendNode(3, 0), "Dummy demod for DVB-T/T2/C/S/S2"}};
    if (names.count(node)) return std::optional<std::string>(names[node]);
    whyNot = "busy";
    return std::optional<std::string>();
  };
  DvbFrontendList list = ListDvbFrontends(m.roots, kCardUser, nameOf);
  ASSERT_TRUE(list.kernelSupport);
  ASSERT_EQ(list.frontends.size(), 6u);
  EXPECT_EQ(list.frontends[5].node, m.FrontendNode(4, 0));
  // Only the nodes this user may read were opened.
  EXPECT_EQ(opened, (std::vector<std::string>{m.FrontendNode(0, 0), m.FrontendNode(0, 1),
                                              m.FrontendNode(1, 0), m.FrontendNode(3, 0)}));

  AdapterListReport report = FrontendListText(list);
  EXPECT_EQ(report.table,
            "frontend        access         I2C buses  name\n"
            "dvb0.frontend0  may open       7 8 9      Samsung S5H1409 QAM/8VSB Frontend\n"
            "dvb0.frontend1  busy           7 8 9      -\n"
            "dvb1.frontend0  may open       10 11      Realtek RTL2832 (DVB-T)\n"
            "dvb2.frontend0  no permission  12         -\n"
            "dvb3.frontend0  may open       0          Dummy demod for DVB-T/T2/C/S/S2\n"
            "dvb4.frontend0  no /dev node   none       -\n");
  EXPECT_EQ(report.notes,
            "Frontends without a /dev node: the kernel lists them but no node was made in "
            "/dev/dvb.\n"
            "To open a frontend without root, join the video group (sudo adduser $USER video) "
            "and log in again.\n"
            "I2C buses are the card's own adapters, for the register view.\n"
            "Open a card with --bus=dvbA, --bus=dvbA.F or --bus=/dev/dvb/adapterA/frontendF.\n");

  list.frontends.resize(1);  // all may be opened: no advice on nodes or groups
  EXPECT_EQ(FrontendListText(list).notes,
            "I2C buses are the card's own adapters, for the register view.\n"
            "Open a card with --bus=dvbA, --bus=dvbA.F or --bus=/dev/dvb/adapterA/frontendF.\n");

  // Without a lookup nothing is opened and no name read; without a DVB driver
  // there is no class folder at all.
  opened.clear();
  for (const auto& fe : ListDvbFrontends(m.roots, kCardUser, nullptr).frontends)
    EXPECT_EQ(fe.name, "") << fe.Label();
  FakeSysfs bare;
  EXPECT_EQ(FrontendListText(ListDvbFrontends(bare.roots, kCardUser, nameOf)).notes,
            "No DVB frontends: /sys/class/dvb does not exist (no DVB driver is loaded).\n");
  EXPECT_TRUE(opened.empty());
}

}  // namespace
