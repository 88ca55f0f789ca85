// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/dvb/PlainDvbtDriver.h"

// DVB-T demodulators of the DIB7000 and DIB3000 families: 16-bit registers
// behind 16-bit addresses, read by a combined write-read without retry. The
// probe tells seven models apart; C/N, counters and TPS branch on the model.
class dibcom : public PlainDvbtDriver {
 public:
  using PlainDvbtDriver::PlainDvbtDriver;

  std::string name() override;
  int registerAddressBytes() const override { return 2; }
  bool probe() override;
  void ReadDemod16Register16long(int16_t Addr, int16_t reg, int32_t& value);
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  Value SNRRegisters() override;
  Value UncorrectableErrors() override;
  Value PostVeterbiErrors() override;
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;

  // C/N in dB from a mantissa/exponent register pair.
  static double CarrierToNoise(int32_t r1, int32_t r2);

 private:
  int32_t ReadRegister(int16_t reg);
  bool Present(bool plainRead, int16_t address, bool counts);
  int16_t MatchIdentity();
  double ReadCarrierToNoise();
  void ReadTPS() override;

  int16_t model_ = 0;  // 0..6, by the identity registers
};
