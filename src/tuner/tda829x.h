// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

class Bus;

// The analog IF demodulator (TDA8290 or TDA8295) whose I2C gate leads to the
// tuner. Only identification and the gate are modelled.
class tda829x {
 public:
  explicit tda829x(Bus& bus) : bus_(bus) {}

  std::string name() const;
  bool probe();
  int16_t Passthru() const { return passthru_; }
  // 8290 or 8295 once found, 0 before; the address found by `probe`.
  int16_t chip() const { return chip_; }
  int16_t address() const { return address_; }
  // 1 opens the gate, any other value closes it; the value is kept either way.
  void Passthru(int16_t vNewValue);

 private:
  int16_t ReadRegister(int16_t sub);
  void WriteRegister(int16_t sub, int16_t value);

  Bus& bus_;
  int16_t address_ = 0;
  int16_t chip_ = 0;
  int16_t passthru_ = 0;
};
