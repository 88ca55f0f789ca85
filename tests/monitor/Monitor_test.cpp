// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Monitor.h"

#include <gtest/gtest.h>

#include "monitor/Codes.h"
#include "support/ScriptedDriver.h"

namespace {

constexpr int32_t G = Color::Green, Y = Color::Yellow, O = Color::Orange, R = Color::Red;

// A driver that also keeps the reset flag each SNR call was given.
struct FlagDriver : ScriptedDriver {
  std::vector<int16_t> flags;
  float SNR(int16_t& mode, float& aSNR, int32_t& c, int16_t& reset) override {
    flags.push_back(reset);
    return ScriptedDriver::SNR(mode, aSNR, c, reset);  // takes the reset
  }
};

// A monitor on a driver whose answers the test sets.
struct Rig {
  FlagDriver d;
  Monitor m;
  explicit Rig(bool debug = false, bool readOnly = false) : m(debug, readOnly) { m.SetDriver(&d); }
  const Control& c(const std::string& name) { return m.model[name]; }
  // The texts of the named controls, joined by "|".
  std::string texts(std::initializer_list<const char*> names) {
    std::string joined;
    for (const char* n : names) joined += (joined.empty() ? "" : "|") + c(n).text;
    return joined;
  }
  std::vector<int32_t> lamps() {
    std::vector<int32_t> fore;
    for (const char* n : {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"})
      fore.push_back(c(n).fore.value_or(-999));
    return fore;
  }
};

TEST(PollAsleep, SleepAndNoValidModeShowGreyLampsAndNoReadings) {
  for (int16_t mode : {Mode::Sleep, Mode::None}) {
    SCOPED_TRACE(mode);
    Rig r;
    r.d.mode = Mode::Qam64;  // a locked poll first: nothing of it may stay
    r.m.Poll();
    r.d.log.clear();
    r.d.mode = mode;
    r.m.model["vbalProgressBar1"].min = 19;
    r.m.model["vbalProgressBar1"].max = 40;
    r.m.Poll();
    EXPECT_EQ(r.lamps(), std::vector<int32_t>(5, Color::Grey));
    const Control& bar = r.c("vbalProgressBar1");
    EXPECT_EQ(std::tuple(bar.color, bar.value, bar.min, bar.max, r.c("lblSNR").back),
              std::tuple(Color::Grey, 0, 19, 40, Color::Grey));
    EXPECT_EQ(r.texts({"lblSNR", "lblMode"}), "0 / 0 (avg)|Sleep");
    EXPECT_EQ(
        std::tuple(r.c("chkSleep").checked, r.c("chkSleep").enabled, r.c("chkPassthru").enabled),
        std::tuple(true, true, false));
    EXPECT_EQ(r.c("vbalProgressBar2").value + r.c("vbalProgressBar3").value, 0);
    EXPECT_EQ(r.m.model.statusIcon, 0);
    EXPECT_EQ(r.d.log, (std::vector<std::string>{"OperatingMode", "BERctr"}));
    EXPECT_EQ(r.m.resetFlag(), 1);
  }
}

// The error bars' texts carry a leading blank when not negative.
TEST(Poll, LockedVsbShowsSnrAverageAndBar) {
  Rig r;
  r.d.snr = 25.3f, r.d.avg = 25.0f, r.d.uncorrectable = 7, r.d.correctable = -3;
  r.d.locks[1] = 0, r.d.locks[2] = -1, r.d.locks[3] = 2, r.d.locks[4] = -7;
  r.m.Poll();
  EXPECT_EQ(r.texts({"lblSNR", "vbalProgressBar1", "lblSymbolTiming", "lblPilot",
                     "vbalProgressBar2", "vbalProgressBar3"}),
            "25.3 / 25 (avg)|SNR 25.3|12 3456|C80|Uncorrectable Errors:  7|Correctable Errors: -3");
  EXPECT_EQ(std::tuple(r.c("lblSNR").back, r.m.model.statusIcon, r.c("vbalProgressBar1").tooltip,
                       r.c("vbalProgressBar2").max, r.c("vbalProgressBar3").max),
            std::tuple(Color::Green, 1, "25.3 / 25(Avg)", 30, 375));
  EXPECT_EQ(r.m.model.trayTooltip,
            "8-VSB / SNR 25.3 / Uncorrectable Errors:  7 / Correctable Errors: -3");
  // Lamps: 1 lit, 0 red, -1 grey, anything else black.
  EXPECT_EQ(r.lamps(),
            (std::vector<int32_t>{Color::LampGreen, R, Color::Grey, Color::Black, Color::Black}));
}

TEST(Poll, BarRangeAndValueRuleByMode) {
  struct Case {
    int16_t mode;
    float snr;
    int min, max, value;
    std::string text;
  } cases[] = {
      {Mode::Vsb8, 0, 12, 30, 13, "8-VSB"},     {Mode::Vsb8, 12.4f, 12, 30, 13, "8-VSB"},
      {Mode::Vsb8, 12.5f, 12, 30, 13, "8-VSB"}, {Mode::Vsb8, 13.5f, 12, 30, 14, "8-VSB"},
      {Mode::Qam64, 19, 19, 40, 20, "QAM 64"},  {Mode::Qam256, 33.5f, 25, 40, 34, "QAM 256"},
      {Mode::DvbC, 30, 25, 40, 30, "DVB-C"},    {Mode::AtscMh, 0, 0, 20, 1, "ATSC-MH"},
      {Mode::DvbT, 20.5f, 15, 25, 20, "QAM64"},  // DVB-T folded shows the constellation
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.mode << " " << k.snr);
    Rig r;
    r.d.mode = k.mode, r.d.snr = k.snr;
    r.m.Poll();
    const Control& bar = r.c("vbalProgressBar1");
    EXPECT_EQ(std::tuple(bar.min, bar.max, bar.value), std::tuple(k.min, k.max, k.value));
    EXPECT_EQ(r.c("lblMode").text, k.text);
  }
}

TEST(Poll, NoMasterLockZeroesTheSnrAndShowsRed) {
  struct Case {
    int16_t locks[5];
    bool red;
  } cases[] = {
      {{0, 1, 1, 1, 1}, true},
      {{-1, -1, -1, -1, 0}, true},
      {{-1, -1, 1, -1, -1}, false},  // one lock and no master indication is enough
      {{1, 0, 0, 0, 0}, false},
  };
  for (const auto& k : cases) {
    Rig r;
    std::copy(std::begin(k.locks), std::end(k.locks), r.d.locks);
    r.d.snr = 28.1f, r.d.avg = 27.5f, r.d.uncorrectable = 9;
    r.m.Poll();
    EXPECT_EQ(r.c("lblSNR").text, k.red ? "0 / 27.5 (avg)" : "28.1 / 27.5 (avg)") << k.red;
    if (k.red) {  // and no readings while unlocked, but the gate is still read
      EXPECT_EQ(std::tuple(r.c("lblSNR").back, r.m.model.statusIcon, r.c("lblUncorError").text,
                           r.d.Calls("UncorrectableErrors") + r.d.Calls("SymbolTiming"),
                           r.d.Calls("Passthru")),
                std::tuple(R, 4, "Uncorr 0", 0, 1));
    }
  }
}

TEST(Poll, ErrorCountsRatesAndBars) {
  struct Case {
    Value uncorrectable, correctable, ber;
    std::string texts;  // uncorrectable, its rate, correctable, its rate
    int32_t bar2, bar3;
    int correctableReads;
  } cases[] = {
      {0, 0, 0, "Uncorr 0|0.00E+00|Post V 0|0.00E+00", G, G, 1},
      {1, 30, 0, "Uncorr 1|7.73E-05|Post V 30|4.58E-04", G, G, 1},
      {2, 31, 2, "Uncorr 2|3.09E-05|Post V 31|4.73E-04", Y, Y, 1},
      {5, 75, 3, "Uncorr 5|7.63E-05|Post V 75|1.14E-03", Y, Y, 1},
      {6, 76, 0, "Uncorr 6|4.64E-04|Post V 76|1.16E-03", O, O, 1},
      {10, 200, 0, "Uncorr 10|7.73E-04|Post V 200|3.05E-03", O, O, 1},
      {11, 201, 0, "Uncorr 11|8.51E-04|Post V 201|3.07E-03", R, R, 1},
      {63, -1, 0, "Uncorr 63|4.87E-03|Post V -1|-1.53E-05", R, R, 1},
      {64, 5, 0, "Uncorr 64|4.95E-03|Post V 256|3.91E-03", R, R, 0},
      {38799, 0, 1, "Uncorr 38799|1.00E+00|Post V 256|3.91E-03", R, R, 0},
      {-1, 0, 0, "Uncorr -1|-7.73E-05|Post V 0|0.00E+00", R, G, 1},
      {Value(), Value(), Value(), "Uncorr 0|0.00E+00|Post V 0|0.00E+00", G, G, 1},
      {3, 0, 4, "Uncorr 3||Post V 0|0.00E+00", Y, G, 1},
      {3, 0, -1, "Uncorr 3||Post V 0|0.00E+00", Y, G, 1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.texts);
    Rig r;
    r.d.uncorrectable = k.uncorrectable, r.d.correctable = k.correctable, r.d.ber = k.ber;
    r.m.Poll();
    EXPECT_EQ(r.texts({"lblUncorError", "lblUcBer", "lblPost", "lblBER"}), k.texts);
    EXPECT_EQ(std::tuple(r.c("vbalProgressBar2").color, r.c("vbalProgressBar3").color,
                         r.d.Calls("PostVeterbiErrors")),
              std::tuple(k.bar2, k.bar3, k.correctableReads));
    EXPECT_EQ(r.c("vbalProgressBar2").tooltip, r.c("lblUcBer").text);
  }
}

TEST(Poll, QamReadingsAndAgcColour) {
  struct Case {
    Value agc;
    std::string text;
    int32_t fore;
  } cases[] = {{0x5FF, "AGC 5FF", R},
               {0x600, "AGC 600", Color::LampGreen},
               {-2, "AGC FFFE", R},
               {Value(), "AGC 0", R}};
  for (const auto& k : cases) {
    Rig r;
    r.d.mode = Mode::Qam256, r.d.agc = k.agc;
    r.m.Poll();
    EXPECT_EQ(r.c("lblAGC").fore, k.fore) << k.text;
    EXPECT_EQ(r.texts({"lblAGC", "lblIFGain", "lblSTRTime", "lblFreqOffset"}),
              k.text + "|1A|FF|FFFF");
  }
}

TEST(ColorizeSNR, ThresholdsOfTheDriversTransmissionParameters) {
  // The same reading on QAM64 2/3 (19, 21, 22) and on QPSK 1/2 (6, 8, 10).
  for (auto [modulation, rate, color] : {std::tuple(2, 1, Y), {0, 0, G}}) {
    Rig r;
    r.d.tps[0] = int16_t(modulation), r.d.tps[3] = int16_t(rate);
    int32_t got = 0;
    r.m.ColorizeSNR(21.0f, got);
    EXPECT_EQ(got, color) << modulation << "/" << rate;
  }
}

TEST(Layout, TpsPanelHeightsAndTheFrozenDebugHeight) {
  for (bool debug : {false, true}) {
    SCOPED_TRACE(debug);
    Rig r(debug);
    r.d.mode = Mode::DvbT;
    const int design = r.m.model.windowHeight;
    auto expect = [&](bool tps, int height, const char* mode) {
      EXPECT_EQ(std::tuple(r.c("frLock").height, r.c("frTPS").visible, r.m.model.windowHeight,
                           r.c("lblMode").text),
                std::tuple(1815, tps, debug ? design : height, mode));  // five lamps fit in 1815
    };
    r.m.Poll();
    expect(false, 30 + 1815 + 150, "QAM64");
    r.m.ModeLabelClicked();
    EXPECT_TRUE(r.m.tpsExpanded());
    expect(true, 30 + 1815 + 75 + 1815 + 150, "DVB-T");
    EXPECT_EQ(r.c("frTPS").top, 30 + 1815 + 75);
    for (const char* debugOnly : {"chkSleep", "chkPassthru", "lstLog"})
      EXPECT_EQ(r.c(debugOnly).visible, debug) << debugOnly;
    r.m.Poll();
    EXPECT_TRUE(r.c("frTPS").visible);
    r.m.ModeLabelClicked();
    expect(false, 1995, "QAM64");
    EXPECT_TRUE(r.c("chkSleep").visible);
    // Nothing moves while minimised; an ATSC mode folds the panel.
    r.m.ModeLabelClicked();
    r.m.minimized = true;
    r.d.mode = Mode::Vsb8;
    r.m.Poll();
    EXPECT_TRUE(r.c("frTPS").visible);
    r.m.minimized = false;
    r.m.Poll();
    EXPECT_FALSE(r.c("frTPS").visible);
  }
}

TEST(Controls, SliderPollBoxAndUpdate) {
  Rig r;
  auto expect = [&](int interval, int polls) {
    EXPECT_EQ(r.m.model.timerInterval, interval);
    EXPECT_EQ(r.d.Calls("OperatingMode"), polls);
  };
  r.m.SliderChanged(0);
  expect(200, 1);
  EXPECT_EQ(r.m.resetFlag(), 0);  // the poll's SNR call took the reset
  r.m.SliderChanged(4749);
  expect(4949, 2);
  r.m.SliderChanged(4800);
  expect(0, 2);
  EXPECT_TRUE(r.c("chkPoll").checked == false && r.c("Slider1").enabled);
  r.m.SliderChanged(5000);
  r.m.PollToggled(true);
  EXPECT_EQ(std::tuple(r.c("Slider1").value, r.c("chkPoll").checked, r.m.model.timerInterval),
            std::tuple(800, true, 1000));
  r.m.PollToggled(false);
  EXPECT_EQ(r.m.model.timerInterval, 0);
  r.m.SliderChanged(300);
  r.m.PollToggled(true);
  EXPECT_EQ(r.c("Slider1").value, 300);
  const int before = r.d.Calls("OperatingMode");
  r.m.UpdateClicked();
  expect(500, before + 1);
  // A new interval restarts the average; Update does not.
  EXPECT_EQ(r.d.flags, (std::vector<int16_t>{1, 1, 1, 1, 1, 0}));
}

// Read-only, the boxes show the chip's state but stay disabled, with the
// reason as tooltip, through every kind of poll; a click never reaches the
// driver. Without read-only they are offered, carry no tooltip, and a poll
// writes nothing while a click writes its box's new state.
TEST(Controls, ReadOnlyKeepsTheGateAndSleepBoxesFromTheDriver) {
  struct Case {
    int16_t mode, passthru, sleep;
    bool readOnly = true;
  } cases[] = {{Mode::Vsb8, 1, 0},
               {Mode::Qam256, 0, 0},
               {Mode::Sleep, 0, 1},
               {Mode::None, 0, 0},
               {Mode::Vsb8, 1, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << " " << c.passthru << " " << c.readOnly);
    Rig r(false, c.readOnly);
    r.d.mode = c.mode, r.d.passthru = c.passthru, r.d.sleep = c.sleep;
    auto expectRefused = [&] {
      for (const char* box : {"chkPassthru", "chkSleep"}) {
        EXPECT_EQ(r.c(box).enabled, !c.readOnly) << box;
        EXPECT_EQ(r.c(box).tooltip,
                  c.readOnly ? "Read-only mode: quovis writes nothing to the bus" : "")
            << box;
      }
    };
    expectRefused();  // before the first poll
    r.m.Poll();
    r.m.UpdateClicked();
    expectRefused();
    // The ticks still follow the chip.
    EXPECT_EQ(std::tuple(r.c("chkSleep").checked, r.c("chkPassthru").checked),
              std::tuple(c.mode == Mode::Sleep || c.mode == Mode::None || c.sleep != 0,
                         c.passthru != 0 && c.mode != Mode::Sleep && c.mode != Mode::None));
    r.m.PassthruToggled(c.passthru == 0);
    r.m.SleepToggled(c.sleep == 0);
    using Writes = std::vector<int16_t>;
    EXPECT_EQ(std::tuple(r.d.passthruWrites, r.d.sleepWrites),
              c.readOnly ? std::tuple(Writes{}, Writes{}) : std::tuple(Writes{0}, Writes{1}));
  }
}

// Captions, widths, hiding and the bar's prefix show in the built-in boards'
// window controls; the font does not, nor does a control no window has.
TEST(Controls, DriversSetTheFontAndNameNoOtherControl) {
  Rig r;
  r.m.SetFont("frF0F1", "SmallFonts", 7);
  r.m.SetCaption("noSuchControl", "ignored");
  r.m.SetFont("noSuchControl", "ignored", 1);
  EXPECT_EQ(std::tuple(r.c("frF0F1").fontFamily, r.c("frF0F1").fontPoints,
                       r.m.model.Has("noSuchControl")),
            std::tuple("SmallFonts", 7, false));
}

}  // namespace
