// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Monitor.h"

#include <gtest/gtest.h>

#include "monitor/Codes.h"
#include "support/FakeI2c.h"
#include "support/NoAnswer.h"
#include "support/ScriptedDriver.h"

namespace {

struct Poll : ::testing::Test {
  ScriptedDriver driver;
  Monitor monitor{false};
  void SetUp() override { monitor.SetDriver(&driver); }
  const Control& c(const std::string& name) { return monitor.model[name]; }
};

TEST_F(Poll, CallsTheDriverInItsFixedOrder) {
  driver.mode = Mode::Vsb8;
  monitor.Poll();
  EXPECT_EQ(driver.log, (std::vector<std::string>{
                            "OperatingMode", "SNRRegisters", "SNR", "GetLockStatus", "SymbolTiming",
                            "AutoFreq", "PilotPwr", "UncorrectableErrors", "PostVeterbiErrors",
                            "Passthru", "Sleep", "BERctr", "CarrierOffset", "CarrierOffsetHex"}));
}

TEST(PollAsleep, SleepAndNoValidModeShowGreyLampsAndNoReadings) {
  for (int16_t mode : {Mode::Sleep, Mode::None}) {
    SCOPED_TRACE(mode);
    ScriptedDriver driver;
    Monitor monitor(false);
    monitor.SetDriver(&driver);
    auto c = [&](const char* name) -> const Control& { return monitor.model[name]; };
    driver.mode = Mode::Qam64;  // a locked poll first: nothing of it may stay
    monitor.Poll();
    driver.log.clear();
    driver.mode = mode;
    monitor.model["vbalProgressBar1"].min = 19;
    monitor.model["vbalProgressBar1"].max = 40;
    monitor.Poll();
    for (const char* lamp :
         {"lblMasterLock", "lblEQLock", "lblFECLock", "lblVSBSync", "lblAFCLock"})
      EXPECT_EQ(c(lamp).fore, Color::Grey) << lamp;
    const Control& bar = c("vbalProgressBar1");
    EXPECT_EQ(bar.color, Color::Grey);
    EXPECT_EQ(bar.value, 0);
    EXPECT_EQ(bar.min, 19);
    EXPECT_EQ(bar.max, 40);
    EXPECT_EQ(c("lblSNR").text, "0 / 0 (avg)");
    EXPECT_EQ(c("lblSNR").back, Color::Grey);
    EXPECT_EQ(c("lblMode").text, "Sleep");
    EXPECT_EQ(c("chkSleep").checked, true);
    EXPECT_TRUE(c("chkSleep").enabled);
    EXPECT_FALSE(c("chkPassthru").enabled);
    EXPECT_EQ(c("vbalProgressBar2").value, 0);
    EXPECT_EQ(c("vbalProgressBar3").value, 0);
    EXPECT_EQ(monitor.model.statusIcon, 0);
    EXPECT_EQ(driver.log, (std::vector<std::string>{"OperatingMode", "BERctr"}));
    EXPECT_EQ(monitor.resetFlag(), 1);
  }
}

// A driver whose chip can stop answering: the member named reads a register.
struct DriverOnABus : ScriptedDriver {
  Bus& bus;
  std::string reader;
  DriverOnABus(Bus& b, std::string member) : bus(b), reader(std::move(member)) {}
  int16_t OperatingMode() override {
    if (reader == "OperatingMode") bus.ReadReg8(0x32, 0);
    return ScriptedDriver::OperatingMode();
  }
  Value CarrierOffsetHex() override {
    if (reader == "CarrierOffsetHex") bus.ReadReg8(0x32, 0x10);
    return ScriptedDriver::CarrierOffsetHex();
  }
};

// An unanswered read, the first of the poll or its last, shows "No answer"
// and leaves the poll's reading empty until a poll whose reads all succeed.
TEST(PollNoAnswer, AnUnansweredReadShowsNoAnswerUntilAPollWhoseReadsAllSucceed) {
  for (const char* reader : {"OperatingMode", "CarrierOffsetHex"}) {
    SCOPED_TRACE(reader);
    FakeI2c lib;
    Bus bus(lib);
    DriverOnABus driver(bus, reader);
    Monitor monitor(false);
    monitor.SetDriver(&driver);
    monitor.WatchReads(&bus);
    driver.mode = Mode::Qam256;
    driver.snr = 33.1f, driver.avg = 32.9f;
    driver.uncorrectable = 12, driver.correctable = 40;
    driver.carrier = "-1", driver.carrierHex = "FFFF";
    monitor.Poll();
    EXPECT_TRUE(monitor.model.answering);
    EXPECT_TRUE(monitor.lastReading().answering);
    EXPECT_EQ(monitor.lastReading().uncorrectable, 12);
    EXPECT_EQ(monitor.resetFlag(), 0);

    lib.fallback = 1;     // the chip stops answering
    bus.failedReads = 5;  // left over from outside the poll: cleared by it
    monitor.Poll();
    ExpectNoAnswer(monitor.model, 25, 40, "locked QAM 256 then silent");
    EXPECT_EQ(monitor.resetFlag(), 1);
    EXPECT_EQ(monitor.model["lblMode"].tag, "No answer");
    const Reading& r = monitor.lastReading();
    EXPECT_FALSE(r.answering);
    EXPECT_EQ(r.modeText, "No answer");
    EXPECT_EQ(r.mode, Mode::None);
    EXPECT_EQ(r.locks, (std::array<int16_t, 5>{-1, -1, -1, -1, -1}));
    EXPECT_EQ(std::tuple(r.snr, r.average, r.color), std::tuple(0.0f, 0.0f, Color::Grey));
    EXPECT_EQ(std::tuple(r.uncorrectable, r.correctable), std::tuple(0.0, 0));
    EXPECT_EQ(r.uncorrectableRate, 0.0);
    EXPECT_EQ(r.agc, "");
    EXPECT_FALSE(r.tps);
    EXPECT_FALSE(r.passthru);
    // The offsets the driver made of the presets are none.
    EXPECT_FALSE(r.carrierOffset);
    EXPECT_FALSE(r.carrierOffsetHex);

    lib.fallback = 0;
    monitor.Poll();
    EXPECT_TRUE(monitor.model.answering);
    EXPECT_EQ(monitor.model["lblMode"].text, "QAM 256");
    EXPECT_EQ(monitor.model["lblSNR"].text, "33.1 / 32.9 (avg)");
    EXPECT_EQ(monitor.model["lblMasterLock"].fore, Color::LampGreen);
    EXPECT_EQ(monitor.model.statusIcon, 1);
    EXPECT_TRUE(monitor.model["chkPassthru"].enabled);
    EXPECT_TRUE(monitor.model["chkSleep"].enabled);
    EXPECT_EQ(monitor.resetFlag(), 0);  // the SNR call took the reset again
  }
}

TEST(Controls, ChangingThePollIntervalRestartsTheAverage) {
  struct RecordsTheFlag : ScriptedDriver {
    std::vector<int16_t> flagsSeen;
    float SNR(int16_t& mode, float& aSNR, int32_t& c, int16_t& reset) override {
      flagsSeen.push_back(reset);
      return ScriptedDriver::SNR(mode, aSNR, c, reset);  // takes the reset
    }
  } d;
  Monitor m(false);
  m.SetDriver(&d);
  m.Poll();  // start-up's flag
  m.Poll();
  m.SliderChanged(300);  // the interval changes and polls at once
  m.Poll();
  EXPECT_EQ(d.flagsSeen, (std::vector<int16_t>{1, 0, 1, 0}));
}

TEST_F(Poll, LockedVsbShowsSnrAverageAndBar) {
  driver.snr = 25.3f;
  driver.avg = 25.0f;
  monitor.Poll();
  EXPECT_EQ(c("lblSNR").text, "25.3 / 25 (avg)");
  EXPECT_EQ(c("lblSNR").back, Color::Green);
  EXPECT_EQ(c("vbalProgressBar1").text, "SNR 25.3");
  EXPECT_EQ(c("vbalProgressBar1").tooltip, "25.3 / 25(Avg)");
  EXPECT_EQ(c("lblMasterLock").fore, Color::LampGreen);
  EXPECT_EQ(monitor.model.statusIcon, 1);
  EXPECT_EQ(c("lblSymbolTiming").text, "12 3456");
  EXPECT_EQ(c("lblPilot").text, "C80");
  EXPECT_EQ(monitor.model.trayTooltip,
            "8-VSB / SNR 25.3 / Uncorrectable Errors:  0 / Correctable Errors:  0");
}

TEST_F(Poll, BarRangeAndValueRuleByMode) {
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
    ScriptedDriver d;
    Monitor m(false);
    m.SetDriver(&d);
    d.mode = k.mode;
    d.snr = k.snr;
    m.Poll();
    EXPECT_EQ(m.model["vbalProgressBar1"].min, k.min) << k.mode;
    EXPECT_EQ(m.model["vbalProgressBar1"].max, k.max) << k.mode;
    EXPECT_EQ(m.model["vbalProgressBar1"].value, k.value) << k.mode << " " << k.snr;
    EXPECT_EQ(m.model["lblMode"].text, k.text) << k.mode;
  }
}

