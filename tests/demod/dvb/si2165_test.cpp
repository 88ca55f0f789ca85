#include "demod/dvb/si2165.h"

#include <gtest/gtest.h>

#include <cmath>

#include "demod/dvb/DvbRig.h"
#include "monitor/Codes.h"
#include "support/SimFixture.h"

namespace {

struct SiRig : Rig<si2165, AddressedI2c> {
  explicit SiRig(int standard = 0x01) {
    fake.present = {0xC8};
    EXPECT_TRUE(driver.probe());
    Set8(0x00EC, standard);
    driver.OperatingMode();
    fake.calls.clear();
  }
  void Set(std::initializer_list<std::pair<int, int>> regs) {
    for (auto [r, v] : regs) Set8(r, v);
  }
  std::vector<int16_t> Tps(int16_t start = 9) {
    int16_t t[6] = {start, start, start, start, start, start};
    driver.GetTPS(t[0], t[1], t[2], t[3], t[4], t[5]);
    return {t, t + 6};
  }
  float Snr(float& avg, int16_t reset = 1) {
    int16_t mode = Mode::DvbT;
    int32_t color = 0;
    return driver.SNR(mode, avg, color, reset);
  }
};

TEST(si2165, ProbeIsOneReadInSubAddressMode16WithoutIdentity) {
  for (bool present : {false, true}) {
    Rig<si2165, AddressedI2c> rig;
    if (present) rig.fake.present = {0xC8};
    EXPECT_EQ(rig.driver.probe(), present);
    ASSERT_EQ(rig.fake.calls.size(), 1u);
    const auto& c = rig.fake.calls[0];
    EXPECT_EQ(std::vector<int>({c.kind, c.mode, c.address, c.sub, c.count}),
              std::vector<int>({FakeI2c::Call::Read, 0x10, 0xC8, 0, 1}));
    rig.driver.name();
    EXPECT_EQ(rig.fake.calls.back().address, present ? 0xC8 : 0);
  }
}

TEST(si2165, NameByRevisionAndModeByStandardRegister) {
  struct NameCase {
    int revision;
    std::string name;
  } names[] = {{0, "SI2165A"}, {1, "SI2165B"}, {2, "SI2165C"}, {3, "SI2165?"}, {7, "SI2165?"}};
  for (const auto& c : names) {
    SiRig rig;
    rig.Set8(0x0023, c.revision);
    EXPECT_EQ(rig.driver.name(), c.name);
    EXPECT_EQ(rig.SubsRead(), std::vector<int>{0x0023});
  }
  struct ModeCase {
    int reg;
    int16_t mode;
    float cn;  // C/N of the standard found, from the registers set below
  } modes[] = {{0x01, Mode::DvbT, 24.1f}, {0x21, Mode::DvbT, 24.1f}, {0xE1, Mode::DvbT, 24.1f},
               {0x05, Mode::DvbC, 36.1f}, {0x25, Mode::DvbC, 36.1f}, {0x00, Mode::None, 0},
               {0x02, Mode::None, 0},     {0x11, Mode::None, 0},     {0x1F, Mode::None, 0}};
  for (const auto& c : modes) {
    SiRig rig;
    rig.Set({{0x00EC, c.reg}, {0x02A5, 1}, {0x02C1, 2}, {0x026E, 1}});
    EXPECT_EQ(rig.driver.OperatingMode(), c.mode) << c.reg;
    float avg;
    EXPECT_EQ(rig.Snr(avg), c.cn) << c.reg;
  }
}

TEST(si2165, CarrierToNoiseOfBothStandards) {
  struct Case {
    int standard;
    std::vector<std::pair<int, int>> regs;
    double db;
  } cases[] = {
      {1, {{0x02A5, 1}, {0x02C1, 2}}, 10 * std::log10(256.0)},  // sigma 256, P 512
      {1, {{0x02A4, 1}, {0x02C0, 1}}, 10 * std::log10(128.0)},
      {1, {{0x02A6, 1}, {0x02C0, 0xFF}, {0x02C1, 0xFF}}, 10 * std::log10(65535.0 * 128 / 65536)},
      {1,
       {{0x02A4, 0xFF}, {0x02A5, 0xFF}, {0x02A6, 0xFF}, {0x02C1, 1}},
       10 * std::log10(256.0 * 128 / 16777215)},
      {1, {{0x02C1, 2}}, 0},  // no noise estimate
      {1, {{0x02A5, 1}}, 0},  // no reference power: 0 rather than log of 0
      {2, {{0x026E, 1}}, 7.5 * std::log10(65536.0)},
      {2, {{0x026D, 0x10}}, 7.5 * std::log10(65536.0)},  // the middle byte is shifted by 4
      {2, {{0x026C, 0x0C}, {0x026D, 0x08}, {0x026E, 0x03}}, 7.5 * std::log10(16777216.0 / 0x38C)},
      {2, {{0x026C, 0xFF}, {0x026D, 0xFF}, {0x026E, 0xFF}}, 7.5 * std::log10(16777216.0 / 0xFFFF)},
      {2, {{0x026C, 0xF0}, {0x026D, 0x0F}}, 7.5 * std::log10(16777216.0 / 0xF0)},
      {2, {}, 0},
  };
  for (const auto& c : cases) {
    SiRig rig(c.standard == 1 ? 0x01 : 0x05);
    for (auto [r, v] : c.regs) rig.Set8(r, v);
    double got = c.standard == 1 ? rig.driver.getCoN_DVBT() : rig.driver.getCoN_DVBC();
    EXPECT_NEAR(got, c.db, 1e-9);
    EXPECT_EQ(rig.driver.getCoN(), got);
    std::vector<int> order = c.standard == 1
                                 ? std::vector<int>{0x02A4, 0x02A5, 0x02A6, 0x02C0, 0x02C1}
                                 : std::vector<int>{0x026C, 0x026D, 0x026E};
    std::vector<int> subs = rig.SubsRead();
    subs.resize(order.size());  // getCoN repeats the reads
    EXPECT_EQ(subs, order);
  }
  SiRig none(0x00);
  none.Set8(0x02A5, 1), none.Set8(0x02C1, 2);
  EXPECT_EQ(none.driver.getCoN(), 0);
  EXPECT_TRUE(none.fake.calls.empty());
}

TEST(si2165, SnrRoundsBothValuesAndColoursThroughTheWindow) {
  SiRig rig;
  rig.Set({{0x02A5, 1}, {0x02C1, 2}});  // 24.08 dB
  rig.view.colorizeResult = Color::Yellow;
  rig.bus.FillSnrHistory(0);
  int16_t mode = Mode::DvbT, reset = 0;
  float avg = -1;
  int32_t color = 0;
  EXPECT_EQ(rig.driver.SNR(mode, avg, color, reset), 24.1f);
  EXPECT_EQ(avg, 1.3f);  // 24.08 / 19
  EXPECT_EQ(color, Color::Yellow);
  EXPECT_EQ(rig.view.lastColorized, 24.1f);
  EXPECT_EQ(rig.view.barPrefix, "C/N ");
  reset = 1;
  rig.driver.SNR(mode, avg, color, reset);
  EXPECT_EQ(avg, 24.1f);
  EXPECT_EQ(reset, 0);
  EXPECT_DOUBLE_EQ(rig.bus.SnrSlot(1), 10 * std::log10(256.0));  // the unrounded C/N
}

TEST(si2165, LockBitsByStandardWithTheirCaptions) {
  const std::vector<std::pair<int, int>> allSet = {{0x0390, 0xFF}, {0x0398, 0x01}, {0x023E, 0x03},
                                                   {0x04E0, 0x01}, {0x0440, 0x05}, {0x0188, 0x01}};
  struct Case {
    int standard;
    std::vector<std::pair<int, int>> regs;
    std::vector<int16_t> locks;  // master, EQ, FEC, sync, AFC
    std::vector<int> reads;
  } cases[] = {
      {0x01, allSet, {1, 1, 1, 1, 1}, {0x0390, 0x0398, 0x04E0, 0x0440, 0x0188}},
      {0x01,
       {{0x0390, 0xFE}, {0x0398, 1}},
       {0, 0, 0, 1, 0},
       {0x0390, 0x0398, 0x04E0, 0x0440, 0x0188}},
      {0x01, {{0x04E0, 1}}, {0, 0, 1, 0, 0}, {0x0390, 0x0398, 0x04E0, 0x0440, 0x0188}},
      {0x05, allSet, {1, 1, 1, -1, 1}, {0x023E, 0x04E0, 0x0440, 0x0188}},
      {0x05, {{0x0390, 1}, {0x0398, 1}}, {0, 0, 0, -1, 0}, {0x023E, 0x04E0, 0x0440, 0x0188}},
      {0x00, allSet, {7, 1, 1, 7, 1}, {0x04E0, 0x0440, 0x0188}},  // caller's values stay
      {0x00, {}, {7, 0, 0, 7, 0}, {0x04E0, 0x0440, 0x0188}},
  };
  for (const auto& c : cases) {
    SiRig rig(c.standard);
    for (auto [r, v] : c.regs) rig.Set8(r, v);
    int16_t m = 7, eq = 7, fec = 7, sync = 7, afc = 7;
    rig.driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}), c.locks) << c.standard;
    EXPECT_EQ(rig.SubsRead(), c.reads);
    EXPECT_EQ(rig.view.captions, (std::map<std::string, std::string>{{"lblVSBSync", "FREQ Lock"},
                                                                     {"lblEQLock", "SYNC Lock"},
                                                                     {"lblAFCLock", "AGC Lock"}}));
  }
}

