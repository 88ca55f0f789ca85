// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/tda1004x.h"

#include <cmath>

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

namespace {
constexpr int16_t kFirstAddress = 0x10;
constexpr int16_t kSecondAddress = 0x12;

constexpr Tda1004xVariant kVariants[] = {
    {.identity = 0x46,
     .name = "TDA10046",
     .snrRegister = 0x1C,
     .statusRegister = 0x06,
     .masterLockBit = 3,
     .errorsLow = 0x27,
     .errorsHigh = -1,
     .errorsMask = 0x7F,
     .errorsMax = 127},
    {.identity = 0x48,
     .name = "TDA10048",
     .snrRegister = 0xA2,
     .statusRegister = 0x1A,
     .masterLockBit = 4,
     .errorsLow = 0xCE,
     .errorsHigh = 0xCF,
     .errorsMask = 0xFF,
     .errorsMax = 65535},
};
}  // namespace

std::string tda1004x::name() { return variant_ ? variant_->name : "TDA1004x"; }

int16_t tda1004x::ReadRegister(int16_t sub) { return bus_.ReadReg8(address_, sub); }

bool tda1004x::Answers(int16_t address) { return bus_.Answers(address, 1); }

// "-demod2" asks for the chip at the second address even when the first one
// answers too.
bool tda1004x::probe() {
  bool first = Answers(kFirstAddress);
  if (first && !bus_.secondDemod)
    address_ = kFirstAddress;
  else if (Answers(kSecondAddress))
    address_ = kSecondAddress;
  else
    return false;
  int16_t identity = ReadRegister(0x00);
  variant_ = nullptr;
  for (const Tda1004xVariant& v : kVariants)
    if (v.identity == identity) variant_ = &v;
  return variant_ != nullptr;
}

int16_t tda1004x::OperatingMode() {
  if (!variant_) return Mode::None;
  ReadTPS();
  return Mode::DvbT;
}

void tda1004x::ReadTPS() {
  if (IsTda10046()) {
    int16_t x = ReadRegister(0x04);
    int16_t y = ReadRegister(0x05);
    int16_t s = ReadRegister(0x01);
    tps_.modulation = CodeUpTo(GetBits(x, 0, 2), 2);
    tps_.hierarchy = int16_t(GetBits(x, 5, 2));
    tps_.selectHPLP = GetBit(s, 3);
    tps_.codeRate = CodeUpTo(tps_.selectHPLP == 0 ? GetBits(y, 0, 3) : GetBits(y, 3, 3), 4);
    tps_.guard = int16_t(GetBits(x, 2, 2));
    tps_.transmissionMode = GetBit(x, 4);
  } else {
    int16_t x = ReadRegister(0x14);
    int16_t y = ReadRegister(0x15);
    int16_t z = ReadRegister(0x16);
    int16_t s = ReadRegister(0x18);
    tps_.modulation = CodeUpTo(GetBits(y, 5, 2), 2);
    tps_.hierarchy = int16_t(GetBits(y, 3, 2));
    tps_.selectHPLP = GetBit(s, 3);
    tps_.codeRate = CodeUpTo(tps_.selectHPLP == 0 ? GetBits(y, 0, 3) : GetBits(z, 0, 3), 4);
    tps_.guard = int16_t(GetBits(x, 2, 2));
    tps_.transmissionMode = CodeUpTo(GetBits(x, 0, 2), 2);
  }
}

int16_t tda1004x::RawSnr() { return variant_ ? ReadRegister(variant_->snrRegister) : int16_t(0); }

// The raw value grows as the signal worsens; full scale (255) is 0 dB and
// nothing measured reads as the top of the scale.
float tda1004x::SnrToDb(double raw) {
  if (raw <= 0) return 30.0f;
  return float(5 * std::log(255 / raw));
}

// The average is taken over raw values, before the logarithm.
float tda1004x::SNR(int16_t&, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  int16_t raw = RawSnr();
  SnrReading snr = snrStep_.Take(raw, ResetSNR_flag, {.toDb = SnrToDb});
  aSNR = snr.average;
  view_.ColorizeSNR(snr.reading, color);
  return snr.reading;
}

// A count below the previous one wrapped past max: the step from max back
// to 0 is one count too.
int32_t tda1004x::CounterDelta(int32_t max, int32_t count, int32_t& previous) {
  if (count == previous) return 0;
  int32_t delta = count > previous ? count - previous : (max + 1 - previous) + count;
  previous = count;
  return delta;
}

Value tda1004x::UncorrectableErrors() {
  int32_t count = 0, max = 0;
  if (variant_) {
    int32_t low = ReadRegister(variant_->errorsLow) & variant_->errorsMask;
    int32_t high = variant_->errorsHigh < 0 ? 0 : ReadRegister(variant_->errorsHigh);
    count = high * 256 + low;
    max = variant_->errorsMax;
  }
  return CounterDelta(max, count, previousUncorrectable_);
}

void tda1004x::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                             int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int16_t status = variant_ ? ReadRegister(variant_->statusRegister) : int16_t(0);
  view_.SetCaption("lblFECLock", "TPS Lock");
  FEC_Lock = GetBit(status, 0);
  Master_Lock = variant_ ? GetBit(status, variant_->masterLockBit) : int16_t(Lock::NotApplicable);
  view_.SetCaption("lblEQLock", "PLL Lock");
  EQ_Lock = GetBit(status, 7);
  view_.SetCaption("lblVSBSync", "FREQ Lock");
  VSB_Sync = GetBit(status, 2);
  view_.SetCaption("lblAFCLock", "TIME Lock");
  AFC_Lock = GetBit(status, 1);
}
