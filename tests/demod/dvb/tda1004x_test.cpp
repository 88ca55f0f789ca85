#include "demod/dvb/tda1004x.h"

#include <gtest/gtest.h>

#include <cmath>

#include "demod/dvb/DvbChip.h"
#include "monitor/Codes.h"

namespace {

using Chip = DvbChip<tda1004x>;
using Scripted = ScriptedDvb<tda1004x>;

std::string Reg(int r, int v) { return "\"" + std::to_string(r) + "\":" + std::to_string(v); }

std::string Device(const std::string& chip, const std::string& address, int identity = 0) {
  return "{\"chip\":\"" + chip + "\",\"address\":\"" + address + "\"" +
         (identity ? ",\"registers\":{\"0\":" + std::to_string(identity) + "}" : "") + "}";
}

TEST(tda1004x, ProbeByAddressFlagAndIdentity) {
  struct Case {
    std::vector<std::string> devices;
    bool secondDemod;
    bool found;
    std::string name;
    long transactions;
  } cases[] = {
      {{Device("tda10046", "0x10")}, false, true, "TDA10046", 2},
      {{Device("tda10048", "0x10")}, false, true, "TDA10048", 2},
      {{Device("tda10046", "0x10"), Device("tda10048", "0x12")}, false, true, "TDA10046", 2},
      {{Device("tda10046", "0x10"), Device("tda10048", "0x12")}, true, true, "TDA10048", 3},
      {{Device("tda10048", "0x12")}, false, true, "TDA10048", 3},
      {{Device("tda10046", "0x10")}, true, false, "TDA1004x", 2},
      {{}, false, false, "TDA1004x", 2},
      {{Device("tda10046", "0x10", 0x47)}, false, false, "TDA1004x", 2},
      {{Device("tda10046", "0x10", 0x47), Device("tda10048", "0x12")}, false, false, "TDA1004x", 2},
  };
  for (const auto& c : cases) {
    std::string json = "{\"devices\":[";
    for (size_t i = 0; i < c.devices.size(); ++i) json += (i ? "," : "") + c.devices[i];
    FileBoard b(json + "]}");
    b.bus->secondDemod = c.secondDemod;
    FakeView view;
    tda1004x driver(*b.bus, view);
    EXPECT_EQ(driver.name(), "TDA1004x") << "before the probe";
    EXPECT_EQ(driver.probe(), c.found) << json << " flag " << c.secondDemod;
    EXPECT_EQ(driver.name(), c.name) << json;
    EXPECT_EQ(b.board->transactions(), c.transactions) << json;
  }
}

TEST(tda1004x, ProbeReadsArePlainAndWithoutRetry) {
  Scripted s;
  s.fake.fallback = 1;
  EXPECT_FALSE(s.driver.probe());
  ASSERT_EQ(s.fake.calls.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(s.fake.calls[i].address, i == 0 ? 0x10 : 0x12);
    EXPECT_EQ(s.fake.calls[i].mode, 0);
    EXPECT_EQ(s.fake.calls[i].count, 1);
  }
}

TEST(tda1004x, TpsDecodingOfEveryFieldForBothChips) {
  struct Case {
    const char* chip;
    std::string regs;
    std::vector<int16_t> tps;  // modulation, hierarchy, select, rate, guard, fft
  } cases[] = {
      {"tda10046", Reg(4, 0x1A) + "," + Reg(5, 0x01), {2, 0, 0, 1, 2, 1}},
      {"tda10046", Reg(4, 0x11), {1, 0, 0, 0, 0, 1}},
      {"tda10046", Reg(4, 0x03), {-1, 0, 0, 0, 0, 0}},  // constellation 3 unknown
      {"tda10046", Reg(4, 0x60), {0, 3, 0, 0, 0, 0}},
      {"tda10046", Reg(4, 0x20), {0, 1, 0, 0, 0, 0}},
      {"tda10046", Reg(4, 0x0C), {0, 0, 0, 0, 3, 0}},
      {"tda10046", Reg(5, 0x04), {0, 0, 0, 4, 0, 0}},
      {"tda10046", Reg(5, 0x05), {0, 0, 0, -1, 0, 0}},  // rates 5..7 unknown
      {"tda10046", Reg(5, 0x3F), {0, 0, 0, -1, 0, 0}},
      {"tda10046", Reg(5, 0x1A), {0, 0, 0, 2, 0, 0}},   // LP rate not used for HP
      {"tda10046", Reg(5, 0x1A) + "," + Reg(1, 0x08), {0, 0, 1, 3, 0, 0}},
      {"tda10046", Reg(5, 0x30) + "," + Reg(1, 0xF7), {0, 0, 0, 0, 0, 0}},  // only bit 3 selects
      {"tda10046", Reg(5, 0x30) + "," + Reg(1, 0x08), {0, 0, 1, -1, 0, 0}},
      {"tda10046", Reg(4, 0xFF) + "," + Reg(5, 0xFF) + "," + Reg(1, 0xFF), {-1, 3, 1, -1, 3, 1}},
      {"tda10048", Reg(0x14, 0x09) + "," + Reg(0x15, 0x41), {2, 0, 0, 1, 2, 1}},
      {"tda10048", Reg(0x15, 0x20), {1, 0, 0, 0, 0, 0}},
      {"tda10048", Reg(0x15, 0x60), {-1, 0, 0, 0, 0, 0}},
      {"tda10048", Reg(0x15, 0x18), {0, 3, 0, 0, 0, 0}},
      {"tda10048", Reg(0x15, 0x08), {0, 1, 0, 0, 0, 0}},
      {"tda10048", Reg(0x15, 0x03), {0, 0, 0, 3, 0, 0}},
      {"tda10048", Reg(0x15, 0x06), {0, 0, 0, -1, 0, 0}},
      {"tda10048", Reg(0x15, 0x02) + "," + Reg(0x16, 0x04), {0, 0, 0, 2, 0, 0}},
      {"tda10048", Reg(0x15, 0x02) + "," + Reg(0x16, 0xFC) + "," + Reg(0x18, 0x08),
       {0, 0, 1, 4, 0, 0}},
      {"tda10048", Reg(0x16, 0x07) + "," + Reg(0x18, 0x08), {0, 0, 1, -1, 0, 0}},
      {"tda10048", Reg(0x14, 0x04), {0, 0, 0, 0, 1, 0}},
      {"tda10048", Reg(0x14, 0x02), {0, 0, 0, 0, 0, 2}},  // 4K
      {"tda10048", Reg(0x14, 0x03), {0, 0, 0, 0, 0, -1}},
      {"tda10048", Reg(0x14, 0xFF) + "," + Reg(0x15, 0xFF) + "," + Reg(0x16, 0xFF) + "," +
                       Reg(0x18, 0xFF),
       {-1, 3, 1, -1, 3, -1}},
  };
  for (const auto& c : cases) {
    // The other registers hold values that would show if the wrong one were read.
    std::string regs = c.chip == std::string("tda10046")
                           ? Reg(4, 0) + "," + Reg(5, 0) + "," + Reg(1, 0) + "," + Reg(0x14, 0xFF) +
                                 "," + Reg(0x15, 0xFF)
                           : Reg(0x14, 0) + "," + Reg(0x15, 0) + "," + Reg(0x16, 0) + "," +
                                 Reg(0x18, 0) + "," + Reg(4, 0xFF) + "," + Reg(5, 0xFF);
    Chip chip(c.chip, regs + "," + c.regs);
    EXPECT_EQ(chip.Tps(), std::vector<int16_t>(6, 0)) << "before any mode read";
    EXPECT_EQ(chip.driver.OperatingMode(), Mode::DvbT);
    EXPECT_EQ(chip.Tps(), c.tps) << c.chip << " " << c.regs;
  }
}

TEST(tda1004x, SnrFromTheLogarithmOfTheRawValue) {
  struct Case {
    const char* chip;
    int snrRegister;
    int raw;
    float snr;
  } cases[] = {
      {"tda10046", 0x1C, 255, 0},   {"tda10046", 0x1C, 1, 27.7f},  {"tda10046", 0x1C, 0, 30},
      {"tda10046", 0x1C, 3, 22.2f}, {"tda10046", 0x1C, 2, 24.2f},  {"tda10046", 0x1C, 128, 3.4f},
      {"tda10048", 0xA2, 100, 4.7f}, {"tda10048", 0xA2, 1, 27.7f}, {"tda10048", 0xA2, 0, 30},
      {"tda10048", 0xA2, 254, 0},
  };
  for (const auto& c : cases) {
    int other = c.snrRegister == 0x1C ? 0xA2 : 0x1C;
    Chip chip(c.chip, Reg(c.snrRegister, c.raw) + "," + Reg(other, 77));
    chip.view.colorizeResult = 0x00FFFF;
    int16_t mode = 0, reset = 2;
    float avg = -1;
    int32_t color = 0;
    float snr = chip.driver.SNR(mode, avg, color, reset);
    EXPECT_FLOAT_EQ(snr, c.snr) << c.chip << " raw " << c.raw;
    EXPECT_FALSE(std::signbit(snr));
    EXPECT_FLOAT_EQ(avg, c.snr);
    EXPECT_EQ(reset, 0);
    EXPECT_EQ(chip.b.bus->SnrSlot(19), c.raw);
    EXPECT_EQ(chip.view.colorizeCalls, 1);
    EXPECT_FLOAT_EQ(chip.view.lastColorized, c.snr);
    EXPECT_EQ(color, 0x00FFFF);
  }
  // The average is taken over raw values, then converted.
  Chip chip("tda10046", Reg(0x1C, 1));
  int16_t mode = 0, reset = 1;
  float avg;
  int32_t color;
  chip.driver.SNR(mode, avg, color, reset);
  chip.Set(0x1C, 255);
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 0);
  EXPECT_FLOAT_EQ(avg, 14.4f);  // raw mean 273/19
}

