#include "demod/dvb/dibcom.h"

#include <gtest/gtest.h>

#include <cmath>

#include "demod/dvb/DvbRig.h"
#include "monitor/Codes.h"

namespace {

using DibcomRig = Rig<dibcom, AddressedI2c>;

// Identity registers that make the chip the given model.
void SetModel(DibcomRig& rig, int model) {
  if (model == 0) {
    rig.Set16(0x0300, 0x01B3), rig.Set16(0x0301, 0x4000);
  } else if (model <= 3) {
    rig.Set16(0x0380, 0x01B3), rig.Set16(0x0381, 0x4000 + model - 1);
  } else {
    rig.Set16(0x0401, 0x01B3), rig.Set16(0x0402, 0x3000 + model - 4);
  }
}

TEST(dibcom, PresenceTriesFiveAddressesAndHonoursTheSecondDemodFlag) {
  const int id = 0x12;  // stands for "the identity reads", which go to the chosen address
  struct Case {
    std::set<int> present;
    bool demod2;
    bool found;
    std::vector<int> addresses;  // every transfer, presence and identity
  } cases[] = {
      {{0x12, 0x1C}, false, true, {0x12, id, id}},
      {{0x12}, true, true, {0x12, id, id}},
      {{0x1A}, false, true, {0x12, 0x1A, 0x1A, 0x1A}},
      {{0x1A}, true, false, {0x12, 0x1A, 0x1C, 0x80, 0x82}},
      {{0x1A, 0x1C}, true, true, {0x12, 0x1A, 0x1C, 0x1C, 0x1C}},
      {{0x80}, false, true, {0x12, 0x1A, 0x1C, 0x80, 0x80, 0x80}},
      {{0x80}, true, false, {0x12, 0x1A, 0x1C, 0x80, 0x82}},
      {{0x80, 0x82}, true, true, {0x12, 0x1A, 0x1C, 0x80, 0x82, 0x82, 0x82}},
      {{}, false, false, {0x12, 0x1A, 0x1C, 0x80, 0x82}},
  };
  for (const auto& c : cases) {
    DibcomRig rig;
    rig.fake.present = c.present;
    rig.bus.secondDemod = c.demod2;
    SetModel(rig, 0);
    EXPECT_EQ(rig.driver.probe(), c.found);
    std::vector<int> want = c.addresses;
    EXPECT_EQ(rig.fake.Addresses(), want) << "first present " << *c.present.begin();
    // Plain one-byte reads at the first three, two-zero-byte write-reads at the last two.
    for (size_t i = 0; i < rig.fake.calls.size() && rig.fake.calls[i].kind == FakeI2c::Call::Read;
         ++i) {
      EXPECT_EQ(rig.fake.calls[i].mode, 0);
      EXPECT_EQ(rig.fake.calls[i].count, 1);
    }
    for (const auto& call : rig.fake.calls) {
      if (call.address != 0x80 && call.address != 0x82) continue;
      EXPECT_EQ(call.kind, FakeI2c::Call::WriteRead);
      EXPECT_EQ(call.count, 2);
    }
  }
}

TEST(dibcom, IdentityPicksTheModelAndReadsTheSecondRegisterOnlyOnAMatch) {
  struct Case {
    std::vector<std::pair<int, int>> regs;
    bool found;
    std::string name;
    std::vector<int> identityReads;
  } cases[] = {
      {{{0x0300, 0x01B3}, {0x0301, 0x4000}}, true, "DIB7000PC", {0x0300, 0x0301}},
      {{{0x0380, 0x01B3}, {0x0381, 0x4000}}, true, "DIB7000", {0x0300, 0x0380, 0x0381}},
      {{{0x0380, 0x01B3}, {0x0381, 0x4001}}, true, "DIB7000HC", {0x0300, 0x0380, 0x0381}},
      {{{0x0380, 0x01B3}, {0x0381, 0x4002}}, true, "DIB7000MC", {0x0300, 0x0380, 0x0381}},
      {{{0x0401, 0x01B3}, {0x0402, 0x3000}}, true, "DIB3000MB", {0x0300, 0x0380, 0x0401, 0x0402}},
      {{{0x0401, 0x01B3}, {0x0402, 0x3001}}, true, "DIB3000MC", {0x0300, 0x0380, 0x0401, 0x0402}},
      {{{0x0401, 0x01B3}, {0x0402, 0x3002}}, true, "DIB3000P", {0x0300, 0x0380, 0x0401, 0x0402}},
      {{{0x0300, 0x01B3}, {0x0301, 0x4001}}, false, "DIB7000PC", {0x0300, 0x0301, 0x0380, 0x0401}},
      {{{0x0380, 0x01B3}, {0x0381, 0x4003}}, false, "DIB7000PC", {0x0300, 0x0380, 0x0381, 0x0401}},
      {{{0x0401, 0x01B3}, {0x0402, 0x2FFF}}, false, "DIB7000PC", {0x0300, 0x0380, 0x0401, 0x0402}},
      {{{0x0300, 0x01B4}, {0x0301, 0x4000}}, false, "DIB7000PC", {0x0300, 0x0380, 0x0401}},
  };
  for (const auto& c : cases) {
    DibcomRig rig;
    rig.fake.present = {0x12};
    for (auto [r, v] : c.regs) rig.Set16(r, v);
    EXPECT_EQ(rig.driver.probe(), c.found) << c.name;
    EXPECT_EQ(rig.driver.name(), c.name);
    std::vector<int> subs = rig.SubsRead();
    subs.erase(subs.begin());  // the presence read
    EXPECT_EQ(subs, c.identityReads) << c.name;
    for (const auto& call : rig.fake.calls) {
      if (call.kind != FakeI2c::Call::WriteRead) continue;
      EXPECT_EQ(call.bytes, (std::vector<uint8_t>{uint8_t(call.sub >> 8), uint8_t(call.sub)}));
      EXPECT_EQ(call.count, 2);
    }
  }
}

TEST(dibcom, CarrierToNoiseFromMantissasAndSignedExponents) {
  struct Case {
    int32_t r1, r2;
    double db;
  } cases[] = {
      {0x0100, 0x0400, 0},                         // 17/17
      {0x0000, 0x0FC1, 10 * std::log(128.0)},      // M2 63, E2 1
      {0x0000, 0x0021, 10 * std::log(0x1p-31)},    // E2 0x21 counts as -31
      {0x0000, 0x001F, 10 * std::log(0x1p31)},     // E2 0x1F is +31
      {0x0001, 0x4000, 10 * std::log(0x1p-5)},     // E1 = 1*4 + 1 from R2's top bits
      {0x0008, 0xC000, 10 * std::log(0x1p29)},     // E1 = 35, sign-extended to -29
      {0x0FF0, 0x3FC0, 0},                         // both mantissas 255
      {0x0FF0, 0x0000, 10 * std::log(1.0 / 256)},  // M1 bits 4..11 only
      {0xF000, 0x0000, 0},                         // R1 bits above 11 ignored
  };
  for (const auto& c : cases)
    EXPECT_NEAR(dibcom::CarrierToNoise(c.r1, c.r2), c.db, 1e-9) << std::hex << c.r1 << " " << c.r2;
}

TEST(dibcom, SnrIsTheWholeDbCarrierToNoiseByModel) {
  struct Case {
    int model;
    int r1, r2;  // the model's register pair, 0 when it has none
    float snr;
  } cases[] = {
      {0, 0x01DF, 0x01E0, 49},  // 48.52
      {1, 0x01F9, 0x01FA, 49},
      {6, 0x01E3, 0x01E4, 49},
      {2, 0, 0, 0},
      {3, 0, 0, 0},
      {4, 0, 0, 0},
      {5, 0, 0, 0},
  };
  for (const auto& c : cases) {
    DibcomRig rig;
    rig.fake.present = {0x12};
    SetModel(rig, c.model);
    for (int r : {0x01DF, 0x01F9, 0x01E3}) rig.Set16(r, 0x0000);
    for (int r : {0x01E0, 0x01FA, 0x01E4}) rig.Set16(r, 0x0FC1);
    ASSERT_TRUE(rig.driver.probe());
    rig.fake.calls.clear();
    int16_t mode = Mode::DvbT, reset = 1;
    float avg = -1;
    int32_t color = 0;
    rig.view.colorizeResult = Color::Orange;
    EXPECT_EQ(rig.driver.SNR(mode, avg, color, reset), c.snr) << "model " << c.model;
    EXPECT_EQ(avg, c.snr);
    EXPECT_EQ(reset, 0);
    EXPECT_EQ(color, Color::Orange);
    EXPECT_EQ(rig.view.lastColorized, c.snr);
    EXPECT_EQ(rig.view.barPrefix, "CoN: ");
    std::vector<int> want = c.r1 ? std::vector<int>{c.r1, c.r2} : std::vector<int>{};
    EXPECT_EQ(rig.SubsRead(), want);
  }
}

TEST(dibcom, SnrAveragesTheRoundedValueWithoutFurtherRounding) {
  DibcomRig rig;
  rig.fake.present = {0x12};
  SetModel(rig, 0);
  ASSERT_TRUE(rig.driver.probe());
  int16_t mode = Mode::DvbT, reset = 0;
  float avg = 0;
  int32_t color = 0;
  rig.bus.FillSnrHistory(0);
  rig.Set16(0x01DF, 0x0000), rig.Set16(0x01E0, 0x0FC1);  // 48.52 -> 49
  EXPECT_EQ(rig.driver.SNR(mode, avg, color, reset), 49);
  EXPECT_FLOAT_EQ(avg, 49.0f / 19);
  EXPECT_EQ(rig.bus.SnrSlot(19), 49);
}

TEST(dibcom, LockBitsAndTheCaptionsTheySet) {
  struct Case {
    int status;
    int16_t m, eq, fec, sync, afc;
    bool captions;
  } cases[] = {
      {0x0118, 1, 0, 1, 1, 0, true},  {0x0110, 0, 0, 0, 0, 0, false}, {0x1008, 1, 1, 0, 0, 0, true},
      {0x2008, 1, 1, 0, 0, 0, true},  {0x8008, 1, 0, 0, 0, 1, true},  {0xFFFF, 1, 1, 1, 1, 1, true},
      {0xFFF7, 0, 0, 0, 0, 0, false}, {0x0000, 0, 0, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    DibcomRig rig;
    rig.fake.present = {0x12};
    SetModel(rig, 0);
    ASSERT_TRUE(rig.driver.probe());
    rig.Set16(0x01FD, c.status);
    int16_t m = 9, eq = 9, fec = 9, sync = 9, afc = 9;
    rig.driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}),
              std::vector<int16_t>({c.m, c.eq, c.fec, c.sync, c.afc}))
        << std::hex << c.status;
    EXPECT_EQ(rig.view.captions.count("lblVSBSync"), c.captions ? 1u : 0u);
    if (c.captions) {
      EXPECT_EQ(rig.view.captions["lblVSBSync"], "FE SYNC");
      EXPECT_EQ(rig.view.captions["lblAFCLock"], "Signal Lock");
    }
    EXPECT_EQ(rig.view.captions.size(), c.captions ? 2u : 0u);
  }
}

