// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/SnrStep.h"

#include <cmath>

#include "numbers/Format.h"

SnrReading SnrStep::Take(double raw, int16_t& resetFlag, const SnrRule& rule) {
  if (resetFlag != 0) {
    Fill(raw);
    resetFlag = 0;
  }
  if (rule.clamp) raw = rule.clamp(raw);
  double average = Average(raw);
  if (rule.average == SnrRule::Average::Floor) average = std::floor(average);
  if (rule.average == SnrRule::Average::Nearest) average = RoundHalfEven(average);
  float (*roundReading)(double) = rule.roundReading ? rule.roundReading : RoundTenth;
  float (*roundAverage)(double) = rule.roundAverage ? rule.roundAverage : RoundTenth;
  return {roundReading(rule.toDb(raw)), roundAverage(rule.toDb(average))};
}

void SnrStep::Fill(double value) {
  for (int i = 1; i <= kSlots; ++i) history_[i] = value;
}

// The sum covers the old slots 1..18 and the new value; the divisor is
// always 19, so an unfilled history pulls the mean toward 0.
double SnrStep::Average(double value) {
  double sum = 0;
  for (int i = 1; i < kSlots; ++i) {
    sum += history_[i];
    history_[i] = history_[i + 1];
  }
  history_[kSlots] = value;
  sum += value;
  return sum / kSlots;
}

float Unrounded(double x) { return float(x); }
float RoundWhole(double x) { return float(RoundHalfEven(x)); }
float RoundTenthOfSingle(double x) { return RoundTenth(float(x)); }
