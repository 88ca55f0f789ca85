#include "demod/atsc/s5h1411.h"

#include <gtest/gtest.h>

#include <set>

#include "BusRecorder.h"
#include "monitor/Codes.h"
#include "monitor/Detection.h"
#include "sim/SimRegistry.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

namespace {

std::string Board(const std::string& main, const std::string& second = "") {
  return "{\"devices\":[{\"chip\":\"s5h1411\",\"registers\":{" + main +
         "}},{\"chip\":\"s5h1411_second\",\"registers\":{" + second + "}}]}";
}

// A driver on a board, with every bus call recorded.
struct Chip {
  FileBoard b;
  BusRecorder rec;
  Bus bus;
  FakeView view;
  s5h1411 driver;
  explicit Chip(const std::string& json, bool demod2 = false)
      : b(json), rec(*b.board), bus(rec), driver(bus, view) {
    bus.handle = b.bus->handle;
    bus.secondDemod = demod2;
  }
};

// A driver that has found its chip at 0x32/0x34; the probe's calls are forgotten.
struct Probed : Chip {
  explicit Probed(const std::string& main, const std::string& second = "")
      : Chip(Board(main, second)) {
    EXPECT_TRUE(driver.probe());
    rec.calls.clear();
  }
};

TEST(s5h1411, ProbeTriesTheAddressPairs) {
  struct Case {
    std::vector<int> present;
    bool demod2, found;
    std::vector<int32_t> tried;
    int32_t chip, second;  // where the registers are read afterwards
  } cases[] = {
      {{0x32, 0x34}, false, true, {0x32, 0x34}, 0x32, 0x34},
      {{0x32, 0x34, 0x72, 0x74}, false, true, {0x32, 0x34}, 0x32, 0x34},
      {{0x32, 0x34}, true, false, {0x32, 0x72}, 0, 0},
      {{0x32, 0x34, 0x72, 0x74}, true, true, {0x32, 0x72, 0x74}, 0x72, 0x74},
      {{0x72, 0x74}, false, true, {0x32, 0x72, 0x74}, 0x72, 0x74},
      {{0x32}, false, false, {0x32, 0x34, 0x72}, 0, 0},
      {{0x32, 0x74}, false, false, {0x32, 0x34, 0x72}, 0, 0},
      {{0x72}, false, false, {0x32, 0x72, 0x74}, 0, 0},
      {{}, false, false, {0x32, 0x72}, 0, 0},
  };
  for (const auto& c : cases) {
    std::string devices;
    for (int a : c.present)
      devices += std::string(devices.empty() ? "" : ",") + "{\"chip\":\"s5h1411\",\"address\":" +
                 std::to_string(a) + "}";
    Chip chip("{\"devices\":[" + devices + "]}", c.demod2);
    std::string label = "case " + std::to_string(&c - cases);
    EXPECT_EQ(chip.driver.probe(), c.found) << label;
    EXPECT_EQ(chip.rec.Addresses(), c.tried) << label;
    for (const auto& call : chip.rec.calls) {
      EXPECT_EQ(call.kind, BusRecorder::Call::Read) << label;
      EXPECT_EQ(call.mode, 0) << label;
      EXPECT_EQ(call.sub, 0) << label;
      EXPECT_EQ(call.count, 2) << label;
    }
    if (!c.found) continue;
    chip.rec.calls.clear();
    chip.driver.Passthru();
    chip.driver.AGCPowerRef();
    EXPECT_EQ(chip.rec.Addresses(), std::vector<int32_t>({c.chip, c.second})) << label;
  }
}

TEST(s5h1411, OperatingModeDecoding) {
  struct Case {
    std::string regs;
    int16_t mode;
    std::vector<int32_t> subs;  // registers read, in order
  } cases[] = {
      {"\"0xF4\":\"0xFFFF\"", Mode::None, {0xF4}},
      {"\"0xF4\":1", Mode::Sleep, {0xF4}},
      {"\"0xF4\":\"0xFFFD\"", Mode::Sleep, {0xF4}},
      {"\"0xF4\":0,\"0xF6\":0", Mode::Vsb8, {0xF4, 0xF6}},
      {"\"0xF4\":\"0xFFFE\",\"0xF6\":\"0xFFFE\"", Mode::Vsb8, {0xF4, 0xF6}},
      {"\"0xF6\":1,\"0x16\":1,\"0xF0\":1,\"0x2A\":0", Mode::Qam256, {0xF4, 0xF6, 0x16, 0xF0}},
      {"\"0xF6\":1,\"0x16\":1,\"0xF0\":\"0xFFFE\",\"0x2A\":1", Mode::Qam64,
       {0xF4, 0xF6, 0x16, 0xF0}},
      {"\"0xF6\":1,\"0x16\":0,\"0x2A\":1,\"0xF0\":0", Mode::Qam256, {0xF4, 0xF6, 0x16, 0x2A}},
      {"\"0xF6\":1,\"0x16\":\"0x10\",\"0x2A\":0,\"0xF0\":1", Mode::Qam64,
       {0xF4, 0xF6, 0x16, 0x2A}},
  };
  for (const auto& c : cases) {
    Probed chip(c.regs);
    EXPECT_EQ(chip.driver.OperatingMode(), c.mode) << c.regs;
    std::vector<int32_t> subs;
    for (const auto& call : chip.rec.calls) subs.push_back(call.sub);
    EXPECT_EQ(subs, c.subs) << c.regs;
  }
}

struct Row {
  int32_t bound;
  float db;
};

// 8-VSB: a raw value above the bound gives the row's SNR.
const Row kVsb[] = {
    {927, 30.0f}, {923, 29.5f}, {919, 29.0f}, {916, 28.5f}, {911, 28.0f}, {907, 27.5f},
    {903, 27.0f}, {898, 26.5f}, {893, 26.0f}, {887, 25.5f}, {880, 25.0f}, {874, 24.5f},
    {868, 24.0f}, {859, 23.5f}, {851, 23.0f}, {841, 22.5f}, {832, 22.0f}, {823, 21.5f},
    {807, 21.0f}, {795, 20.5f}, {784, 20.0f}, {770, 19.5f}, {755, 19.0f}, {740, 18.5f},
    {727, 18.0f}, {717, 17.5f}, {699, 17.0f}, {681, 16.5f}, {670, 16.0f}, {644, 15.5f},
    {634, 15.0f}, {608, 14.5f}, {570, 14.0f}, {548, 13.5f}, {531, 13.0f}, {516, 12.5f},
    {510, 12.0f}};
// QAM: a raw value below the bound gives the row's SNR.
const Row kQam64[] = {
    {2800, 30.0f},  {3456, 29.0f},  {4256, 28.0f},  {5301, 27.0f},  {5520, 26.8f},
    {5760, 26.6f},  {6064, 26.4f},  {6336, 26.2f},  {6576, 26.0f},  {6864, 25.8f},
    {7424, 25.6f},  {7584, 25.4f},  {7920, 25.2f},  {8272, 25.0f},  {8432, 24.9f},
    {8656, 24.8f},  {8880, 24.7f},  {9120, 24.6f},  {9328, 24.5f},  {9456, 24.4f},
    {9632, 24.3f},  {9920, 24.2f},  {10160, 24.1f}, {10448, 24.0f}, {10672, 23.9f},
    {10960, 23.8f}, {11168, 23.7f}, {11392, 23.6f}, {11552, 23.5f}, {11776, 23.4f},
    {12048, 23.3f}, {12368, 23.2f}, {12688, 23.1f}, {13056, 23.0f}, {13120, 22.9f},
    {13648, 22.7f}, {13840, 22.6f}, {14080, 22.4f}, {14336, 22.3f}, {14624, 22.2f},
    {14880, 22.1f}, {15152, 22.0f}, {15616, 21.9f}, {15872, 21.8f}, {16384, 21.7f},
    {16640, 21.6f}, {17152, 21.5f}, {17408, 21.4f}, {17920, 21.3f}, {18176, 21.2f},
    {18432, 21.1f}, {18944, 21.0f}, {19200, 20.9f}, {19712, 20.8f}, {20224, 20.7f},
    {20560, 20.6f}, {20992, 20.5f}, {21440, 20.4f}, {21584, 20.3f}, {22096, 20.2f},
    {22560, 20.1f}, {24576, 20.0f}};
const Row kQam256[] = {
    {2416, 40.0f},  {2704, 39.0f},  {2960, 38.0f},  {3472, 37.0f},  {4080, 36.0f},
    {4672, 35.0f},  {4933, 34.8f},  {5056, 34.6f},  {5312, 34.4f},  {5376, 34.2f},
    {5648, 34.0f},  {5888, 33.8f},  {6144, 33.6f},  {6320, 33.4f},  {6400, 33.2f},
    {6832, 33.0f},  {7104, 32.8f},  {7344, 32.6f},  {7600, 32.4f},  {7856, 32.2f},
    {8240, 32.0f},  {8704, 31.8f},  {8832, 31.6f},  {9232, 31.4f},  {9648, 31.2f},
    {10144, 31.0f}, {10304, 30.8f}, {10704, 30.6f}, {11024, 30.4f}, {11568, 30.2f},
    {12064, 30.0f}, {12480, 29.8f}, {12896, 29.7f}, {12992, 29.6f}, {13056, 29.5f},
    {13232, 29.4f}, {13488, 29.3f}, {13728, 29.2f}, {13904, 29.1f}, {14336, 29.0f},
    {14592, 28.9f}, {14928, 28.8f}, {15152, 28.7f}, {15536, 28.6f}, {15904, 28.5f},
    {16288, 28.4f}, {16544, 28.3f}, {16832, 28.2f}, {17136, 28.1f}, {17568, 28.0f},
    {17920, 27.9f}, {18352, 27.8f}, {18688, 27.7f}, {18944, 27.6f}, {19360, 27.5f},
    {19712, 27.4f}, {20224, 27.3f}, {20480, 27.2f}, {20976, 27.1f}, {21408, 27.0f},
    {21792, 26.9f}, {22272, 26.8f}, {22528, 26.7f}, {23040, 26.6f}, {23552, 26.5f},
    {23808, 26.4f}, {24320, 26.3f}, {24576, 26.2f}, {25088, 26.1f}, {25600, 26.0f}};

TEST(s5h1411, SnrTablesAtEveryRowBoundaryAndPastTheirEnds) {
  size_t n = std::size(kVsb);
  for (size_t i = 0; i < n; ++i) {
    float below = i + 1 < n ? kVsb[i + 1].db : 0;
    EXPECT_EQ(s5h1411::VsbSnrToDb(kVsb[i].bound + 1), kVsb[i].db) << kVsb[i].bound;
    EXPECT_EQ(s5h1411::VsbSnrToDb(kVsb[i].bound), below) << kVsb[i].bound;
  }
  auto qam = [](const Row* rows, size_t count, float (*lookup)(int32_t)) {
    for (size_t i = 0; i < count; ++i) {
      float next = i + 1 < count ? rows[i + 1].db : 0;
      EXPECT_EQ(lookup(rows[i].bound - 1), rows[i].db) << rows[i].bound;
      EXPECT_EQ(lookup(rows[i].bound), next) << rows[i].bound;
    }
  };
  qam(kQam64, std::size(kQam64), s5h1411::Qam64SnrToDb);
  qam(kQam256, std::size(kQam256), s5h1411::Qam256SnrToDb);
  struct Case {
    float got, want;
  } ends[] = {
      {s5h1411::VsbSnrToDb(1023), 30.0f}, {s5h1411::VsbSnrToDb(0), 0},
      {s5h1411::Qam64SnrToDb(1), 30.0f},  {s5h1411::Qam64SnrToDb(0), 0},
      {s5h1411::Qam64SnrToDb(-1), 0},     {s5h1411::Qam64SnrToDb(32767), 0},
      {s5h1411::Qam256SnrToDb(1), 40.0f}, {s5h1411::Qam256SnrToDb(0), 0},
      {s5h1411::Qam256SnrToDb(-32768), 0}, {s5h1411::Qam256SnrToDb(32767), 0},
  };
  for (size_t i = 0; i < std::size(ends); ++i) EXPECT_EQ(ends[i].got, ends[i].want) << i;
}

TEST(s5h1411, ColoursAtTheirEdges) {
  struct Case {
    int32_t (*colour)(int32_t);
    int32_t raw, want;
  } cases[] = {
      {s5h1411::VsbColor, 0, Color::Red},         {s5h1411::VsbColor, 644, Color::Red},
      {s5h1411::VsbColor, 645, Color::Orange},    {s5h1411::VsbColor, 670, Color::Orange},
      {s5h1411::VsbColor, 671, Color::Yellow},    {s5h1411::VsbColor, 717, Color::Yellow},
      {s5h1411::VsbColor, 718, Color::Green},     {s5h1411::VsbColor, 1023, Color::Green},
      {s5h1411::Qam64Color, -1, Color::Red},      {s5h1411::Qam64Color, 0, Color::Green},
      {s5h1411::Qam64Color, 2800, Color::Green},  {s5h1411::Qam64Color, 2801, Color::Yellow},
      {s5h1411::Qam64Color, 8272, Color::Yellow}, {s5h1411::Qam64Color, 8273, Color::Orange},
      {s5h1411::Qam64Color, 15872, Color::Orange}, {s5h1411::Qam64Color, 15873, Color::Red},
      {s5h1411::Qam256Color, -1, Color::Red},     {s5h1411::Qam256Color, 0, Color::Green},
      {s5h1411::Qam256Color, 4933, Color::Green}, {s5h1411::Qam256Color, 4934, Color::Yellow},
      {s5h1411::Qam256Color, 12064, Color::Yellow}, {s5h1411::Qam256Color, 12065, Color::Orange},
      {s5h1411::Qam256Color, 16544, Color::Orange}, {s5h1411::Qam256Color, 16545, Color::Red},
  };
  for (const auto& c : cases) EXPECT_EQ(c.colour(c.raw), c.want) << c.raw;
}

TEST(s5h1411, SnrReadsTheRegisterOfItsModeArgument) {
  struct Case {
    int16_t mode;
    std::string regs;
    float snr;
    int32_t color;
  } cases[] = {
      {Mode::Vsb8, "\"0xF2\":\"0xB1FE\"", 0, Color::Red},  // 510 after the mask
      {Mode::Vsb8, "\"0xF2\":\"0x01FF\"", 12.0f, Color::Red},
      {Mode::Vsb8, "\"0xF2\":718", 17.5f, Color::Green},
      {Mode::Vsb8, "\"0xF2\":728", 18.0f, Color::Green},
      {Mode::Vsb8, "\"0xF2\":\"0xFFFF\"", 30.0f, Color::Green},
      {Mode::Qam64, "\"0xF1\":13000,\"0xF2\":900", 23.0f, Color::Orange},
      {Mode::Qam64, "\"0xF1\":13100", 22.9f, Color::Orange},
      {Mode::Qam64, "\"0xF1\":13700", 22.6f, Color::Orange},
      {Mode::Qam64, "\"0xF1\":24576", 0, Color::Red},
      {Mode::Qam64, "\"0xF1\":\"0xFFFF\"", 0, Color::Red},  // -1, a failed read
      {Mode::Qam256, "\"0xF1\":4933", 34.6f, Color::Green},
      {Mode::Qam256, "\"0xF1\":4934", 34.6f, Color::Yellow},
  };
  for (const auto& c : cases) {
    Probed chip(c.regs);
    int16_t mode = c.mode, reset = 1;
    float avg = 0;
    int32_t color = 0;
    EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), c.snr) << c.regs;
    EXPECT_FLOAT_EQ(avg, c.snr) << c.regs;
    EXPECT_EQ(color, c.color) << c.regs;
    EXPECT_EQ(reset, 0);
    ASSERT_EQ(chip.rec.calls.size(), 1u);
    EXPECT_EQ(chip.rec.calls[0].sub, c.mode == Mode::Vsb8 ? 0xF2 : 0xF1);
  }
}

