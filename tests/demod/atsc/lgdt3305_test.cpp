#include "demod/atsc/lgdt3305.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "monitor/Codes.h"
#include "monitor/Detection.h"
#include "sim/SimRegistry.h"
#include "support/FakeI2c.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

namespace {

using Regs = std::vector<std::pair<int, int>>;

// The default simulated chip, found by its probe, with registers then set
// and the mode read as a poll would.
struct Chip {
  FileBoard b;
  FakeView view;
  lgdt3305 driver;
  explicit Chip(const Regs& regs = {}) : b(OneChip("lgdt3305")), driver(*b.bus, view) {
    EXPECT_TRUE(driver.probe());
    std::string why;
    for (auto [r, v] : regs) EXPECT_TRUE(b.device(0xB2).SetRegister(r, v, why)) << why;
    driver.OperatingMode();
  }
};

TEST(lgdt3305, ProbeMakesOneCombinedReadPerAddressWithoutRetry) {
  FakeI2c fake;
  Bus bus(fake);
  bus.handle = 7;
  FakeView view;
  lgdt3305 driver(bus, view);
  fake.fallback = 1;
  EXPECT_FALSE(driver.probe());
  ASSERT_EQ(fake.calls.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(fake.calls[i].kind, FakeI2c::Call::WriteRead);
    EXPECT_EQ(fake.calls[i].address, i == 0 ? 0xB2 : 0x1C);
    EXPECT_EQ(fake.calls[i].bytes, std::vector<uint8_t>({0x00, 0x00}));
    EXPECT_EQ(fake.calls[i].count, 1);
  }
  // Both answer: 0x1C is still asked, then the identity of the first is read.
  fake.calls.clear();
  fake.fallback = 0;
  fake.readData = {{0x0000, {0x03}}, {0x0001, {0x90}}, {0x0007, {0x2F}}};
  EXPECT_TRUE(driver.probe());
  ASSERT_EQ(fake.calls.size(), 4u);
  EXPECT_EQ(fake.calls[1].address, 0x1C);
  EXPECT_EQ(fake.calls[2].address, 0xB2);
  EXPECT_EQ(fake.calls[2].sub, 0x0001);
  EXPECT_EQ(fake.calls[3].sub, 0x0007);
  EXPECT_EQ(driver.name(), "LGDT3305");
}

TEST(lgdt3305, ProbeAddressesAndIdentityMasks) {
  auto at = [](const std::string& address, const std::string& regs) {
    return "{\"chip\":\"lgdt3305\",\"address\":\"" + address + "\",\"registers\":{" + regs + "}}";
  };
  struct Case {
    std::string devices;
    bool found;
    int16_t mode;  // read afterwards, telling which chip was kept
  } cases[] = {
      {at("0xB2", ""), true, Mode::Vsb8},
      {at("0x1C", "\"0\":1"), true, Mode::Qam256},
      {at("0xB2", "\"0\":3") + "," + at("0x1C", "\"0\":0"), true, Mode::Vsb8},
      {at("0xB2", "\"0\":2") + "," + at("0x1C", "\"0\":0"), true, Mode::Qam64},
      {at("0xB2", "\"0\":\"0xFF\"") + "," + at("0x1C", "\"0\":1"), true, Mode::Qam256},
      {at("0xB2", "\"0\":\"0xFE\""), false, Mode::None},
      {at("0xB2", "\"1\":\"0xB0\""), true, Mode::Vsb8},   // bits 6 and 5 are free
      {at("0xB2", "\"1\":\"0x91\""), false, Mode::Vsb8},  // low nibble must be 0
      {at("0xB2", "\"1\":\"0x80\""), false, Mode::Vsb8},
      {at("0xB2", "\"1\":\"0x10\""), false, Mode::Vsb8},
      {at("0xB2", "\"7\":\"0xEF\""), true, Mode::Vsb8},  // bits 7 and 6 are free
      {at("0xB2", "\"7\":\"0x1F\""), false, Mode::Vsb8},
      {at("0xB2", "\"7\":\"0x3F\""), false, Mode::Vsb8},
      {at("0xB2", "\"7\":\"0x2E\""), false, Mode::Vsb8},
      {at("0x32", ""), false, Mode::None},  // nothing at either address
  };
  for (const auto& c : cases) {
    FileBoard b("{\"devices\":[" + c.devices + "]}");
    FakeView view;
    lgdt3305 driver(*b.bus, view);
    EXPECT_EQ(driver.probe(), c.found) << c.devices;
    EXPECT_EQ(driver.OperatingMode(), c.mode) << c.devices;
  }
}

TEST(lgdt3305, ModeDecoding) {
  struct Case {
    int byte;
    int16_t mode;
  } cases[] = {{0x03, Mode::Vsb8},  {0x00, Mode::Qam64}, {0x01, Mode::Qam256},
               {0x02, Mode::None},  {0xFF, Mode::None},  {0xFE, Mode::None},
               {0xFC, Mode::Qam64}, {0x07, Mode::Vsb8}};
  for (const auto& c : cases) {
    EXPECT_EQ(lgdt3305::DecodeMode(c.byte), c.mode) << c.byte;
    Chip chip({{0x0000, c.byte}});
    EXPECT_EQ(chip.driver.OperatingMode(), c.mode) << c.byte;
  }
}

TEST(lgdt3305, SnrByModeAtTheEndsAndHalves) {
  struct Case {
    int modeByte;
    Regs regs;
    float snr;
    int32_t color;
  } cases[] = {
      {0x03, {{0x0413, 0}, {0x0414, 0}, {0x0415, 0}}, 0, Color::Red},  // no error power
      {0x03, {{0x0413, 0}, {0x0414, 0}, {0x0415, 1}}, 44.1f, Color::Green},
      {0x03, {{0x0413, 0}, {0x0414, 0}, {0x0415, 81}}, 25.0f, Color::Green},
      {0x03, {{0x0413, 0xF0}, {0x0414, 1}, {0x0415, 0}}, 20.0f, Color::Yellow},  // 256
      {0x03, {{0x0413, 0}, {0x0414, 0}, {0x0415, 8}}, 35.0f, Color::Green},    // 35.05
      {0x03, {{0x0413, 0}, {0x0414, 0}, {0x0415, 41}}, 28.0f, Color::Green},   // 27.95
      {0x03, {{0x0413, 0}, {0x0414, 0x64}, {0x0415, 0}}, 0, Color::Red},       // 25600
      {0x03, {{0x0413, 0x0F}, {0x0414, 0xFF}, {0x0415, 0xFE}}, 0, Color::Red},  // not < 0
      {0x03, {{0x0413, 0xFF}, {0x0414, 0xFF}, {0x0415, 0xFF}}, 0, Color::Red},
      {0x00, {{0x011B, 0}, {0x011C, 0}}, 0, Color::Red},
      {0x00, {{0x011B, 0}, {0x011C, 1}}, 58.4f, Color::Green},
      {0x00, {{0x011B, 0x02}, {0x011C, 0xB0}}, 30.0f, Color::Green},  // 688
      {0x00, {{0x011B, 0}, {0x011C, 8}}, 49.4f, Color::Green},        // 49.35
      {0x00, {{0x011B, 0xFF}, {0x011C, 0xFF}}, 10.2f, Color::Red},
      {0x01, {{0x011B, 0x02}, {0x011C, 0xB0}}, 30.0f, Color::Yellow},  // 30.05
      {0x01, {{0x011B, 0x02}, {0x011C, 0xB8}}, 30.0f, Color::Yellow},  // 696
      {0x01, {{0x011B, 0xFF}, {0x011C, 0xFF}}, 10.3f, Color::Red},
      {0x02, {{0x0415, 1}, {0x011C, 1}}, 0, Color::Green},  // no mode: zero thresholds
  };
  for (const auto& c : cases) {
    Regs regs = c.regs;
    regs.push_back({0x0000, c.modeByte});
    Chip chip(regs);
    int16_t unused = Mode::DvbT, reset = 1;
    float avg = -1;
    int32_t color = -5;
    float snr = chip.driver.SNR(unused, avg, color, reset);
    EXPECT_FLOAT_EQ(snr, c.snr) << c.modeByte << " row " << &c - cases;
    EXPECT_FLOAT_EQ(avg, c.snr) << &c - cases;
    EXPECT_EQ(color, c.color) << &c - cases;
    EXPECT_EQ(reset, 0);
  }
}

// The history holds error powers; the colour follows the reading.
TEST(lgdt3305, AverageIsTakenBeforeTheLogarithm) {
  Chip chip({{0x0414, 0x0A}, {0x0415, 0x00}});  // 2560: 10 dB
  int16_t mode = 0, reset = 1;
  float avg;
  int32_t color;
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 10.0f);
  EXPECT_EQ(chip.b.bus->SnrSlot(19), 2560);
  std::string why;
  chip.b.device(0xB2).SetRegister(0x0414, 0x01, why);  // 256: 20 dB
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 20.0f);
  EXPECT_FLOAT_EQ(avg, 10.2f);  // mean of the powers, not of the decibels (10.5)
  EXPECT_EQ(color, Color::Yellow);
}

