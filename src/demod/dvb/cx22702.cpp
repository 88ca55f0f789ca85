// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/cx22702.h"

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "demod/dvb/regs/cx22702.h"
#include "monitor/Codes.h"
#include "monitor/DvbtThresholds.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace cx22702reg;

namespace {
constexpr int16_t kFirstAddress = 0xC6;
constexpr int16_t kSecondAddress = 0x86;
constexpr int16_t kIdentity = 3;
}  // namespace

// With neither address answering there is nothing to identify, and reading
// the identity "at address 0" would send its sub-address as a general call
// to every device on the bus.
bool cx22702::probe() {
  address_ = 0;
  if (bus_.Answers(kFirstAddress, 1))
    address_ = kFirstAddress;
  else if (bus_.Answers(kSecondAddress, 1))
    address_ = kSecondAddress;
  if (address_ == 0) return false;
  return ReadRegister(kChipId) == kIdentity;
}

void cx22702::ReadTPS() {
  int16_t a = ReadRegister(kTpsA);
  int16_t b = ReadRegister(kTpsB);
  int16_t c = ReadRegister(kTpsC);
  tps_.modulation = CodeUpTo(GetBits(a, 3, 2), 2);
  tps_.hierarchy = CodeUpTo(GetBits(a, 0, 3), 3);
  tps_.selectHPLP = GetBit(ReadRegister(kStream), 6);
  tps_.codeRate = CodeUpTo(tps_.selectHPLP == 0 ? GetBits(b, 3, 3) : GetBits(b, 0, 3), 4);
  tps_.guard = int16_t(GetBits(c, 6, 2));
  tps_.transmissionMode = GetBit(c, 5);
}

// kSignalStrength falls as the signal grows; 255 reads as 10 dB.
float cx22702::SignalStrength() { return float((255 - ReadRegister(kSignalStrength)) / 8.0 + 10); }

float cx22702::SNR(int16_t&, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  view_.SetSnrBarPrefix("Signal Strength: ");
  float strength = SignalStrength();
  SnrReading snr = snrStep_.Take(strength, ResetSNR_flag, {.roundReading = RoundWhole});
  aSNR = snr.average;
  // The thresholds follow the received constellation and code rate, as the
  // window's own DVB colouring does, but apply to the whole-number strength.
  color = DvbtThresholdColor(tps_.modulation, tps_.codeRate, snr.reading);
  return snr.reading;
}

// A count below the last one is taken as a count that started again from 0.
Value cx22702::UncorrectableErrors() {
  int16_t count = ReadRegister(kUncorrectable);
  int16_t increase =
      count < previousUncorrectable_ ? count : int16_t(count - previousUncorrectable_);
  previousUncorrectable_ = count;
  return increase;
}

// Two 7-bit fields side by side make one 14-bit count, kCorrectedHigh the upper one.
Value cx22702::PostVeterbiErrors() {
  int32_t a = ReadRegister(kCorrectedHigh);
  int32_t b = ReadRegister(kCorrectedLow);
  return (a & 0x7F) * 128 + (b & 0x7F);
}

void cx22702::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                            int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int16_t status = ReadRegister(kStatus);
  FEC_Lock = GetBit(ReadRegister(kFecLock), 0);
  Master_Lock =
      GetBit(status, 5) && GetBit(status, 4) && !GetBit(status, 0) ? Lock::Locked : Lock::NotLocked;
  EQ_Lock = Lock::NotApplicable;
  view_.SetCaption("lblVSBSync", "DSCR Lock");
  VSB_Sync = Lock::NotApplicable;
  AFC_Lock = Lock::NotApplicable;
}