TEST(s5h1411, TheAverageIsTakenOverRawValuesBeforeTheTable) {
  Probed chip("\"0xF2\":884");
  int16_t mode = Mode::Vsb8, reset = 1;
  float avg = 0;
  int32_t color = 0;
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 25.0f);
  EXPECT_EQ(chip.bus.SnrSlot(19), 884);
  std::string why;
  chip.b.device(0x32).SetRegister(0xF2, 511, why);
  // (18 * 884 + 511) / 19 = 864.37, looked up as 864: above 859.
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 12.0f);
  EXPECT_FLOAT_EQ(avg, 23.5f);
  EXPECT_EQ(color, Color::Red);
}

TEST(s5h1411, SnrOfAnUnhandledModeOnlyRoundsTheAverage) {
  for (int16_t m : {Mode::None, Mode::Sleep, Mode::DvbC}) {
    Probed chip("");
    int16_t mode = m, reset = 1;
    float avg = 12.25f;
    int32_t color = 0x123456;
    EXPECT_EQ(chip.driver.SNR(mode, avg, color, reset), 0);
    EXPECT_FLOAT_EQ(avg, 12.2f);  // the half goes to the even neighbour
    EXPECT_EQ(color, 0x123456);
    EXPECT_EQ(reset, 1);
    EXPECT_TRUE(chip.rec.calls.empty());
  }
}

