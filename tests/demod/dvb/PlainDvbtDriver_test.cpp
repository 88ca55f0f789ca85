#include "demod/dvb/PlainDvbtDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "bus/Bus.h"
#include "demod/dvb/cx22702.h"
#include "demod/dvb/tda1004x.h"
#include "demod/dvb/zl10353.h"
#include "monitor/Codes.h"
#include "support/FakeI2c.h"
#include "support/FakeView.h"

namespace {

// The readings these chips do not have, and the gate and sleep controls
// they do not offer, answer fixed values and never reach the bus.
TEST(PlainDvbtDriver, FixedReadingsAndControlsWithoutBusTraffic) {
  using Make = std::function<std::unique_ptr<Demodulator>(Bus&, MonitorView&)>;
  Make makers[] = {
      [](Bus& bus, MonitorView& view) { return std::make_unique<zl10353>(bus, view); },
      [](Bus& bus, MonitorView& view) { return std::make_unique<cx22702>(bus, view); },
      [](Bus& bus, MonitorView& view) { return std::make_unique<tda1004x>(bus, view); },
  };
  for (const auto& make : makers) {
    FakeI2c fake;
    Bus bus(fake);
    FakeView view;
    auto driver = make(bus, view);
    std::string name = driver->name();
    driver->Passthru(1);
    driver->Sleep(1);
    driver->OperatingMode(Mode::Sleep);
    EXPECT_EQ(driver->Passthru(), 0) << name;
    EXPECT_EQ(driver->Sleep(), 0) << name;
    Value texts[] = {driver->SNRRegisters(), driver->CarrierOffsetHex(), driver->SymbolTiming(),
                     driver->AutoFreq()};
    for (const auto& v : texts) {
      EXPECT_TRUE(v.IsText()) << name;
      EXPECT_EQ(v.Text(), "0") << name;
    }
    Value numbers[] = {driver->CarrierOffset(), driver->PilotPwr(), driver->IFGain(),
                       driver->STRTime(),       driver->FreqOffset(), driver->AGCPowerRef(),
                       driver->BERctr()};
    for (const auto& v : numbers) {
      EXPECT_FALSE(v.IsText() || v.IsEmpty()) << name;
      EXPECT_EQ(v.Number(), 0) << name;
    }
    EXPECT_TRUE(fake.calls.empty()) << name;
  }
}

}  // namespace
