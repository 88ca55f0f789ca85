// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/sms1xxx.h"

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "demod/dvb/regs/StatsBlock.h"
#include "monitor/Codes.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace statsblockreg;

// A plain one-byte read without retry finds the device; the mode register
// tells whether it is ours.
bool sms1xxx::probe() {
  if (!bus_.Answers(0xC6, 1)) return false;
  address_ = 0xC6;
  return ReadRegister(kMode) == kDvbtMode;
}

float sms1xxx::SNR(int16_t&, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  return BlockSnr(1, {.roundReading = Unrounded}, aSNR, color, ResetSNR_flag);
}

void sms1xxx::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                            int16_t& VSB_Sync, int16_t& AFC_Lock) {
  Stats s = FreshStats();
  Master_Lock = GetBit(s[kStatusWord], 7);
  EQ_Lock = FEC_Lock = VSB_Sync = AFC_Lock = Lock::NotApplicable;
  ShowSignalStrength(s[kStrengthWord]);
}