TEST(s5h1411, LockBitsByCurrentMode) {
  struct Case {
    std::string regs;
    int16_t m, eq, fec, sync, afc;
  } cases[] = {
      {"\"0xF2\":\"0xB000\",\"0x5E\":1,\"0xF0\":0", 1, 1, 1, 1, -1},
      {"\"0xF2\":\"0x8000\",\"0x5E\":0,\"0xF0\":\"0x10\"", 1, 0, 0, 0, -1},
      {"\"0xF2\":\"0x2000\",\"0x5E\":\"0xFFFE\"", 0, 1, 0, 0, -1},
      {"\"0xF2\":\"0x1000\",\"0x5E\":1", 0, 0, 1, 1, -1},
      {"\"0xF6\":1,\"0xF2\":\"0xB000\",\"0xF0\":\"0x0010\",\"0x5E\":1", 1, -1, 1, -1, -1},
      {"\"0xF6\":1,\"0x2A\":1,\"0xF2\":\"0x7FFF\",\"0xF0\":\"0xFFEF\"", 0, -1, 0, -1, -1},
      {"\"0xF4\":1,\"0xF2\":\"0xFFFF\",\"0xF0\":\"0xFFFF\"", 1, -1, -1, -1, -1},
      {"\"0xF4\":\"0xFFFF\",\"0xF2\":0,\"0xF0\":\"0x10\"", 0, -1, -1, -1, -1},
  };
  for (const auto& c : cases) {
    Probed chip(c.regs);
    chip.driver.OperatingMode();
    int16_t m, eq, fec, sync, afc;
    chip.driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}),
              std::vector<int16_t>({c.m, c.eq, c.fec, c.sync, c.afc}))
        << c.regs;
  }
}