TEST(tda1004x, LockBitsAndCaptionsForBothChips) {
  struct Case {
    const char* chip;
    int statusRegister, status;
    std::vector<int16_t> locks;  // master, EQ, FEC, sync, AFC
  } cases[] = {
      {"tda10046", 0x06, 0x8F, {1, 1, 1, 1, 1}}, {"tda10046", 0x06, 0x08, {1, 0, 0, 0, 0}},
      {"tda10046", 0x06, 0x10, {0, 0, 0, 0, 0}}, {"tda10046", 0x06, 0x80, {0, 1, 0, 0, 0}},
      {"tda10046", 0x06, 0x01, {0, 0, 1, 0, 0}}, {"tda10046", 0x06, 0x04, {0, 0, 0, 1, 0}},
      {"tda10046", 0x06, 0x02, {0, 0, 0, 0, 1}}, {"tda10046", 0x06, 0x77, {0, 0, 1, 1, 1}},
      {"tda10048", 0x1A, 0x97, {1, 1, 1, 1, 1}}, {"tda10048", 0x1A, 0x10, {1, 0, 0, 0, 0}},
      {"tda10048", 0x1A, 0x08, {0, 0, 0, 0, 0}}, {"tda10048", 0x1A, 0xEF, {0, 1, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    int other = c.statusRegister == 0x06 ? 0x1A : 0x06;
    Chip chip(c.chip, Reg(c.statusRegister, c.status) + "," + Reg(other, 0xFF ^ c.status));
    EXPECT_EQ(chip.Locks(), c.locks) << c.chip << " " << std::hex << c.status;
    EXPECT_EQ(chip.view.captions, (std::map<std::string, std::string>{{"lblFECLock", "TPS Lock"},
                                                                        {"lblEQLock", "PLL Lock"},
                                                                        {"lblVSBSync", "FREQ Lock"},
                                                                        {"lblAFCLock", "TIME Lock"}}));
  }
}

TEST(tda1004x, UncorrectableIncreaseWithWrapAround) {
  struct Case {
    const char* chip;
    std::vector<std::pair<int, int>> readings;  // (0x27, -) or (0xCE, 0xCF)
    std::vector<double> increases;
  } cases[] = {
      {"tda10046", {{0x85, 0}, {0x85, 0}, {120, 0}, {3, 0}}, {5, 0, 115, 10}},
      {"tda10046", {{0x7F, 0}, {0xFF, 0}, {0, 0}}, {127, 0, 0}},  // 127 - 127 + 0
      {"tda10046", {{0, 0}, {1, 0}}, {0, 1}},
      {"tda10048", {{0x02, 0x01}, {0xF0, 0xFF}, {0x10, 0x00}}, {0x0102, 0xFFF0 - 0x0102, 31}},
      {"tda10048", {{0xFF, 0x00}, {0x00, 0x01}}, {255, 1}},
  };
  for (const auto& c : cases) {
    Chip chip(c.chip, "");
    for (size_t i = 0; i < c.readings.size(); ++i) {
      if (c.chip == std::string("tda10046")) {
        chip.Set(0x27, c.readings[i].first);
      } else {
        chip.Set(0xCE, c.readings[i].first);
        chip.Set(0xCF, c.readings[i].second);
      }
      EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), c.increases[i]) << c.chip << " " << i;
    }
  }
}

