#include "demod/atsc/lg2160.h"

#include <gtest/gtest.h>

#include <set>

#include "BusRecorder.h"
#include "monitor/Codes.h"
#include "monitor/Detection.h"
#include "sim/SimRegistry.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

namespace {

// A driver on a board file with one chip model; bus calls are recorded.
struct Chip {
  FileBoard b;
  BusRecorder rec;
  Bus bus;
  FakeView view;
  lg2160 driver;
  Chip(const std::string& model, const std::string& regs, bool nak = false)
      : b("{\"devices\":[{\"chip\":\"" + model + "\",\"registers\":{" + regs +
          "},\"fault\":{\"nak\":" + (nak ? "true" : "false") + "}}]}"),
        rec(*b.board),
        bus(rec),
        driver(bus, view) {
    bus.handle = b.bus->handle;
  }
  // The registers read so far, from their address bytes.
  std::vector<int> Registers() const {
    std::vector<int> out;
    for (const auto& c : rec.calls) out.push_back(c.written[0] << 8 | c.written[1]);
    return out;
  }
  void Set(int reg, int value) {
    std::string why;
    EXPECT_TRUE(b.device(0x1C).SetRegister(reg, value, why)) << why;
  }
};

// A driver that has found its variant; the probe's calls are forgotten.
struct Probed : Chip {
  explicit Probed(bool lg2161, const std::string& regs = "")
      : Chip(lg2161 ? "lg2161" : "lg2160", regs) {
    EXPECT_TRUE(driver.probe());
    EXPECT_EQ(driver.name(), lg2161 ? "LG2161" : "LG2160");
    rec.calls.clear();
  }
};

TEST(lg2160, ProbeChecksPresenceThenTheIdentityMasks) {
  struct Case {
    std::string regs;
    bool present, found;
    std::string name;
    std::vector<int> read;  // registers read after the presence transfer
  } cases[] = {
      {"\"0x0003\":\"0xCC\",\"0x0001\":\"0xFB\"", true, true, "LG2160", {0x0003}},
      {"\"0x0003\":\"0xFF\"", true, true, "LG2160", {0x0003}},
      {"\"0x0003\":\"0xCB\",\"0x0001\":\"0xFB\"", true, true, "LG2161", {0x0003, 0x0001}},
      {"\"0x0003\":\"0x4C\",\"0x0001\":\"0xFB\"", true, true, "LG2161", {0x0003, 0x0001}},
      {"\"0x0003\":0,\"0x0001\":\"0xFA\"", true, false, "LG2160", {0x0003, 0x0001}},
      {"\"0x0003\":\"0x8C\",\"0x0001\":\"0xFF\"", true, false, "LG2160", {0x0003, 0x0001}},
      {"\"0x0003\":\"0xCC\"", false, false, "LG2160", {}},
  };
  for (const auto& c : cases) {
    Chip chip("lg2160", c.regs, !c.present);
    EXPECT_EQ(chip.driver.probe(), c.found) << c.regs;
    EXPECT_EQ(chip.driver.name(), c.name) << c.regs;
    ASSERT_GE(chip.rec.calls.size(), 1u);
    const auto& presence = chip.rec.calls[0];
    EXPECT_EQ(presence.kind, BusRecorder::Call::WriteRead);
    EXPECT_EQ(presence.address, 0x1C);
    EXPECT_EQ(presence.written, std::vector<uint8_t>({0, 0}));
    EXPECT_EQ(presence.count, 1);
    chip.rec.calls.erase(chip.rec.calls.begin());
    EXPECT_EQ(chip.Registers(), c.read) << c.regs;
    for (const auto& call : chip.rec.calls) EXPECT_EQ(call.address, 0x1C);
  }
}

TEST(lg2160, SnrDigitsOfEachVariant) {
  struct Case {
    bool lg2161;
    int high, low;
    float snr;
    int32_t color;
  } cases[] = {
      {false, 0x23, 0x40, 23.4f, Color::Green},  {false, 0x05, 0x70, 5.7f, Color::Orange},
      {false, 0x05, 0x07, 5.0f, Color::Orange},  {false, 0xBA, 0xDF, 0, Color::Red},
      {false, 0xBA, 0xDE, 121.3f, Color::Green}, {false, 0xFF, 0xFF, 166.5f, Color::Green},
      {false, 0x07, 0x90, 7.9f, Color::Yellow},  {false, 0x00, 0x00, 0, Color::Red},
      {true, 0x05, 0x07, 5.7f, Color::Orange},   {true, 0x05, 0x70, 5.0f, Color::Orange},
      {true, 0x03, 0x99, 3.9f, Color::Red},      {true, 0xBA, 0xDF, 0, Color::Red},
      {true, 0xFF, 0xFF, 166.5f, Color::Green},  {true, 0x12, 0x03, 12.3f, Color::Green},
  };
  for (const auto& c : cases) {
    Probed chip(c.lg2161);
    int first = c.lg2161 ? 0x0302 : 0x0202;
    chip.Set(first, c.high);
    chip.Set(first + 1, c.low);
    chip.Set(c.lg2161 ? 0x0202 : 0x0302, 0x99);  // the other variant's registers
    chip.Set(c.lg2161 ? 0x0203 : 0x0303, 0x99);
    int16_t mode = Mode::Vsb8, reset = 1;
    float avg = -1;
    int32_t color = 0;
    std::string label = std::to_string(c.high) + "/" + std::to_string(c.low);
    EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), c.snr) << label;
    EXPECT_FLOAT_EQ(avg, c.snr) << label;
    EXPECT_EQ(color, c.color) << label;
    EXPECT_EQ(reset, 0);
    EXPECT_EQ(chip.Registers(), std::vector<int>({first, first + 1})) << label;
  }
}

