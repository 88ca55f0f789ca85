// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "monitor/Value.h"
#include "numbers/SnrStep.h"

class Bus;
class MonitorView;

// The member set every demodulator driver offers; the window calls these on
// the detected driver without any error handling, so no member may fail.
// A member a chip does not have answers its neutral value from here (0, "0",
// or does nothing); a driver overrides only what its chip implements, and
// where its documented neutral differs (empty text, for example).
class Demodulator {
 public:
  virtual ~Demodulator() = default;

  virtual std::string name() = 0;
  virtual bool probe() = 0;
  virtual int16_t OperatingMode() = 0;
  virtual void OperatingMode(int16_t) {}
  virtual float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) = 0;
  virtual Value SNRRegisters() { return "0"; }
  virtual Value UncorrectableErrors() { return 0; }
  virtual Value PostVeterbiErrors() { return 0; }
  virtual Value CarrierOffset() { return 0; }
  virtual Value CarrierOffsetHex() { return "0"; }
  virtual int16_t Passthru() { return 0; }
  virtual void Passthru(int16_t) {}
  virtual int16_t Sleep() { return 0; }
  virtual void Sleep(int16_t) {}
  virtual void GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                             int16_t& VSB_Sync, int16_t& AFC_Lock) = 0;
  virtual Value SymbolTiming() { return "0"; }
  virtual Value AutoFreq() { return "0"; }
  virtual Value PilotPwr() { return 0; }
  virtual Value IFGain() { return 0; }
  virtual Value STRTime() { return 0; }
  virtual Value FreqOffset() { return 0; }
  virtual Value AGCPowerRef() { return 0; }
  virtual Value BERctr() { return 0; }

  // DVB drivers override this; an ATSC chip has no transmission parameters
  // and leaves the outputs as they are.
  virtual void GetTPS(int16_t&, int16_t&, int16_t&, int16_t&, int16_t&, int16_t&) {}

  // Where the chip answered its probe (0 before it did).
  int16_t address() const { return address_; }
  // How many bytes name one of the chip's registers in its reads.
  virtual int registerAddressBytes() const { return 1; }
  // The history the chip's SNR is averaged over.
  SnrStep& snrStep() { return snrStep_; }

 protected:
  int16_t address_ = 0;
  SnrStep snrStep_;
};