TEST(lgdt3305, ColourThresholdsAtTheirEdges) {
  struct Case {
    int modeByte;
    float snr;
    int32_t color;
  } cases[] = {
      {0x03, 9.9f, Color::Red},     {0x03, 10, Color::Orange},  {0x03, 15.9f, Color::Orange},
      {0x03, 16, Color::Yellow},    {0x03, 23.9f, Color::Yellow}, {0x03, 24, Color::Green},
      {0x00, 19.9f, Color::Red},    {0x00, 20, Color::Orange},  {0x00, 24.9f, Color::Orange},
      {0x00, 25, Color::Yellow},    {0x00, 29.9f, Color::Yellow}, {0x00, 30, Color::Green},
      {0x01, 27.9f, Color::Red},    {0x01, 28, Color::Orange},  {0x01, 29.9f, Color::Orange},
      {0x01, 30, Color::Yellow},    {0x01, 31.9f, Color::Yellow}, {0x01, 32, Color::Green},
      {0x02, -0.1f, Color::Red},    {0x02, 0, Color::Green},
  };
  for (const auto& c : cases) {
    Chip chip({{0x0000, c.modeByte}});
    EXPECT_EQ(chip.driver.LGDT3305ColorizeSNR(c.snr), c.color) << c.modeByte << " " << c.snr;
  }
}