TEST(lg2160, ColourThresholdsAtTheirEdges) {
  struct Case {
    float snr;
    int32_t color;
  } cases[] = {{-1.0f, Color::Red},   {3.9f, Color::Red},    {4.0f, Color::Orange},
               {5.9f, Color::Orange}, {6.0f, Color::Yellow}, {7.9f, Color::Yellow},
               {8.0f, Color::Green},  {40.0f, Color::Green}};
  Probed chip(false);
  for (const auto& c : cases) EXPECT_EQ(chip.driver.LG2160ColorizeSNR(c.snr), c.color) << c.snr;
}

TEST(lg2160, TheHistoryAveragesDecibels) {
  Probed chip(false, "\"0x0202\":\"0x20\",\"0x0203\":0");
  int16_t mode = Mode::AtscMh, reset = 1;
  float avg;
  int32_t color;
  chip.driver.SNR(mode, avg, color, reset);
  chip.Set(0x0202, 0x01);
  chip.Set(0x0203, 0x50);
  // (18 * 20 + 1.5) / 19 = 19.03
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 1.5f);
  EXPECT_FLOAT_EQ(avg, 19.0f);
  EXPECT_EQ(color, Color::Red);
  EXPECT_DOUBLE_EQ(chip.bus.SnrSlot(19), 1.5);
}

TEST(lg2160, LockBitsOfEachVariant) {
  struct Case {
    bool lg2161;
    int status, snrHigh, sync;  // 0x011B, 0x0202, 0x0304
    int16_t m, eq, fec, vsb, afc;
  } cases[] = {
      {false, 0x00, 0x23, 0xFF, 1, 1, 1, 1, -1},  {false, 0x20, 0x23, 0x00, 0, 1, 1, 0, -1},
      {false, 0x40, 0x23, 0x00, 1, 1, 0, 1, -1},  {false, 0x9F, 0xBB, 0x80, 1, 1, 1, 1, -1},
      {false, 0xFF, 0xBA, 0x00, 0, 0, 0, 0, -1},  {true, 0x00, 0xBA, 0x00, 1, -1, 1, 1, -1},
      {true, 0x20, 0x23, 0x7F, 1, -1, 1, 1, -1},  {true, 0x00, 0x23, 0x80, 0, -1, 1, 0, -1},
      {true, 0x40, 0x23, 0x00, 1, -1, 0, 1, -1},  {true, 0xFF, 0xFF, 0xFF, 0, -1, 0, 0, -1},
  };
  for (const auto& c : cases) {
    Probed chip(c.lg2161);
    chip.Set(0x011B, c.status);
    chip.Set(0x0202, c.snrHigh);
    chip.Set(0x0304, c.sync);
    int16_t m = 9, eq = 9, fec = 9, vsb = 9, afc = 9;
    chip.driver.GetLockStatus(m, eq, fec, vsb, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, vsb, afc}),
              std::vector<int16_t>({c.m, c.eq, c.fec, c.vsb, c.afc}))
        << c.lg2161 << " " << c.status << " " << c.snrHigh << " " << c.sync;
    std::vector<int> order = c.lg2161 ? std::vector<int>{0x011B, 0x013E, 0x0016, 0x0128, 0x0304}
                                      : std::vector<int>{0x011B, 0x0202, 0x013E, 0x0016, 0x0128};
    for (int r : {0x0124, 0x0125, 0x010A, 0x010B, 0x010C, 0x010D, 0x0316}) order.push_back(r);
    EXPECT_EQ(chip.Registers(), order);
  }
}

