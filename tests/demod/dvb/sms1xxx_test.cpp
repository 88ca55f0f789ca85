#include "demod/dvb/sms1xxx.h"

#include <gtest/gtest.h>

#include "demod/dvb/DvbRig.h"
#include "monitor/Codes.h"

namespace {

struct SmsRig : Rig<sms1xxx, AddressedI2c> {
  SmsRig() {
    fake.present = {0xC6};
    Set8(0x1F, 0x73);
    EXPECT_TRUE(driver.probe());
    fake.calls.clear();
  }
  void Block(uint32_t d0, uint32_t d1, uint32_t d2, uint32_t d3, uint32_t d4) {
    fake.readData[0] = StatsBlock(d0, d1, d2, d3, d4);
  }
  std::vector<int16_t> Tps() {
    int16_t t[6] = {9, 9, 9, 9, 9, 9};
    driver.GetTPS(t[0], t[1], t[2], t[3], t[4], t[5]);
    return {t, t + 6};
  }
};

TEST(sms1xxx, ProbeIsOnePlainReadThenTheIdentityRegister) {
  struct Case {
    bool present;
    int id;
    bool found;
    size_t calls;
  } cases[] = {{false, 0x73, false, 1},
               {true, 0x73, true, 2},
               {true, 0x72, false, 2},
               {true, 0xF3, false, 2}};
  for (const auto& c : cases) {
    Rig<sms1xxx, AddressedI2c> rig;
    if (c.present) rig.fake.present = {0xC6};
    rig.Set8(0x1F, c.id);
    EXPECT_EQ(rig.driver.probe(), c.found) << c.id;
    ASSERT_EQ(rig.fake.calls.size(), c.calls);
    const auto& presence = rig.fake.calls[0];
    EXPECT_EQ(std::vector<int>({presence.mode, presence.address, presence.sub, presence.count}),
              std::vector<int>({0, 0xC6, 0, 1}));
    if (c.calls > 1) {
      EXPECT_EQ(rig.fake.calls[1].mode, 1);
      EXPECT_EQ(rig.fake.calls[1].sub, 0x1F);
    }
    EXPECT_EQ(rig.driver.name(), "SMS1XXX");
  }
}

TEST(sms1xxx, StatisticsBlockWordsAttemptsAndFailures) {
  const std::vector<int32_t> counting = {0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D,
                                         0x14131211};
  struct Case {
    int failures;  // failed attempts before the chip answers
    std::vector<uint8_t> block;
    std::vector<int32_t> words;
    size_t attempts;
  } cases[] = {
      {0, StatsBlock(0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D, 0x14131211), counting, 1},
      {3, StatsBlock(0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D, 0x14131211), counting, 4},
      {4, StatsBlock(1, 2, 3, 4, 5), {0, 0, 0, 0, 0}, 4},  // the words keep what was passed
      {0,
       StatsBlock(0x80000000, 0xFFFFFFFF, 0xFFFFFF00, 0xFFFFFFFE, 0x80000001),
       {INT32_MIN, -1, -256, -2, INT32_MIN + 1},
       1},
  };
  for (const auto& c : cases) {
    SmsRig rig;
    rig.fake.readData[0] = c.block;
    for (int i = 0; i < c.failures; ++i) rig.fake.results.push_back(1);
    int32_t d[5] = {0, 0, 0, 0, 0};
    rig.driver.ReadDemodStats(0xC6, 0, d[0], d[1], d[2], d[3], d[4]);
    EXPECT_EQ(std::vector<int32_t>(d, d + 5), c.words) << c.failures;
    ASSERT_EQ(rig.fake.calls.size(), c.attempts);
    for (const auto& call : rig.fake.calls)
      EXPECT_EQ(std::vector<int>({call.mode, call.address, call.sub, call.count}),
                std::vector<int>({1, 0xC6, 0, 20}));
  }
}

TEST(sms1xxx, TransmissionParametersAndTheirUnknownCodes) {
  struct Case {
    uint32_t d0, d1;
    std::vector<int16_t> tps;  // modulation, hierarchy, HP/LP, code rate, guard, fft
  } cases[] = {
      {0x00020181, 0, {1, 0, 0, 0, 2, 1}},  // bits 0, 7, 8, 17
      {0x00000003, 0, {-1, 0, 0, 0, 0, 0}},
      {0x00000202, 4, {2, 0, 0, 4, 0, -1}},
      {0x00000300, 5, {0, 0, 0, -1, 0, -1}},
      {0x00030000, 0x0C, {0, 0, 0, 4, 3, 0}},  // only bits 0..2 of Data1 count
      {0x00040000, 7, {0, 0, 0, -1, -1, 0}},
      {0x00070000, 3, {0, 0, 0, 3, -1, 0}},
      {0x03000000, 1, {0, 3, 0, 1, 0, 0}},
      {0x04000000, 2, {0, -1, 0, 2, 0, 0}},
      {0x07000000, 6, {0, -1, 0, -1, 0, 0}},
      {0xF8F8FCFC, 0xFFFFFFF8, {0, 0, 0, 0, 0, 0}},  // bits outside every field
      {0xFFFFFFFF, 0xFFFFFFFF, {-1, -1, 0, -1, -1, -1}},
  };
  for (const auto& c : cases) {
    SmsRig rig;
    rig.Block(c.d0, c.d1, 0, 0, 0);
    EXPECT_EQ(rig.Tps(), c.tps) << std::hex << c.d0 << " " << c.d1;
    EXPECT_EQ(rig.fake.calls.size(), 1u);  // one fresh block per GetTPS
  }
  SmsRig dead;
  dead.fake.present.clear();
  EXPECT_EQ(dead.Tps(), (std::vector<int16_t>{0, 0, 0, 0, 0, 0}));
}

TEST(sms1xxx, SnrIsTheChipsWholeDbWithTheAverageToOneDecimal) {
  struct Case {
    uint32_t d3;
    int16_t reset;
    float snr, avg;
  } cases[] = {
      {25, 1, 25, 25},
      {25, 0, 25, 1.3f},  // 25 / 19 = 1.315..
      {0xFFFFFFFE, 1, -2, -2},
      {0, 1, 0, 0},
  };
  for (const auto& c : cases) {
    SmsRig rig;
    rig.bus.FillSnrHistory(0);
    rig.Block(0, 0, 0, c.d3, 0);
    int16_t mode = Mode::DvbT, reset = c.reset;
    float avg = -9;
    int32_t color = 0;
    EXPECT_EQ(rig.driver.SNR(mode, avg, color, reset), c.snr);
    EXPECT_EQ(avg, c.avg);
    EXPECT_EQ(reset, 0);
    EXPECT_EQ(rig.view.colorizeCalls, 0);  // its own colouring, not the window's
  }
}

TEST(sms1xxx, OwnColouringByTheLastTransmissionParameters) {
  struct Case {
    uint32_t modulation, codeRate;
    uint32_t snr;
    int32_t color;
  } cases[] = {
      {2, 1, 18, Color::Red},    {2, 1, 19, Color::Orange},      {2, 1, 20, Color::Orange},
      {2, 1, 21, Color::Yellow}, {2, 1, 22, Color::Green},       {0, 0, 5, Color::Red},
      {0, 0, 6, Color::Orange},  {0, 0, 8, Color::Yellow},       {0, 0, 10, Color::Green},
      {1, 4, 16, Color::Red},    {1, 4, 17, Color::Orange},      {1, 4, 20, Color::Yellow},
      {1, 4, 21, Color::Green},  {2, 4, 24, Color::Yellow},      {2, 4, 25, Color::Green},
      {3, 0, 0, Color::Green},   {3, 0, 0xFFFFFFFF, Color::Red},  // unknown: 0, 0, 0
      {2, 5, 0, Color::Green},   {2, 5, 0xFFFFFFFF, Color::Red},
  };
  for (const auto& c : cases) {
    SmsRig rig;
    rig.Block(0x80 | c.modulation, c.codeRate, 0, c.snr, 0);
    rig.Tps();
    int16_t mode = Mode::DvbT, reset = 1;
    float avg;
    int32_t color = 0;
    rig.driver.SNR(mode, avg, color, reset);
    EXPECT_EQ(color, c.color) << c.modulation << " " << c.codeRate << " " << int32_t(c.snr);
  }
  // Before any GetTPS the thresholds are those of QPSK 1/2.
  SmsRig fresh;
  fresh.Block(2, 1, 0, 7, 0);
  int16_t mode = Mode::DvbT, reset = 1;
  float avg;
  int32_t color = 0;
  fresh.driver.SNR(mode, avg, color, reset);
  EXPECT_EQ(color, Color::Orange);
}

TEST(sms1xxx, LockBitSignalStrengthModeAndCounters) {
  struct Case {
    uint32_t d0, d4;
    int16_t master;
    std::string rssi;
  } cases[] = {
      {0x80, 70, 1, "-70"},
      {0x7F, 0, 0, "0"},
      {0xFFFFFF7F, 0xFFFFFFFB, 0, "5"},
      {0x180, 0x80000000, 1, "2147483648"},
  };
  for (const auto& c : cases) {
    SmsRig rig;
    rig.Block(c.d0, 0, 0, 0, c.d4);
    int16_t m = 9, eq = 9, fec = 9, sync = 9, afc = 9;
    rig.driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}),
              std::vector<int16_t>({c.master, -1, -1, -1, -1}));
    EXPECT_EQ(rig.view.captions["frF0F1"], "RSSI");
    EXPECT_EQ(rig.view.captions["lblF0F1"], c.rssi);
  }
  struct ModeCase {
    int reg;
    bool answers;
    int16_t mode;
  } modes[] = {{0x73, true, Mode::DvbT}, {0x72, true, Mode::None}, {0x73, false, Mode::None}};
  for (const auto& c : modes) {
    SmsRig rig;
    rig.Set8(0x1F, c.reg);
    if (!c.answers) rig.fake.present.clear();
    EXPECT_EQ(rig.driver.OperatingMode(), c.mode);
    EXPECT_EQ(rig.fake.calls.size(), c.answers ? 1u : 4u);
  }
  SmsRig rig;
  rig.Block(0, 0, 1234, 0, 0);
  EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), 1234);
  EXPECT_TRUE(rig.driver.PostVeterbiErrors().IsEmpty());
  EXPECT_EQ(rig.driver.SNRRegisters().Text(), "0");
}

TEST(sms1xxx, FoundOnItsSimulatedBoardWithAWanderingLockedSignal) {
  PollView first = PollBuiltInBoard("sms1xxx", 0);
  EXPECT_EQ(first.className, "sms1xxx");
  EXPECT_EQ(first.mode, Mode::DvbT);
  EXPECT_EQ(first.snr, 24);
  EXPECT_EQ(first.locks[0], 1);
  EXPECT_EQ(std::vector<int16_t>(first.tps, first.tps + 6),
            (std::vector<int16_t>{2, 0, 0, 1, 2, 1}));
  PollView later = PollBuiltInBoard("sms1xxx", 12);
  EXPECT_NE(later.snr, first.snr);
  EXPECT_GE(later.snr, 22);
  EXPECT_LE(later.snr, 26);
}

}  // namespace
