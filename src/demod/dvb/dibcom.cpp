// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/dibcom.h"

#include <array>
#include <cmath>

#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/dvb/regs/dibcom.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/Log10.h"
#include "numbers/SnrStep.h"

using namespace dibcomreg;

namespace {
// What differs between the models, in the order of their model numbers.
struct DibcomModel {
  const char* name;
  int16_t carrierToNoise1, carrierToNoise2;  // 0: no known register pair, 0 dB
  int16_t tpsRegister;                       // 0: none, the fields read as 0
  int modulationShift;                       // of the 2-bit constellation field
  int16_t uncorrectableRegister;
};
constexpr std::array<DibcomModel, 7> kModels = {{
    {"DIB7000PC", kCarrierToNoise7000PC, kCarrierToNoise7000PC + 1, kTps7000, 14,
     kUncorrectable7000},
    {"DIB7000", kCarrierToNoise7000, kCarrierToNoise7000 + 1, kTps7000, 14, kUncorrectable7000},
    {"DIB7000HC", 0, 0, kTps7000, 14, kUncorrectable7000},
    {"DIB7000MC", 0, 0, kTps7000, 14, kUncorrectable7000},
    {"DIB3000MB", 0, 0, 0, 13, kUncorrectable3000},
    {"DIB3000MC", 0, 0, kTps3000, 13, kUncorrectable3000},
    {"DIB3000P", kCarrierToNoise3000P, kCarrierToNoise3000P + 1, kTps3000, 13, kUncorrectable3000},
}};

// A 6-bit two's-complement exponent.
int32_t SignExtend6(int32_t v) { return (v & 0x20) ? v - 64 : v; }

int16_t DecodeCodeRate(int32_t field) {
  switch (field) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 5: return 3;
    default: return 4;
  }
}
}  // namespace

std::string dibcom::name() {
  return model_ >= 0 && size_t(model_) < kModels.size() ? kModels[model_].name : "DIBCOM";
}

// No retry: a failed transfer leaves the zeroed buffer, so the value reads
// as 0, and the bus notes the failure.
void dibcom::ReadDemod16Register16long(int16_t Addr, int16_t reg, int32_t& value) {
  uint8_t in[2] = {0, 0};
  bus_.WriteReadOnce(Addr, {uint8_t((reg / 256) & 0xFF), uint8_t(reg & 0xFF)}, in);
  value = in[0] * 256 + in[1];
}

int32_t dibcom::ReadRegister(int16_t reg) {
  int32_t value = 0;
  ReadDemod16Register16long(address_, reg, value);
  return value;
}

// One presence transfer; it is made even when the answer cannot count, so
// the bus sees the same traffic with and without the second-demodulator flag.
bool dibcom::Present(bool plainRead, int16_t address, bool counts) {
  uint8_t in[2] = {0, 0};
  bool answered = plainRead ? bus_.Answers(address, 1) : bus_.WriteReadOnce(address, {0, 0}, in);
  if (!answered || !counts) return false;
  address_ = address;
  return true;
}

bool dibcom::probe() {
  bool first = !bus_.secondDemod;
  bool found = Present(true, 0x12, true) || Present(true, 0x1A, first) ||
               Present(true, 0x1C, true) || Present(false, 0x80, first) ||
               Present(false, 0x82, true);
  if (!found) return false;
  int16_t model = MatchIdentity();
  if (model < 0) return false;
  model_ = model;
  return true;
}

// The model from the identity registers, -1 when none matches.
int16_t dibcom::MatchIdentity() {
  if (ReadRegister(kIdentity7000PC) == kVendor && ReadRegister(kIdentity7000PC + 1) == 0x4000)
    return 0;
  if (ReadRegister(kIdentity7000) == kVendor) {
    int32_t v = ReadRegister(kIdentity7000 + 1);
    if (v >= 0x4000 && v <= 0x4002) return int16_t(1 + (v - 0x4000));
  }
  if (ReadRegister(kIdentity3000) == kVendor) {
    int32_t v = ReadRegister(kIdentity3000 + 1);
    if (v >= 0x3000 && v <= 0x3002) return int16_t(4 + (v - 0x3000));
  }
  return -1;
}

double dibcom::CarrierToNoise(int32_t r1, int32_t r2) {
  int32_t m1 = (r1 >> 4) & 0xFF;
  int32_t e1 = SignExtend6((r1 & 0x0F) * 4 + ((r2 >> 14) & 3));
  int32_t m2 = (r2 >> 6) & 0xFF;
  int32_t e2 = SignExtend6(r2 & 0x3F);
  double q = double(m2 + 1) / double(m1 + 1) * std::ldexp(1.0, e2 - e1);
  return 10 * Log10(q);
}

// Only three models have a known register pair; the others report 0 dB
// rather than a figure read from registers that mean something else.
double dibcom::ReadCarrierToNoise() {
  const DibcomModel& m = kModels[model_];
  if (m.carrierToNoise1 == 0) return 0;
  int32_t v1 = ReadRegister(m.carrierToNoise1);
  return CarrierToNoise(v1, ReadRegister(m.carrierToNoise2));
}

float dibcom::SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  (void)mode;
  view_.SetSnrBarPrefix("CoN: ");
  auto x = int32_t(RoundHalfEven(ReadCarrierToNoise()));
  SnrReading snr =
      snrStep_.Take(x, ResetSNR_flag, {.roundReading = Unrounded, .roundAverage = Unrounded});
  aSNR = snr.average;
  view_.ColorizeSNR(snr.reading, color);
  return snr.reading;
}

Value dibcom::UncorrectableErrors() { return ReadRegister(kModels[model_].uncorrectableRegister); }

Value dibcom::PostVeterbiErrors() { return ReadRegister(kUncorrectable3000); }

Value dibcom::SNRRegisters() {
  view_.SetCaption("frF0F1", "agc1_raw / agc2_raw / agc_global");
  view_.SetFont("frF0F1", "SmallFonts", 7);
  return HexRegisters([this](int reg) { return ReadRegister(int16_t(reg)); },
                      {kAgc1, kAgc1 + 1, kAgc1 + 2}, " / ");
}

void dibcom::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                           int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int32_t status = ReadRegister(kLockStatus);
  Master_Lock = EQ_Lock = FEC_Lock = VSB_Sync = AFC_Lock = Lock::NotLocked;
  if ((status & 0x0008) == 0) return;
  Master_Lock = Lock::Locked;
  FEC_Lock = (status & 0x0100) != 0;
  EQ_Lock = (status & 0x3000) != 0;
  view_.SetCaption("lblVSBSync", "FE SYNC");
  VSB_Sync = (status & 0x0010) != 0;
  view_.SetCaption("lblAFCLock", "Signal Lock");
  AFC_Lock = (status & 0x8000) != 0;
}

void dibcom::ReadTPS() {
  const DibcomModel& m = kModels[model_];
  int32_t t = m.tpsRegister == 0 ? 0 : ReadRegister(m.tpsRegister);
  tps_.modulation = int16_t((t >> m.modulationShift) & 3);
  if (tps_.modulation == 3) tps_.modulation = -1;
  tps_.hierarchy = 0;
  tps_.selectHPLP = 0;
  tps_.codeRate = DecodeCodeRate((t >> 5) & 7);
  tps_.guard = int16_t(t & 3);
  tps_.transmissionMode = int16_t((t >> 8) & 1);
}
