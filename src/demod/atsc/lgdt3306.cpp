// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/atsc/lgdt3306.h"

#include <cmath>

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/atsc/LgLabels.h"
#include "demod/atsc/lgdt3305.h"
#include "demod/atsc/regs/lgdt3306.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/Log10.h"
#include "numbers/SnrStep.h"

using namespace lgdt3306reg;

namespace {
bool IsHandled(int16_t mode) { return mode >= Mode::Vsb8 && mode <= Mode::Qam256; }
}  // namespace

// One combined read of the identity register per address, no retry. With
// "-demod2" the chip at 0xB2 is passed over so the one at 0x1C is found.
bool lgdt3306::probe() {
  bool found = false;
  for (int16_t candidate : {int16_t(0xB2), int16_t(0x1C)}) {
    uint8_t byte[1] = {0x00};
    bool answered = bus_.WriteReadOnce(candidate, {0x00, 0x01}, byte);
    if (answered && !found && !(candidate == 0xB2 && bus_.secondDemod)) {
      address_ = candidate;
      found = (byte[0] & 0xF6) == 0xC6;
    }
  }
  return found && (ReadRegister(kControl) & 0x74) == 0x74 &&
         (ReadRegister(kIdentity2) & 0x73) == 0x03;
}

int16_t lgdt3306::OperatingMode() {
  int r8 = ReadRegister(kMode);
  int16_t mode = Mode::None;
  if (r8 == 255) {
    mode = Mode::None;
  } else if (!GetBit(ReadRegister(kControl), 0)) {
    mode = Mode::Sleep;
  } else if (r8 == 0x08) {
    int qam = ReadRegister(kStatus) & 0x07;
    mode = qam == 0 ? Mode::Qam64 : qam == 4 ? Mode::Qam256 : Mode::None;
  } else if (r8 == 0x80) {
    mode = Mode::Vsb8;
  }
  currentMode_ = mode;
  return mode;
}

// Kept in single precision: a ratio of exactly 100 must read as 20 dB, not
// a hair below it.
float lgdt3306::SnrDb() {
  int noiseHigh = ReadRegister(kNoiseHigh);
  int noiseLow = ReadRegister(kNoiseLow);
  int noise = noiseHigh * 256 + noiseLow;
  if (noise == 0) noise = 10;
  int signalHigh = ReadRegister(kSignalHigh);
  int signalLow = ReadRegister(kSignalLow);
  int signal = signalHigh * 256 + signalLow;
  // No signal power reads as 0 dB rather than the logarithm of 0.
  float snr = signal == 0 ? 0.0f : float(10 * Log10(double(signal) / noise));
  if (snr < 20.0f) snr = float(ReadRegister(kCoarseSnr));
  return snr;
}

// The history holds dB values, so the average is of readings already in dB.
float lgdt3306::SNR(int16_t&, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  float reading = SnrDb();
  SnrReading snr = snrStep_.Take(reading, ResetSNR_flag);
  aSNR = snr.average;
  color = LGDT3306ColorizeSNR(snr.reading);
  return snr.reading;
}

int32_t lgdt3306::LGDT3306ColorizeSNR(float aSNR) {
  return IsHandled(currentMode_) ? lgdt3305::ColorFor(currentMode_, aSNR) : Color::DarkGrey;
}

Value lgdt3306::SNRRegisters() {
  view_.SetVisible("frF0F1", false);
  return "";
}

Value lgdt3306::UncorrectableErrors() { return int16_t(ReadRegister(kUncorrectable)); }

Value lgdt3306::PostVeterbiErrors() { return int16_t(ReadRegister(kPostViterbi)); }

// Sign and magnitude, in kilohertz.
Value lgdt3306::CarrierOffset() {
  int32_t high = ReadRegister(kCarrierOffset);
  int32_t low = ReadRegister(kCarrierOffset + 1);
  int32_t v = high * 256 + low;
  if (v & 0x8000) v = -(v & 0x7FFF);
  return float(v * std::ldexp(1.0, -14) * 1000);
}

float lgdt3306::TimingRecoveryOffset() {
  int32_t v = ReadWord24(Reader(), kTimingOffset);
  if (v & 0x800000) v = -(v & 0x7FFFFF);
  return float(v * std::ldexp(1.0, -24));
}

Value lgdt3306::CarrierOffsetHex() {
  WidenLgCarrierFrame(view_, "Carrier Offset(KHz)");
  return "";
}

int16_t lgdt3306::Sleep() { return GetBit(ReadRegister(kControl), 0) ? 0 : 1; }

// One lock bit stands for all the lamps this chip can light; the chip has
// no separate FEC indication and no AGC readings.
void lgdt3306::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                             int16_t& VSB_Sync, int16_t& AFC_Lock) {
  Master_Lock = EQ_Lock = FEC_Lock = VSB_Sync = AFC_Lock = Lock::NotApplicable;
  int status = ReadRegister(kStatus);
  if (IsHandled(currentMode_)) Master_Lock = GetBit(status, 7);
  AFC_Lock = VSB_Sync = EQ_Lock = Master_Lock;
  LabelLgLockPanel(view_, 0, 0);
}
