// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/Alignment.h"

#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "monitor/AlignTone.h"
#include "monitor/Codes.h"

namespace {

// 440 Hz at the threshold, a semitone (2^(1/12)) a dB, held to 220..1760 Hz;
// no margin is silence. One second of tone pulled in uneven buffers, as a
// sound output pulls it: a sine of f Hz crosses zero 2f times a second, and
// runs on across the seams of the buffers without a jump (a click): no step
// between samples is steeper than the sine's own, amplitude * 2 pi f / rate.
TEST(AlignTone, PitchFollowsTheMarginAndTheBufferHasThatPitch) {
  constexpr int kRate = 48000;
  const std::pair<std::optional<float>, double> cases[] = {
      {std::nullopt, 0}, {-30, 220}, {-6, 311.127},  {0, 440},
      {1, 466.164},      {12, 880},  {18, 1244.508}, {40, 1760}};
  for (const auto& [margin, hz] : cases) {
    SCOPED_TRACE(margin ? *margin : -999);
    EXPECT_NEAR(AlignTone::PitchHz(margin), hz, 0.001);
    AlignTone::Generator generator(kRate);
    std::vector<int16_t> second(kRate, 123);
    for (size_t at = 0, size = 1000; at < second.size(); at += size, size += 777) {
      size = std::min(size, second.size() - at);
      generator.Fill(AlignTone::PitchHz(margin), std::span(second).subspan(at, size));
    }
    int crossings = 0, loudest = std::abs(int(second[0])), steepest = 0;
    for (size_t i = 1; i < second.size(); ++i) {
      crossings += (second[i - 1] < 0) != (second[i] < 0);
      loudest = std::max(loudest, std::abs(int(second[i])));
      steepest = std::max(steepest, std::abs(second[i] - second[i - 1]));
    }
    EXPECT_NEAR(crossings / 2.0, hz, 1.0);
    EXPECT_LE(steepest, AlignTone::Generator::kAmplitude * 2 * std::numbers::pi * hz / kRate + 1);
    EXPECT_NEAR(loudest, hz ? AlignTone::Generator::kAmplitude : 0, hz ? 2 : 0);
  }
}

Reading Locked(int16_t mode, float snr, bool locked = true) {
  Reading r;
  r.mode = mode;
  r.modeText = ModeText(mode);
  r.snr = snr;
  r.locks[Reading::MasterLock] = locked ? 1 : 0;
  return r;
}

Reading Dvbt(int16_t modulation, int16_t codeRate, float snr) {
  Reading r = Locked(Mode::DvbT, snr);
  r.tps = TpsReading{};
  r.tps->modulation = modulation;
  r.tps->codeRate = codeRate;
  return r;
}

// The threshold of each mode, the margin, the peak over the polls so far,
// and the line that shows them.
TEST(Alignment, ThresholdMarginPeakAndLine) {
  Reading silent = Locked(Mode::None, 0);
  silent.answering = false;
  silent.modeText = "No answer";
  Reading dvbtWithoutTps = Locked(Mode::DvbT, 20);
  const std::optional<float> none;
  struct Case {
    Reading reading;
    std::optional<float> threshold, margin, peak;
    std::string line;
  } cases[] = {
      {Locked(Mode::Vsb8, 25.3f), 15, 10.3f, 25.3f,
       "8-VSB | SNR 25.3 dB | peak 25.3 dB | margin +10.3 dB over 15.0 dB | tone 798 Hz"},
      {Locked(Mode::Qam64, 23), 22, 1, 25.3f,
       "QAM 64 | SNR 23.0 dB | peak 25.3 dB | margin +1.0 dB over 22.0 dB | tone 466 Hz"},
      {Locked(Mode::Qam256, 26.5f), 28, -1.5f, 26.5f,
       "QAM 256 | SNR 26.5 dB | peak 26.5 dB | margin -1.5 dB over 28.0 dB | tone 403 Hz"},
      // Not locked: no margin, no tone, and the peak stays.
      {Locked(Mode::Qam256, 31, false), 28, none, 26.5f,
       "QAM 256 | SNR 31.0 dB | peak 26.5 dB | margin - (not locked) | tone off"},
      {silent, none, none, 26.5f,
       "No answer | SNR - | peak 26.5 dB | margin - (no answer) | tone off"},
      // DVB-T: the first threshold of constellation and code rate.
      {Dvbt(0, 0, 10), 6, 4, 26.5f, ""},         // QPSK 1/2
      {Dvbt(2, 4, 27.5f), 23, 4.5f, 27.5f, ""},  // QAM64 7/8
      {Dvbt(3, 0, 20), none, none, 27.5f,
       "DVB-T | SNR 20.0 dB | peak 27.5 dB | margin - (no threshold for DVB-T) | tone off"},
      {dvbtWithoutTps, none, none, 27.5f, ""},
      {Locked(Mode::DvbC, 30), none, none, 30, ""},
      {Locked(Mode::AtscMh, 20), none, none, 30,
       "ATSC-MH | SNR 20.0 dB | peak 30.0 dB | margin - (no threshold for ATSC-MH) | tone off"},
      {Locked(Mode::Vsb8, 15), 15, 0, 30,  // at the threshold: a margin of +0
       "8-VSB | SNR 15.0 dB | peak 30.0 dB | margin +0.0 dB over 15.0 dB | tone 440 Hz"},
  };
  Alignment alignment;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reading.modeText + " " + std::to_string(c.reading.snr));
    const AlignFigures& f = alignment.Update(c.reading);
    EXPECT_EQ(ReceptionThreshold(c.reading), c.threshold);
    ASSERT_EQ(f.margin.has_value(), c.margin.has_value());
    if (c.margin) {
      EXPECT_NEAR(*f.margin, *c.margin, 1e-4);
    }
    EXPECT_EQ(f.peak, c.peak);
    if (!c.line.empty()) {
      EXPECT_EQ(AlignLine(f, AlignTone::PitchHz(f.margin)), c.line);
    }
  }
}

}  // namespace