// A valid DVB-T parameter set in register set A: QAM64, no hierarchy, HP,
// 2/3 (LP 1/2), 1/8, 8K.
const std::vector<std::pair<int, int>> kSetA = {{0x02F4, 9}, {0x0304, 1}, {0x02E4, 0}, {0x02F8, 2},
                                                {0x0300, 1}, {0x02F0, 3}, {0x02EC, 13}};

TEST(si2165, DvbtParameterDecodingOfEveryField) {
  enum { Modulation, Hierarchy, HpLp, CodeRate, Guard, Fft };
  struct Case {
    int field, reg;
    std::vector<std::pair<int, int16_t>> valueToCode;
  } cases[] = {
      {Modulation, 0x02F4,
       {{3, 0}, {7, 1}, {9, 2}, {8, 4}, {10, 5}, {11, 6}, {0xE9, 2}, {0, -1}, {4, -1}, {12, -1},
        {0x13, -1}}},
      {Hierarchy, 0x0304, {{1, 0}, {2, 1}, {3, 2}, {5, 3}, {4, -1}, {0, -1}, {0x81, -1}}},
      {HpLp, 0x02E4, {{0, 0}, {0xFE, 0}, {3, 1}}},
      {CodeRate, 0x02F8,
       {{1, 0}, {2, 1}, {3, 2}, {5, 3}, {7, 4}, {0xF3, 2}, {4, -1}, {6, -1}, {0, -1}}},
      {Guard, 0x02F0, {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {0xFC, 3}, {0, -1}, {5, -1}}},
      {Fft, 0x02EC, {{11, 0}, {13, 1}, {12, 2}, {0xFD, 1}, {10, -1}, {14, -1}}},
  };
  for (const auto& c : cases) {
    for (auto [value, code] : c.valueToCode) {
      SiRig rig;
      for (auto [r, v] : kSetA) rig.Set8(r, v);
      rig.Set8(c.reg, value);
      std::vector<int16_t> want = {2, 0, 0, 1, 2, 1};
      want[c.field] = code;
      if (c.field == HpLp && code == 1) want[CodeRate] = 0;  // the LP rate, 1/2
      EXPECT_EQ(rig.Tps(), want) << "register " << std::hex << c.reg << " value " << value;
    }
  }
}

