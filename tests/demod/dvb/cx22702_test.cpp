#include "demod/dvb/cx22702.h"

#include <gtest/gtest.h>

#include "demod/dvb/DvbChip.h"
#include "monitor/Codes.h"

namespace {

using Chip = DvbChip<cx22702>;
using Scripted = ScriptedDvb<cx22702>;

std::string Reg(int r, int v) { return "\"" + std::to_string(r) + "\":" + std::to_string(v); }

TEST(cx22702, ProbeTriesBothAddressesThenChecksTheIdentity) {
  struct Case {
    std::vector<uint8_t> results;  // library results in call order, then success
    int identity;
    bool found;
    std::vector<int> addresses;  // of the calls made
    int laterAddress;
  } cases[] = {
      {{}, 3, true, {0xC6, 0xC6}, 0xC6},
      {{1}, 3, true, {0xC6, 0x86, 0x86}, 0x86},
      {{1, 1}, 3, false, {0xC6, 0x86}, 0},  // nothing is read at address 0
      {{}, 2, false, {0xC6, 0xC6}, 0xC6},
      {{1}, 0xFF, false, {0xC6, 0x86, 0x86}, 0x86},
  };
  for (const auto& c : cases) {
    Scripted s;
    s.fake.readData[0x1F] = {3};
    ASSERT_TRUE(s.driver.probe());  // a first find that the next probe forgets
    s.fake.calls.clear();
    s.fake.results.assign(c.results.begin(), c.results.end());
    s.fake.readData[0x1F] = {uint8_t(c.identity)};
    EXPECT_EQ(s.driver.probe(), c.found) << c.identity;
    std::vector<int> addresses;
    for (const auto& call : s.fake.calls) addresses.push_back(call.address);
    EXPECT_EQ(addresses, c.addresses);
    for (size_t i = 0; i + 1 < s.fake.calls.size(); ++i) {
      EXPECT_EQ(s.fake.calls[i].mode, 0);
      EXPECT_EQ(s.fake.calls[i].count, 1);
    }
    if (c.found || c.laterAddress) {
      EXPECT_EQ(s.fake.calls.back().sub, 0x1F);
    }
    s.fake.calls.clear();
    s.driver.OperatingMode();
    EXPECT_EQ(s.fake.calls.at(0).address, c.laterAddress);
  }
  Scripted s;
  EXPECT_EQ(s.driver.name(), "CX22702");
}

TEST(cx22702, TpsDecodingOfEveryField) {
  struct Case {
    int a, b, c, select;
    std::vector<int16_t> tps;  // modulation, hierarchy, select, rate, guard, fft
  } cases[] = {
      {0x10, 0x08, 0xA0, 0x00, {2, 0, 0, 1, 2, 1}},  // QAM64, 2/3, 1/8, 8K
      {0x00, 0x00, 0x00, 0x00, {0, 0, 0, 0, 0, 0}},
      {0x08, 0x00, 0x00, 0x00, {1, 0, 0, 0, 0, 0}},
      {0x18, 0x00, 0x00, 0x00, {-1, 0, 0, 0, 0, 0}},  // constellation 3 unknown
      {0xE0, 0x00, 0x00, 0x00, {0, 0, 0, 0, 0, 0}},   // bits above the field
      {0x03, 0x00, 0x00, 0x00, {0, 3, 0, 0, 0, 0}},
      {0x04, 0x00, 0x00, 0x00, {0, -1, 0, 0, 0, 0}},  // hierarchy 4..7 unknown
      {0x07, 0x00, 0x00, 0x00, {0, -1, 0, 0, 0, 0}},
      {0x00, 0x20, 0x00, 0x00, {0, 0, 0, 4, 0, 0}},
      {0x00, 0x28, 0x00, 0x00, {0, 0, 0, -1, 0, 0}},  // rates 5..7 unknown
      {0x00, 0x07, 0x00, 0x00, {0, 0, 0, 0, 0, 0}},   // the LP rate is not used for HP
      {0x00, 0x3B, 0x00, 0x40, {0, 0, 1, 3, 0, 0}},   // LP: rate from bits 0..2
      {0x00, 0x04, 0x00, 0x40, {0, 0, 1, 4, 0, 0}},
      {0x00, 0x06, 0x00, 0xBF, {0, 0, 0, 0, 0, 0}},   // only bit 6 selects
      {0x00, 0x06, 0x00, 0x40, {0, 0, 1, -1, 0, 0}},
      {0x00, 0x00, 0x40, 0x00, {0, 0, 0, 0, 1, 0}},
      {0x00, 0x00, 0xC0, 0x00, {0, 0, 0, 0, 3, 0}},
      {0x00, 0x00, 0x1F, 0x00, {0, 0, 0, 0, 0, 0}},
      {0xFF, 0xFF, 0xFF, 0xFF, {-1, -1, 1, -1, 3, 1}},  // dead bus
  };
  for (const auto& c : cases) {
    Chip chip("cx22702", Reg(1, c.a) + "," + Reg(2, c.b) + "," + Reg(3, c.c) + "," +
                             Reg(0x0C, c.select));
    EXPECT_EQ(chip.Tps(), std::vector<int16_t>(6, 0)) << "before any mode read";
    EXPECT_EQ(chip.driver.OperatingMode(), Mode::DvbT);
    EXPECT_EQ(chip.Tps(), c.tps) << std::hex << c.a << " " << c.b << " " << c.c << " "
                                 << c.select;
  }
}

// Register 0x23 for a whole-number strength in dB.
int StrengthRegister(int db) { return 255 - 8 * (db - 10); }

TEST(cx22702, SignalStrengthWithTheBarPrefix) {
  struct Case {
    int raw;
    float result, average;
  } cases[] = {
      {0x55, 31, 31.2f},  // 31.25; its tenth 312.5 goes to even
      {255, 10, 10},      {0, 42, 41.9f},  // 41.875
      {251, 10, 10.5f},   // 10.5 to the even neighbour
      {243, 12, 11.5f},   {135, 25, 25},   {131, 26, 25.5f},
  };
  for (const auto& c : cases) {
    Chip chip("cx22702", Reg(0x23, c.raw));
    int16_t mode = 0, reset = 1;
    float avg = 0;
    int32_t color = 0;
    EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), c.result) << c.raw;
    EXPECT_FLOAT_EQ(avg, c.average) << c.raw;
    EXPECT_EQ(reset, 0);
    EXPECT_EQ(chip.view.barPrefix, "Signal Strength: ");
    EXPECT_EQ(chip.view.colorizeCalls, 0) << "the driver colours by itself";
  }
  // Without a reset the average takes a nineteenth of a step.
  Chip chip("cx22702", Reg(0x23, StrengthRegister(10)));
  int16_t mode = 0, reset = 1;
  float avg;
  int32_t color;
  chip.driver.SNR(mode, avg, color, reset);
  chip.Set(0x23, StrengthRegister(29));
  EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), 29);
  EXPECT_FLOAT_EQ(avg, 11);
  chip.view.barPrefix.clear();
  chip.driver.SNR(mode, avg, color, reset);
  EXPECT_EQ(chip.view.barPrefix, "Signal Strength: ") << "written on every call";
}

