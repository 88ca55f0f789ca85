// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <functional>

// How a chip's SNR goes through the history. The history holds what the
// driver hands in (raw register values or dB, as the chip's rule says); the
// conversion turns such a value into dB for both the reading and the
// average. The defaults: no conversion, the average used as it is, both
// rounded to one decimal.
struct SnrRule {
  enum class Average { AsIs, Floor, Nearest };

  std::function<double(double)> toDb = [](double v) { return v; };
  // How the averaged value is taken before conversion: as it is, or an
  // integer for a conversion that looks whole raw values up.
  Average average = Average::AsIs;
  // Applied to the reading after a reset filled the history with it and
  // before it is averaged and converted (a chip that clamps its raw range).
  std::function<double(double)> clamp = nullptr;
  float (*roundReading)(double) = nullptr;  // nullptr: one decimal
  float (*roundAverage)(double) = nullptr;  // nullptr: one decimal
};

struct SnrReading {
  float reading;  // the instantaneous SNR
  float average;
};

// The step every driver's SNR takes, with the 19 values its running average
// is taken over. A fresh history holds zeros.
class SnrStep {
 public:
  static constexpr int kSlots = 19;

  // On a reset the history is filled with the reading and the caller's flag
  // cleared; then the reading joins the running average and both are
  // converted and rounded by the chip's rule.
  SnrReading Take(double raw, int16_t& resetFlag, const SnrRule& rule = {});

  void Fill(double value);
  // The mean of the old slots 1..18 and `value`, which then becomes slot 19.
  double Average(double value);
  // Slot n (1..19); slot 19 is the newest.
  double Slot(int n) const { return history_[n]; }

 private:
  std::array<double, kSlots + 1> history_{};  // index 0 unused
};

// Roundings a rule may name besides one decimal.
float Unrounded(double x);
float RoundWhole(double x);
// One decimal of the value first narrowed to single precision.
float RoundTenthOfSingle(double x);