TEST(dibcom, TransmissionParametersByModel) {
  struct Case {
    int model;
    int tpsRegister;  // 0: no read
    int word;
    int16_t modulation, codeRate, guard, fft;
  } cases[] = {
      {0, 0x01CF, 0x8125, 2, 0, 1, 1},  // bits 15, 8, 5, 2, 0
      {0, 0x01CF, 0x0000, 0, 4, 0, 0},
      {0, 0x01CF, 0x4040, 1, 1, 0, 0},
      {0, 0x01CF, 0xC060, -1, 2, 0, 0},  // modulation 3 is unknown
      {0, 0x01CF, 0x0080, 0, 4, 0, 0},   // code rate field 4
      {0, 0x01CF, 0x00A3, 0, 3, 3, 0},   // field 5
      {0, 0x01CF, 0x00C2, 0, 4, 2, 0},   // field 6
      {0, 0x01CF, 0x00E0, 0, 4, 0, 0},   // field 7
      {1, 0x01CF, 0x8000, 2, 4, 0, 0},
      {3, 0x01CF, 0x4000, 1, 4, 0, 0},
      {4, 0, 0, 0, 4, 0, 0},
      {5, 0x01CA, 0x4000, 2, 4, 0, 0},  // bits 13..14 = 2
      {6, 0x01CA, 0x6000, -1, 4, 0, 0},
      {6, 0x01CA, 0xA101, 1, 4, 1, 1},  // bit 15 is not part of the field
  };
  for (const auto& c : cases) {
    DibcomRig rig;
    rig.fake.present = {0x12};
    SetModel(rig, c.model);
    ASSERT_TRUE(rig.driver.probe());
    for (int r : {0x01CF, 0x01CA}) rig.Set16(r, r == c.tpsRegister ? c.word : 0xFFFF);
    rig.fake.calls.clear();
    EXPECT_EQ(rig.driver.OperatingMode(), Mode::DvbT);
    std::vector<int> want = c.tpsRegister ? std::vector<int>{c.tpsRegister} : std::vector<int>{};
    EXPECT_EQ(rig.SubsRead(), want);
    int16_t t[6] = {9, 9, 9, 9, 9, 9};
    rig.driver.GetTPS(t[0], t[1], t[2], t[3], t[4], t[5]);
    EXPECT_EQ(std::vector<int16_t>(t, t + 6),
              std::vector<int16_t>({c.modulation, 0, 0, c.codeRate, c.guard, c.fft}))
        << "model " << c.model << " word " << std::hex << c.word;
    EXPECT_EQ(rig.fake.calls.size(), want.size());  // GetTPS itself does not touch the bus
  }
}

