// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/s5h1409.h"

#include <cmath>

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/atsc/VsbQamMode.h"
#include "demod/atsc/regs/s5h1409.h"
#include "monitor/Codes.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace s5h1409reg;

// A plain two-byte read with no retry; there is no identity register.
bool s5h1409::probe() {
  if (!bus_.Answers(0x32, 2)) return false;
  address_ = 0x32;
  return true;
}

int16_t s5h1409::OperatingMode() {
  currentMode_ = VsbQamMode(Reader(), kSleep, kQamSelect, [this]() -> int16_t {
    int16_t qam = ReadRegister(kQamMode);
    if (!GetBit(qam, 4)) return GetBit(qam, 0) ? Mode::Qam64 : Mode::Qam256;
    return GetBit(ReadRegister(kQamStatus), 8) ? Mode::Qam256 : Mode::Qam64;
  });
  return currentMode_;
}

int16_t s5h1409::ClampVsb(int16_t raw) {
  if (raw < 300) return 300;
  if (raw > 950) return 950;
  return raw;
}

double s5h1409::VsbSnrToDb(int16_t raw) {
  raw = ClampVsb(raw);
  double x = (20.73788 * std::exp(raw / 205.15) + 1075.5075) / 100;
  if (x < 12) x = 0;
  if (x > 30) x = 30;
  return x;
}

// ln(0) is undefined: x then keeps the raw value, 0.
double s5h1409::Qam64SnrToDb(int16_t raw) {
  double x = raw;
  if (raw > 0) x = -4.6782 * std::log(double(raw)) + 41.576;
  if (x < 20) x = 0;
  if (x > 40) x = 40;
  return x;
}

double s5h1409::Qam256SnrToDb(int16_t raw) {
  double x = 0;
  if (raw > 0) x = 62.041 * std::pow(double(raw), -0.1844);
  if (x < 26) x = 0;
  if (x > 40) x = 40;
  return x;
}

namespace {
int32_t VsbColor(int raw) {
  if (raw <= 637) return Color::Red;
  if (raw <= 656) return Color::Orange;
  if (raw <= 707) return Color::Yellow;
  return Color::Green;
}
int32_t Qam64Color(int raw) {
  if (raw <= 12) return Color::Green;
  if (raw <= 34) return Color::Yellow;
  if (raw <= 69) return Color::Orange;
  return Color::Red;
}
int32_t Qam256Color(int raw) {
  if (raw <= 22) return Color::Green;
  if (raw <= 51) return Color::Yellow;
  if (raw <= 72) return Color::Orange;
  return Color::Red;
}
}  // namespace

float s5h1409::SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  if (mode < Mode::Vsb8 || mode > Mode::Qam256) {
    aSNR = RoundTenth(aSNR);
    return 0;
  }
  struct SnrMode {
    double (*toDb)(int16_t);
    int32_t (*color)(int);
  };
  static constexpr SnrMode kModes[] = {
      {VsbSnrToDb, VsbColor}, {Qam64SnrToDb, Qam64Color}, {Qam256SnrToDb, Qam256Color}};
  const SnrMode& m = kModes[mode - Mode::Vsb8];
  bool vsb = mode == Mode::Vsb8;
  int16_t raw = vsb ? (ReadRegister(kVsbStatus) & 0x3FF) : (ReadRegister(kQamStatus) & 0x7F);
  // The history holds raw values, averaged to a whole value; an 8-VSB reading
  // is clamped after a reset has filled the history with it.
  SnrRule rule{.toDb = [&m](double v) { return double(float(m.toDb(int16_t(v)))); },
               .average = SnrRule::Average::Nearest};
  if (vsb) rule.clamp = [](double v) { return double(ClampVsb(int16_t(v))); };
  SnrReading snr = snrStep_.Take(raw, ResetSNR_flag, rule);
  aSNR = snr.average;
  color = m.color(vsb ? ClampVsb(raw) : raw);
  return snr.reading;
}

Value s5h1409::SNRRegisters() {
  return HexRegisters(Reader(), {kQamStatus, kVsbStatus}, " / ") + " / XX";
}

Value s5h1409::CarrierOffset() {
  int16_t high = ReadRegister(kCarrierOffsetHigh);
  int16_t low = ReadRegister(kCarrierOffsetLow);
  return MakeLong(high, low);
}

Value s5h1409::CarrierOffsetHex() {
  return HexRegisters(Reader(), {kCarrierOffsetHigh, kCarrierOffsetLow});
}
Value s5h1409::SymbolTiming() {
  return HexRegisters(Reader(), {kSymbolTimingHigh, kSymbolTimingLow});
}
Value s5h1409::AutoFreq() { return HexRegisters(Reader(), {kAutoFreqHigh, kAutoFreqLow}); }

int16_t s5h1409::Passthru() { return GetBit(ReadRegister(kPassthru), 0); }
int16_t s5h1409::Sleep() { return GetBit(ReadRegister(kSleep), 0); }

void s5h1409::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                            int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int16_t a = ReadRegister(kVsbStatus);
  bool vsb = currentMode_ == Mode::Vsb8;
  bool qam = Mode::IsQam(currentMode_);
  Master_Lock = GetBit(a, 15);
  EQ_Lock = vsb ? GetBit(a, 13) : Lock::NotApplicable;
  if (vsb)
    FEC_Lock = GetBit(a, 12);
  else if (qam)
    FEC_Lock = GetBit(ReadRegister(kQamStatus), 12);
  else
    FEC_Lock = Lock::NotApplicable;
  VSB_Sync = vsb ? GetBit(ReadRegister(kVsbSync), 0) : Lock::NotApplicable;
  AFC_Lock = vsb ? GetBit(a, 14) : Lock::NotApplicable;
}

Value s5h1409::QamRegister(int sub) {
  if (Mode::IsQam(currentMode_)) return ReadRegister(sub);
  return 0;
}

Value s5h1409::BERctr() { return GetBits(ReadRegister(kBerCounter), 4, 2); }

Value s5h1409::UncorrectableErrors() { return ReadRegister(kUncorrectable); }
Value s5h1409::PostVeterbiErrors() { return ReadRegister(kPostViterbi); }
void s5h1409::Passthru(int16_t vNewValue) { bus_.WriteReg16(address_, kPassthru, vNewValue); }
void s5h1409::Sleep(int16_t vNewValue) { bus_.WriteReg16(address_, kSleep, vNewValue); }
Value s5h1409::PilotPwr() { return ReadRegister(kPilotPower); }
Value s5h1409::IFGain() { return QamRegister(kIfGain); }
Value s5h1409::STRTime() { return QamRegister(kStrTime); }
Value s5h1409::FreqOffset() { return QamRegister(kFreqOffset); }
Value s5h1409::AGCPowerRef() { return ReadRegister(kAgcPowerRef); }
