// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/si2165.h"

#include <initializer_list>
#include <utility>

#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/dvb/regs/si2165.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/Log10.h"
#include "numbers/SnrStep.h"

using namespace si2165reg;

namespace {
using CodeTable = std::initializer_list<std::pair<int, int16_t>>;

// The code a register value stands for; -1 for a value the chip does not use.
int16_t Lookup(int value, CodeTable table) {
  for (const auto& [v, code] : table)
    if (v == value) return code;
  return -1;
}

int16_t DecodeModulation(int16_t v) {
  return Lookup(v & 0x1F, {{3, 0}, {7, 1}, {9, 2}, {8, 4}, {10, 5}, {11, 6}});
}
int16_t DecodeHierarchy(int16_t v) { return Lookup(v, {{1, 0}, {2, 1}, {3, 2}, {5, 3}}); }
int16_t DecodeCodeRate(int16_t v) {
  return Lookup(v & 0x0F, {{1, 0}, {2, 1}, {3, 2}, {5, 3}, {7, 4}});
}
int16_t DecodeGuard(int16_t v) { return Lookup(v & 7, {{1, 0}, {2, 1}, {3, 2}, {4, 3}}); }
int16_t DecodeTransmissionMode(int16_t v) { return Lookup(v & 0x0F, {{11, 0}, {13, 1}, {12, 2}}); }

}  // namespace

std::string si2165::name() {
  switch (ReadRegister(kRevision)) {
    case 0: return "SI2165A";
    case 1: return "SI2165B";
    case 2: return "SI2165C";
    default: return "SI2165?";
  }
}

// One read without retry in the library's 16-bit sub-address mode; there is
// no identity register, so anything answering at 0xC8 is taken.
bool si2165::probe() {
  if (!bus_.Answers(0xC8, 1, 0x10)) return false;
  address_ = 0xC8;
  return true;
}

// What differs between the two standards the chip receives.
struct si2165::Standard {
  int16_t code;  // the standard register, low five bits
  int16_t mode;
  double (si2165::*carrierToNoise)();
  int16_t masterLockRegister;
  int16_t syncLockRegister;  // -1: no such lock
};

const si2165::Standard si2165::kStandards[2] = {
    {1, Mode::DvbT, &si2165::getCoN_DVBT, kTerrestrialLock, kFreqLock},
    {5, Mode::DvbC, &si2165::getCoN_DVBC, kCableLock, -1},
};

int16_t si2165::OperatingMode() {
  int16_t code = ReadRegister(kStandard) & 0x1F;
  standard_ = nullptr;
  for (const Standard& s : kStandards)
    if (s.code == code) standard_ = &s;
  return standard_ ? standard_->mode : int16_t(Mode::None);
}

// No reference power means no measurement: 0 dB rather than the logarithm of 0.
double si2165::getCoN_DVBT() {
  int32_t sigma = ReadWord24(Reader(), kSigma, ByteOrder::LsbFirst);
  int32_t p0 = ReadRegister(kPowerLow), p1 = ReadRegister(kPowerHigh);
  int32_t power = p1 * 256 + p0;
  if (sigma == 0 || power == 0) return 0;
  return 10 * Log10(double(power) * 128 / sigma);
}

// The chip's 24-bit noise figure, least significant byte first.
double si2165::getCoN_DVBC() {
  int32_t v = ReadWord24(Reader(), kCableNoise, ByteOrder::LsbFirst);
  if (v == 0) return 0;
  return 10 * Log10(16777216.0 / v) * 3 / 4;
}

double si2165::getCoN() { return standard_ ? (this->*standard_->carrierToNoise)() : 0; }

float si2165::SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  (void)mode;
  view_.SetSnrBarPrefix("C/N ");
  double cn = getCoN();
  SnrReading snr = snrStep_.Take(cn, ResetSNR_flag, {.roundAverage = RoundTenthOfSingle});
  aSNR = snr.average;
  view_.ColorizeSNR(snr.reading, color);
  return snr.reading;
}

// Without a recognised standard the first two flags keep what the caller passed.
void si2165::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                           int16_t& VSB_Sync, int16_t& AFC_Lock) {
  view_.SetCaption("lblVSBSync", "FREQ Lock");
  view_.SetCaption("lblEQLock", "SYNC Lock");
  view_.SetCaption("lblAFCLock", "AGC Lock");
  if (standard_) {
    Master_Lock = Bit0(standard_->masterLockRegister);
    VSB_Sync = standard_->syncLockRegister < 0 ? int16_t(Lock::NotApplicable)
                                               : Bit0(standard_->syncLockRegister);
  }
  FEC_Lock = Bit0(kFecLock);
  EQ_Lock = Bit0(kSyncLock);
  AFC_Lock = Bit0(kAgcLock);
}

int16_t si2165::Passthru() { return Bit0(kPassthru); }

void si2165::ReadDvbtTPS() {
  const TpsRegisters& r = (ReadRegister(kTpsSet) & 1) ? kTpsSetB : kTpsSetA;
  tps_.modulation = DecodeModulation(ReadRegister(r.modulation));
  tps_.hierarchy = DecodeHierarchy(ReadRegister(r.hierarchy));
  tps_.selectHPLP = (ReadRegister(r.selectHPLP) & 1) ? 1 : 0;
  tps_.codeRate = DecodeCodeRate(ReadRegister(tps_.selectHPLP ? r.lpCodeRate : r.hpCodeRate));
  tps_.guard = DecodeGuard(ReadRegister(r.guard));
  tps_.transmissionMode = DecodeTransmissionMode(ReadRegister(r.transmissionMode));
}

// DVB-C reports only its constellation; the other fields keep their values.
void si2165::ReadTPS() {
  if (!standard_) return;
  if (standard_->mode == Mode::DvbT)
    ReadDvbtTPS();
  else
    tps_.modulation = DecodeModulation(ReadRegister(kCableModulation));
}

void si2165::GetTPS(int16_t& Modulation, int16_t& Hierarchy, int16_t& SelectHPLP, int16_t& CodeRate,
                    int16_t& Guard, int16_t& TransmissionMode) {
  ReadTPS();
  tps_.CopyTo(Modulation, Hierarchy, SelectHPLP, CodeRate, Guard, TransmissionMode);
}