TEST(lgdt3305, LockBitsByMode) {
  struct Case {
    int modeByte, r1, r2, r3;
    std::vector<int16_t> locks;  // master, EQ, FEC, sync, carrier
  } cases[] = {
      {0x03, 0x00, 0x07, 0x80, {1, 1, 1, 1, 1}},
      {0x03, 0xFF, 0x08, 0x02, {0, 0, 0, 0, 0}},
      {0x03, 0x00, 0x01, 0x00, {1, 1, 0, 0, 0}},
      {0x03, 0x00, 0x02, 0x00, {1, 0, 1, 0, 0}},
      {0x03, 0x00, 0x04, 0x00, {1, 0, 0, 1, 0}},
      {0x00, 0x0D, 0x08, 0x02, {1, 0, 0, 0, 1}},
      {0x00, 0x0C, 0x00, 0x80, {0, 0, 0, 0, 0}},
      {0x01, 0x09, 0x07, 0x02, {0, 1, 1, 1, 1}},
      {0x01, 0x05, 0x00, 0x00, {0, 0, 0, 0, 0}},
      {0x01, 0xFF, 0x00, 0xFF, {1, 0, 0, 0, 1}},
      {0x02, 0xFF, 0x05, 0xFF, {-1, 1, 0, 1, -1}},
  };
  for (const auto& c : cases) {
    Chip chip({{0x0000, c.modeByte}, {0x050A, c.r1}, {0x0003, c.r2}, {0x011D, c.r3}});
    std::vector<int16_t> got(5, 9);
    chip.driver.GetLockStatus(got[0], got[1], got[2], got[3], got[4]);
    EXPECT_EQ(got, c.locks) << "row " << &c - cases;
  }
}