TEST(si2165, DvbtParameterSetAndRateSelection) {
  struct Case {
    int select;
    std::vector<std::pair<int, int>> regs;
    std::vector<int16_t> tps;
    std::vector<int> reads;
  } cases[] = {
      {0x02, kSetA, {2, 0, 0, 1, 2, 1}, {0x02E8, 0x02F4, 0x0304, 0x02E4, 0x02F8, 0x02F0, 0x02EC}},
      {0x00,
       {{0x02E4, 1}, {0x0300, 5}},
       {-1, -1, 1, 3, -1, -1},
       {0x02E8, 0x02F4, 0x0304, 0x02E4, 0x0300, 0x02F0, 0x02EC}},
      {0x01,
       {{0x03F8, 7}, {0x0408, 5}, {0x0420, 0}, {0x0400, 7}, {0x03F4, 1}, {0x03F0, 12}},
       {1, 3, 0, 4, 0, 2},
       {0x02E8, 0x03F8, 0x0408, 0x0420, 0x0400, 0x03F4, 0x03F0}},
      {0xFF,
       {{0x0420, 1}, {0x0404, 3}},
       {-1, -1, 1, 2, -1, -1},
       {0x02E8, 0x03F8, 0x0408, 0x0420, 0x0404, 0x03F4, 0x03F0}},
  };
  for (const auto& c : cases) {
    SiRig rig;
    rig.Set8(0x02E8, c.select);
    for (auto [r, v] : c.regs) rig.Set8(r, v);
    EXPECT_EQ(rig.Tps(), c.tps) << c.select;
    EXPECT_EQ(rig.SubsRead(), c.reads);
  }
}