TEST(tda1004x, AnUnknownIdentityReadsNothingAndAnswersNeutrally) {
  FileBoard b(OneChip("tda10046", "\"0\":71"));
  FakeView view;
  tda1004x driver(*b.bus, view);
  EXPECT_FALSE(driver.probe());
  long before = b.board->transactions();
  EXPECT_EQ(driver.OperatingMode(), Mode::None);
  int16_t mode = 0, reset = 1, m, eq, fec, sync, afc;
  float avg;
  int32_t color = 0;
  EXPECT_FLOAT_EQ(driver.SNR(mode, avg, color, reset), 30);
  EXPECT_FLOAT_EQ(avg, 30);
  driver.GetLockStatus(m, eq, fec, sync, afc);
  EXPECT_EQ(std::vector<int16_t>({m, eq, fec, sync, afc}), std::vector<int16_t>({-1, 0, 0, 0, 0}));
  EXPECT_EQ(view.captions.size(), 4u);
  EXPECT_EQ(driver.UncorrectableErrors().Number(), 0);
  EXPECT_EQ(driver.PostVeterbiErrors().Number(), 0);
  EXPECT_EQ(b.board->transactions(), before);
}

TEST(tda1004x, RegisterReadOrderPerMember) {
  struct Case {
    int identity;
    const char* member;
    std::vector<int> subs;
  } cases[] = {
      {0x46, "OperatingMode", {0x04, 0x05, 0x01}},
      {0x48, "OperatingMode", {0x14, 0x15, 0x16, 0x18}},
      {0x46, "SNR", {0x1C}},
      {0x48, "SNR", {0xA2}},
      {0x46, "GetLockStatus", {0x06}},
      {0x48, "GetLockStatus", {0x1A}},
      {0x46, "UncorrectableErrors", {0x27}},
      {0x48, "UncorrectableErrors", {0xCE, 0xCF}},
      {0x46, "PostVeterbiErrors", {}},
      {0x48, "GetTPS", {}},
  };
  for (const auto& c : cases) {
    Scripted s;
    s.bus.secondDemod = true;
    s.fake.readData[0] = {uint8_t(c.identity)};
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
    EXPECT_EQ(s.RegisterReads(), c.subs) << member << " " << c.identity;
    EXPECT_EQ(s.fake.calls.size(), c.subs.size()) << member << ": reads only";
    for (const auto& call : s.fake.calls) EXPECT_EQ(call.address, 0x12);
  }
}

}  // namespace
