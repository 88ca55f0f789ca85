// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/lgdt3305.h"

#include <cmath>

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/atsc/LgLabels.h"
#include "demod/atsc/regs/lgdt3305.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/Log10.h"
#include "numbers/SnrStep.h"

using namespace lgdt3305reg;

namespace {

// Hundredths of a dB to one decimal. Done on the integer, so a half (30.05)
// goes to the even neighbour the same way for the reading and its average.
float Tenths(double snr100) { return float(ToInt16(snr100 / 10.0) / 10.0); }

// Mode code of the mode register's content.
int16_t DecodeMode(int byte) {
  if (byte == 255) return Mode::None;
  switch (byte & 3) {
    case 0: return Mode::Qam64;
    case 1: return Mode::Qam256;
    case 3: return Mode::Vsb8;
    default: return Mode::None;
  }
}

// Hundredths of a dB for an error power, rounded half to even.
int32_t Snr100(int16_t mode, double mse) {
  double x = 0;
  if (mode == Mode::Vsb8) {
    if (mse > 0 && mse < 1048575) x = 1000 * Log10(25600 / mse);
  } else if (Mode::IsQam(mode)) {
    double c = mode == Mode::Qam64 ? 688128 : 696320;
    if (mse != 0) x = 1000 * Log10(c / mse);
  }
  if (x < 0) x = 0;
  return int32_t(RoundHalfEven(x));
}

}  // namespace

// Each candidate address gets one combined read of the mode register, no
// retry; the second is always tried, but the first accepted one is kept.
bool lgdt3305::probe() {
  bool found = false;
  for (int16_t candidate : {int16_t(0xB2), int16_t(0x1C)}) {
    uint8_t byte[1] = {0x00};
    if (bus_.WriteReadOnce(candidate, {0x00, 0x00}, byte) && !found) {
      address_ = candidate;
      found = DecodeMode(byte[0]) != Mode::None;
    }
  }
  if (found) found = (ReadRegister(kIdentity) & 0x9F) == 0x90;
  if (found) found = (ReadRegister(kIdentity2) & 0x3F) == 0x2F;
  return found;
}

int16_t lgdt3305::OperatingMode() {
  currentMode_ = DecodeMode(ReadRegister(kMode));
  return currentMode_;
}

// The history holds error powers, so the average is taken before the log.
float lgdt3305::SNR(int16_t&, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  double mse = 0;
  if (currentMode_ == Mode::Vsb8) {
    mse = ReadWord24(Reader(), kVsbMse) & 0x0FFFFF;
  } else if (Mode::IsQam(currentMode_)) {
    int high = ReadRegister(kQamMseHigh);
    int low = ReadRegister(kQamMseLow);
    mse = high * 256.0 + low;
  }
  // The history holds the error power; it converts to hundredths of a dB.
  SnrReading snr = snrStep_.Take(mse, ResetSNR_flag,
                                 {.toDb = [this](double v) { return Snr100(currentMode_, v); },
                                  .roundReading = Tenths,
                                  .roundAverage = Tenths});
  aSNR = snr.average;
  color = LGDT3305ColorizeSNR(snr.reading);
  return snr.reading;
}

int32_t lgdt3305::ColorFor(int16_t mode, float snr) {
  struct Thresholds {
    float t1, t2, t3;
  } t{0, 0, 0};
  if (mode == Mode::Vsb8) t = {10, 16, 24};
  if (mode == Mode::Qam64) t = {20, 25, 30};
  if (mode == Mode::Qam256) t = {28, 30, 32};
  if (snr < t.t1) return Color::Red;
  if (snr < t.t2) return Color::Orange;
  if (snr < t.t3) return Color::Yellow;
  return Color::Green;
}

Value lgdt3305::SNRRegisters() {
  view_.SetVisible("frF0F1", false);
  return "";
}

Value lgdt3305::UncorrectableErrors() {
  int32_t high = ReadRegister(kUncorrectableHigh);
  int32_t low = ReadRegister(kUncorrectableLow);
  return high * 256 + low;
}

Value lgdt3305::CarrierOffset() {
  int32_t v = SignExtend24(ReadWord24(Reader(), kCarrierOffset));
  if (currentMode_ == Mode::Vsb8) return float(v * std::ldexp(1.0, -24) * 21520);
  if (Mode::IsQam(currentMode_)) return float(v * std::ldexp(1.0, -29) * 25000);
  return 0.0f;
}

float lgdt3305::TimingRecoveryOffset() {
  double twice = 2.0 * SignExtend24(ReadWord24(Reader(), kTimingOffset));
  if (currentMode_ == Mode::Vsb8) return float(twice * std::ldexp(1.0, -30) * 21520);
  if (Mode::IsQam(currentMode_)) return float(twice * std::ldexp(1.0, -30) * 25000);
  return 0.0f;
}

// This chip shows its timing recovery offset where others show hex digits.
Value lgdt3305::CarrierOffsetHex() {
  WidenLgCarrierFrame(view_, "Carrier/Timing Rcvry Offset");
  return SingleSignedText(TimingRecoveryOffset());
}

void lgdt3305::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                             int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int r1 = ReadRegister(kQamLock), r2 = ReadRegister(kLocks), r3 = ReadRegister(kCarrierLock);
  Master_Lock = EQ_Lock = FEC_Lock = VSB_Sync = AFC_Lock = Lock::NotApplicable;
  if (currentMode_ == Mode::Vsb8) {
    Master_Lock = GetBit(r2, 3) ? 0 : 1;  // the 8-VSB lock bit reads 0 when locked
    AFC_Lock = GetBit(r3, 7);
  } else if (Mode::IsQam(currentMode_)) {
    Master_Lock = GetBit(r1, 0) & GetBit(r1, 2) & GetBit(r1, 3);
    AFC_Lock = GetBit(r3, 1);
  }
  FEC_Lock = GetBit(r2, 1);
  VSB_Sync = GetBit(r2, 2);
  EQ_Lock = GetBit(r2, 0);
  int32_t rf = ReadSigned12(Reader(), kRfAgc);
  int32_t ifAgc = ReadSigned12(Reader(), kIfAgc);
  LabelLgLockPanel(view_, rf, ifAgc);
}