TEST(lg2160, LockStatusTurnsTheFramesIntoTheMhPanel) {
  struct Case {
    std::string regs;
    std::string parade, groups, pilot, rf, ifGain, sccc;
  } cases[] = {
      {"\"0x013E\":\"0x85\",\"0x0124\":\"0x35\",\"0x0125\":\"0x0C\",\"0x0016\":1,"
       "\"0x0128\":\"0x2A\",\"0x010A\":8,\"0x010B\":0,\"0x010C\":7,\"0x010D\":\"0xFF\","
       "\"0x0316\":0",
       "Parade ID: 5", "NOG: 3, TNOG: C", "FIC:  1, VER:  5", "RF_AGC: FFFFF800",
       "IF_AGC: 7FF", "0"},
      {"\"0x013E\":\"0xFF\",\"0x0124\":\"0xFF\",\"0x0125\":\"0xFF\",\"0x0016\":\"0xFE\","
       "\"0x0128\":\"0xFF\",\"0x010A\":\"0x0F\",\"0x010B\":\"0xFF\",\"0x010C\":\"0xF7\","
       "\"0x010D\":\"0x01\",\"0x0316\":\"0xAB\"",
       "Parade ID: 7F", "NOG: 7, TNOG: FF", "FIC:  0, VER:  31", "RF_AGC: FFFFFFFF",
       "IF_AGC: 701", "AB"},
      {"\"0x013E\":0,\"0x0124\":\"0x8F\",\"0x0125\":0,\"0x0016\":0,\"0x0128\":7,"
       "\"0x010A\":\"0xF0\",\"0x010B\":\"0x10\",\"0x010C\":\"0x0C\",\"0x010D\":0,"
       "\"0x0316\":\"0x0F\"",
       "Parade ID: 0", "NOG: 0, TNOG: 0", "FIC:  0, VER:  0", "RF_AGC: 10",
       "IF_AGC: FFFFFC00", "F"},
  };
  for (bool lg2161 : {false, true}) {
    for (const auto& c : cases) {
      Probed chip(lg2161, c.regs);
      int16_t m, eq, fec, vsb, afc;
      chip.driver.GetLockStatus(m, eq, fec, vsb, afc);
      std::map<std::string, std::string> captions = {
          {"lblVSBSync", "Sync Lock"},    {"lblEQLock", "SNR GOOD"},
          {"lblFECLock", "Acq Lock"},     {"frVSB", "ATSC-MH"},
          {"lblSymbolTiming", c.parade},  {"lblAutoFreq", c.groups},
          {"lblPilot", c.pilot},          {"frQAM", "AGC:"},
          {"lblAGC", c.rf},               {"lblIFGain", c.ifGain},
          {"lblSTRTime", "SCCC (0x0316) :"}, {"lblFreqOffset", c.sccc}};
      EXPECT_EQ(chip.view.captions, captions) << c.parade;
      EXPECT_EQ(chip.view.widths, (std::map<std::string, int>{{"frVSB", 2505},
                                                              {"lblAutoFreq", 1935}}));
      EXPECT_TRUE(chip.view.visible.empty());
    }
  }
}

TEST(lg2160, RegisterCaptionsAndErrorCountersOfEachVariant) {
  struct Case {
    bool lg2161;
    std::string caption, text;
    int32_t errors;
    std::vector<int> read;
  } cases[] = {
      {false, "Reg 0202 / 0203", "23 A", 0x321, {0x0202, 0x0203, 0x0414, 0x0413}},
      {true, "Reg 0302 / 0303", "5 F0", 0xF321, {0x0302, 0x0303, 0x0614, 0x0613}},
  };
  for (const auto& c : cases) {
    Probed chip(c.lg2161,
                "\"0x0202\":\"0x23\",\"0x0203\":\"0x0A\",\"0x0302\":5,\"0x0303\":\"0xF0\","
                "\"0x0414\":\"0xF3\",\"0x0413\":\"0x21\",\"0x0614\":\"0xF3\",\"0x0613\":\"0x21\"");
    EXPECT_EQ(chip.driver.SNRRegisters().Text(), c.text);
    EXPECT_EQ(chip.view.captions, (std::map<std::string, std::string>{{"frF0F1", c.caption}}));
    EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), c.errors);
    EXPECT_EQ(chip.Registers(), c.read);
  }
  Probed chip(false, "\"0x0414\":\"0xF3\",\"0x0413\":\"0x21\",\"0x0614\":\"0xF3\",\"0x0613\":1");
  EXPECT_EQ(chip.driver.lg2160_UncorrectableErrors(), 0x321);
  EXPECT_EQ(chip.driver.lg2161_UncorrectableErrors(), 0xF301);
  EXPECT_EQ(chip.driver.lg2161_SNRRegisters().Text(), "0 0");
  EXPECT_EQ(chip.view.captions["frF0F1"], "Reg 0302 / 0303");
}

