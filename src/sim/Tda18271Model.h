// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "sim/RegisterDevice.h"

class Tda829xModel;

// Simulated TDA18271c2 tuner: 39 registers at sub-addresses 0x00..0x26.
// The identity and the power-level register are read-only, the thermometer
// code reports the die temperature in the selected range while the
// thermometer is on, and the power level is measured while measurement is
// enabled. Behind a gate it answers only while the gate is open.
class Tda18271Model : public RegisterDevice {
 public:
  static constexpr int kDefaultCelsius = 66;

  Tda18271Model(bool live, const Tda829xModel* gate);

  bool Write(int32_t mode, int32_t sub, const uint8_t* data, int32_t count) override;
  bool Read(int32_t mode, int32_t sub, uint8_t* data, int32_t count) override;
  bool WriteRead(const uint8_t* out, int32_t outCount, uint8_t* in, int32_t inCount) override;
  bool SetRegister(long reg, long value, std::string& error) override;
  void Advance(double seconds) override;

  // The thermometer code for a temperature in one of the two ranges.
  static int ThermometerCode(int celsius, bool highRange);

 protected:
  void OnWrite(long reg, long value) override;
  void OnRead(long reg) override;

 private:
  bool Reachable() const;

  bool live_;
  const Tda829xModel* gate_;
  // What the chip itself holds in its read-only places.
  long id_, powerLevel_, thermometerCode_;
  int celsius_ = kDefaultCelsius;
  long measuredPowerLevel_;
};