TEST(si2165, DvbcRefreshesOnlyTheConstellation) {
  SiRig rig;
  for (auto [r, v] : kSetA) rig.Set8(r, v);
  ASSERT_EQ(rig.Tps(), (std::vector<int16_t>{2, 0, 0, 1, 2, 1}));
  rig.Set8(0x00EC, 0x05);
  rig.driver.OperatingMode();
  struct Case {
    int value;
    int16_t modulation;
  } cases[] = {{11, 6}, {10, 5}, {3, 0}, {0x2B, 6}, {1, -1}};
  for (const auto& c : cases) {
    rig.Set8(0x00F8, c.value);
    rig.fake.calls.clear();
    EXPECT_EQ(rig.Tps(), (std::vector<int16_t>{c.modulation, 0, 0, 1, 2, 1}));
    EXPECT_EQ(rig.SubsRead(), std::vector<int>{0x00F8});
  }
  rig.Set8(0x00EC, 0x00);
  rig.driver.OperatingMode();
  rig.fake.calls.clear();
  EXPECT_EQ(rig.Tps(), (std::vector<int16_t>{-1, 0, 0, 1, 2, 1}));  // nothing read or changed
  EXPECT_TRUE(rig.fake.calls.empty());
}

TEST(si2165, GateBitAndADeadBus) {
  SiRig rig;
  rig.Set8(0x0001, 0xFE);
  EXPECT_EQ(rig.driver.Passthru(), 0);
  rig.Set8(0x0001, 0x01);
  EXPECT_EQ(rig.driver.Passthru(), 1);
  rig.fake.calls.clear();
  rig.driver.Passthru(0);
  rig.driver.Sleep(1);
  EXPECT_TRUE(rig.fake.calls.empty());
  rig.fake.present.clear();
  EXPECT_EQ(rig.driver.OperatingMode(), Mode::None);  // 0xFF AND 0x1F = 31
  float avg;
  EXPECT_EQ(rig.Snr(avg), 0);
  int16_t m = 7, eq = 7, fec = 7, sync = 7, afc = 7;
  rig.driver.GetLockStatus(m, eq, fec, sync, afc);
  EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}), (std::vector<int16_t>{7, 1, 1, 7, 1}));
}

TEST(si2165, SimulatedBoardsShowDvbtAndDvbc) {
  struct Case {
    std::string board;
    int16_t mode;
    float snr;
    std::vector<int16_t> locks, tps;
  } cases[] = {
      {"si2165", Mode::DvbT, 24.0f, {1, 1, 1, 1, 1}, {2, 0, 0, 1, 2, 1}},
      {"si2165-dvbc", Mode::DvbC, 32.0f, {1, 1, 1, -1, 1}, {6, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    PollView first = PollBuiltInBoard(c.board, 0);
    EXPECT_EQ(first.className, "si2165") << c.board;
    EXPECT_EQ(first.name, "SI2165B");
    EXPECT_EQ(first.mode, c.mode);
    EXPECT_EQ(first.snr, c.snr);
    EXPECT_EQ(std::vector<int16_t>(first.locks, first.locks + 5), c.locks);
    EXPECT_EQ(std::vector<int16_t>(first.tps, first.tps + 6), c.tps);
    PollView later = PollBuiltInBoard(c.board, 15);
    EXPECT_NE(later.snr, first.snr) << c.board;
    EXPECT_NEAR(later.snr, c.snr, 1.5f);
  }
  FileBoard b(OneChip("si2165", "\"0x00EC\": 5"));
  FakeView view;
  si2165 driver(*b.bus, view);
  ASSERT_TRUE(driver.probe());
  EXPECT_EQ(driver.OperatingMode(), Mode::DvbC);
}

}  // namespace
