// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "sim/Tda829xModel.h"
#include "support/SimFixture.h"
#include "tuner/tda829x.h"

namespace {

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

}  // namespace