TEST_F(Poll, NoMasterLockZeroesTheSnrAndShowsRed) {
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
    ScriptedDriver d;
    Monitor m(false);
    m.SetDriver(&d);
    std::copy(std::begin(k.locks), std::end(k.locks), d.locks);
    d.snr = 28.1f;
    d.avg = 27.5f;
    m.Poll();
    if (k.red) {
      EXPECT_EQ(m.model["lblSNR"].text, "0 / 27.5 (avg)");
      EXPECT_EQ(m.model["lblSNR"].back, Color::Red);
      EXPECT_EQ(m.model.statusIcon, 4);
    } else {
      EXPECT_EQ(m.model["lblSNR"].text, "28.1 / 27.5 (avg)");
    }
  }
}

TEST_F(Poll, LampColoursFollowTheFlags) {
  driver.locks[0] = 1, driver.locks[1] = 0, driver.locks[2] = -1, driver.locks[3] = 2,
  driver.locks[4] = -7;
  monitor.Poll();
  EXPECT_EQ(c("lblMasterLock").fore, Color::LampGreen);
  EXPECT_EQ(c("lblEQLock").fore, Color::Red);
  EXPECT_EQ(c("lblFECLock").fore, Color::Grey);
  EXPECT_EQ(c("lblVSBSync").fore, Color::Black);
  EXPECT_EQ(c("lblAFCLock").fore, Color::Black);
}