TEST(lgdt3305, AgcCaptionsAreTwelveBitSigned) {
  struct Case {
    int rfHigh, rfLow;
    std::string rf;
    int ifHigh, ifLow;
    std::string ifText;
  } cases[] = {{0x08, 0x00, "FFFFF800", 0x07, 0xFF, "7FF"},
               {0x0F, 0xFF, "FFFFFFFF", 0xF0, 0x12, "12"},
               {0x00, 0x00, "0", 0x0A, 0xBC, "FFFFFABC"}};
  for (const auto& c : cases) {
    Chip chip({{0x0316, c.rfHigh}, {0x0317, c.rfLow}, {0x0318, c.ifHigh}, {0x0319, c.ifLow}});
    int16_t m, eq, fec, sync, afc;
    chip.driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(chip.view.captions["lblAGC"], "RF_AGC: " + c.rf);
    EXPECT_EQ(chip.view.captions["lblIFGain"], "IF_AGC: " + c.ifText);
  }
}

TEST(lgdt3305, WindowCaptionsWidthsAndVisibility) {
  Chip chip;
  int16_t m, eq, fec, sync, afc;
  chip.driver.GetLockStatus(m, eq, fec, sync, afc);
  EXPECT_EQ(chip.driver.SNRRegisters().Text(), "");
  chip.driver.CarrierOffsetHex();
  EXPECT_EQ(chip.view.captions, (std::map<std::string, std::string>{
                                    {"lblAFCLock", "Carrier Lock"},
                                    {"lblVSBSync", "Sync Lock"},
                                    {"lblEQLock", "SNR GOOD"},
                                    {"frQAM", "AGC:"},
                                    {"lblAGC", "RF_AGC: 258"},
                                    {"lblIFGain", "IF_AGC: FFFFFE20"},
                                    {"lblCarrier", "Carrier/Timing Rcvry Offset"},
                                }));
  EXPECT_EQ(chip.view.visible, (std::map<std::string, bool>{{"frVSB", false},
                                                             {"lblSTRTime", false},
                                                             {"lblFreqOffset", false},
                                                             {"frF0F1", false}}));
  EXPECT_EQ(chip.view.widths, (std::map<std::string, int>{
                                  {"lblCarrier", 2500}, {"lblCOffset", 1935}, {"lblCOHex", 1935}}));
}

TEST(lgdt3305, OffsetsAreTwentyFourBitSignedAndScaledByMode) {
  struct Case {
    int modeByte, b0, b1, b2;
    float carrier, timing;
  } cases[] = {
      {0x03, 0x80, 0x00, 0x00, -10760.0f, -336.25f},
      {0x03, 0x7F, 0xFF, 0xFF, 10759.998717f, 336.24996f},
      {0x03, 0x00, 0x00, 0x01, 0.0012826920f, 4.0084124e-05f},
      {0x00, 0x80, 0x00, 0x00, -390.625f, -390.625f},
      {0x01, 0xFF, 0xFF, 0xFF, -4.6566129e-05f, -4.6566129e-05f},
      {0x01, 0x12, 0x34, 0x56, 55.555534f, 55.555534f},
      {0x02, 0x12, 0x34, 0x56, 0, 0},
  };
  for (const auto& c : cases) {
    Chip chip({{0x0000, c.modeByte}, {0x0118, c.b0}, {0x0119, c.b1}, {0x011A, c.b2},
               {0x0217, c.b0}, {0x0218, c.b1}, {0x0219, c.b2}});
    EXPECT_FLOAT_EQ(float(chip.driver.CarrierOffset().Number()), c.carrier) << &c - cases;
    EXPECT_FLOAT_EQ(chip.driver.TimingRecoveryOffset(), c.timing) << &c - cases;
  }
  Chip chip({{0x0217, 0x80}, {0x0218, 0}, {0x0219, 0}});
  EXPECT_EQ(chip.driver.CarrierOffsetHex().Text(), "-336.25");
}

