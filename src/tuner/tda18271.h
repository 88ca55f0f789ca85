// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

class Bus;

// The silicon tuner (versions c1 and c2) as the register editor sees it: an
// in-memory image of its 39 registers and the readings derived from it.
class tda18271 {
 public:
  static constexpr int kRegisters = 39;
  using Image = std::array<uint8_t, kRegisters>;

  explicit tda18271(Bus& bus) : bus_(bus) {}

  std::string name() const;
  int16_t I2CAddr() const { return address_; }
  // Image entry as decimal text; an index outside the image gives "".
  std::string reg(long index) const;
  // True when the ID answered; the image is then read as well.
  bool probe();
  // False when the tuner did not answer; the image is then left as it was.
  bool ReadRegs();
  // Whether the latest `ReadRegs` was answered.
  bool imageRead() const { return imageRead_; }
  double calc_agc1_gain() const;
  int32_t calc_agc2_gain() const;
  int16_t calc_rfagc_gain() const;
  // False when the write was not answered.
  bool dis_power_level(bool flag);
  // Nothing when any of its transfers went unanswered.
  std::optional<int16_t> read_thermometer();

  const Image& image() const { return image_; }
  // The editor's label for a register, "00 ID" .. "26 EB23"; "" outside.
  static std::string RegisterName(int index);

 private:
  bool WriteRegister(int sub);
  static int16_t ThermometerCelsius(uint8_t tm);

  Bus& bus_;
  int16_t address_ = 0;
  int16_t id_ = 0;
  Image image_{};
  bool imageRead_ = false;
};
