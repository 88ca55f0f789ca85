// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/zl10353.h"

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "bus/RegisterRead.h"
#include "demod/dvb/regs/zl10353.h"
#include "monitor/Codes.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace zl10353reg;

namespace {
constexpr int16_t kAddress = 0x1E;
constexpr int16_t kIdentity = 0x14;
}  // namespace

// A plain read without retry finds the device; the identity register then
// tells this chip from others at the same address.
bool zl10353::probe() {
  if (!bus_.Answers(kAddress, 1)) return false;
  address_ = kAddress;
  return ReadRegister(kChipId) == kIdentity;
}

// The TPS word as this chip lays it out: the low-priority code rate sits
// beside the high-priority one (bits 4..6 and 7..9), the guard in bits 2..3
// and the FFT size alone in bit 0.
void zl10353::ReadTPS() {
  int16_t a = ReadRegister(kTpsHigh);
  int16_t b = ReadRegister(kTpsLow);
  uint16_t w = uint16_t(a * 256 + b);
  auto field = [w](int start, int count) { return int32_t(w >> start) & ((1 << count) - 1); };
  tps_.modulation = CodeUpTo(field(13, 2), 2);
  tps_.hierarchy = CodeUpTo(field(10, 3), 3);
  tps_.selectHPLP = int16_t(field(15, 1));
  tps_.codeRate = CodeUpTo(tps_.selectHPLP == 0 ? field(7, 3) : field(4, 3), 4);
  tps_.guard = int16_t(field(2, 2));
  tps_.transmissionMode = int16_t(field(0, 1));
}

// One unit of the SNR register is 1/8 dB. The average is narrowed to single
// precision before it is scaled; a division by 8 is exact either way.
float zl10353::SNR(int16_t&, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  int16_t raw = ReadRegister(kSnr);
  SnrReading snr =
      snrStep_.Take(raw, ResetSNR_flag,
                    {.toDb = [](double v) { return v / 8.0; }, .roundAverage = RoundTenthOfSingle});
  aSNR = snr.average;
  view_.ColorizeSNR(snr.reading, color);
  return snr.reading;
}

// A count with the top bit set is not a count the chip can have reached.
Value zl10353::UncorrectableErrors() {
  int16_t high = ReadRegister(kUncorrectableHigh);
  int16_t low = ReadRegister(kUncorrectableLow);
  int16_t count = MakeInt(high, low);
  return count < 0 ? int16_t(0) : count;
}

// Bit errors over a measuring period of P x 1024 x 1632 bits. A period of 0
// means nothing was measured: no errors rather than a division by zero.
Value zl10353::PostVeterbiErrors() {
  int32_t periodHigh = ReadRegister(kPeriodHigh);
  int32_t periodLow = ReadRegister(kPeriodLow);
  int32_t errors = ReadWord24(Reader(), kBitErrors);
  int32_t period = periodHigh * 256 + periodLow;
  if (period == 0) return 0.0;
  return errors / (double(period) * 1024 * 1632);
}

void zl10353::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                            int16_t& VSB_Sync, int16_t& AFC_Lock) {
  int16_t statusA = ReadRegister(kStatusA);
  int16_t statusB = ReadRegister(kStatusB);
  Master_Lock = GetBit(statusA, 6);
  EQ_Lock = GetBit(statusA, 2);
  FEC_Lock = GetBit(statusA, 5);
  view_.SetCaption("lblVSBSync", "DSCR Lock");
  VSB_Sync = GetBit(statusB, 5);
  AFC_Lock = GetBit(statusA, 0);
}
