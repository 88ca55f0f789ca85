#include "demod/dvb/zl10353.h"

#include <gtest/gtest.h>

#include "demod/dvb/DvbRig.h"

namespace {

struct ZlRig : Rig<zl10353> {
  explicit ZlRig(const std::vector<std::pair<int, int>>& regs = {}) {
    Set8(0x7F, 0x14);
    Found(0x1E, regs);
  }
  std::vector<int> Reads() const { return Rig::Reads(0x1E); }
};

TEST(zl10353, ProbeFindsTheDeviceThenChecksItsIdentity) {
  struct Case {
    std::vector<uint8_t> results;  // library results in call order, then success
    int identity;
    bool found;
    size_t calls;
    int address;  // where later reads go
  } cases[] = {
      {{1}, 0x14, false, 1, 0},  // presence is not retried
      {{}, 0x14, true, 2, 0x1E},
      {{}, 0x15, false, 2, 0x1E},
      {{0, 1, 1, 1}, 0x14, true, 5, 0x1E},  // the identity read is
  };
  for (const auto& c : cases) {
    Rig<zl10353> rig;
    rig.fake.present = {0x1E};
    rig.fake.results.assign(c.results.begin(), c.results.end());
    rig.Set8(0x7F, c.identity);
    EXPECT_EQ(rig.driver.probe(), c.found) << c.identity;
    ASSERT_EQ(rig.fake.calls.size(), c.calls);
    const auto& first = rig.fake.calls[0];
    EXPECT_EQ(std::vector<int>({first.kind, first.mode, first.address, first.sub, first.count}),
              std::vector<int>({FakeI2c::Call::Read, 0, 0x1E, 0, 1}));
    EXPECT_EQ(rig.Reads(0x1E).back(), c.calls > 1 ? 0x7F : 0);
    rig.fake.calls.clear();
    rig.driver.OperatingMode();
    EXPECT_EQ(rig.fake.calls.at(0).address, c.address);
  }
  EXPECT_EQ(ZlRig().driver.name(), "ZL10353");
}

TEST(zl10353, TpsDecodingOfEveryFieldWhenTheModeIsRead) {
  struct Case {
    int a, b;                  // registers 0x1F, 0x20
    std::vector<int16_t> tps;  // modulation, hierarchy, select, rate, guard, fft
  } cases[] = {
      {0x40, 0x85, {2, 0, 0, 1, 1, 1}},      // QAM64, 2/3, 1/16, 8K
      {0x4A, 0x0D, {2, 2, 0, 4, 3, -1}},     // HP rate from bits 7..9 of the word
      {0x2D, 0x80, {1, 3, 0, 3, 0, 0}},      // the rate spans both bytes
      {0x72, 0x88, {-1, -1, 0, -1, 2, -1}},  // constellation 3, hierarchy 4, rate 5, FFT 2
      {0x00, 0x77, {0, 0, 0, 0, 1, 1}},      // LP rate and bits 0..1 ignored for HP
      {0x80, 0x18, {0, 0, 1, 3, 2, -1}},     // LP: rate from bits 3..5
      {0x83, 0xA0, {0, 0, 1, 4, 0, 0}},      // LP ignores the HP rate
      {0x80, 0x28, {0, 0, 1, -1, 2, -1}},
      {0xFF, 0xFF, {-1, -1, 1, -1, 3, -1}},  // dead bus
  };
  for (const auto& c : cases) {
    ZlRig rig({{0x1F, c.a}, {0x20, c.b}});
    EXPECT_EQ(rig.Tps(), std::vector<int16_t>(6, 0)) << "before any mode read";
    EXPECT_EQ(rig.driver.OperatingMode(), Mode::DvbT);
    EXPECT_EQ(rig.Tps(), c.tps) << std::hex << c.a << " " << c.b;
    EXPECT_EQ(rig.Reads(), (std::vector<int>{0x1F, 0x20})) << "GetTPS reads nothing";
  }
}

TEST(zl10353, SnrInEighthsOfADbColouredByTheWindow) {
  struct Case {
    int raw;
    float snr;
  } cases[] = {
      {0xA5, 20.6f},  // 20.625
      {2, 0.2f},      // halves to even
      {6, 0.8f},
      {0, 0},
      {255, 31.9f},
  };
  for (const auto& c : cases) {
    ZlRig rig({{0x10, c.raw}});
    rig.view.colorizeResult = Color::Orange;
    auto out = rig.Snr(-1);
    EXPECT_FLOAT_EQ(out.snr, c.snr) << c.raw;
    EXPECT_FLOAT_EQ(out.avg, c.snr);
    EXPECT_EQ(out.reset, 0);
    EXPECT_EQ(rig.bus.SnrSlot(1), c.raw);
    EXPECT_EQ(rig.view.colorizeCalls, 1);
    EXPECT_FLOAT_EQ(rig.view.lastColorized, c.snr);
    EXPECT_EQ(out.color, Color::Orange);
    EXPECT_EQ(rig.Reads(), std::vector<int>{0x10});
  }
  // Without a reset the average is over raw readings: a nineteenth of the step.
  ZlRig rig({{0x10, 40}});
  rig.Snr(1);
  rig.Set8(0x10, 40 + 19 * 8);
  auto out = rig.Snr(0);
  EXPECT_FLOAT_EQ(out.snr, 24);
  EXPECT_FLOAT_EQ(out.avg, 6);
}

TEST(zl10353, LockBitsAndTheSyncCaptionOnEveryCall) {
  struct Case {
    int a, b;                    // registers 0x06, 0x07
    std::vector<int16_t> locks;  // master, EQ, FEC, sync, AFC
  } cases[] = {
      {0x40, 0x00, {1, 0, 0, 0, 0}},
      {0x04, 0x00, {0, 1, 0, 0, 0}},
      {0x20, 0x00, {0, 0, 1, 0, 0}},
      {0x00, 0x20, {0, 0, 0, 1, 0}},
      {0x01, 0x00, {0, 0, 0, 0, 1}},
      {0x9A, 0xDF, {0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    ZlRig rig({{0x06, c.a}, {0x07, c.b}});
    EXPECT_EQ(rig.Locks(), c.locks) << std::hex << c.a << " " << c.b;
    EXPECT_EQ(rig.view.captions["lblVSBSync"], "DSCR Lock");
    rig.view.captions.clear();
    rig.Locks();
    EXPECT_EQ(rig.view.captions["lblVSBSync"], "DSCR Lock");
    EXPECT_EQ(rig.Reads(), (std::vector<int>{0x06, 0x07, 0x06, 0x07}));
  }
}

TEST(zl10353, ErrorCounters) {
  struct Uncorrectable {
    int high, low;
    double count;  // signed 16 bits, negative as 0
  } uncorrectable[] = {
      {0x01, 0x00, 256},
      {0x00, 0x05, 5},
      {0x7F, 0xFF, 32767},
      {0x80, 0x00, 0},
      {0xFF, 0xFF, 0},
  };
  for (const auto& c : uncorrectable) {
    ZlRig rig({{0x14, c.high}, {0x15, c.low}});
    EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), c.count) << c.high << " " << c.low;
    EXPECT_EQ(rig.driver.UncorrectableErrors().Number(), c.count) << "not reset by reading";
    EXPECT_EQ(rig.Reads(), (std::vector<int>{0x14, 0x15, 0x14, 0x15}));
  }
  struct Ratio {
    int e2, e1, e0, p1, p0;  // errors 0x11..0x13, period 0x60..0x61
    double ratio;
  } ratios[] = {
      {0, 1, 0, 0, 1, 256.0 / (1024 * 1632)},
      {1, 2, 3, 2, 0, 0x010203 / (512.0 * 1024 * 1632)},
      {255, 255, 255, 255, 255, 16777215.0 / (65535.0 * 1024 * 1632)},
      {9, 9, 9, 0, 0, 0},  // nothing measured
  };
  for (const auto& c : ratios) {
    ZlRig rig({{0x11, c.e2}, {0x12, c.e1}, {0x13, c.e0}, {0x60, c.p1}, {0x61, c.p0}});
    EXPECT_DOUBLE_EQ(rig.driver.PostVeterbiErrors().Number(), c.ratio) << c.e2 << " " << c.p1;
    EXPECT_EQ(rig.Reads(), (std::vector<int>{0x60, 0x61, 0x11, 0x12, 0x13}));
  }
}

}  // namespace
