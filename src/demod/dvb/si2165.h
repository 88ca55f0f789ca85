// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "demod/ChipDriver.h"
#include "monitor/Tps.h"

// DVB-T / DVB-C demodulator at 0xC8 with byte registers behind 16-bit
// addresses. Each OperatingMode read learns the standard, which the C/N,
// lock bits and TPS then follow.
class si2165 : public ChipDriver {
 public:
  si2165(Bus& bus, MonitorView& view) : ChipDriver(bus, view, Registers::ByteAddr16) {}

  std::string name() override;
  bool probe() override;
  void GetTPS(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  int16_t OperatingMode() override;
  float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) override;
  double getCoN();
  double getCoN_DVBC();
  double getCoN_DVBT();
  void GetLockStatus(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  int16_t Passthru() override;

 private:
  struct Standard;
  static const Standard kStandards[2];

  int16_t Bit0(int16_t reg) { return int16_t(ReadRegister(reg) & 1); }
  void ReadTPS();
  void ReadDvbtTPS();

  const Standard* standard_ = nullptr;  // none recognised
  Tps tps_;
};
