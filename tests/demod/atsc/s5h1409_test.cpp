#include "demod/atsc/s5h1409.h"

#include <gtest/gtest.h>

#include <cmath>

#include "monitor/Codes.h"
#include "support/FakeI2c.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

namespace {

struct Chip {
  FileBoard b;
  FakeView view;
  s5h1409 driver;
  explicit Chip(const std::string& regs) : b(OneChip("s5h1409", regs)), driver(*b.bus, view) {
    EXPECT_TRUE(driver.probe());
  }
  long reg(int r) { return b.device(0x32).GetRegister(r); }
};

TEST(s5h1409, ProbeIsOnePlainReadWithoutRetry) {
  FakeI2c fake;
  Bus bus(fake);
  bus.handle = 7;
  FakeView view;
  s5h1409 driver(bus, view);
  fake.fallback = 1;
  EXPECT_FALSE(driver.probe());
  ASSERT_EQ(fake.calls.size(), 1u);
  EXPECT_EQ(fake.calls[0].mode, 0);
  EXPECT_EQ(fake.calls[0].address, 0x32);
  EXPECT_EQ(fake.calls[0].sub, 0);
  EXPECT_EQ(fake.calls[0].count, 2);
  fake.fallback = 0;
  EXPECT_TRUE(driver.probe());
  EXPECT_EQ(driver.name(), "CX24227");
}

TEST(s5h1409, OperatingModeDecoding) {
  struct Case {
    std::string regs;
    int16_t mode;
  } cases[] = {
      {"\"0xF2\":\"0xFFFF\"", Mode::None},
      {"\"0xF2\":\"0x0001\"", Mode::Sleep},
      {"\"0xF2\":\"0x0003\",\"0xF4\":1", Mode::Sleep},
      {"\"0xF2\":0,\"0xF4\":0", Mode::Vsb8},
      {"\"0xF2\":0,\"0xF4\":\"0xFFFE\"", Mode::Vsb8},
      {"\"0xF4\":1,\"0x85\":1", Mode::Qam64},
      {"\"0xF4\":1,\"0x85\":0", Mode::Qam256},
      {"\"0xF4\":1,\"0x85\":\"0x10\",\"0xF0\":\"0x0100\"", Mode::Qam256},
      {"\"0xF4\":1,\"0x85\":\"0x11\",\"0xF0\":\"0x00FF\"", Mode::Qam64},
  };
  for (const auto& c : cases) {
    Chip chip(c.regs);
    EXPECT_EQ(chip.driver.OperatingMode(), c.mode) << c.regs;
  }
}

TEST(s5h1409, SnrConversionsAtTheirClampsAndBounds) {
  struct Case {
    double got, want;
  };
  int16_t low = 300, high = 0x3FF, under = 100;
  Case cases[] = {
      {s5h1409::VsbSnrToDb(low), 0},  // 11.65 floored
      {s5h1409::VsbSnrToDb(high), 30},
      {s5h1409::VsbSnrToDb(under), 0},
      {s5h1409::Qam64SnrToDb(1), 40},
      {s5h1409::Qam64SnrToDb(0), 0},
      {s5h1409::Qam64SnrToDb(20), -4.6782 * std::log(20.0) + 41.576},
      {s5h1409::Qam64SnrToDb(127), 0},  // 18.9 below the floor
      {s5h1409::Qam256SnrToDb(127), 0},
      {s5h1409::Qam256SnrToDb(0), 0},
      {s5h1409::Qam256SnrToDb(1), 40},
      {s5h1409::Qam256SnrToDb(20), 62.041 * std::pow(20.0, -0.1844)},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_DOUBLE_EQ(cases[i].got, cases[i].want) << "case " << i;
  EXPECT_EQ(high, 950);
  EXPECT_EQ(under, 300);
  int16_t mid = 752;
  EXPECT_NEAR(s5h1409::VsbSnrToDb(mid), (20.73788 * std::exp(752 / 205.15) + 1075.5075) / 100,
              1e-12);
}

TEST(s5h1409, SnrColoursAtTheirThresholds) {
  struct Case {
    int16_t mode;
    std::string regs;
    int32_t color;
  } cases[] = {
      {Mode::Vsb8, "\"0xF1\":637", Color::Red},      {Mode::Vsb8, "\"0xF1\":638", Color::Orange},
      {Mode::Vsb8, "\"0xF1\":656", Color::Orange},   {Mode::Vsb8, "\"0xF1\":657", Color::Yellow},
      {Mode::Vsb8, "\"0xF1\":707", Color::Yellow},   {Mode::Vsb8, "\"0xF1\":708", Color::Green},
      {Mode::Vsb8, "\"0xF1\":\"0xFFFF\"", Color::Green},
      {Mode::Qam64, "\"0xF0\":12", Color::Green},    {Mode::Qam64, "\"0xF0\":13", Color::Yellow},
      {Mode::Qam64, "\"0xF0\":34", Color::Yellow},   {Mode::Qam64, "\"0xF0\":35", Color::Orange},
      {Mode::Qam64, "\"0xF0\":69", Color::Orange},   {Mode::Qam64, "\"0xF0\":70", Color::Red},
      {Mode::Qam256, "\"0xF0\":22", Color::Green},   {Mode::Qam256, "\"0xF0\":23", Color::Yellow},
      {Mode::Qam256, "\"0xF0\":51", Color::Yellow},  {Mode::Qam256, "\"0xF0\":52", Color::Orange},
      {Mode::Qam256, "\"0xF0\":72", Color::Orange},  {Mode::Qam256, "\"0xF0\":73", Color::Red},
      {Mode::Qam256, "\"0xF0\":\"0xFF80\"", Color::Green},  // masked to 0
  };
  for (const auto& c : cases) {
    Chip chip(c.regs);
    int16_t mode = c.mode, reset = 1;
    float avg = 0;
    int32_t color = -5;
    chip.driver.SNR(mode, avg, color, reset);
    EXPECT_EQ(color, c.color) << c.regs << " mode " << c.mode;
  }
}

TEST(s5h1409, SnrResetFillsTheHistoryAndClearsTheFlag) {
  Chip chip("\"0xF1\":752");
  int16_t mode = Mode::Vsb8, reset = 1;
  float avg = 0;
  int32_t color = 0;
  float snr = chip.driver.SNR(mode, avg, color, reset);
  EXPECT_EQ(reset, 0);
  EXPECT_FLOAT_EQ(avg, snr);
  EXPECT_FLOAT_EQ(snr, 18.9f);  // 18.859... to one decimal
  EXPECT_EQ(chip.b.bus->SnrSlot(1), 752);
  // Without a reset the mean moves toward a new reading only slowly.
  std::string why;
  chip.b.device(0x32).SetRegister(0xF1, 950, why);
  float next = chip.driver.SNR(mode, avg, color, reset);
  EXPECT_FLOAT_EQ(next, 30.0f);
  EXPECT_LT(avg, 22.0f);
}

TEST(s5h1409, SnrOfAnUnhandledModeOnlyRoundsTheAverage) {
  Chip chip("");
  int16_t mode = Mode::DvbT, reset = 1;
  float avg = 12.345f;
  int32_t color = 0x123456;
  EXPECT_EQ(chip.driver.SNR(mode, avg, color, reset), 0);
  EXPECT_FLOAT_EQ(avg, 12.3f);
  EXPECT_EQ(color, 0x123456);
  EXPECT_EQ(reset, 1);
}

TEST(s5h1409, LockBitsByMode) {
  struct Case {
    std::string regs;
    int16_t m, eq, fec, sync, afc;
  } cases[] = {
      {"\"0xF1\":\"0xF000\",\"0x40\":1", 1, 1, 1, 1, 1},
      {"\"0xF1\":\"0x8000\",\"0x40\":0", 1, 0, 0, 0, 0},
      {"\"0xF1\":\"0x2000\",\"0x40\":1", 0, 1, 0, 1, 0},
      {"\"0xF1\":\"0x4000\",\"0x40\":0", 0, 0, 0, 0, 1},
      {"\"0xF1\":\"0x1000\",\"0x40\":0", 0, 0, 1, 0, 0},
      {"\"0xF4\":1,\"0x85\":1,\"0xF1\":\"0x8000\",\"0xF0\":\"0x1000\"", 1, -1, 1, -1, -1},
      {"\"0xF4\":1,\"0x85\":0,\"0xF1\":\"0x7000\",\"0xF0\":\"0x0000\"", 0, -1, 0, -1, -1},
      {"\"0xF2\":1,\"0xF1\":\"0xF000\"", 1, -1, -1, -1, -1},
  };
  for (const auto& c : cases) {
    Chip chip(c.regs);
    chip.driver.OperatingMode();
    int16_t m, eq, fec, sync, afc;
    chip.driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}),
              std::vector<int16_t>({c.m, c.eq, c.fec, c.sync, c.afc}))
        << c.regs;
  }
}