TEST_F(Poll, ErrorCountsRatesAndBars) {
  struct Case {
    Value uncorrectable, correctable, ber;
    std::string uncor, ucBer, post, berText;
    int32_t bar2, bar3;
    int correctableReads;
  } cases[] = {
      {0, 0, 0, "Uncorr 0", "0.00E+00", "Post V 0", "0.00E+00", Color::Green, Color::Green, 1},
      {1, 30, 0, "Uncorr 1", "7.73E-05", "Post V 30", "4.58E-04", Color::Green, Color::Green, 1},
      {2, 31, 2, "Uncorr 2", "3.09E-05", "Post V 31", "4.73E-04", Color::Yellow, Color::Yellow, 1},
      {5, 75, 3, "Uncorr 5", "7.63E-05", "Post V 75", "1.14E-03", Color::Yellow, Color::Yellow, 1},
      {6, 76, 0, "Uncorr 6", "4.64E-04", "Post V 76", "1.16E-03", Color::Orange, Color::Orange, 1},
      {10, 200, 0, "Uncorr 10", "7.73E-04", "Post V 200", "3.05E-03", Color::Orange, Color::Orange,
       1},
      {11, 201, 0, "Uncorr 11", "8.51E-04", "Post V 201", "3.07E-03", Color::Red, Color::Red, 1},
      {63, -1, 0, "Uncorr 63", "4.87E-03", "Post V -1", "-1.53E-05", Color::Red, Color::Red, 1},
      {64, 5, 0, "Uncorr 64", "4.95E-03", "Post V 256", "3.91E-03", Color::Red, Color::Red, 0},
      {38799, 0, 1, "Uncorr 38799", "1.00E+00", "Post V 256", "3.91E-03", Color::Red, Color::Red,
       0},
      {-1, 0, 0, "Uncorr -1", "-7.73E-05", "Post V 0", "0.00E+00", Color::Red, Color::Green, 1},
      {Value(), Value(), Value(), "Uncorr 0", "0.00E+00", "Post V 0", "0.00E+00", Color::Green,
       Color::Green, 1},
      {3, 0, 4, "Uncorr 3", "", "Post V 0", "0.00E+00", Color::Yellow, Color::Green, 1},
      {3, 0, -1, "Uncorr 3", "", "Post V 0", "0.00E+00", Color::Yellow, Color::Green, 1},
  };
  for (const auto& k : cases) {
    ScriptedDriver d;
    Monitor m(false);
    m.SetDriver(&d);
    d.uncorrectable = k.uncorrectable, d.correctable = k.correctable, d.ber = k.ber;
    m.Poll();
    SCOPED_TRACE(k.uncor + " " + k.post);
    EXPECT_EQ(m.model["lblUncorError"].text, k.uncor);
    EXPECT_EQ(m.model["lblUcBer"].text, k.ucBer);
    EXPECT_EQ(m.model["lblPost"].text, k.post);
    EXPECT_EQ(m.model["lblBER"].text, k.berText);
    EXPECT_EQ(m.model["vbalProgressBar2"].color, k.bar2);
    EXPECT_EQ(m.model["vbalProgressBar3"].color, k.bar3);
    EXPECT_EQ(m.model["vbalProgressBar2"].tooltip, k.ucBer);
    EXPECT_EQ(d.Calls("PostVeterbiErrors"), k.correctableReads);
  }
}

