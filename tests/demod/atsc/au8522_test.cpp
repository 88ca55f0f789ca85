#include "demod/atsc/au8522.h"

#include <gtest/gtest.h>

#include <set>

#include "BusRecorder.h"
#include "monitor/Codes.h"
#include "monitor/Detection.h"
#include "sim/SimRegistry.h"
#include "support/FakeI2c.h"
#include "support/FakeView.h"
#include "support/SimFixture.h"

namespace {

// A probed driver on a board file, with every later bus call recorded.
struct Chip {
  FileBoard b;
  BusRecorder rec;
  Bus bus;
  FakeView view;
  au8522 driver;
  explicit Chip(const std::string& regs)
      : b(OneChip("au8522", regs)), rec(*b.board), bus(rec), driver(bus, view) {
    bus.handle = b.bus->handle;
    EXPECT_TRUE(driver.probe());
    rec.calls.clear();
  }
  // The registers read so far, from their command bytes.
  std::vector<int> Registers() const {
    std::vector<int> out;
    for (const auto& c : rec.calls) out.push_back((c.written[0] & 0x0F) << 8 | c.written[1]);
    return out;
  }
};

TEST(au8522, ProbeIsOnePlainReadAtItsAddress) {
  for (uint8_t answer : {0, 1}) {
    FakeI2c fake;
    Bus bus(fake);
    bus.handle = 9;
    FakeView view;
    au8522 driver(bus, view);
    fake.fallback = answer;
    EXPECT_EQ(driver.probe(), answer == 0);
    ASSERT_EQ(fake.calls.size(), 1u);
    const auto& call = fake.calls[0];
    EXPECT_EQ(call.kind, FakeI2c::Call::Read);
    EXPECT_EQ(std::vector<int>({int(call.handle), call.mode, call.address, call.sub, call.count}),
              std::vector<int>({9, 0, 0x8E, 0, 1}));
  }
}

TEST(au8522, RegisterReadsAreThreeByteCommandsWithFourAttempts) {
  struct Case {
    int16_t (au8522::*member)();
    std::vector<uint8_t> command;
    std::deque<uint8_t> results;
    size_t attempts;
    int16_t value;
  } cases[] = {
      {&au8522::QAMCorrectableErrors, {0x45, 0x42, 0x11}, {}, 1, 0x21},
      {&au8522::QAMUncorrectableErrors, {0x45, 0x43, 0x11}, {1, 1, 0}, 3, 0x21},
      {&au8522::VSBCorrectableErrors, {0x40, 0x86, 0x11}, {1, 1, 1, 0}, 4, 0x21},
      {&au8522::VSBUncorrectableErrors, {0x40, 0x87, 0x11}, {1, 1, 1, 1}, 4, 0xFF},
  };
  for (const auto& c : cases) {
    FakeI2c fake;
    Bus bus(fake);
    FakeView view;
    au8522 driver(bus, view);
    ASSERT_TRUE(driver.probe());
    fake.calls.clear();
    fake.results = c.results;
    fake.readData[c.command[0] << 8 | c.command[1]] = {0x21};
    EXPECT_EQ((driver.*c.member)(), c.value);
    ASSERT_EQ(fake.calls.size(), c.attempts);
    for (const auto& call : fake.calls) {
      EXPECT_EQ(call.kind, FakeI2c::Call::WriteRead);
      EXPECT_EQ(call.address, 0x8E);
      EXPECT_EQ(call.count, 1);
      EXPECT_EQ(call.bytes, c.command);
    }
  }
}

TEST(au8522, OperatingModeDecoding) {
  struct Case {
    std::string regs;
    int16_t mode;
    std::vector<int> read;
  } cases[] = {
      {"\"0x0A4\":\"0x20\"", Mode::Vsb8, {0x0A4}},
      {"\"0x0A4\":\"0xFF\"", Mode::Vsb8, {0x0A4}},  // a failed read
      {"\"0x0A4\":\"0x02\",\"0x502\":1", Mode::Qam256, {0x0A4, 0x502}},
      {"\"0x0A4\":\"0x02\",\"0x502\":\"0xFE\"", Mode::Qam64, {0x0A4, 0x502}},
      {"\"0x0A4\":\"0xCF\",\"0x502\":0", Mode::Qam64, {0x0A4, 0x502}},
      {"\"0x0A4\":\"0x12\",\"0x502\":1", Mode::Sleep, {0x0A4}},
      {"\"0x0A4\":\"0x10\"", Mode::Sleep, {0x0A4}},
      {"\"0x0A4\":\"0x00\"", Mode::Sleep, {0x0A4}},
      {"\"0x0A4\":\"0xDD\"", Mode::Sleep, {0x0A4}},
  };
  for (const auto& c : cases) {
    Chip chip(c.regs);
    EXPECT_EQ(chip.driver.OperatingMode(), c.mode) << c.regs;
    EXPECT_EQ(chip.Registers(), c.read) << c.regs;
  }
}

struct Row {
  int32_t last, tenths;
};
const Row kVsb[] = {{1, 270},  {2, 250},  {3, 240},  {5, 230},  {7, 220},  {9, 210},
                    {12, 200}, {13, 195}, {15, 190}, {17, 185}, {19, 180}, {21, 175},
                    {24, 170}, {27, 165}, {31, 160}, {32, 158}, {33, 156}, {34, 154},
                    {36, 152}, {37, 150}, {39, 148}, {40, 146}, {41, 144}, {43, 142},
                    {44, 140}, {48, 135}, {50, 130}, {53, 125}, {56, 120}, {255, 115}};
const Row kQam64[] = {
    {16, 290},  {17, 288},  {18, 286},  {19, 284},  {20, 282},  {21, 281},  {22, 279},
    {23, 277},  {24, 275},  {25, 273},  {26, 271},  {27, 269},  {28, 268},  {29, 266},
    {30, 264},  {31, 262},  {32, 260},  {33, 259},  {34, 258},  {35, 256},  {36, 255},
    {37, 254},  {38, 252},  {39, 251},  {40, 250},  {41, 249},  {42, 248},  {43, 246},
    {44, 245},  {45, 244},  {46, 242},  {47, 241},  {48, 240},  {50, 239},  {51, 238},
    {53, 237},  {54, 236},  {56, 235},  {57, 234},  {59, 233},  {60, 232},  {62, 231},
    {63, 230},  {65, 229},  {67, 228},  {68, 227},  {70, 226},  {71, 225},  {73, 224},
    {74, 223},  {76, 222},  {78, 221},  {80, 220},  {82, 219},  {85, 218},  {88, 217},
    {90, 216},  {92, 215},  {93, 214},  {94, 212},  {95, 211},  {97, 210},  {99, 209},
    {101, 208}, {102, 207}, {104, 206}, {107, 205}, {111, 204}, {114, 203}, {118, 202},
    {122, 201}, {125, 200}, {128, 199}, {130, 198}, {132, 197}, {255, 190}};
const Row kQam256[] = {
    {17, 400}, {18, 398}, {19, 396}, {20, 394}, {21, 392}, {22, 390}, {23, 388}, {24, 386},
    {25, 384}, {26, 382}, {27, 380}, {28, 379}, {29, 378}, {30, 377}, {31, 376}, {32, 375},
    {33, 374}, {34, 373}, {35, 372}, {36, 371}, {37, 370}, {38, 362}, {39, 354}, {40, 346},
    {41, 338}, {42, 330}, {43, 328}, {44, 326}, {45, 324}, {46, 322}, {47, 320}, {48, 319},
    {49, 318}, {50, 317}, {51, 316}, {52, 315}, {53, 314}, {54, 313}, {55, 312}, {56, 311},
    {57, 310}, {58, 308}, {59, 306}, {60, 304}, {61, 302}, {62, 300}, {63, 298}, {65, 295},
    {68, 294}, {70, 293}, {73, 292}, {76, 291}, {78, 290}, {79, 289}, {81, 288}, {82, 287},
    {83, 286}, {84, 285}, {85, 284}, {86, 283}, {88, 282}, {89, 281}, {255, 280}};

TEST(au8522, SnrTablesAtEveryRowBoundaryAndPastTheirEnds) {
  struct Table {
    int16_t mode;
    const Row* rows;
    size_t count;
  } tables[] = {{Mode::Vsb8, kVsb, std::size(kVsb)},
                {Mode::Qam64, kQam64, std::size(kQam64)},
                {Mode::Qam256, kQam256, std::size(kQam256)}};
  for (const auto& t : tables) {
    EXPECT_EQ(au8522::SnrToDb(t.mode, 0), float(t.rows[0].tenths) / 10) << t.mode;
    for (size_t i = 0; i < t.count; ++i) {
      float db = float(t.rows[i].tenths) / 10;
      EXPECT_EQ(au8522::SnrToDb(t.mode, t.rows[i].last), db) << t.mode << " " << t.rows[i].last;
      if (i + 1 < t.count) {
        EXPECT_EQ(au8522::SnrToDb(t.mode, t.rows[i].last + 1), float(t.rows[i + 1].tenths) / 10)
            << t.mode << " " << t.rows[i].last + 1;
      }
    }
  }
  for (int16_t mode : {Mode::None, Mode::Sleep, Mode::DvbT})
    for (int error : {0, 13, 255}) EXPECT_EQ(au8522::SnrToDb(mode, error), 0) << mode;
}

TEST(au8522, ColoursAtTheirEdges) {
  struct Case {
    int16_t mode;
    float snr;
    int32_t color;
  } cases[] = {
      {Mode::Vsb8, 14.9f, Color::Red},      {Mode::Vsb8, 15.0f, Color::Orange},
      {Mode::Vsb8, 15.9f, Color::Orange},   {Mode::Vsb8, 16.0f, Color::Yellow},
      {Mode::Vsb8, 16.9f, Color::Yellow},   {Mode::Vsb8, 17.0f, Color::Green},
      {Mode::Qam64, 27.9f, Color::Red},     {Mode::Qam64, 28.0f, Color::Orange},
      {Mode::Qam64, 29.9f, Color::Orange},  {Mode::Qam64, 30.0f, Color::Yellow},
      {Mode::Qam64, 33.9f, Color::Yellow},  {Mode::Qam64, 34.0f, Color::Green},
      {Mode::Qam256, 27.9f, Color::Red},    {Mode::Qam256, 28.0f, Color::Orange},
      {Mode::Qam256, 30.0f, Color::Yellow}, {Mode::Qam256, 34.0f, Color::Green},
      {Mode::Sleep, -0.1f, Color::Red},     {Mode::Sleep, 0.0f, Color::Green},
  };
  for (const auto& c : cases) EXPECT_EQ(au8522::Colorize(c.mode, c.snr), c.color) << c.snr;
}

TEST(au8522, SnrFollowsTheCurrentModeNotItsArgument) {
  struct Case {
    std::string regs;
    float snr;
    int32_t color;
    std::vector<int> read;  // after OperatingMode
  } cases[] = {
      {"\"0x0A4\":\"0x20\",\"0x311\":13,\"0x522\":0", 19.5f, Color::Green, {0x311}},
      {"\"0x0A4\":\"0x20\",\"0x311\":37", 15.0f, Color::Orange, {0x311}},
      {"\"0x0A4\":\"0x20\",\"0x311\":255", 11.5f, Color::Red, {0x311}},
      {"\"0x0A4\":2,\"0x502\":1,\"0x522\":40,\"0x311\":0", 34.6f, Color::Green, {0x522}},
      {"\"0x0A4\":2,\"0x502\":1,\"0x522\":62", 30.0f, Color::Yellow, {0x522}},
      {"\"0x0A4\":2,\"0x502\":0,\"0x522\":200", 19.0f, Color::Red, {0x522}},
      {"\"0x0A4\":2,\"0x502\":0,\"0x522\":16", 29.0f, Color::Orange, {0x522}},
      {"\"0x0A4\":0,\"0x311\":13,\"0x522\":13", 0, Color::Green, {}},
  };
  for (const auto& c : cases) {
    Chip chip(c.regs);
    chip.driver.OperatingMode();
    chip.rec.calls.clear();
    int16_t mode = Mode::DvbT, reset = 1;
    float avg = -1;
    int32_t color = 0;
    EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), c.snr) << c.regs;
    EXPECT_FLOAT_EQ(avg, c.snr) << c.regs;
    EXPECT_EQ(color, c.color) << c.regs;
    EXPECT_EQ(reset, 0);
    EXPECT_EQ(chip.Registers(), c.read) << c.regs;
  }
}