TEST(s5h1409, ReadingsAndTheirTexts) {
  Chip chip(
      "\"0xF0\":\"0x1A\",\"0xF1\":\"0xF2F0\",\"0x33\":\"0xFFFF\",\"0x34\":\"0x0010\","
      "\"0x35\":\"0x12\",\"0x36\":\"0x0\",\"0x38\":\"0xABCD\",\"0x39\":7,\"0x3A\":\"0xC80\","
      "\"0xB5\":9,\"0xB7\":300,\"0x82\":\"0x5FF\",\"0xAC\":\"0x0030\",\"0xA0\":5");
  chip.driver.OperatingMode();
  EXPECT_EQ(chip.driver.SNRRegisters().Text(), "1A / F2F0 / XX");
  EXPECT_EQ(chip.driver.CarrierOffset().Number(), -65536 + 16);
  EXPECT_EQ(chip.driver.CarrierOffsetHex().Text(), "FFFF 10");
  EXPECT_EQ(chip.driver.SymbolTiming().Text(), "12 0");
  EXPECT_EQ(chip.driver.AutoFreq().Text(), "ABCD 7");
  EXPECT_EQ(chip.driver.PilotPwr().Number(), 0xC80);
  EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), 9);
  EXPECT_EQ(chip.driver.PostVeterbiErrors().Number(), 300);
  EXPECT_EQ(chip.driver.AGCPowerRef().Number(), 0x5FF);
  EXPECT_EQ(chip.driver.BERctr().Number(), 3);
  EXPECT_EQ(chip.driver.IFGain().Number(), 0);  // QAM readings are 0 in 8-VSB
  Chip qam("\"0xF4\":1,\"0x85\":1,\"0xA0\":5,\"0xA2\":6,\"0xAA\":\"0xFFFF\"");
  qam.driver.OperatingMode();
  EXPECT_EQ(qam.driver.IFGain().Number(), 5);
  EXPECT_EQ(qam.driver.STRTime().Number(), 6);
  EXPECT_EQ(qam.driver.FreqOffset().Number(), -1);
}

