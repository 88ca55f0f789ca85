#pragma once
#include <cstdint>
#include <string>

#include "monitor/Value.h"

class Bus;
class MonitorView;

// The member set every demodulator driver offers; the window calls these on
// the detected driver without any error handling, so no member may fail: a
// member that does not apply answers a neutral value (0, -1 or empty).
class Demodulator {
 public:
  virtual ~Demodulator() = default;

  virtual std::string name() = 0;
  virtual bool probe() = 0;
  virtual int16_t OperatingMode() = 0;
  virtual void OperatingMode(int16_t vNewValue) = 0;
  virtual float SNR(int16_t& mode, float& aSNR, int32_t& color, int16_t& ResetSNR_flag) = 0;
  virtual Value SNRRegisters() = 0;
  virtual Value UncorrectableErrors() = 0;
  virtual Value PostVeterbiErrors() = 0;
  virtual Value CarrierOffset() = 0;
  virtual Value CarrierOffsetHex() = 0;
  virtual int16_t Passthru() = 0;
  virtual void Passthru(int16_t vNewValue) = 0;
  virtual int16_t Sleep() = 0;
  virtual void Sleep(int16_t vNewValue) = 0;
  virtual void GetLockStatus(int16_t& Master_Lock, int16_t& EQ_Lock, int16_t& FEC_Lock,
                             int16_t& VSB_Sync, int16_t& AFC_Lock) = 0;
  virtual Value SymbolTiming() = 0;
  virtual Value AutoFreq() = 0;
  virtual Value PilotPwr() = 0;
  virtual Value IFGain() = 0;
  virtual Value STRTime() = 0;
  virtual Value FreqOffset() = 0;
  virtual Value AGCPowerRef() = 0;
  virtual Value BERctr() = 0;

  // DVB drivers override this; an ATSC chip has no transmission parameters
  // and leaves the outputs as they are.
  virtual void GetTPS(int16_t& Modulation, int16_t& Hierarchy, int16_t& SelectHPLP,
                      int16_t& CodeRate, int16_t& Guard, int16_t& TransmissionMode) {
    (void)Modulation, (void)Hierarchy, (void)SelectHPLP, (void)CodeRate, (void)Guard,
        (void)TransmissionMode;
  }
};
