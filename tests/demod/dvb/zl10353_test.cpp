#include "demod/dvb/zl10353.h"

#include <gtest/gtest.h>

#include "demod/dvb/DvbChip.h"
#include "monitor/Codes.h"

namespace {

using Chip = DvbChip<zl10353>;
using Scripted = ScriptedDvb<zl10353>;

std::string Regs(int a, int b) {
  return "\"0x1F\":" + std::to_string(a) + ",\"0x20\":" + std::to_string(b);
}

TEST(zl10353, ProbeFindsTheDeviceThenChecksItsIdentity) {
  struct Case {
    std::vector<uint8_t> results;  // library results in call order, then success
    int identity;
    bool found;
    int address;  // where later reads go
    size_t calls;
  } cases[] = {
      {{1}, 0x14, false, 0, 1},
      {{}, 0x14, true, 0x1E, 2},
      {{}, 0x15, false, 0x1E, 2},
      {{}, 0x00, false, 0x1E, 2},
      {{0, 1, 1, 1, 1}, 0x14, false, 0x1E, 5},  // identity read fails: 0xFF
      {{0, 1, 1, 1}, 0x14, true, 0x1E, 5},
  };
  for (const auto& c : cases) {
    Scripted s;
    s.fake.results.assign(c.results.begin(), c.results.end());
    s.fake.readData[0x7F] = {uint8_t(c.identity)};
    EXPECT_EQ(s.driver.probe(), c.found) << c.identity;
    ASSERT_EQ(s.fake.calls.size(), c.calls);
    const auto& first = s.fake.calls[0];
    EXPECT_EQ(first.kind, FakeI2c::Call::Read);
    EXPECT_EQ(first.mode, 0);
    EXPECT_EQ(first.address, 0x1E);
    EXPECT_EQ(first.sub, 0);
    EXPECT_EQ(first.count, 1);
    if (c.calls > 1) {
      EXPECT_EQ(s.fake.calls[1].sub, 0x7F);
    }
    s.fake.calls.clear();
    s.fake.results.clear();
    s.driver.OperatingMode();
    EXPECT_EQ(s.fake.calls.at(0).address, c.address);
  }
  Scripted s;
  EXPECT_EQ(s.driver.name(), "ZL10353");
}

TEST(zl10353, TpsDecodingOfEveryField) {
  struct Case {
    int a, b;
    std::vector<int16_t> tps;  // modulation, hierarchy, select, rate, guard, fft
  } cases[] = {
      {0x40, 0x85, {2, 0, 0, 1, 1, 1}},     // QAM64, 2/3, 1/16, 8K
      {0x4A, 0x0D, {2, 2, 0, 4, 3, -1}},
      {0x00, 0x00, {0, 0, 0, 0, 0, 0}},
      {0x20, 0x00, {1, 0, 0, 0, 0, 0}},
      {0x60, 0x00, {-1, 0, 0, 0, 0, 0}},    // constellation 3 is unknown
      {0x0C, 0x00, {0, 3, 0, 0, 0, 0}},
      {0x10, 0x00, {0, -1, 0, 0, 0, 0}},    // hierarchy 4..7 unknown
      {0x1C, 0x00, {0, -1, 0, 0, 0, 0}},
      {0x01, 0x80, {0, 0, 0, 3, 0, 0}},     // high-priority rate spans both bytes
      {0x02, 0x00, {0, 0, 0, 4, 0, 0}},
      {0x02, 0x80, {0, 0, 0, -1, 0, 0}},    // rates 5..7 unknown
      {0x03, 0x80, {0, 0, 0, -1, 0, 0}},
      {0x00, 0x70, {0, 0, 0, 0, 0, 0}},     // low-priority rate ignored for HP
      {0x80, 0x18, {0, 0, 1, 3, 2, -1}},    // LP: rate from bits 3..5
      {0x83, 0x80, {0, 0, 1, 0, 0, 0}},     // LP ignores the HP rate
      {0x80, 0x20, {0, 0, 1, 4, 0, 0}},
      {0x80, 0x28, {0, 0, 1, -1, 2, -1}},
      {0x00, 0x04, {0, 0, 0, 0, 1, 1}},    // FFT shares the guard bits
      {0x00, 0x0C, {0, 0, 0, 0, 3, -1}},
      {0x00, 0x08, {0, 0, 0, 0, 2, -1}},    // FFT codes 2 and 3 unknown
      {0x00, 0x03, {0, 0, 0, 0, 0, 0}},     // bits 0..1 carry nothing
      {0xFF, 0xFF, {-1, -1, 1, -1, 3, -1}}, // dead bus
  };
  for (const auto& c : cases) {
    Chip chip("zl10353", Regs(c.a, c.b));
    EXPECT_EQ(chip.Tps(), std::vector<int16_t>(6, 0)) << "before any mode read";
    EXPECT_EQ(chip.driver.OperatingMode(), Mode::DvbT);
    EXPECT_EQ(chip.Tps(), c.tps) << std::hex << c.a << " " << c.b;
  }
}

TEST(zl10353, TpsChangesOnlyWhenTheModeIsRead) {
  Chip chip("zl10353", Regs(0x40, 0x85));
  chip.driver.OperatingMode();
  chip.Set(0x1F, 0x20);
  int16_t mode = 0, reset = 0;
  float avg;
  int32_t color;
  chip.driver.SNR(mode, avg, color, reset);
  EXPECT_EQ(chip.Tps(), (std::vector<int16_t>{2, 0, 0, 1, 1, 1}));
  chip.driver.OperatingMode();
  EXPECT_EQ(chip.Tps()[0], 1);
}

TEST(zl10353, SnrInEighthsOfADbColouredByTheWindow) {
  struct Case {
    int raw;
    float snr;
  } cases[] = {{0xA5, 20.6f}, {20, 2.5f}, {2, 0.2f}, {6, 0.8f}, {0, 0}, {255, 31.9f}, {184, 23}};
  for (const auto& c : cases) {
    Chip chip("zl10353", "\"0x10\":" + std::to_string(c.raw));
    chip.view.colorizeResult = 0x0080FF;
    int16_t mode = 0, reset = -1;
    float avg = -7;
    int32_t color = 0;
    EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), c.snr) << c.raw;
    EXPECT_EQ(reset, 0);
    EXPECT_FLOAT_EQ(avg, c.snr);
    EXPECT_EQ(chip.b.bus->SnrSlot(1), c.raw);
    EXPECT_EQ(chip.view.colorizeCalls, 1);
    EXPECT_FLOAT_EQ(chip.view.lastColorized, c.snr);
    EXPECT_EQ(color, 0x0080FF);
  }
}

