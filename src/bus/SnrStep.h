// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>

class Bus;

// How a chip's SNR goes through the shared history. The history holds what
// the driver hands in (raw register values or dB, as the chip's rule says);
// the conversion turns such a value into dB for both the reading and the
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

// The step every driver's SNR takes: on a reset the history is filled with
// the reading and the caller's flag cleared; then the reading joins the
// running average and both are converted and rounded by the chip's rule.
SnrReading SnrStep(Bus& bus, double raw, int16_t& resetFlag, const SnrRule& rule = {});

// Roundings a rule may name besides one decimal.
float Unrounded(double x);
float RoundWhole(double x);
// One decimal of the value first narrowed to single precision.
float RoundTenthOfSingle(double x);
