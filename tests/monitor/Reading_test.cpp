// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Reading.h"

#include <gtest/gtest.h>

#include "monitor/Codes.h"
#include "monitor/Monitor.h"
#include "support/ScriptedDriver.h"

namespace {

// A driver that captions the AGC label itself, in the member named.
struct CaptioningDriver : ScriptedDriver {
  MonitorView* view = nullptr;
  std::string when;
  void GetLockStatus(int16_t& m, int16_t& eq, int16_t& fec, int16_t& sync, int16_t& afc) override {
    ScriptedDriver::GetLockStatus(m, eq, fec, sync, afc);
    if (when == "GetLockStatus") view->SetCaption("lblAGC", "RF_AGC: 12");
  }
  Value CarrierOffsetHex() override {
    if (when == "CarrierOffsetHex") view->SetCaption("lblAGC", "RF_AGC: 12");
    return ScriptedDriver::CarrierOffsetHex();
  }
};

TEST(Reading, ACaptionMadeAfterAReadingWasTakenHasTheLastWord) {
  struct Case {
    std::string when, text;
    std::optional<int32_t> fore;
  } cases[] = {
      {"", "AGC 5FF", Color::Red},  // the generic reading
      // Captioned before the reading: the reading leaves the label alone.
      {"GetLockStatus", "RF_AGC: 12", std::nullopt},
      // Captioned later in the poll: the caption stands, the colour is the reading's.
      {"CarrierOffsetHex", "RF_AGC: 12", Color::Red},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.when);
    CaptioningDriver driver;
    Monitor monitor(false);
    driver.view = &monitor;
    driver.when = c.when;
    driver.mode = Mode::Qam64;
    driver.agc = 0x5FF;
    monitor.SetDriver(&driver);
    monitor.Poll();
    EXPECT_EQ(std::tuple(monitor.model["lblAGC"].text, monitor.model["lblAGC"].fore,
                         monitor.lastReading().agc),
              std::tuple(c.text, c.fore, "5FF"));
  }
}

}  // namespace