TEST(cx22702, OwnColouringByConstellationAndRate) {
  struct Case {
    int tpsA, tpsB;  // constellation in A bits 3..4, HP rate in B bits 3..5
    int db;
    int32_t color;
  } cases[] = {
      {0x10, 0x08, 18, Color::Red},    {0x10, 0x08, 19, Color::Orange},  // QAM64 2/3: 19,21,22
      {0x10, 0x08, 20, Color::Orange}, {0x10, 0x08, 21, Color::Yellow},
      {0x10, 0x08, 22, Color::Green},  {0x10, 0x20, 22, Color::Red},     // QAM64 7/8: 23,24,25
      {0x10, 0x20, 24, Color::Yellow}, {0x10, 0x18, 24, Color::Green},   // QAM64 5/6: 22,23,24
      {0x08, 0x08, 13, Color::Red},    {0x08, 0x08, 14, Color::Orange},  // QAM16 2/3: 14,16,18
      {0x08, 0x08, 17, Color::Yellow}, {0x08, 0x08, 18, Color::Green},
      {0x00, 0x20, 11, Color::Orange}, {0x00, 0x20, 12, Color::Yellow},  // QPSK 7/8: 10,12,14
      {0x00, 0x10, 11, Color::Yellow}, {0x00, 0x00, 10, Color::Green},   // QPSK 3/4, 1/2
      {0x18, 0x08, 10, Color::Green},  {0x10, 0x28, 10, Color::Green},   // unknown codes
  };
  for (const auto& c : cases) {
    Chip chip("cx22702", Reg(1, c.tpsA) + "," + Reg(2, c.tpsB) + "," +
                             Reg(0x23, StrengthRegister(c.db)));
    chip.driver.OperatingMode();
    int16_t mode = 0, reset = 1;
    float avg;
    int32_t color = 0;
    EXPECT_FLOAT_EQ(chip.driver.SNR(mode, avg, color, reset), c.db);
    EXPECT_EQ(color, c.color) << std::hex << c.tpsA << " " << c.tpsB << std::dec << " " << c.db;
  }
  // The colour follows the parameters of the last mode read, not the registers.
  Chip chip("cx22702", Reg(1, 0x10) + "," + Reg(2, 0x20) + "," + Reg(0x23, StrengthRegister(20)));
  int16_t mode = 0, reset = 1;
  float avg;
  int32_t color = 0;
  chip.driver.SNR(mode, avg, color, reset);
  EXPECT_EQ(color, Color::Green);  // QPSK 1/2 as before any mode read
  chip.driver.OperatingMode();
  chip.driver.SNR(mode, avg, color, reset);
  EXPECT_EQ(color, Color::Red);
}