TEST(s5h1411, ReadingsAndTheirTexts) {
  Probed chip(
      "\"0xF0\":\"0x1A\",\"0xF1\":\"0xF2F0\",\"0xF2\":0,\"0x49\":\"0xFFFF\",\"0x4A\":\"0x0010\","
      "\"0x4B\":\"0x12\",\"0x4C\":0,\"0x47\":\"0xABCD\",\"0x48\":7,\"0xC9\":\"0xFFFF\","
      "\"0xCB\":300,\"0x08\":\"0x1111\"",
      "\"0x08\":\"0x85FF\"");
  struct Case {
    Value got;
    std::string text;
  } cases[] = {
      {chip.driver.SNRRegisters(), "1A / F2F0 / 0"},
      {chip.driver.CarrierOffset(), "-65520"},
      {chip.driver.CarrierOffsetHex(), "FFFF 10"},
      {chip.driver.SymbolTiming(), "12 0"},
      {chip.driver.AutoFreq(), "ABCD 7"},
      {chip.driver.UncorrectableErrors(), "-1"},
      {chip.driver.PostVeterbiErrors(), "300"},
      {chip.driver.AGCPowerRef(), "-31233"},  // from the second address
      {chip.driver.PilotPwr(), "0"},
      {chip.driver.IFGain(), "0"},
      {chip.driver.STRTime(), "0"},
      {chip.driver.FreqOffset(), "0"},
      {chip.driver.BERctr(), "0"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got.Text(), cases[i].text) << i;
  EXPECT_EQ(chip.driver.name(), "CX24228");
}

TEST(s5h1411, GateAndSleepWriteTheWholeRegister) {
  Probed chip("\"0xF5\":\"0x00F0\",\"0xF4\":\"0x0F00\"");
  EXPECT_EQ(chip.driver.Passthru(), 0);
  EXPECT_EQ(chip.driver.Sleep(), 0);
  chip.rec.calls.clear();
  chip.driver.Passthru(1);
  chip.driver.Sleep(1);
  ASSERT_EQ(chip.rec.calls.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(chip.rec.calls[i].kind, BusRecorder::Call::Write);
    EXPECT_EQ(chip.rec.calls[i].mode, 1);
    EXPECT_EQ(chip.rec.calls[i].address, 0x32);
    EXPECT_EQ(chip.rec.calls[i].written, std::vector<uint8_t>({0x00, 0x01}));
  }
  EXPECT_EQ(chip.rec.calls[0].sub, 0xF5);
  EXPECT_EQ(chip.rec.calls[1].sub, 0xF4);
  EXPECT_EQ(chip.driver.Passthru(), 1);
  EXPECT_EQ(chip.driver.Sleep(), 1);
  EXPECT_EQ(chip.driver.OperatingMode(), Mode::Sleep);
  chip.driver.Sleep(0);
  EXPECT_EQ(chip.b.device(0x32).GetRegister(0xF4), 0);
  EXPECT_EQ(chip.driver.OperatingMode(), Mode::Vsb8);
}

TEST(s5h1411, BuiltInBoardShowsALockedWanderingSignal) {
  std::string error;
  auto board = MakeBuiltInBoard("s5h1411", error);
  ASSERT_NE(board, nullptr) << error;
  double now = 0;
  board->SetClock([&] { return now; });
  Bus bus(*board);
  bus.handle = board->velI2C_InitByType(24, 0);
  FakeView view;
  Detection detection(BuiltInDrivers(bus, view));
  ASSERT_EQ(detection.Run(), 0);
  ASSERT_EQ(detection.currentClass(), "s5h1411");
  Demodulator& driver = *detection.current();
  std::set<float> seen;
  for (now = 0; now < 40; now += 4) {
    int16_t mode = driver.OperatingMode(), reset = 1;
    EXPECT_EQ(mode, Mode::Vsb8);
    float avg;
    int32_t color;
    seen.insert(driver.SNR(mode, avg, color, reset));
    EXPECT_EQ(color, Color::Green);
    int16_t m, eq, fec, sync, afc;
    driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync}), std::vector<int16_t>({1, 1, 1, 1}));
  }
  EXPECT_GT(seen.size(), 1u);
  EXPECT_GT(driver.AGCPowerRef().Number(), 0x600);
  // A chip at the main address alone is not this one.
  auto single = MakeBuiltInBoard("s5h1409", error);
  Bus other(*single);
  other.handle = single->velI2C_InitByType(24, 0);
  EXPECT_FALSE(s5h1411(other, view).probe());
}

}  // namespace
