// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BoardChoices.h"

#include <gtest/gtest.h>

#include "support/FakeCards.h"

namespace {

const std::string kVideo = "join the video group: sudo adduser $USER video, then log in again";
const std::string kI2c = "join the i2c group: sudo adduser $USER i2c, then log in again";
const std::string kI2cDev = "load the i2c-dev module: sudo modprobe i2c-dev";

TEST(BoardChoices, CardsAdaptersSimulatedBoardsAndTheFileEntryWithWhatToDo) {
  FakeSysfs m;
  BuildFakeCards(m);
  std::vector<BoardChoice> choices = ListBoardChoices(m.roots, kCardUser);
  struct Row {
    std::string bus, label, whyNot, todo;
  } expected[] = {
      {"dvb0.0", "DVB dvb0.frontend0 on cx23885[0]", "", ""},
      {"dvb0.1", "DVB dvb0.frontend1 on cx23885[0]", "", ""},
      {"dvb1.0", "DVB dvb1.frontend0 on Realtek RTL2832U reference design", "",
       "kernel view only; for the registers " + kI2cDev},
      {"dvb2.0", "DVB dvb2.frontend0 on Realtek RTL2832U reference design", "no permission",
       kVideo},
      {"dvb3.0", "DVB dvb3.frontend0 on vidtv_i2c", "", ""},
      {"dvb4.0", "DVB dvb4.frontend0", "no /dev node",
       "the kernel made no node in /dev/dvb: reload the card's driver"},
      {"i2c-0", "I2C i2c-0 vidtv_i2c", "", ""},
      {"i2c-1", "I2C i2c-1 SMBus I801 adapter at f000", "no permission", kI2c},
      {"i2c-7", "I2C i2c-7 cx23885[0]", "no permission", kI2c},
      {"i2c-8", "I2C i2c-8 cx23885[1]", "", ""},
      {"i2c-9", "I2C i2c-9 cx23885[2]", "", ""},
      {"i2c-10", "I2C i2c-10 Realtek RTL2832U reference design", "no /dev node", kI2cDev},
      {"i2c-11", "I2C i2c-11 i2c-10-mux (chan_id 0)", "no /dev node", kI2cDev},
      {"i2c-12", "I2C i2c-12 Realtek RTL2832U reference design", "no permission", kI2c},
  };
  ASSERT_GT(choices.size(), std::size(expected) + 1);
  for (size_t i = 0; i < std::size(expected); ++i) {
    const BoardChoice& c = choices[i];
    const Row& e = expected[i];
    EXPECT_EQ(std::tuple(c.bus, c.label, c.whyNot, c.todo, c.mayOpen()),
              std::tuple(e.bus, e.label, e.whyNot, e.todo, e.whyNot.empty()));
  }
  // The simulated boards follow, all of them openable, then the file entry.
  auto s5h1409 = std::find_if(choices.begin(), choices.end(),
                              [](const BoardChoice& c) { return c.bus == "sim:s5h1409"; });
  ASSERT_NE(s5h1409, choices.end());
  EXPECT_EQ(std::tuple(s5h1409->label, s5h1409->mayOpen(), choices.back().label,
                       choices.back().mayOpen()),
            std::tuple("Simulated s5h1409", true, "Open a board file…", true));

  // The remembered bus comes first, the others keep their order; a board
  // file gets its own row; an unknown bus changes nothing.
  std::vector<BoardChoice> moved = choices;
  PutRememberedFirst(moved, "i2c-8");
  EXPECT_EQ(moved[0].bus + moved[1].bus + moved[9].bus + moved[10].bus, "i2c-8dvb0.0i2c-7i2c-9");
  PutRememberedFirst(moved, "sim:/home/me/boards/attic.json");
  EXPECT_EQ(std::tuple(moved[0].label, moved.size()),
            std::tuple("Board file /home/me/boards/attic.json", choices.size() + 1));
  std::vector<BoardChoice> same = choices;
  PutRememberedFirst(same, "i2c-99");
  EXPECT_EQ(std::tuple(same[0].bus, same.size()), std::tuple("dvb0.0", choices.size()));
}

TEST(BoardChoices, AMachineWithoutI2cSupportSaysWhatToLoad) {
  FakeSysfs m;
  std::vector<BoardChoice> choices = ListBoardChoices(m.roots, kCardUser);
  ASSERT_FALSE(choices.empty());
  EXPECT_EQ(std::tuple(choices[0].whyNot, choices[0].todo, choices[0].mayOpen()),
            std::tuple("no I2C support", "load the I2C modules: sudo modprobe i2c-dev", false));
}

}  // namespace