TEST(dibcom, RegisterFrameCountersAndModelNames) {
  struct Case {
    int model;
    int uncorrectableRegister;
  } cases[] = {{0, 0x01FA}, {2, 0x01FA}, {3, 0x01FA}, {4, 0x01FC}, {6, 0x01FC}};
  for (const auto& c : cases) {
    DibcomRig rig;
    rig.fake.present = {0x12};
    SetModel(rig, c.model);
    ASSERT_TRUE(rig.driver.probe());
    rig.Set16(0x01FA, 17), rig.Set16(0x01FC, 300);
    rig.fake.calls.clear();
    EXPECT_EQ(rig.driver.UncorrectableErrors().Number(),
              c.uncorrectableRegister == 0x01FA ? 17 : 300);
    EXPECT_EQ(rig.driver.PostVeterbiErrors().Number(), 300);
    EXPECT_EQ(rig.SubsRead(), (std::vector<int>{c.uncorrectableRegister, 0x01FC}));
  }
  DibcomRig rig;
  rig.fake.present = {0x12};
  SetModel(rig, 0);
  ASSERT_TRUE(rig.driver.probe());
  rig.Set16(0x0188, 0x00AB), rig.Set16(0x0189, 0xFFFF), rig.Set16(0x018A, 0);
  rig.fake.calls.clear();
  EXPECT_EQ(rig.driver.SNRRegisters().Text(), "AB / FFFF / 0");
  EXPECT_EQ(rig.SubsRead(), (std::vector<int>{0x0188, 0x0189, 0x018A}));
  EXPECT_EQ(rig.view.captions["frF0F1"], "agc1_raw / agc2_raw / agc_global");
  EXPECT_EQ(rig.view.fonts["frF0F1"], (std::pair<std::string, int>{"SmallFonts", 7}));
}