TEST(lg2160, OffsetsAreSignExtendedFrom24Bits) {
  struct Case {
    int b0, b1, b2;
    float carrier, timing;
    std::string text;
  } cases[] = {
      {0x00, 0x00, 0x00, 0, 0, " 0"},
      {0x00, 0x00, 0x01, 1.282958745956421f, 0.020046230405569077f, " .02004623"},
      {0xFF, 0xFF, 0xFF, -1.282958745956421f, -0.020046230405569077f, "-.02004623"},
      {0x00, 0x00, 0x19, 32.07396697998047f, 0.5011557340621948f, " .5011557"},
      {0xFF, 0xFF, 0xE7, -32.07396697998047f, -0.5011557340621948f, "-.5011557"},
      {0x00, 0x00, 0x32, 64.14793395996094f, 1.0023114681243896f, " 1.002311"},
      {0x80, 0x00, 0x00, -10762238.0f, -168159.96875f, "-168160"},
      {0x7F, 0xFF, 0xFF, 10762237.0f, 168159.953125f, " 168160"},
  };
  for (const auto& c : cases) {
    Probed chip(false);
    for (int first : {0x0118, 0x010E}) {
      chip.Set(first, c.b0);
      chip.Set(first + 1, c.b1);
      chip.Set(first + 2, c.b2);
    }
    EXPECT_FLOAT_EQ(float(chip.driver.CarrierOffset().Number()), c.carrier) << c.text;
    EXPECT_FLOAT_EQ(chip.driver.TimingRecoveryOffset(), c.timing) << c.text;
    EXPECT_EQ(chip.driver.CarrierOffsetHex().Text(), c.text);
    EXPECT_EQ(chip.view.captions,
              (std::map<std::string, std::string>{{"lblCarrier", "Carrier/Timing Rcvry Offset"}}));
    std::map<std::string, int> widths = {
        {"lblCarrier", 2500}, {"lblCOffset", 1935}, {"lblCOHex", 1935}};
    EXPECT_EQ(chip.view.widths, widths);
  }
}

TEST(lg2160, ModeAndNeutralReadingsMakeNoBusTraffic) {
  Probed chip(true);
  chip.driver.Passthru(1);
  chip.driver.Sleep(1);
  chip.driver.OperatingMode(0);
  struct Case {
    Value got;
    std::string text;
  } cases[] = {
      {chip.driver.OperatingMode(), "6"}, {chip.driver.SymbolTiming(), ""},
      {chip.driver.AutoFreq(), "0"},      {chip.driver.PilotPwr(), "0"},
      {chip.driver.IFGain(), "0"},        {chip.driver.STRTime(), "0"},
      {chip.driver.FreqOffset(), "0"},    {chip.driver.AGCPowerRef(), "0"},
      {chip.driver.BERctr(), "0"},        {chip.driver.Passthru(), "0"},
      {chip.driver.Sleep(), "0"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got.Text(), cases[i].text) << i;
  EXPECT_TRUE(chip.driver.PostVeterbiErrors().IsEmpty());
  EXPECT_TRUE(chip.rec.calls.empty());
}

TEST(lg2160, BuiltInBoardsShowALockedMhSignalWithParadeInformation) {
  for (std::string name : {"lg2160", "lg2161"}) {
    std::string error;
    auto board = MakeBuiltInBoard(name, error);
    ASSERT_NE(board, nullptr) << error;
    double now = 0;
    board->SetClock([&] { return now; });
    Bus bus(*board);
    bus.handle = board->velI2C_InitByType(24, 0);
    FakeView view;
    Detection detection(BuiltInDrivers(bus, view));
    ASSERT_EQ(detection.Run(), 0);
    ASSERT_EQ(detection.currentClass(), "lg2160");
    Demodulator& driver = *detection.current();
    EXPECT_EQ(driver.name(), name == "lg2160" ? "LG2160" : "LG2161");
    std::set<float> seen;
    for (now = 0; now < 40; now += 4) {
      int16_t mode = driver.OperatingMode(), reset = 1;
      EXPECT_EQ(mode, Mode::AtscMh);
      float avg;
      int32_t color;
      float snr = driver.SNR(mode, avg, color, reset);
      seen.insert(snr);
      EXPECT_GT(snr, 8.0f);
      EXPECT_LT(snr, 20.0f);  // inside the ATSC-MH bar
      int16_t m, eq, fec, vsb, afc;
      driver.GetLockStatus(m, eq, fec, vsb, afc);
      EXPECT_EQ(m, 1) << name;
      EXPECT_EQ(fec, 1) << name;
    }
    EXPECT_GT(seen.size(), 1u) << name;
    EXPECT_EQ(view.captions["lblSymbolTiming"], "Parade ID: 5");
    EXPECT_EQ(view.captions["lblAutoFreq"], "NOG: 3, TNOG: C");
    EXPECT_EQ(view.captions["lblPilot"], "FIC:  1, VER:  5");
  }
}

}  // namespace
