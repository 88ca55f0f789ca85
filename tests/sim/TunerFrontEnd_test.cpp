// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "sim/SimRegistry.h"
#include "sim/Tda18271Model.h"
#include "sim/Tda829xModel.h"
#include "support/SimFixture.h"
#include "tuner/tda18271.h"
#include "tuner/tda829x.h"

namespace {

TEST(TunerFrontEnd, EveryBuiltInBoardCarriesTheGatedTuner) {
  for (const auto& name : BuiltInBoardNames()) {
    std::string error;
    auto board = MakeBuiltInBoard(name, error);
    ASSERT_TRUE(board) << error;
    Bus bus(*board);
    bus.handle = board->velI2C_InitByType(24, 0);
    tda829x ifDemod(bus);
    tda18271 tuner(bus);
    bool direct = name == "tda18271";  // that board's own tuner sits on the bus
    ASSERT_TRUE(ifDemod.probe()) << name;
    EXPECT_EQ(tuner.probe(), direct) << name << ": the gate starts closed";
    ifDemod.Passthru(1);
    EXPECT_TRUE(tuner.probe()) << name;
    EXPECT_EQ(tuner.name(), "TDA18271c2 @ 0xC0") << name;
    ifDemod.Passthru(0);
    EXPECT_EQ(tuner.probe(), direct) << name;
  }
}

TEST(TunerFrontEnd, BothGateVariantsOpenAndClose) {
  for (std::string chip : {"tda8290", "tda8295"}) {
    FileBoard b("{\"devices\":[{\"chip\":\"" + chip + "\",\"address\":\"0x96\"}]}");
    tda829x ifDemod(*b.bus);
    ASSERT_TRUE(ifDemod.probe()) << chip;
    EXPECT_EQ(ifDemod.name(), (chip == "tda8290" ? "TDA8290 @ 0x96" : "TDA8295 @ 0x96"));
    auto& model = dynamic_cast<const Tda829xModel&>(b.device(0x96));
    ifDemod.Passthru(1);
    EXPECT_TRUE(model.GateOpen()) << chip;
    ifDemod.Passthru(0);
    EXPECT_FALSE(model.GateOpen()) << chip;
  }
}

// Outside its range the code sticks at the range's end; the table is not monotonic.
TEST(TunerFrontEnd, ThermometerCodesAtTheRangeEnds) {
  struct Case {
    int celsius;
    bool high;
    int code;
  } cases[] = {
      {61, false, 0}, {62, false, 1}, {89, false, 9}, {90, false, 8},
      {95, false, 8}, {66, true, 0},  {96, true, 3},  {130, true, 8},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Tda18271Model::ThermometerCode(c.celsius, c.high), c.code)
        << c.celsius << (c.high ? " high" : " low");
}

}  // namespace