TEST(dibcom, DeadBusReadsAsZeros) {
  DibcomRig rig;
  rig.fake.present = {0x12};
  SetModel(rig, 0);
  ASSERT_TRUE(rig.driver.probe());
  rig.Set16(0x01CF, 0xFFFF), rig.Set16(0x01FA, 5), rig.Set16(0x01FD, 0xFFFF);
  rig.Set16(0x01DF, 0x0000), rig.Set16(0x01E0, 0x0FC1);
  rig.fake.present.clear();
  rig.fake.calls.clear();
  rig.driver.OperatingMode();
  EXPECT_EQ(rig.fake.calls.size(), 1u);  // no retry
  int16_t t[6];
  rig.driver.GetTPS(t[0], t[1], t[2], t[3], t[4], t[5]);
  EXPECT_EQ(std::vector<int16_t>(t, t + 6), (std::vector<int16_t>{0, 0, 0, 4, 0, 0}));
  int16_t mode = Mode::DvbT, reset = 1;
  float avg;
  int32_t color;
  EXPECT_EQ(rig.driver.SNR(mode, avg, color, reset), 0);
  EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), 0);
  int16_t m, eq, fec, sync, afc;
  rig.driver.GetLockStatus(m, eq, fec, sync, afc);
  EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}), std::vector<int16_t>(5, 0));
}

TEST(dibcom, FoundOnItsSimulatedBoardWithAWanderingLockedSignal) {
  PollView first = PollBuiltInBoard("dibcom", 0);
  EXPECT_EQ(first.className, "dibcom");
  EXPECT_EQ(first.name, "DIB7000PC");
  EXPECT_EQ(first.mode, Mode::DvbT);
  EXPECT_EQ(first.snr, 24);
  EXPECT_EQ(std::vector<int16_t>(first.locks, first.locks + 5), std::vector<int16_t>(5, 1));
  EXPECT_EQ(std::vector<int16_t>(first.tps, first.tps + 6),
            (std::vector<int16_t>{2, 0, 0, 1, 2, 1}));  // QAM64, 2/3, 1/8, 8K
  PollView later = PollBuiltInBoard("dibcom", 14);
  EXPECT_NE(later.snr, first.snr);
  EXPECT_GE(later.snr, 22);
  EXPECT_LE(later.snr, 26);
}

}  // namespace
