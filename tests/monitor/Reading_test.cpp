// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Reading.h"

#include <gtest/gtest.h>

#include "monitor/Codes.h"
#include "monitor/Monitor.h"
#include "support/ScriptedDriver.h"

namespace {

// mode, its text, locks, SNR, average, colour, uncorrectable, correctable,
// uncorrectable rate, correctable BER, carrier offset and its hex, and the
// texts of symbol timing, auto frequency, pilot, AGC, IF gain, STR time, offset.
using Expected = std::tuple<int16_t, std::string, std::array<int16_t, 5>, float, float, int32_t,
                            double, int32_t, std::optional<double>, double,
                            std::optional<std::string>, std::optional<std::string>, std::string>;

// Each field of a reading is filled from its driver member; the rules of a
// poll (locks, sleep, counters) are checked on what the window shows.
TEST(Reading, OnePollReadIntoItsFields) {
  struct Case {
    const char* what;
    void (*script)(ScriptedDriver&);
    Expected want;
    // clang-format off
  } cases[] = {
      {"locked 8-VSB",
       [](ScriptedDriver& d) {
         d.mode = Mode::Vsb8, d.snr = 25.3f, d.avg = 25.0f, d.uncorrectable = 3;
         d.correctable = 40, d.ber = 1, d.carrier = "6700", d.carrierHex = "0 1A2C";
       },
       {0, "8-VSB", {1, 1, 1, 1, 1}, 25.3f, 25.0f, Color::Green, 3, 40, 3 / 38799.0,
        40 / 65535.0, "6700", "0 1A2C", "12 3456|1 2F40|C80||||"}},
      {"QAM 256 over 63 errors, a counter setting without a divisor",
       [](ScriptedDriver& d) {
         d.mode = Mode::Qam256, d.snr = 33.1f, d.avg = 32.9f, d.uncorrectable = 64;
         d.correctable = 7, d.ber = 4, d.agc = 0x5FF;
       },
       {2, "QAM 256", {1, 1, 1, 1, 1}, 33.1f, 32.9f, Color::Green, 64, 256, std::nullopt,
        256 / 65535.0, "0", "0 0", "|||5FF|1A|FF|FFFF"}},
      {"asleep: nothing asked but the counter setting",
       [](ScriptedDriver& d) { d.mode = Mode::Sleep, d.snr = 25.3f, d.ber = 2; },
       {3, "Sleep", {-1, -1, -1, -1, -1}, 0, 0, Color::Grey, 0, 0, 0, 0, std::nullopt,
        std::nullopt, "||||||"}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedDriver driver;
    Monitor monitor(false);
    monitor.SetDriver(&driver);
    c.script(driver);
    const auto before = std::chrono::system_clock::now();
    monitor.Poll();
    const Reading& r = monitor.lastReading();
    EXPECT_TRUE(r.answering && !r.tps && r.timestamp >= before &&
                r.timestamp <= std::chrono::system_clock::now());
    EXPECT_EQ(std::tuple(r.mode, r.modeText, r.locks, r.snr, r.average, r.color, r.uncorrectable,
                         r.correctable, r.uncorrectableRate, r.correctableBer, r.carrierOffset,
                         r.carrierOffsetHex,
                         r.symbolTiming + "|" + r.autoFreq + "|" + r.pilot + "|" + r.agc + "|" +
                             r.ifGain + "|" + r.strTime + "|" + r.freqOffset),
              c.want);
  }
}

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