TEST(zl10353, SnrAverageIsOverRawReadingsWithoutReset) {
  Chip chip("zl10353", "\"0x10\":40");
  int16_t mode = 0, reset = 1;
  float avg;
  int32_t color;
  chip.driver.SNR(mode, avg, color, reset);
  chip.Set(0x10, 40 + 19 * 8);  // the mean takes a nineteenth of the step
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 24);
  EXPECT_FLOAT_EQ(avg, 6);
  EXPECT_EQ(reset, 0);
}

TEST(zl10353, LockBitsAndTheSyncCaption) {
  struct Case {
    int a, b;
    std::vector<int16_t> locks;  // master, EQ, FEC, sync, AFC
  } cases[] = {
      {0x65, 0x20, {1, 1, 1, 1, 1}}, {0x40, 0x00, {1, 0, 0, 0, 0}}, {0x04, 0x00, {0, 1, 0, 0, 0}},
      {0x20, 0x00, {0, 0, 1, 0, 0}}, {0x00, 0x20, {0, 0, 0, 1, 0}}, {0x01, 0x00, {0, 0, 0, 0, 1}},
      {0x9A, 0xDF, {0, 0, 0, 0, 0}}, {0xFF, 0xFF, {1, 1, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    Chip chip("zl10353", "\"0x06\":" + std::to_string(c.a) + ",\"0x07\":" + std::to_string(c.b));
    EXPECT_EQ(chip.Locks(), c.locks) << std::hex << c.a << " " << c.b;
    EXPECT_EQ(chip.view.captions["lblVSBSync"], "DSCR Lock");
    chip.view.captions.clear();
    chip.Locks();
    EXPECT_EQ(chip.view.captions["lblVSBSync"], "DSCR Lock") << "written on every call";
  }
}

TEST(zl10353, UncorrectableCountIsSigned16BitWithNegativeAsZero) {
  struct Case {
    int high, low;
    double count;
  } cases[] = {{0x01, 0x00, 256}, {0x00, 0x05, 5},  {0x7F, 0xFF, 32767},
               {0x80, 0x00, 0},   {0xFF, 0xFF, 0},  {0x12, 0x34, 0x1234}};
  for (const auto& c : cases) {
    Chip chip("zl10353",
              "\"0x14\":" + std::to_string(c.high) + ",\"0x15\":" + std::to_string(c.low));
    EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), c.count) << c.high << " " << c.low;
    EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), c.count) << "not reset by reading";
  }
}

