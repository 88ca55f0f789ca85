#include "demod/dvb/PlainDvbtDriver.h"

#include <gtest/gtest.h>

#include "demod/dvb/DvbRig.h"
#include "demod/dvb/cx22702.h"
#include "demod/dvb/tda1004x.h"
#include "demod/dvb/zl10353.h"

namespace {

// The readings these chips do not have, and the gate and sleep controls
// they do not offer, answer fixed values and never reach the bus.
template <typename Driver>
void ExpectFixedReadingsWithoutBusTraffic() {
  Rig<Driver> rig;
  Demodulator& d = rig.driver;
  d.Passthru(1), d.Sleep(1), d.OperatingMode(Mode::Sleep);
  EXPECT_EQ(std::pair(d.Passthru(), d.Sleep()), std::pair(int16_t(0), int16_t(0))) << d.name();
  for (const Value& v : {d.SNRRegisters(), d.CarrierOffsetHex(), d.SymbolTiming(), d.AutoFreq()})
    EXPECT_TRUE(v.IsText() && v.Text() == "0") << d.name();
  for (const Value& v : {d.CarrierOffset(), d.PilotPwr(), d.IFGain(), d.STRTime(), d.FreqOffset(),
                         d.AGCPowerRef(), d.BERctr()})
    EXPECT_TRUE(!v.IsText() && !v.IsEmpty() && v.Number() == 0) << d.name();
  EXPECT_TRUE(rig.fake.calls.empty()) << d.name();
}

TEST(PlainDvbtDriver, FixedReadingsAndControlsWithoutBusTraffic) {
  ExpectFixedReadingsWithoutBusTraffic<zl10353>();
  ExpectFixedReadingsWithoutBusTraffic<cx22702>();
  ExpectFixedReadingsWithoutBusTraffic<tda1004x>();
}

}  // namespace
