// SPDX-License-Identifier: GPL-3.0-or-later
#include "demod/dvb/mxl111sf.h"

#include "bus/Bits.h"
#include "bus/Bus.h"
#include "demod/dvb/regs/mxl111sf.h"
#include "monitor/MonitorView.h"
#include "numbers/Format.h"
#include "numbers/SnrStep.h"

using namespace mxl111sfreg;

// One write-read without retry finds the device; its identity byte must
// have bits 0, 1, 4, 5 and 6 set.
bool mxl111sf::probe() {
  uint8_t in[1] = {0};
  if (!bus_.WriteReadOnce(0x1C, {0, 0}, in)) return false;
  address_ = 0x1C;
  int16_t id = ReadRegister(kIdentity) & 0xFF;
  return (id & 0x73) == 0x73;
}

// Anything outside 0..40 dB is not a measurement.
void mxl111sf::CheckSnrWord(int32_t& Data3) {
  if (Data3 < 0 || Data3 > 4000) Data3 = 0;
}

float mxl111sf::SNR(int16_t&, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) {
  return BlockSnr(100, {}, aSNR, color, ResetSNR_flag);
}

void mxl111sf::GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                             int16_t& VSB_Sync, int16_t& AFC_Lock) {
  Stats s = FreshStats();
  int32_t d = s[kStatusWord];
  FEC_Lock = GetBit(d, 4);
  Master_Lock = GetBit(d, 7);
  VSB_Sync = GetBit(d, 5);
  EQ_Lock = GetBit(d, 3);
  AFC_Lock = GetBit(d, 6);
  view_.SetCaption("lblVSBSync", "SYNC Lock");
  view_.SetCaption("lblAFCLock", "RS Lock");
  view_.SetCaption("lblEQLock", "TPS Lock");
  // Without the overall lock bit, any partial lock still counts as locked.
  if (!GetBit(d, 7)) Master_Lock = EQ_Lock | FEC_Lock | VSB_Sync | AFC_Lock;
  ShowSignalStrength(s[kStrengthWord]);
}