TEST(zl10353, BitErrorRatioOverItsPeriod) {
  struct Case {
    std::string regs;
    double ratio;
  } cases[] = {
      {"\"0x11\":0,\"0x12\":1,\"0x13\":0,\"0x60\":0,\"0x61\":1", 256.0 / (1024 * 1632)},
      {"\"0x11\":1,\"0x12\":2,\"0x13\":3,\"0x60\":2,\"0x61\":0", 0x010203 / (512.0 * 1024 * 1632)},
      {"\"0x11\":255,\"0x12\":255,\"0x13\":255,\"0x60\":255,\"0x61\":255",
       16777215.0 / (65535.0 * 1024 * 1632)},
      {"\"0x11\":0,\"0x12\":0,\"0x13\":0,\"0x60\":0,\"0x61\":64", 0},
      {"\"0x11\":9,\"0x12\":9,\"0x13\":9,\"0x60\":0,\"0x61\":0", 0},  // nothing measured
  };
  for (const auto& c : cases) {
    Chip chip("zl10353", c.regs);
    EXPECT_DOUBLE_EQ(chip.driver.PostVeterbiErrors().Number(), c.ratio) << c.regs;
  }
}

TEST(zl10353, RegisterReadOrderPerMember) {
  struct Case {
    const char* member;
    std::vector<int> subs;
  } cases[] = {
      {"OperatingMode", {0x1F, 0x20}},
      {"SNR", {0x10}},
      {"GetLockStatus", {0x06, 0x07}},
      {"UncorrectableErrors", {0x14, 0x15}},
      {"PostVeterbiErrors", {0x60, 0x61, 0x11, 0x12, 0x13}},
      {"GetTPS", {}},
  };
  for (const auto& c : cases) {
    Scripted s;
    s.fake.readData[0x7F] = {0x14};
    ASSERT_TRUE(s.driver.probe());
    s.fake.calls.clear();
    std::string member = c.member;
    int16_t mode = 0, reset = 0, x;
    float avg;
    int32_t color;
    if (member == "OperatingMode") s.driver.OperatingMode();
    if (member == "SNR") s.driver.SNR(mode, avg, color, reset);
    if (member == "GetLockStatus") s.driver.GetLockStatus(x, x, x, x, x);
    if (member == "UncorrectableErrors") s.driver.UncorrectableErrors();
    if (member == "PostVeterbiErrors") s.driver.PostVeterbiErrors();
    if (member == "GetTPS") s.driver.GetTPS(x, x, x, x, x, x);
    EXPECT_EQ(s.RegisterReads(), c.subs) << member;
    EXPECT_EQ(s.fake.calls.size(), c.subs.size()) << member << ": reads only";
    for (const auto& call : s.fake.calls) EXPECT_EQ(call.address, 0x1E);
  }
}

}  // namespace
