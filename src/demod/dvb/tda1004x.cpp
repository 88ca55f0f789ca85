// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/tda1004x.h"

#include <cmath>
#include <map>

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "demod/dvb/regs/tda1004x.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace tda1004xreg;

// A field of a register: `width` bits from bit `shift`.
struct TpsBits {
  int16_t reg;
  int shift, width;
};

// Where each chip keeps what the statistics read. The TPS registers are read
// in the order of `tpsReads` (-1 pads), then the fields taken from them.
struct Tda1004xVariant {
  int16_t identity;
  const char* name;
  int16_t snrRegister;
  int16_t statusRegister;
  int masterLockBit;              // in the status register
  int16_t errorsLow, errorsHigh;  // the uncorrectable counter; high -1: one byte
  int32_t errorsMask;             // of the low byte
  int32_t errorsMax;              // where the counter wraps
  int16_t tpsReads[4];
  TpsBits modulation, hierarchy, selectHPLP, hpCodeRate, lpCodeRate, guard, transmissionMode;
};

namespace {
constexpr int16_t kFirstAddress = 0x10;
constexpr int16_t kSecondAddress = 0x12;

constexpr Tda1004xVariant kVariants[] = {
    {.identity = 0x46,
     .name = "TDA10046",
     .snrRegister = k46Snr,
     .statusRegister = k46Status,
     .masterLockBit = 3,
     .errorsLow = k46Errors,
     .errorsHigh = -1,
     .errorsMask = 0x7F,
     .errorsMax = 127,
     .tpsReads = {k46TpsA, k46TpsB, k46Stream, -1},
     .modulation = {k46TpsA, 0, 2},
     .hierarchy = {k46TpsA, 5, 2},
     .selectHPLP = {k46Stream, 3, 1},
     .hpCodeRate = {k46TpsB, 0, 3},
     .lpCodeRate = {k46TpsB, 3, 3},
     .guard = {k46TpsA, 2, 2},
     .transmissionMode = {k46TpsA, 4, 1}},
    {.identity = 0x48,
     .name = "TDA10048",
     .snrRegister = k48Snr,
     .statusRegister = k48Status,
     .masterLockBit = 4,
     .errorsLow = k48ErrorsLow,
     .errorsHigh = k48ErrorsHigh,
     .errorsMask = 0xFF,
     .errorsMax = 65535,
     .tpsReads = {k48TpsA, k48TpsB, k48TpsC, k48Stream},
     .modulation = {k48TpsB, 5, 2},
     .hierarchy = {k48TpsB, 3, 2},
     .selectHPLP = {k48Stream, 3, 1},
     .hpCodeRate = {k48TpsB, 0, 3},
     .lpCodeRate = {k48TpsC, 0, 3},
     .guard = {k48TpsA, 2, 2},
     .transmissionMode = {k48TpsA, 0, 2}},
};

// The raw value grows as the signal worsens; full scale (255) is 0 dB and
// nothing measured reads as the top of the scale.
float SnrToDb(double raw) {
  if (raw <= 0) return 30.0f;
  return float(5 * std::log(255 / raw));
}

// A count below the previous one wrapped past max: the step from max back
// to 0 is one count too.
int32_t CounterDelta(int32_t max, int32_t count, int32_t& previous) {
  if (count == previous) return 0;
  int32_t delta = count > previous ? count - previous : (max + 1 - previous) + count;
  previous = count;
  return delta;
}

}  // namespace

std::string tda1004x::name() { return variant_ ? variant_->name : "TDA1004x"; }

// "-demod2" asks for the chip at the second address even when the first one
// answers too.
bool tda1004x::probe() {
  bool first = bus_.Answers(kFirstAddress, 1);
  if (first && !bus_.secondDemod)
    address_ = kFirstAddress;
  else if (bus_.Answers(kSecondAddress, 1))
    address_ = kSecondAddress;
  else
    return false;
  int16_t identity = ReadRegister(kIdentity);
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
  const Tda1004xVariant& v = *variant_;
  std::map<int16_t, int32_t> read;
  for (int16_t reg : v.tpsReads)
    if (reg >= 0) read[reg] = ReadRegister(reg);
  auto field = [&read](TpsBits f) { return GetBits(read[f.reg], f.shift, f.width); };
  tps_.modulation = CodeUpTo(field(v.modulation), 2);
  tps_.hierarchy = int16_t(field(v.hierarchy));
  tps_.selectHPLP = int16_t(field(v.selectHPLP));
  tps_.codeRate = CodeUpTo(field(tps_.selectHPLP == 0 ? v.hpCodeRate : v.lpCodeRate), 4);
  tps_.guard = int16_t(field(v.guard));
  tps_.transmissionMode = CodeUpTo(field(v.transmissionMode), 2);
}

// The average is taken over raw values, before the logarithm.
float tda1004x::SNR(int16_t&, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  int16_t raw = variant_ ? ReadRegister(variant_->snrRegister) : int16_t(0);
  SnrReading snr = snrStep_.Take(raw, ResetSNR_flag, {.toDb = SnrToDb});
  aSNR = snr.average;
  view_.ColorizeSNR(snr.reading, color);
  return snr.reading;
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