TEST(au8522, TheAverageIsRoundedDownBeforeTheLookup) {
  Chip chip("\"0x0A4\":\"0x20\",\"0x311\":12");
  chip.driver.OperatingMode();
  int16_t mode = Mode::Vsb8, reset = 1;
  float avg;
  int32_t color;
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 20.0f);
  std::string why;
  chip.b.device(0x8E).SetRegister(0x311, 23, why);
  // (18 * 12 + 23) / 19 = 12.58: looked up as 12 (20.0 dB), not 13 (19.5).
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 17.0f);
  EXPECT_FLOAT_EQ(avg, 20.0f);
  EXPECT_EQ(chip.bus.SnrSlot(19), 23);
}

TEST(au8522, LockBitsByModeAndTheRelabelledLamps) {
  struct Case {
    std::string regs;
    int16_t m, eq, fec, sync, afc;
    std::vector<int> read;  // after OperatingMode
  } cases[] = {
      {"\"0x0A4\":\"0x20\",\"0x088\":3", 1, -1, -1, 1, 1, {0x088}},
      {"\"0x0A4\":\"0x20\",\"0x088\":\"0xFD\"", 0, -1, -1, 1, 0, {0x088}},
      {"\"0x0A4\":\"0x20\",\"0x088\":2", 0, -1, -1, 0, 1, {0x088}},
      {"\"0x0A4\":\"0x20\",\"0x088\":0", 0, -1, -1, 0, 0, {0x088}},
      {"\"0x0A4\":2,\"0x541\":\"0xA0\"", 1, 1, 1, -1, -1, {0x541}},
      {"\"0x0A4\":2,\"0x541\":\"0xAF\"", 1, 1, 1, -1, -1, {0x541}},
      {"\"0x0A4\":2,\"0x502\":1,\"0x541\":\"0xE0\"", 0, 1, 0, -1, -1, {0x541}},
      {"\"0x0A4\":2,\"0x541\":\"0x60\"", 0, 1, 0, -1, -1, {0x541}},
      {"\"0x0A4\":2,\"0x541\":\"0x90\"", 0, 0, 1, -1, -1, {0x541}},
      {"\"0x0A4\":2,\"0x541\":\"0xB0\"", 0, 0, 1, -1, -1, {0x541}},
      {"\"0x0A4\":2,\"0x541\":\"0xFF\"", 0, 0, 0, -1, -1, {0x541}},
      {"\"0x0A4\":\"0x12\",\"0x088\":3,\"0x541\":\"0xA0\"", -1, -1, -1, -1, -1, {}},
  };
  for (const auto& c : cases) {
    Chip chip(c.regs);
    chip.driver.OperatingMode();
    chip.rec.calls.clear();
    int16_t m = 9, eq = 9, fec = 9, sync = 9, afc = 9;
    chip.driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}),
              std::vector<int16_t>({c.m, c.eq, c.fec, c.sync, c.afc}))
        << c.regs;
    EXPECT_EQ(chip.Registers(), c.read) << c.regs;
    EXPECT_EQ(chip.view.captions, (std::map<std::string, std::string>{
                                      {"lblEQLock", "TS Sync"},
                                      {"lblAFCLock", "Segment Sync"},
                                      {"lblVSBSync", "Field Sync"}}));
  }
}

