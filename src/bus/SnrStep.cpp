// SPDX-License-Identifier: GPL-3.0-or-later
#include "bus/SnrStep.h"

#include <cmath>

#include "bus/Bus.h"
#include "bus/Format.h"

SnrReading SnrStep(Bus& bus, double raw, int16_t& resetFlag, const SnrRule& rule) {
  if (resetFlag != 0) {
    bus.FillSnrHistory(raw);
    resetFlag = 0;
  }
  if (rule.clamp) raw = rule.clamp(raw);
  double average = bus.AverageSnr(raw);
  if (rule.average == SnrRule::Average::Floor) average = std::floor(average);
  if (rule.average == SnrRule::Average::Nearest) average = RoundHalfEven(average);
  float (*roundReading)(double) = rule.roundReading ? rule.roundReading : RoundTenth;
  float (*roundAverage)(double) = rule.roundAverage ? rule.roundAverage : RoundTenth;
  return {roundReading(rule.toDb(raw)), roundAverage(rule.toDb(average))};
}

float Unrounded(double x) { return float(x); }
float RoundWhole(double x) { return float(RoundHalfEven(x)); }
float RoundTenthOfSingle(double x) { return RoundTenth(float(x)); }
