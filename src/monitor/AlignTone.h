// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <span>

// The tone that follows the margin while an aerial is pointed: 440 Hz at the
// threshold, one semitone higher for each dB above it and lower for each dB
// below, held between 220 Hz (12 dB below) and 1760 Hz (24 dB above). No
// margin (not locked, or no threshold for the mode): silence.
namespace AlignTone {
constexpr double kThresholdHz = 440;
constexpr float kLowestMarginDb = -12, kHighestMarginDb = 24;

// The pitch for a margin in dB; 0 for silence.
double PitchHz(std::optional<float> marginDb);

// Signed 16-bit mono samples of a sine at a pitch; the phase runs on from
// one buffer to the next, so a change of pitch does not click.
class Generator {
 public:
  static constexpr int16_t kAmplitude = 8000;  // about a quarter of full scale
  explicit Generator(int sampleRate) : sampleRate_(sampleRate) {}
  // Fills the buffer with the pitch; hz 0 fills it with silence.
  void Fill(double hz, std::span<int16_t> samples);

 private:
  int sampleRate_;
  double phase_ = 0;  // in turns, [0, 1)
};
}  // namespace AlignTone
