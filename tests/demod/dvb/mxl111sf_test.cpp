#include "demod/dvb/mxl111sf.h"

#include <gtest/gtest.h>

#include "demod/dvb/DvbRig.h"
#include "monitor/Codes.h"
#include "support/SimFixture.h"

namespace {

struct MxlRig : Rig<mxl111sf, AddressedI2c> {
  MxlRig() {
    fake.present = {0x1C};
    Set8(0x03, 0x73);
    EXPECT_TRUE(driver.probe());
    fake.calls.clear();
  }
  void Block(uint32_t d0, uint32_t d1, uint32_t d3, uint32_t d4 = 0) {
    fake.readData[0] = StatsBlock(d0, d1, 0, d3, d4);
  }
};

TEST(mxl111sf, ProbeIsAWriteReadThenAnIdentityMask) {
  struct Case {
    bool present;
    int id;
    bool found;
  } cases[] = {{false, 0x73, false}, {true, 0x73, true},  {true, 0xF7, true},
               {true, 0xFF, true},   {true, 0x71, false}, {true, 0x63, false},
               {true, 0x53, false},  {true, 0x33, false}, {true, 0x72, false}};
  for (const auto& c : cases) {
    Rig<mxl111sf, AddressedI2c> rig;
    if (c.present) rig.fake.present = {0x1C};
    rig.Set8(0x03, c.id);
    EXPECT_EQ(rig.driver.probe(), c.found) << std::hex << c.id;
    ASSERT_EQ(rig.fake.calls.size(), c.present ? 2u : 1u);
    const auto& presence = rig.fake.calls[0];
    EXPECT_EQ(presence.kind, FakeI2c::Call::WriteRead);
    EXPECT_EQ(presence.address, 0x1C);
    EXPECT_EQ(presence.bytes, (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(presence.count, 1);
    if (c.present) {
      EXPECT_EQ(rig.fake.calls[1].mode, 1);
      EXPECT_EQ(rig.fake.calls[1].sub, 0x03);
    }
    EXPECT_EQ(rig.driver.name(), "MxL111SF");
  }
}

TEST(mxl111sf, SnrWordRangeHundredthsAndRounding) {
  struct Case {
    uint32_t d3;
    int32_t word;  // Data3 after the range check
    float snr;
  } cases[] = {
      {2512, 2512, 25.1f}, {2525, 2525, 25.2f},  // a half goes to the even tenth
      {2535, 2535, 25.4f}, {2545, 2545, 25.5f},  // 25.45 as a single lies above the half
      {2505, 2505, 25.0f}, {4000, 4000, 40.0f}, {0, 0, 0},
      {4001, 0, 0},        {0xFFFFFFFF, 0, 0},  {0x80000000, 0, 0},
  };
  for (const auto& c : cases) {
    MxlRig rig;
    rig.Block(0x1234, 0x5678, c.d3, 0x9ABC);
    int32_t d[5] = {0, 0, 0, 0, 0};
    rig.driver.ReadDemodStats(0x1C, 0, d[0], d[1], d[2], d[3], d[4]);
    EXPECT_EQ(std::vector<int32_t>(d, d + 5),
              (std::vector<int32_t>{0x1234, 0x5678, 0, c.word, 0x9ABC}));
    int16_t mode = Mode::DvbT, reset = 1;
    float avg = -9;
    int32_t color = 0;
    EXPECT_EQ(rig.driver.SNR(mode, avg, color, reset), c.snr) << c.d3;
    EXPECT_EQ(avg, c.snr);
    EXPECT_EQ(reset, 0);
  }
  MxlRig rig;
  rig.bus.FillSnrHistory(0);
  rig.Block(0, 0, 1900);
  int16_t mode = Mode::DvbT, reset = 0;
  float avg;
  int32_t color;
  rig.driver.SNR(mode, avg, color, reset);
  EXPECT_EQ(avg, 1.0f);  // 19 / 19
}

TEST(mxl111sf, OwnColouringFollowsTheRoundedResult) {
  struct Case {
    uint32_t d3;
    int32_t color;
  } cases[] = {
      {1894, Color::Red},                            // 18.9
      {1896, Color::Orange},                         // 18.96 rounds to 19.0
      {2094, Color::Orange}, {2096, Color::Yellow},  // 21.0
      {2194, Color::Yellow}, {2196, Color::Green},   // 22.0
  };
  for (const auto& c : cases) {
    MxlRig rig;
    rig.Block(0x82, 1, c.d3);  // QAM64, 2/3: 19, 21, 22
    int16_t t[6];
    rig.driver.GetTPS(t[0], t[1], t[2], t[3], t[4], t[5]);
    int16_t mode = Mode::DvbT, reset = 1;
    float avg;
    int32_t color = 0;
    rig.driver.SNR(mode, avg, color, reset);
    EXPECT_EQ(color, c.color) << c.d3;
    EXPECT_EQ(rig.view.colorizeCalls, 0);
  }
}

TEST(mxl111sf, FiveLockBitsWithPartialLocksCountingAsMaster) {
  struct Case {
    uint32_t d0;
    int16_t m, eq, fec, sync, afc;
  } cases[] = {
      {0x30, 1, 0, 1, 1, 0}, {0x80, 1, 0, 0, 0, 0},       {0x00, 0, 0, 0, 0, 0},
      {0x08, 1, 1, 0, 0, 0}, {0x40, 1, 0, 0, 0, 1},       {0xF8, 1, 1, 1, 1, 1},
      {0x07, 0, 0, 0, 0, 0}, {0xFFFFFF07, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    MxlRig rig;
    rig.Block(c.d0, 0, 0, 48);
    int16_t m = 9, eq = 9, fec = 9, sync = 9, afc = 9;
    rig.driver.GetLockStatus(m, eq, fec, sync, afc);
    EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}),
              std::vector<int16_t>({c.m, c.eq, c.fec, c.sync, c.afc}))
        << std::hex << c.d0;
    EXPECT_EQ(rig.view.captions, (std::map<std::string, std::string>{{"lblVSBSync", "SYNC Lock"},
                                                                     {"lblAFCLock", "RS Lock"},
                                                                     {"lblEQLock", "TPS Lock"},
                                                                     {"frF0F1", "RSSI"},
                                                                     {"lblF0F1", "-48"}}));
    EXPECT_EQ(rig.fake.calls.size(), 1u);
  }
}

TEST(mxl111sf, ModeAndTransmissionParametersAsTheOtherBlockReceiver) {
  MxlRig rig;
  rig.Set8(0x1F, 0x73);
  EXPECT_EQ(rig.driver.OperatingMode(), Mode::DvbT);
  rig.Set8(0x1F, 0x03);
  EXPECT_EQ(rig.driver.OperatingMode(), Mode::None);
  rig.Block(0x03020101, 3, 0);
  int16_t t[6];
  rig.driver.GetTPS(t[0], t[1], t[2], t[3], t[4], t[5]);
  EXPECT_EQ(std::vector<int16_t>(t, t + 6), (std::vector<int16_t>{1, 3, 0, 3, 2, 1}));
}

TEST(mxl111sf, SimulatedChipIsNotTakenForAnotherFamilyAtItsAddress) {
  // The DiBcom probe also reads 0x1C; its identity reads must neither match
  // nor change the chip.
  PollView first = PollBuiltInBoard("mxl111sf", 0);
  EXPECT_EQ(first.className, "mxl111sf");
  EXPECT_EQ(first.mode, Mode::DvbT);
  EXPECT_EQ(first.snr, 24.0f);
  EXPECT_EQ(std::vector<int16_t>(first.locks, first.locks + 5), std::vector<int16_t>(5, 1));
  EXPECT_EQ(std::vector<int16_t>(first.tps, first.tps + 6),
            (std::vector<int16_t>{2, 0, 0, 1, 2, 1}));
  PollView later = PollBuiltInBoard("mxl111sf", 12);
  EXPECT_NE(later.snr, first.snr);
  EXPECT_GE(later.snr, 22.5f);
  EXPECT_LE(later.snr, 25.5f);
  FileBoard b(OneChip("mxl111sf", "\"0x103\": 2512, \"0x100\": \"0x80\""));
  FakeView view;
  mxl111sf driver(*b.bus, view);
  ASSERT_TRUE(driver.probe());
  int16_t mode = driver.OperatingMode(), reset = 1;
  float avg;
  int32_t color;
  EXPECT_EQ(driver.SNR(mode, avg, color, reset), 25.1f);
  EXPECT_EQ(b.device(0x1C).GetRegister(0x103), 2512);
}

}  // namespace
