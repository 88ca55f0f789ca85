// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/AlignTone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace AlignTone {

double PitchHz(std::optional<float> marginDb) {
  if (!marginDb || !std::isfinite(*marginDb)) return 0;
  float db = std::clamp(*marginDb, kLowestMarginDb, kHighestMarginDb);
  return kThresholdHz * std::exp2(double(db) / 12);
}

void Generator::Fill(double hz, std::span<int16_t> samples) {
  if (hz <= 0 || sampleRate_ <= 0) {
    std::fill(samples.begin(), samples.end(), int16_t{0});
    return;
  }
  const double step = hz / sampleRate_;
  for (int16_t& s : samples) {
    s = int16_t(std::lround(kAmplitude * std::sin(2 * std::numbers::pi * phase_)));
    phase_ += step;
    phase_ -= std::floor(phase_);
  }
}

}  // namespace AlignTone