TEST(cx22702, ErrorCounters) {
  struct Case {
    std::vector<int> counts;  // successive readings of 0xE3
    std::vector<double> increases;
  } uncorrectable[] = {
      {{10, 25, 5}, {10, 15, 5}},
      {{5, 5, 6}, {5, 0, 1}},
      {{255, 255}, {255, 0}},  // a dead bus after the first call
      {{0, 200, 199}, {0, 200, 199}},
  };
  for (const auto& c : uncorrectable) {
    Chip chip("cx22702", "");
    for (size_t i = 0; i < c.counts.size(); ++i) {
      chip.Set(0xE3, c.counts[i]);
      EXPECT_EQ(chip.driver.UncorrectableErrors().Number(), c.increases[i]) << i;
    }
  }
  struct Corrected {
    int de, df;
    double count;
  } corrected[] = {{0x01, 0x01, 17},   {0x7F, 0x7F, 0x7FF}, {0x80, 0x80, 0},    {0xFF, 0x00, 0x7F0},
                   {0x00, 0xFF, 0x7F}, {0x02, 0x10, 0x30},  {0x01, 0x10, 0x10}};  // ORed, not added
  for (const auto& c : corrected) {
    Chip chip("cx22702", Reg(0xDE, c.de) + "," + Reg(0xDF, c.df));
    EXPECT_EQ(chip.driver.PostVeterbiErrors().Number(), c.count) << c.de << " " << c.df;
  }
}

TEST(cx22702, LockFromTheStatusAndTheFecRegister) {
  struct Case {
    int status, fec;
    std::vector<int16_t> locks;  // master, EQ, FEC, sync, AFC
  } cases[] = {
      {0x30, 0x01, {1, -1, 1, -1, -1}}, {0x31, 0x01, {0, -1, 1, -1, -1}},
      {0x20, 0x00, {0, -1, 0, -1, -1}}, {0x10, 0x00, {0, -1, 0, -1, -1}},
      {0xFE, 0xFE, {1, -1, 0, -1, -1}}, {0xFF, 0xFF, {0, -1, 1, -1, -1}},
  };
  for (const auto& c : cases) {
    Chip chip("cx22702", Reg(0x0A, c.status) + "," + Reg(0x17, c.fec));
    EXPECT_EQ(chip.Locks(), c.locks) << std::hex << c.status << " " << c.fec;
    EXPECT_EQ(chip.view.captions["lblVSBSync"], "DSCR Lock");
  }
}

TEST(cx22702, RegisterReadOrderPerMember) {
  struct Case {
    const char* member;
    std::vector<int> subs;
  } cases[] = {
      {"OperatingMode", {0x01, 0x02, 0x03, 0x0C}}, {"SNR", {0x23}},
      {"GetLockStatus", {0x0A, 0x17}},             {"UncorrectableErrors", {0xE3}},
      {"PostVeterbiErrors", {0xDE, 0xDF}},         {"GetTPS", {}},
  };
  for (const auto& c : cases) {
    Scripted s;
    s.fake.readData[0x1F] = {3};
    s.fake.results = {1};
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
    for (const auto& call : s.fake.calls) EXPECT_EQ(call.address, 0x86);
  }
}

}  // namespace
