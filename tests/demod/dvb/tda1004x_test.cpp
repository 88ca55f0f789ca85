#include "demod/dvb/tda1004x.h"

#include <gtest/gtest.h>

#include <cmath>

#include "demod/dvb/DvbRig.h"

namespace {

// A TDA10046 (identity 0x46) or TDA10048 (0x48) found at 0x12.
struct TdaRig : Rig<tda1004x> {
  explicit TdaRig(int identity, const std::vector<std::pair<int, int>>& regs = {}) {
    bus.secondDemod = true;
    Set8(0, identity);
    Found(0x12, regs);
  }
  std::vector<int> Reads() const { return Rig::Reads(0x12); }
};

TEST(tda1004x, ProbeByAddressFlagAndIdentity) {
  struct Case {
    std::set<int> present;
    bool secondDemod;
    int identity;
    bool found;
    std::string name;
    std::vector<std::pair<int, int>> transfers;  // address and mode, without retry
  } cases[] = {
      {{0x10}, false, 0x46, true, "TDA10046", {{0x10, 0}, {0x10, 1}}},
      {{0x10, 0x12}, false, 0x48, true, "TDA10048", {{0x10, 0}, {0x10, 1}}},
      {{0x10, 0x12}, true, 0x46, true, "TDA10046", {{0x10, 0}, {0x12, 0}, {0x12, 1}}},
      {{0x12}, false, 0x48, true, "TDA10048", {{0x10, 0}, {0x12, 0}, {0x12, 1}}},
      {{0x10}, true, 0x46, false, "TDA1004x", {{0x10, 0}, {0x12, 0}}},
      {{0x10}, false, 0x47, false, "TDA1004x", {{0x10, 0}, {0x10, 1}}},
  };
  for (const auto& c : cases) {
    Rig<tda1004x> rig;
    rig.fake.present = c.present;
    rig.bus.secondDemod = c.secondDemod;
    rig.Set8(0, c.identity);
    EXPECT_EQ(rig.driver.name(), "TDA1004x") << "before the probe";
    EXPECT_EQ(rig.driver.probe(), c.found) << *c.present.begin() << " flag " << c.secondDemod;
    EXPECT_EQ(rig.driver.name(), c.name);
    EXPECT_EQ(rig.fake.Transfers(), c.transfers);
    for (const auto& call : rig.fake.calls) EXPECT_EQ(call.count, 1);
  }
}

TEST(tda1004x, TpsDecodingOfEveryFieldForBothChips) {
  struct Case {
    int identity;
    std::vector<std::pair<int, int>> regs;
    std::vector<int16_t> tps;  // modulation, hierarchy, select, rate, guard, fft
  } cases[] = {
      {0x46, {{4, 0x1A}, {5, 0x01}}, {2, 0, 0, 1, 2, 1}},  // QAM64, 2/3, 1/8, 8K
      {0x46, {{4, 0x6D}, {5, 0x1C}}, {1, 3, 0, 4, 3, 0}},  // LP rate not used for HP
      {0x46, {{4, 0x23}, {5, 0x05}}, {-1, 1, 0, -1, 0, 0}},
      {0x46, {{5, 0x1A}, {1, 0x08}}, {0, 0, 1, 3, 0, 0}},
      {0x46, {{5, 0x28}, {1, 0x08}}, {0, 0, 1, -1, 0, 0}},
      {0x46, {{5, 0x30}, {1, 0xF7}}, {0, 0, 0, 0, 0, 0}},  // only bit 3 selects
      {0x46, {{4, 0xFF}, {5, 0xFF}, {1, 0xFF}}, {-1, 3, 1, -1, 3, 1}},
      {0x48, {{0x14, 0x09}, {0x15, 0x41}}, {2, 0, 0, 1, 2, 1}},
      {0x48, {{0x14, 0x0E}, {0x15, 0x3C}, {0x16, 0x07}}, {1, 3, 0, 4, 3, 2}},  // 4K
      {0x48, {{0x14, 0x03}, {0x15, 0x6D}}, {-1, 1, 0, -1, 0, -1}},
      {0x48, {{0x15, 0x02}, {0x16, 0xFC}, {0x18, 0x08}}, {0, 0, 1, 4, 0, 0}},
      {0x48, {{0x16, 0x05}, {0x18, 0x08}}, {0, 0, 1, -1, 0, 0}},
      {0x48, {{0x14, 0xFF}, {0x15, 0xFF}, {0x16, 0xFF}, {0x18, 0xFF}}, {-1, 3, 1, -1, 3, -1}},
  };
  for (const auto& c : cases) {
    TdaRig rig(c.identity, c.regs);
    EXPECT_EQ(rig.Tps(), std::vector<int16_t>(6, 0)) << "before any mode read";
    EXPECT_EQ(rig.driver.OperatingMode(), Mode::DvbT);
    EXPECT_EQ(rig.Tps(), c.tps) << std::hex << c.identity << " " << c.regs[0].second;
    std::vector<int> reads = {4, 5, 1}, reads48 = {0x14, 0x15, 0x16, 0x18};
    EXPECT_EQ(rig.Reads(), c.identity == 0x46 ? reads : reads48) << "GetTPS reads nothing";
  }
}

TEST(tda1004x, SnrFromTheLogarithmOfTheRawValue) {
  struct Case {
    int identity, reg, raw;
    float snr;
  } cases[] = {
      {0x46, 0x1C, 255, 0},
      {0x46, 0x1C, 1, 27.7f},
      {0x46, 0x1C, 0, 30},
      {0x46, 0x1C, 128, 3.4f},
      {0x48, 0xA2, 100, 4.7f},
  };
  for (const auto& c : cases) {
    TdaRig rig(c.identity, {{c.reg, c.raw}});
    rig.view.colorizeResult = Color::Yellow;
    auto out = rig.Snr(2);
    EXPECT_FLOAT_EQ(out.snr, c.snr) << c.identity << " raw " << c.raw;
    EXPECT_FALSE(std::signbit(out.snr));
    EXPECT_FLOAT_EQ(out.avg, c.snr);
    EXPECT_EQ(out.reset, 0);
    EXPECT_EQ(rig.bus.SnrSlot(19), c.raw);
    EXPECT_FLOAT_EQ(rig.view.lastColorized, c.snr);
    EXPECT_EQ(out.color, Color::Yellow);
    EXPECT_EQ(rig.Reads(), std::vector<int>{c.reg});
  }
  // The average is taken over raw values, then converted.
  TdaRig rig(0x46, {{0x1C, 1}});
  rig.Snr(1);
  rig.Set8(0x1C, 255);
  auto out = rig.Snr(0);
  EXPECT_FLOAT_EQ(out.snr, 0);
  EXPECT_FLOAT_EQ(out.avg, 14.4f);  // raw mean 273/19
}

TEST(tda1004x, LockBitsAndCaptionsForBothChips) {
  struct Case {
    int identity, reg, status;
    std::vector<int16_t> locks;  // master, EQ, FEC, sync, AFC
  } cases[] = {
      {0x46, 0x06, 0x08, {1, 0, 0, 0, 0}},
      {0x46, 0x06, 0x80, {0, 1, 0, 0, 0}},
      {0x46, 0x06, 0x01, {0, 0, 1, 0, 0}},
      {0x46, 0x06, 0x04, {0, 0, 0, 1, 0}},
      {0x46, 0x06, 0x02, {0, 0, 0, 0, 1}},
      {0x46, 0x06, 0x77, {0, 0, 1, 1, 1}},
      {0x48, 0x1A, 0x10, {1, 0, 0, 0, 0}},
      {0x48, 0x1A, 0xEF, {0, 1, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    TdaRig rig(c.identity, {{c.reg, c.status}});
    EXPECT_EQ(rig.Locks(), c.locks) << c.identity << " " << std::hex << c.status;
    EXPECT_EQ(rig.view.captions, (std::map<std::string, std::string>{{"lblFECLock", "TPS Lock"},
                                                                        {"lblEQLock", "PLL Lock"},
                                                                        {"lblVSBSync", "FREQ Lock"},
                                                                        {"lblAFCLock", "TIME Lock"}}));
    EXPECT_EQ(rig.Reads(), std::vector<int>{c.reg});
  }
}

TEST(tda1004x, UncorrectableIncreaseWithWrapAround) {
  struct Case {
    int identity;
    std::vector<std::pair<int, int>> readings;  // 0x27 or 0xCE/0xCF (low, high)
    std::vector<double> increases;
  } cases[] = {
      {0x46, {{0x85, 0}, {0x85, 0}, {120, 0}, {3, 0}}, {5, 0, 115, 10}},
      {0x46, {{0x7F, 0}, {0xFF, 0}, {0, 0}}, {127, 0, 0}},  // 127 - 127 + 0
      {0x48, {{0x02, 0x01}, {0xF0, 0xFF}, {0x10, 0x00}}, {0x0102, 0xFFF0 - 0x0102, 31}},
  };
  for (const auto& c : cases) {
    TdaRig rig(c.identity);
    for (size_t i = 0; i < c.readings.size(); ++i) {
      rig.Set8(c.identity == 0x46 ? 0x27 : 0xCE, c.readings[i].first);
      rig.Set8(0xCF, c.readings[i].second);
      EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), c.increases[i]) << c.identity << i;
    }
    EXPECT_EQ(rig.driver.PostVeterbiErrors().Number(), 0);
    EXPECT_EQ(rig.Reads().size(), c.readings.size() * (c.identity == 0x46 ? 1 : 2));
    EXPECT_EQ(rig.Reads()[0], c.identity == 0x46 ? 0x27 : 0xCE);
  }
}

TEST(tda1004x, AnUnknownIdentityReadsNothingAndAnswersNeutrally) {
  Rig<tda1004x> rig;
  rig.fake.present = {0x10};
  rig.Set8(0, 0x47);
  EXPECT_FALSE(rig.driver.probe());
  rig.fake.calls.clear();
  EXPECT_EQ(rig.driver.OperatingMode(), Mode::None);
  auto out = rig.Snr();
  EXPECT_FLOAT_EQ(out.snr, 30);
  EXPECT_FLOAT_EQ(out.avg, 30);
  EXPECT_EQ(rig.Locks(), (std::vector<int16_t>{-1, 0, 0, 0, 0}));
  EXPECT_EQ(rig.view.captions.size(), 4u);
  EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), 0);
  EXPECT_TRUE(rig.fake.calls.empty());
}

}  // namespace
