#include <gtest/gtest.h>

#include "bus/Bus.h"
#include "sim/SimRegistry.h"
#include "sim/Tda18271Model.h"
#include "sim/Tda829xModel.h"
#include "support/SimFixture.h"
#include "tuner/tda18271.h"
#include "tuner/tda829x.h"

namespace {

struct BuiltIn {
  std::unique_ptr<SimBoard> board;
  std::unique_ptr<Bus> bus;
  explicit BuiltIn(const std::string& name) {
    std::string error;
    board = MakeBuiltInBoard(name, error);
    EXPECT_TRUE(board) << error;
    board->SetClock([] { return 0.0; });
    bus = std::make_unique<Bus>(*board);
    bus->handle = board->velI2C_InitByType(24, 0);
  }
  long reg(int address, int r) { return board->DeviceAt(address)->GetRegister(r); }
};

TEST(TunerFrontEnd, EveryBuiltInBoardCarriesTheGatedTuner) {
  for (const auto& name : BuiltInBoardNames()) {
    BuiltIn b(name);
    tda829x ifDemod(*b.bus);
    tda18271 tuner(*b.bus);
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
  FileBoard strobe(OneChip("tda8295", "\"0x46\":\"0x1F\""));
  tda829x ifDemod(*strobe.bus);
  ifDemod.probe();
  ifDemod.Passthru(0);
  EXPECT_EQ(strobe.device(0x84).GetRegister(0x45), 0x01);
  EXPECT_EQ(strobe.device(0x84).GetRegister(0x46), 0x1F);
}

TEST(TunerFrontEnd, ThermometerCodesAtTheRangeEnds) {
  struct Case {
    int celsius;
    bool high;
    int code;
  } cases[] = {
      {50, false, 0}, {60, false, 0}, {61, false, 0}, {62, false, 1},  {66, false, 2},
      {89, false, 9}, {90, false, 8}, {95, false, 8}, {66, true, 0},   {92, true, 0},
      {95, true, 1}, {96, true, 3},  {122, true, 8}, {130, true, 8}, {106, true, 4},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Tda18271Model::ThermometerCode(c.celsius, c.high), c.code)
        << c.celsius << (c.high ? " high" : " low");
}

// Read-only and self-clearing places read back differently from what was
// written; the rest of the image is kept as written.
TEST(TunerFrontEnd, TunerRegistersThatDoNotKeepAWrite) {
  FileBoard b(OneChip("tda18271"));
  tda18271 tuner(*b.bus);
  ASSERT_TRUE(tuner.probe());
  tda18271::Image written;
  written.fill(0xA5);
  b.board->velI2C_WriteArray(b.bus->handle, 1, 0xC0, 0, 39, written.data());
  tuner.ReadRegs();
  auto image = tuner.image();
  EXPECT_EQ(image[0x00], 0x84);  // identity
  EXPECT_EQ(image[0x01], 0xA2);  // thermometer off: the last code stays
  EXPECT_EQ(image[0x02], 0xCC);  // power level
  EXPECT_EQ(image[0x05], 0x25);  // calibration start cleared itself
  for (int i = 0x06; i < 39; ++i) EXPECT_EQ(image[i], 0xA5) << i;
  EXPECT_EQ(tuner.read_thermometer(), Tda18271Model::kDefaultCelsius);
}

TEST(TunerFrontEnd, PowerLevelIsMeasuredOnlyWhileEnabledAndLive) {
  BuiltIn b("s5h1409");
  tda829x ifDemod(*b.bus);
  ifDemod.probe();
  ifDemod.Passthru(1);
  tda18271 tuner(*b.bus);
  ASSERT_TRUE(tuner.probe());
  EXPECT_EQ(tuner.image()[0x02], 0xCC);
  b.board->SetClock([] { return 9.0 * 3.14159265 / 2; });  // level at its peak, 15
  tuner.ReadRegs();
  EXPECT_EQ(tuner.image()[0x02], 0xCC) << "measurement is disabled by default";
  tuner.dis_power_level(false);
  tuner.ReadRegs();
  EXPECT_EQ(tuner.image()[0x02], 0xCF);
  EXPECT_EQ(tuner.calc_rfagc_gain(), 94 + 15 - 92 - 11);
  tuner.dis_power_level(true);
  b.board->SetClock([] { return 0.0; });
  tuner.ReadRegs();
  EXPECT_EQ(tuner.image()[0x02], 0xCF) << "held while disabled";
}

}  // namespace