TEST_F(Poll, ErrorBarTextsCarryALeadingBlankWhenNotNegative) {
  driver.uncorrectable = 7;
  driver.correctable = -3;
  monitor.Poll();
  EXPECT_EQ(c("vbalProgressBar2").text, "Uncorrectable Errors:  7");
  EXPECT_EQ(c("vbalProgressBar3").text, "Correctable Errors: -3");
  EXPECT_EQ(c("vbalProgressBar2").max, 30);
  EXPECT_EQ(c("vbalProgressBar3").max, 375);
}

TEST_F(Poll, QamReadingsAndAgcColour) {
  struct Case {
    Value agc;
    std::string text;
    int32_t fore;
  } cases[] = {{0x5FF, "AGC 5FF", Color::Red},
               {0x600, "AGC 600", Color::LampGreen},
               {-2, "AGC FFFE", Color::Red},
               {Value(), "AGC 0", Color::Red}};
  for (const auto& k : cases) {
    ScriptedDriver d;
    Monitor m(false);
    m.SetDriver(&d);
    d.mode = Mode::Qam256;
    d.agc = k.agc;
    m.Poll();
    EXPECT_EQ(m.model["lblAGC"].text, k.text);
    EXPECT_EQ(m.model["lblAGC"].fore, k.fore);
    EXPECT_EQ(m.model["lblIFGain"].text, "1A");
    EXPECT_EQ(m.model["lblSTRTime"].text, "FF");
    EXPECT_EQ(m.model["lblFreqOffset"].text, "FFFF");
  }
}

TEST_F(Poll, NoReadingsWhileUnlocked) {
  driver.locks[0] = 0;
  driver.uncorrectable = 9;
  monitor.Poll();
  EXPECT_EQ(driver.Calls("UncorrectableErrors"), 0);
  EXPECT_EQ(driver.Calls("SymbolTiming"), 0);
  EXPECT_EQ(c("lblUncorError").text, "Uncorr 0");
  EXPECT_EQ(driver.Calls("Passthru"), 1);
}

TEST_F(Poll, TransmissionParameterTexts) {
  struct Case {
    int16_t tps[6];
    std::string constellation, hierarchy, rateKey, rate, guard, fft;
  } cases[] = {
      {{0, 0, 0, 0, 0, 0}, "QPSK", "none", "hp code rate:", "1/2", "1/32", "2K"},
      {{6, 3, 1, 4, 3, 2}, "QAM256", "4", "lp code rate:", "7/8", "1/4", "4K"},
      {{5, 2, 0, 3, 2, 1}, "QAM128", "2", "hp code rate:", "5/6", "1/8", "8K"},
      // Unknown codes leave the labels as the previous case left them.
      {{7, 4, 2, 5, 4, 3}, "QAM128", "2", "hp code rate:", "5/6", "1/8", "8K"},
  };
  driver.mode = Mode::DvbT;
  for (const auto& k : cases) {
    std::copy(std::begin(k.tps), std::end(k.tps), driver.tps);
    monitor.Poll();
    EXPECT_EQ(c("lblConst").text, k.constellation);
    EXPECT_EQ(c("lblHierarchy").text, k.hierarchy);
    EXPECT_EQ(c("lblCodeRateK").text, k.rateKey);
    EXPECT_EQ(c("lblCodeRate").text, k.rate);
    EXPECT_EQ(c("lblGuard").text, k.guard);
    EXPECT_EQ(c("lblTransmissionMode").text, k.fft);
  }
}