TEST(s5h1409, GateAndSleepWriteTheWholeRegister) {
  Chip chip("\"0xF3\":\"0x00F0\",\"0xF2\":\"0x0F00\"");
  EXPECT_EQ(chip.driver.Passthru(), 0);
  chip.driver.Passthru(1);
  EXPECT_EQ(chip.reg(0xF3), 0x0001);
  EXPECT_EQ(chip.driver.Passthru(), 1);
  chip.driver.Sleep(1);
  EXPECT_EQ(chip.reg(0xF2), 0x0001);
  EXPECT_EQ(chip.driver.Sleep(), 1);
  EXPECT_EQ(chip.driver.OperatingMode(), Mode::Sleep);
  chip.driver.Sleep(0);
  EXPECT_EQ(chip.driver.OperatingMode(), Mode::Vsb8);
}

TEST(s5h1409, AChipThatStopsAnsweringReadsAsNoMode) {
  FileBoard b("{\"devices\":[{\"chip\":\"s5h1409\",\"fault\":{\"nak\":true}}]}");
  FakeView view;
  s5h1409 driver(*b.bus, view);
  EXPECT_FALSE(driver.probe());
  EXPECT_EQ(driver.OperatingMode(), Mode::None);
  int16_t m, eq, fec, sync, afc;
  driver.GetLockStatus(m, eq, fec, sync, afc);
  EXPECT_EQ(m, 1);  // bit 15 of a failed read (-1) is set
}

}  // namespace
