// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/si2165.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "demod/ChipRig.h"

namespace {

// A chip found at 0xC8 whose standard register 0x00EC has been read.
struct SiRig : BusRig<si2165> {
  explicit SiRig(int standard = 0x01, const Regs& regs = {}) : BusRig(0xC8, {}, regs) {
    Set8(0x00EC, standard);
    driver.OperatingMode();
    fake.calls.clear();
  }
};

TEST(si2165, NameByRevisionAndModeByStandardRegister) {
  const std::pair<int, std::string> names[] = {
      {0, "SI2165A"},
      {1, "SI2165B"},
      {2, "SI2165C"},
      {3, "SI2165?"},
  };
  for (const auto& [revision, name] : names) {
    SiRig rig(1, {{0x0023, revision}});
    EXPECT_EQ(rig.driver.name(), name);
    EXPECT_EQ(rig.Reads(), std::vector<int>{0x0023});
  }
  // Register 0x00EC, mode, C/N of the standard found from the registers set below.
  const std::tuple<int, int16_t, float> modes[] = {
      {0x21, Mode::DvbT, 24.1f}, {0x05, Mode::DvbC, 18.1f}, {0x25, Mode::DvbC, 18.1f},
      {0x00, Mode::None, 0},     {0x11, Mode::None, 0},
  };
  for (auto [reg, mode, cn] : modes) {
    SiRig rig(0, {{0x02A5, 1}, {0x02C1, 2}, {0x026E, 1}});
    rig.Set8(0x00EC, reg);
    EXPECT_EQ(rig.driver.OperatingMode(), mode) << reg;
    EXPECT_EQ(rig.Snr().snr, cn) << reg;
  }
}

TEST(si2165, CarrierToNoiseOfBothStandards) {
  // DVB-T (1) or DVB-C (2), registers, dB.
  const std::tuple<int, Regs, double> cases[] = {
      {1, {{0x02A5, 1}, {0x02C1, 2}}, 10 * std::log10(256.0)},  // sigma 256, P 512
      {1, {{0x02A4, 1}, {0x02C0, 1}}, 10 * std::log10(128.0)},
      {1, {{0x02A6, 1}, {0x02C0, 0xFF}, {0x02C1, 0xFF}}, 10 * std::log10(65535.0 * 128 / 65536)},
      {1, {{0x02C1, 2}}, 0},           // no noise estimate
      {1, {{0x02A5, 1}}, 0},           // no reference power: 0 rather than log of 0
      {2, {{0x026E, 1}}, 18.0618},     // v = 65536
      {2, {{0x026D, 0x10}}, 27.0927},  // v = 0x1000
      {2, {{0x026C, 1}}, 54.1854},     // v = 1: the low byte
      {2, {{0x026C, 0x0C}, {0x026D, 0x08}, {0x026E, 0x03}}, 14.4494},  // v = 0x03080C
      {2, {{0x026C, 0xFF}, {0x026D, 0xFF}, {0x026E, 0xFF}}, 0.0000002},
      {2, {}, 0},
  };
  for (const auto& [standard, regs, db] : cases) {
    SiRig rig(standard == 1 ? 0x01 : 0x05, regs);
    double got = standard == 1 ? rig.driver.getCoN_DVBT() : rig.driver.getCoN_DVBC();
    EXPECT_NEAR(got, db, 1e-4);
    EXPECT_EQ(rig.driver.getCoN(), got);
  }
  SiRig none(0x00, {{0x02A5, 1}, {0x02C1, 2}});
  EXPECT_EQ(none.driver.getCoN(), 0);
  EXPECT_TRUE(none.fake.calls.empty());
}

TEST(si2165, SnrRoundsBothValuesAndColoursThroughTheWindow) {
  SiRig rig(1, {{0x02A5, 1}, {0x02C1, 2}});  // 24.08 dB
  rig.view.colorizeResult = Color::Yellow;
  rig.driver.snrStep().Fill(0);
  auto out = rig.Snr(0);
  EXPECT_EQ(std::tuple(out.snr, out.avg, out.color), std::tuple(24.1f, 1.3f, Color::Yellow));
  EXPECT_EQ(rig.view.lastColorized, 24.1f);
  EXPECT_EQ(rig.view.barPrefix, "C/N ");
  out = rig.Snr(1);
  EXPECT_EQ(std::pair(out.avg, out.reset), std::pair(24.1f, int16_t(0)));
  EXPECT_DOUBLE_EQ(rig.driver.snrStep().Slot(1), 10 * std::log10(256.0));  // the unrounded C/N
}

// A valid DVB-T parameter set in register set A: QAM64, no hierarchy, HP,
// 2/3 (LP 1/2), 1/8, 8K.
const Regs kSetA = {{0x02F4, 9}, {0x0304, 1}, {0x02E4, 0}, {0x02F8, 2},
                    {0x0300, 1}, {0x02F0, 3}, {0x02EC, 13}};

TEST(si2165, DvbtParameterDecodingOfEveryField) {
  enum { Modulation, Hierarchy, HpLp, CodeRate, Guard, Fft };
  // Field, its register in set A, register values and the codes they give.
  // clang-format off
  const std::tuple<int, int, std::vector<std::pair<int, int16_t>>> cases[] = {
      {Modulation, 0x02F4,
       {{3, 0}, {7, 1}, {9, 2}, {8, 4}, {10, 5}, {11, 6}, {0xE9, 2}, {0, -1}, {4, -1}, {12, -1},
        {0x13, -1}}},
      {Hierarchy, 0x0304, {{1, 0}, {2, 1}, {3, 2}, {5, 3}, {4, -1}, {0, -1}, {0x81, -1}}},
      {HpLp, 0x02E4, {{0, 0}, {0xFE, 0}, {3, 1}}},
      {CodeRate, 0x02F8,
       {{1, 0}, {2, 1}, {3, 2}, {5, 3}, {7, 4}, {0xF3, 2}, {0x0B, -1}, {4, -1}, {6, -1}, {0, -1}}},
      {Guard, 0x02F0, {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {0xFC, 3}, {0, -1}, {5, -1}}},
      {Fft, 0x02EC, {{11, 0}, {13, 1}, {12, 2}, {0xFD, 1}, {10, -1}, {14, -1}}},
  };
  // clang-format on
  for (const auto& [field, reg, valueToCode] : cases) {
    for (auto [value, code] : valueToCode) {
      SiRig rig(1, kSetA);
      rig.Set8(reg, value);
      std::vector<int16_t> want = {2, 0, 0, 1, 2, 1};
      want[field] = code;
      if (field == HpLp && code == 1) want[CodeRate] = 0;  // the LP rate, 1/2
      EXPECT_EQ(rig.Tps(), want) << "register " << std::hex << reg << " value " << value;
    }
  }
}

TEST(si2165, DvbtParameterSetAndRateSelection) {
  // Register 0x02E8, registers, TPS, registers read.
  const std::tuple<int, Regs, std::vector<int16_t>, std::vector<int>> cases[] = {
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
  for (const auto& [select, regs, tps, reads] : cases) {
    SiRig rig(1, regs);
    rig.Set8(0x02E8, select);
    EXPECT_EQ(rig.Tps(), tps) << select;
    EXPECT_EQ(rig.Reads(), reads);
  }
}

TEST(si2165, DvbcRefreshesOnlyTheConstellation) {
  SiRig rig(1, kSetA);
  ASSERT_EQ(rig.Tps(), (std::vector<int16_t>{2, 0, 0, 1, 2, 1}));
  rig.Set8(0x00EC, 0x05);
  rig.driver.OperatingMode();
  const std::pair<int, int16_t> cases[] = {
      {11, 6},
      {0x2B, 6},  // bits above the field
      {1, -1},
  };
  for (auto [value, modulation] : cases) {
    rig.Set8(0x00F8, value);
    rig.fake.calls.clear();
    EXPECT_EQ(rig.Tps(), (std::vector<int16_t>{modulation, 0, 0, 1, 2, 1}));
    EXPECT_EQ(rig.Reads(), std::vector<int>{0x00F8});
  }
  rig.Set8(0x00EC, 0x00);
  rig.driver.OperatingMode();
  rig.fake.calls.clear();
  EXPECT_EQ(rig.Tps(), (std::vector<int16_t>{-1, 0, 0, 1, 2, 1}));  // nothing read or changed
  EXPECT_TRUE(rig.fake.calls.empty());
}

TEST(si2165, GateBitAndADeadBus) {
  SiRig rig(1, {{0x0001, 0xFE}});
  EXPECT_EQ(rig.driver.Passthru(), 0);
  rig.Set8(0x0001, 0x01);
  EXPECT_EQ(rig.driver.Passthru(), 1);
  rig.fake.calls.clear();
  Demodulator& contract = rig.driver;  // as the window calls it
  contract.Passthru(0);
  contract.Sleep(1);
  EXPECT_TRUE(rig.fake.calls.empty());
  rig.fake.present.clear();
  EXPECT_EQ(rig.driver.OperatingMode(), Mode::None);  // 0xFF AND 0x1F = 31
  EXPECT_EQ(rig.Snr().snr, 0);
  EXPECT_EQ(rig.Locks(), (std::vector<int16_t>{7, 1, 1, 7, 1}));
}

}  // namespace