TEST(ColorizeSNR, ThresholdsOfTheDriversTransmissionParameters) {
  // The same reading on QAM64 2/3 (19, 21, 22) and on QPSK 1/2 (6, 8, 10).
  for (auto [modulation, rate, color] : {std::tuple(2, 1, Color::Yellow), {0, 0, Color::Green}}) {
    ScriptedDriver d;
    Monitor m(false);
    m.SetDriver(&d);
    d.tps[0] = int16_t(modulation);
    d.tps[3] = int16_t(rate);
    int32_t got = 0;
    m.ColorizeSNR(21.0f, got);
    EXPECT_EQ(got, color) << modulation << "/" << rate;
  }
}

TEST(Layout, TpsPanelHeightsAndTheFrozenDebugHeight) {
  for (bool debug : {false, true}) {
    ScriptedDriver d;
    Monitor m(debug);
    m.SetDriver(&d);
    d.mode = Mode::DvbT;
    int designHeight = m.model.windowHeight;
    m.Poll();
    EXPECT_EQ(m.model["frLock"].height, 1815);
    EXPECT_FALSE(m.model["frTPS"].visible);
    EXPECT_EQ(m.model.windowHeight, debug ? designHeight : 30 + 1815 + 150);
    EXPECT_EQ(m.model["lblMode"].text, "QAM64");

    m.ModeLabelClicked();
    EXPECT_TRUE(m.tpsExpanded());
    EXPECT_EQ(m.model["frLock"].height, 1815);  // all five lamps stay inside
    EXPECT_TRUE(m.model["frTPS"].visible);
    EXPECT_EQ(m.model["frTPS"].top, 30 + 1815 + 75);
    EXPECT_EQ(m.model.windowHeight, debug ? designHeight : 30 + 1815 + 75 + 1815 + 150);
    EXPECT_EQ(m.model["chkSleep"].visible, debug);
    EXPECT_EQ(m.model["chkPassthru"].visible, debug);
    EXPECT_EQ(m.model["lstLog"].visible, debug);
    EXPECT_EQ(m.model["lblMode"].text, "DVB-T");
    m.Poll();
    EXPECT_TRUE(m.model["frTPS"].visible);

    m.ModeLabelClicked();
    EXPECT_EQ(m.model["frLock"].height, 1815);
    EXPECT_FALSE(m.model["frTPS"].visible);
    EXPECT_EQ(m.model.windowHeight, debug ? designHeight : 1995);
    EXPECT_TRUE(m.model["chkSleep"].visible);
    EXPECT_EQ(m.model["lblMode"].text, "QAM64");
  }
}

TEST(Layout, NothingMovesWhileMinimisedAndAtscModesFoldThePanel) {
  ScriptedDriver d;
  Monitor m(false);
  m.SetDriver(&d);
  d.mode = Mode::DvbT;
  m.ModeLabelClicked();
  EXPECT_TRUE(m.model["frTPS"].visible);
  m.minimized = true;
  d.mode = Mode::Vsb8;
  m.Poll();
  EXPECT_TRUE(m.model["frTPS"].visible);
  m.minimized = false;
  m.Poll();
  EXPECT_FALSE(m.model["frTPS"].visible);
  EXPECT_EQ(m.model["lblMode"].text, "8-VSB");
}

TEST(Controls, SliderPollBoxAndUpdate) {
  ScriptedDriver d;
  Monitor m(false);
  m.SetDriver(&d);
  m.SliderChanged(0);
  EXPECT_EQ(d.Calls("OperatingMode"), 1);
  EXPECT_EQ(m.model.timerInterval, 200);
  EXPECT_EQ(m.resetFlag(), 0);  // the poll's SNR call took the reset
  m.SliderChanged(4749);
  EXPECT_EQ(m.model.timerInterval, 4949);
  EXPECT_EQ(d.Calls("OperatingMode"), 2);
  m.SliderChanged(4800);
  EXPECT_EQ(m.model.timerInterval, 0);
  EXPECT_EQ(m.model["chkPoll"].checked, false);
  EXPECT_EQ(d.Calls("OperatingMode"), 2);
  EXPECT_TRUE(m.model["Slider1"].enabled);

  m.SliderChanged(5000);
  m.PollToggled(true);
  EXPECT_EQ(m.model["Slider1"].value, 800);
  EXPECT_EQ(m.model.timerInterval, 1000);
  EXPECT_EQ(m.model["chkPoll"].checked, true);
  m.PollToggled(false);
  EXPECT_EQ(m.model.timerInterval, 0);
  m.SliderChanged(300);
  m.PollToggled(true);
  EXPECT_EQ(m.model["Slider1"].value, 300);
  EXPECT_EQ(m.model.timerInterval, 500);

  int before = d.Calls("OperatingMode");
  m.UpdateClicked();
  EXPECT_EQ(d.Calls("OperatingMode"), before + 1);
  EXPECT_EQ(m.model.timerInterval, 500);
}

