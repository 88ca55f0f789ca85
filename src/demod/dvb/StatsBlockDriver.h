// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>

#include "demod/ChipDriver.h"
#include "demod/dvb/regs/StatsBlock.h"
#include "monitor/Tps.h"

// DVB-T receivers that hand out all their statistics in one twenty-byte
// block of five little-endian 32-bit words, Data0..Data4, read in a single
// transfer. What is common to them lives here: the block read, the mode and
// TPS reads, the counters and the DVB threshold colouring.
class StatsBlockDriver : public ChipDriver {
 public:
  using ChipDriver::ChipDriver;

  void ReadDemodStats(int16_t Addr, int16_t reg, int32_t& Data0, int32_t& Data1, int32_t& Data2,
                      int32_t& Data3, int32_t& Data4);
  void GetTPS(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) override;
  int16_t OperatingMode() override;
  Value UncorrectableErrors() override { return FreshStats()[statsblockreg::kUncorrectableWord]; }
  Value PostVeterbiErrors() override { return {}; }

 protected:
  using Stats = std::array<int32_t, 5>;

  // A block just read at the chip address; all zero when the chip did not answer.
  Stats FreshStats();
  // Lets a chip reject SNR words outside the range it can report.
  virtual void CheckSnrWord(int32_t& Data3) { (void)Data3; }
  // A fresh block's SNR word in dB (`perDb` steps a dB) through the history,
  // coloured by the TPS of the last GetTPS.
  float BlockSnr(float perDb, const SnrRule& rule, float& aSNR, int32_t& color,
                 int16_t& ResetSNR_flag);
  // The received signal strength, shown negated in the register frame.
  void ShowSignalStrength(int32_t Data4);

 private:
  void ReadTPS();

  Tps tps_;
};