TEST(lgdt3305, OffsetTextHasASignPlaceAndNoLeadingZero) {
  struct Case {
    float value;
    std::string text;
  } cases[] = {{0, " 0"},           {0.25f, " .25"},      {-0.25f, "-.25"},
               {1.5f, " 1.5"},      {-336.25f, "-336.25"}, {1.0f / 3, " .3333333"},
               {10759.998717f, " 10760"}, {123.4567f, " 123.4567"}, {-0.0361f, "-.0361"}};
  for (const auto& c : cases) EXPECT_EQ(lgdt3305::OffsetText(c.value), c.text) << c.value;
}

TEST(lgdt3305, CountersAndReadingsWithoutBusTraffic) {
  Chip chip({{0x050C, 0x12}, {0x050D, 0x34}});
  EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), 0x1234);
  Chip full({{0x050C, 0xFF}, {0x050D, 0xFE}});
  EXPECT_EQ(full.driver.UncorrectableErrors().Number(), 65534);  // not a negative 16-bit
  long before = chip.b.board->transactions();
  EXPECT_TRUE(chip.driver.PostVeterbiErrors().IsEmpty());
  chip.driver.Passthru(1);
  chip.driver.Sleep(1);
  chip.driver.OperatingMode(2);
  EXPECT_EQ(chip.driver.Passthru(), 0);
  EXPECT_EQ(chip.driver.Sleep(), 0);
  EXPECT_EQ(chip.driver.SymbolTiming().Text(), "");
  EXPECT_EQ(chip.driver.AutoFreq().Text(), "0");
  for (Value v : {chip.driver.PilotPwr(), chip.driver.IFGain(), chip.driver.STRTime(),
                  chip.driver.FreqOffset(), chip.driver.AGCPowerRef(), chip.driver.BERctr()})
    EXPECT_EQ(v.Text(), "0");
  EXPECT_EQ(chip.b.board->transactions(), before);
  EXPECT_EQ(chip.b.device(0xB2).GetRegister(0x0000), 0x03);
}

TEST(lgdt3305, AChipThatStopsAnsweringReadsAsNoMode) {
  FakeI2c fake;
  Bus bus(fake);
  FakeView view;
  lgdt3305 driver(bus, view);
  fake.fallback = 1;
  EXPECT_EQ(driver.OperatingMode(), Mode::None);
  EXPECT_EQ(fake.calls.size(), 4u);
  std::vector<int16_t> got(5);
  driver.GetLockStatus(got[0], got[1], got[2], got[3], got[4]);
  EXPECT_EQ(got, std::vector<int16_t>({-1, 1, 1, 1, -1}));
  EXPECT_EQ(view.captions["lblAGC"], "RF_AGC: FFFFFFFF");
}

TEST(lgdt3305, BuiltInBoardIsDetectedLockedAndWanders) {
  std::string error;
  auto board = MakeBuiltInBoard("lgdt3305", error);
  ASSERT_TRUE(board) << error;
  double now = 0;
  board->SetClock([&] { return now; });
  Bus bus(*board);
  bus.handle = board->velI2C_InitByType(24, 0);
  FakeView view;
  Detection detection(BuiltInDrivers(bus, view));
  ASSERT_EQ(detection.Run(), 0);
  EXPECT_EQ(detection.currentClass(), "lgdt3305");
  Demodulator& d = *detection.current();
  std::vector<float> readings;
  for (now = 0; now < 40; now += 4) {
    int16_t mode = d.OperatingMode(), reset = 0;
    EXPECT_EQ(mode, Mode::Vsb8);
    float avg;
    int32_t color;
    readings.push_back(d.SNR(mode, avg, color, reset));
    std::vector<int16_t> locks(5);
    d.GetLockStatus(locks[0], locks[1], locks[2], locks[3], locks[4]);
    EXPECT_EQ(locks, std::vector<int16_t>({1, 1, 1, 1, 1}));
  }
  auto [low, high] = std::minmax_element(readings.begin(), readings.end());
  EXPECT_GT(*low, 22.0f);
  EXPECT_LT(*high, 28.0f);
  EXPECT_GT(*high - *low, 0.5f);
}

}  // namespace