TEST(Controls, GateAndSleepBoxesWriteOnlyWhenTheUserClicks) {
  ScriptedDriver d;
  Monitor m(false);
  m.SetDriver(&d);
  d.passthru = 1;
  d.sleep = 0;
  m.Poll();
  EXPECT_EQ(m.model["chkPassthru"].checked, true);
  EXPECT_TRUE(d.passthruWrites.empty());
  EXPECT_TRUE(d.sleepWrites.empty());
  m.PassthruToggled(false);
  m.SleepToggled(true);
  EXPECT_EQ(d.passthruWrites, std::vector<int16_t>{0});
  EXPECT_EQ(d.sleepWrites, std::vector<int16_t>{1});
}

// Read-only, the boxes show the chip's state but stay disabled, with the
// reason as tooltip, through every kind of poll; a click never reaches the
// driver.
TEST(Controls, ReadOnlyKeepsTheGateAndSleepBoxesFromTheDriver) {
  const std::string note = "Read-only mode: quovis writes nothing to the bus";
  struct Case {
    const char* what;
    int16_t mode, passthru, sleep;
  } cases[] = {
      {"awake, gate open", Mode::Vsb8, 1, 0},
      {"awake, gate closed", Mode::Qam256, 0, 0},
      {"asleep", Mode::Sleep, 0, 1},
      {"no valid mode", Mode::None, 0, 0},
  };
  for (const Case& c : cases) {
    ScriptedDriver d;
    d.mode = c.mode;
    d.passthru = c.passthru;
    d.sleep = c.sleep;
    Monitor m(false, true);
    for (const char* box : {"chkPassthru", "chkSleep"}) {
      EXPECT_FALSE(m.model[box].enabled) << c.what << " " << box << " before the first poll";
      EXPECT_EQ(m.model[box].tooltip, note) << c.what << " " << box;
    }
    m.SetDriver(&d);
    m.Poll();
    m.UpdateClicked();
    for (const char* box : {"chkPassthru", "chkSleep"}) {
      EXPECT_FALSE(m.model[box].enabled) << c.what << " " << box;
      EXPECT_EQ(m.model[box].tooltip, note) << c.what << " " << box;
    }
    // The ticks still follow the chip.
    EXPECT_EQ(m.model["chkSleep"].checked,
              c.mode == Mode::Sleep || c.mode == Mode::None || c.sleep != 0)
        << c.what;
    m.PassthruToggled(c.passthru == 0);
    m.SleepToggled(c.sleep == 0);
    EXPECT_TRUE(d.passthruWrites.empty()) << c.what;
    EXPECT_TRUE(d.sleepWrites.empty()) << c.what;
  }
  // Without read-only the boxes are offered and carry no tooltip.
  ScriptedDriver d;
  Monitor m(false);
  m.SetDriver(&d);
  m.Poll();
  EXPECT_TRUE(m.model["chkPassthru"].enabled && m.model["chkSleep"].enabled);
  EXPECT_EQ(m.model["chkSleep"].tooltip, "");
}

TEST(Controls, DriversRelabelResizeHideAndSetThePrefix) {
  ScriptedDriver d;
  Monitor m(false);
  m.SetDriver(&d);
  m.SetCaption("lblVSBSync", "DSCR Lock");
  m.SetWidth("lblCarrier", 2500);
  m.SetVisible("frVSB", false);
  m.SetFont("frF0F1", "SmallFonts", 7);
  m.SetSnrBarPrefix("C/N ");
  m.SetCaption("noSuchControl", "ignored");
  d.snr = 12.5f;
  m.Poll();
  EXPECT_EQ(m.model["lblVSBSync"].text, "DSCR Lock");
  EXPECT_EQ(m.model["lblCarrier"].width, 2500);
  EXPECT_FALSE(m.model["frVSB"].visible);
  EXPECT_EQ(m.model["frF0F1"].fontFamily, "SmallFonts");
  EXPECT_EQ(m.model["frF0F1"].fontPoints, 7);
  EXPECT_EQ(m.model["vbalProgressBar1"].text, "C/N 12.5");
}

}  // namespace