TEST(au8522, ErrorCountersPickThePairOfTheCurrentMode) {
  struct Case {
    std::string mode;
    int uncorrectable, corrected;
  } cases[] = {{"\"0x0A4\":\"0x20\"", 7, 6}, {"\"0x0A4\":2", 0x43, 0x42},
               {"\"0x0A4\":2,\"0x502\":1", 0x43, 0x42}, {"\"0x0A4\":0", 0, 0}};
  for (const auto& c : cases) {
    Chip chip(c.mode + ",\"0x086\":6,\"0x087\":7,\"0x542\":\"0x42\",\"0x543\":\"0x43\"");
    chip.driver.OperatingMode();
    EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), c.uncorrectable) << c.mode;
    EXPECT_EQ(chip.driver.PostVeterbiErrors().Number(), c.corrected) << c.mode;
    EXPECT_EQ(chip.driver.VSBUncorrectableErrors(), 7);
    EXPECT_EQ(chip.driver.VSBCorrectableErrors(), 6);
    EXPECT_EQ(chip.driver.QAMUncorrectableErrors(), 0x43);
    EXPECT_EQ(chip.driver.QAMCorrectableErrors(), 0x42);
  }
}

TEST(au8522, NeutralReadingsMakeNoBusTraffic) {
  Chip chip("");
  chip.driver.Passthru(1);
  chip.driver.Sleep(1);
  struct Case {
    Value got;
    std::string text;
  } cases[] = {
      {chip.driver.SNRRegisters(), " "}, {chip.driver.CarrierOffsetHex(), ""},
      {chip.driver.SymbolTiming(), ""},  {chip.driver.AutoFreq(), "0"},
      {chip.driver.PilotPwr(), "0"},     {chip.driver.IFGain(), "0"},
      {chip.driver.STRTime(), "0"},      {chip.driver.FreqOffset(), "0"},
      {chip.driver.AGCPowerRef(), "0"},  {chip.driver.BERctr(), "0"},
      {chip.driver.Passthru(), "0"},     {chip.driver.Sleep(), "0"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got.Text(), cases[i].text) << i;
  EXPECT_TRUE(chip.driver.CarrierOffset().IsEmpty());
  EXPECT_TRUE(chip.rec.calls.empty());
  EXPECT_EQ(chip.driver.name(), "AU8522");
}

TEST(au8522, ModelAnswersOnlyItsCommands) {
  FileBoard b(OneChip("au8522", "\"0x543\":\"0x5A\""));
  struct Case {
    std::vector<uint8_t> command;
    bool answers;
    uint8_t value;
  } cases[] = {{{0x45, 0x43, 0x11}, true, 0x5A},
               {{0x45, 0x43}, false, 0},
               {{0x05, 0x43, 0x11}, false, 0},
               {{0x80 | 0x05, 0x43, 0x77}, false, 0}};
  for (auto c : cases) {
    uint8_t in = 0;
    EXPECT_EQ(b.board->velI2C_WriteRead(b.bus->handle, 0x8E, 0, 0, int32_t(c.command.size()),
                                        c.command.data(), 0, 0, 1, &in) == 0,
              c.answers);
    if (c.answers) {
      EXPECT_EQ(in, c.value);
    }
  }
  uint8_t write[] = {0x43, 0x77};  // 0x85 0x43 0x77 with the sub-address first
  EXPECT_EQ(b.board->velI2C_WriteArray(b.bus->handle, 1, 0x8E, 0x85, 2, write), 0);
  EXPECT_EQ(b.device(0x8E).GetRegister(0x543), 0x77);
}

TEST(au8522, BuiltInBoardShowsALockedWanderingSignal) {
  std::string error;
  auto board = MakeBuiltInBoard("au8522", error);
  ASSERT_NE(board, nullptr) << error;
  double now = 0;
  board->SetClock([&] { return now; });
  Bus bus(*board);
  bus.handle = board->velI2C_InitByType(24, 0);
  FakeView view;
  Detection detection(BuiltInDrivers(bus, view));
  ASSERT_EQ(detection.Run(), 0);
  ASSERT_EQ(detection.currentClass(), "au8522");
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
    EXPECT_EQ(m, 1);
  }
  EXPECT_GT(seen.size(), 1u);
}

}  // namespace
