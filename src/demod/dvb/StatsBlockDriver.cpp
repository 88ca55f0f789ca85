// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/StatsBlockDriver.h"

#include "bus/Bus.h"
#include "demod/dvb/regs/StatsBlock.h"
#include "monitor/Codes.h"
#include "monitor/DvbtThresholds.h"
#include "monitor/MonitorView.h"
#include "numbers/SnrStep.h"

using namespace statsblockreg;

namespace {
constexpr int kBlockBytes = 20;

// Four bytes, least significant first. A word whose top byte is 0x80 or
// more is taken as two's complement, so it arrives negative, not clipped.
int32_t LittleEndianWord(const uint8_t* bytes) {
  return int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                 uint32_t(bytes[3]) << 24);
}

// A bit field taken from the word's bit pattern, whatever its sign.
int32_t Field(int32_t word, int start, int count) {
  return int32_t((uint32_t(word) >> start) & ((1u << count) - 1));
}

}  // namespace

void StatsBlockDriver::ReadDemodStats(int16_t Addr, int16_t reg, int32_t& Data0, int32_t& Data1,
                                      int32_t& Data2, int32_t& Data3, int32_t& Data4) {
  uint8_t block[kBlockBytes];
  if (!bus_.ReadBlock(Addr, reg, block)) return;
  Data0 = LittleEndianWord(block);
  Data1 = LittleEndianWord(block + 4);
  Data2 = LittleEndianWord(block + 8);
  Data3 = LittleEndianWord(block + 12);
  Data4 = LittleEndianWord(block + 16);
  CheckSnrWord(Data3);
}

StatsBlockDriver::Stats StatsBlockDriver::FreshStats() {
  Stats s{};
  ReadDemodStats(address_, kStats, s[0], s[1], s[2], s[3], s[4]);
  return s;
}

int16_t StatsBlockDriver::OperatingMode() {
  return ReadRegister(kMode) == kDvbtMode ? Mode::DvbT : Mode::None;
}

// Every field but SelectHPLP, which these chips do not report.
void StatsBlockDriver::ReadTPS() {
  Stats s = FreshStats();
  int32_t w = s[kStatusWord];
  tps_.modulation = CodeUpTo(Field(w, 0, 2), 2);
  tps_.transmissionMode = CodeUpTo(Field(w, 8, 2), 1);
  tps_.guard = CodeUpTo(Field(w, 16, 3), 3);
  tps_.hierarchy = CodeUpTo(Field(w, 24, 3), 3);
  tps_.codeRate = CodeUpTo(Field(s[kCodeRateWord], 0, 3), 4);
}

void StatsBlockDriver::GetTPS(int16_t& Modulation, int16_t& Hierarchy, int16_t& SelectHPLP,
                              int16_t& CodeRate, int16_t& Guard, int16_t& TransmissionMode) {
  ReadTPS();
  tps_.CopyTo(Modulation, Hierarchy, SelectHPLP, CodeRate, Guard, TransmissionMode);
}

float StatsBlockDriver::BlockSnr(float perDb, const SnrRule& rule, float& aSNR, int32_t& color,
                                 int16_t& ResetSNR_flag) {
  float v = float(FreshStats()[kSnrWord]) / perDb;
  SnrReading snr = snrStep_.Take(v, ResetSNR_flag, rule);
  aSNR = snr.average;
  color = DvbtThresholdColor(tps_.modulation, tps_.codeRate, snr.reading);
  return snr.reading;
}

void StatsBlockDriver::ShowSignalStrength(int32_t Data4) {
  view_.SetCaption("frF0F1", "RSSI");
  view_.SetCaption("lblF0F1", std::to_string(-int64_t(Data4)));
}
