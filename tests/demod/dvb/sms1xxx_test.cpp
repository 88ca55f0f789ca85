// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/sms1xxx.h"

#include <gtest/gtest.h>

#include <tuple>

#include "demod/ChipRig.h"

namespace {

struct SmsRig : BusRig<sms1xxx> {
  SmsRig() : BusRig(0xC6, {{0x1F, 0x73}}) {}
};

TEST(sms1xxx, TransmissionParametersFromAFreshBlockEachTime) {
  // Data0, Data1; modulation, hierarchy, HP/LP, code rate, guard, FFT.
  const std::tuple<uint32_t, uint32_t, std::vector<int16_t>> cases[] = {
      {0x00020181, 0, {1, 0, 0, 0, 2, 1}},     // bits 0, 7, 8, 17
      {0x03030002, 0x0C, {2, 3, 0, 4, 3, 0}},  // only bits 0..2 of Data1 count
      {0x04040203, 5, {-1, -1, 0, -1, -1, -1}},
      {0xF8F8FCFC, 0xFFFFFFF8, {0, 0, 0, 0, 0, 0}},  // bits outside every field
      {0xFFFFFFFF, 0xFFFFFFFF, {-1, -1, 0, -1, -1, -1}},
  };
  for (const auto& [d0, d1, tps] : cases) {
    SmsRig rig;
    rig.Block(d0, d1, 0, 0, 0);
    EXPECT_EQ(rig.Tps(), tps) << std::hex << d0 << " " << d1;
    EXPECT_EQ(rig.fake.calls.size(), 1u);
  }
  SmsRig dead;
  dead.fake.present.clear();
  EXPECT_EQ(dead.Tps(), std::vector<int16_t>(6, 0));
}

TEST(sms1xxx, LockBitSignalStrengthModeAndCounters) {
  // Data0, Data4; master lock, signal strength text.
  const std::tuple<uint32_t, uint32_t, int16_t, std::string> cases[] = {
      {0x80, 70, 1, "-70"},
      {0xFFFFFF7F, 0xFFFFFFFB, 0, "5"},
      {0x180, 0x80000000, 1, "2147483648"},
  };
  for (const auto& [d0, d4, master, rssi] : cases) {
    SmsRig rig;
    rig.Block(d0, 0, 0, 0, d4);
    EXPECT_EQ(rig.Locks(), (std::vector<int16_t>{master, -1, -1, -1, -1}));
    EXPECT_EQ(rig.view.captions["lblF0F1"], rssi);
  }
  // Register 0x1F, answering, mode, attempts.
  const std::tuple<int, bool, int16_t, size_t> modes[] = {
      {0x73, true, Mode::DvbT, 1},
      {0x72, true, Mode::None, 1},
      {0x73, false, Mode::None, 4},
  };
  for (auto [reg, answers, mode, attempts] : modes) {
    SmsRig rig;
    rig.Set8(0x1F, reg);
    if (!answers) rig.fake.present.clear();
    EXPECT_EQ(rig.driver.OperatingMode(), mode);
    EXPECT_EQ(rig.Reads(), std::vector<int>(attempts, 0x1F));
  }
  SmsRig rig;
  rig.Block(0, 0, 1234, 0, 0);
  EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), 1234);
  EXPECT_TRUE(rig.driver.PostVeterbiErrors().IsEmpty());
  EXPECT_EQ(rig.driver.SNRRegisters().Text(), "0");
}

}  // namespace
