// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"

// ATSC-MH demodulator at 0x1C with 16-bit register addresses, in two
// variants that keep the SNR, the error counter and one lock bit in
// different places: each of those readings exists once per variant, and
// the contract member picks one by the variant the probe found. Its lock
// status turns the VSB frame into an ATSC-MH panel (parade, group counts,
// FIC version, SCCC register) and the QAM frame into an AGC frame.
class lg2160 : public ChipDriver {
 public:
  lg2160(Bus& bus, MonitorView& view) : ChipDriver(bus, view, Registers::ByteAddr16) {}

  std::string name() override;
  bool probe() override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value lg2161_SNRRegisters() { return SnrRegistersOf(kLg2161); }
  Value SNRRegisters() override { return SnrRegistersOf(variant()); }
  // A 12-bit count on the LG2160, 16 bits on the LG2161.
  int32_t lg2161_UncorrectableErrors() { return UncorrectableErrorsOf(kLg2161); }
  Value UncorrectableErrors() override { return UncorrectableErrorsOf(variant()); }
  Value PostVeterbiErrors() override { return {}; }
  Value CarrierOffset() override;
  float TimingRecoveryOffset();
  Value CarrierOffsetHex() override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  Value SymbolTiming() override { return ""; }
  int32_t LG2160ColorizeSNR(float aSNR);

 private:
  struct Variant;
  static const Variant kLg2160, kLg2161;
  bool IsLg2161() const { return chipType_ == 2 || chipType_ == 1; }
  const Variant& variant() const { return IsLg2161() ? kLg2161 : kLg2160; }
  Value SnrRegistersOf(const Variant& v);
  int32_t UncorrectableErrorsOf(const Variant& v);
  // The SNR of one reading, in dB, from the registers of the variant found.
  double ChipSnr();
  void ShowMhPanel(int16_t parade, int16_t fic, int16_t version);

  int16_t chipType_ = 0;  // 1 for an LG2161; 0 (not yet known) reads as an LG2160
};
